// Qt's own dialogs and buttons in Russian, like the rest of the program.
#include "ui/common/QtTranslations.h"

#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

class TestQtTranslations : public QObject {
    Q_OBJECT
private slots:
    void russianButtonsAndDialogs();
};

void TestQtTranslations::russianButtonsAndDialogs()
{
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
    const int installed
        = nkp::ui::installQtTranslations(*QCoreApplication::instance(), QLocale(QLocale::Russian));
    if (installed == 0)
        QFAIL("Qt's Russian catalogs are missing: install the Debian package qt6-translations-l10n");
    QCOMPARE(installed, 2);  // qtbase and qtserialport

    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Отмена"));
    QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Отмена"));
    QMessageBox message(QMessageBox::Warning, QStringLiteral("x"), QStringLiteral("y"),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    QCOMPARE(message.button(QMessageBox::Save)->text(), QStringLiteral("Сохранить"));
    // The file dialog's own labels and the print preview's tooltips.
    QVERIFY(QCoreApplication::translate("QFileDialog", "Look in:") != QStringLiteral("Look in:"));
    QVERIFY(QCoreApplication::translate("QPrintPreviewDialog", "Print") != QStringLiteral("Print"));
}

QTEST_MAIN(TestQtTranslations)
#include "tst_qttranslations.moc"
