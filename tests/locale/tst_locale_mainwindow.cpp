// The main window under the real ru_RU.UTF-8 locale (ctest sets LANG and
// LC_ALL): decimal commas, short numbers, and the window keeps its size.
#include "Controls.h"
#include "RussianReadout.h"

#include "ScriptedUserPrompts.h"
#include "ui/common/UiText.h"
#include "ui/main/ConstTab.h"
#include "ui/main/Tpb140_nkp3_main.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <clocale>

using nkp::test::control;

class TestLocaleMainWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void loadedNumbersAndSize();
};

void TestLocaleMainWindow::initTestCase()
{
    if (!nkp::test::russianLocaleInForce()) {
        if (nkp::test::russianLocaleRequired())
            QFAIL(nkp::test::kLocaleMissing);
        QSKIP(nkp::test::kLocaleMissing);
    }
    QCOMPARE(QLocale::system().decimalPoint(), QStringLiteral(","));
}

void TestLocaleMainWindow::loadedNumbersAndSize()
{
    QTemporaryDir dir;
    const QString readout = dir.filePath(QStringLiteral("demo.nkp"));
    nkp::test::writeBytes(QFile::encodeName(readout).toStdString(), nkp::test::russianReadout());
    nkp::test::ScriptedUserPrompts prompts;
    // Settings of this run's own: no size kept from an earlier one.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath(QStringLiteral("config"))));
    // The separator as nkp3-analyzer takes it.
    QCOMPARE(nkp::ui::systemDecimalSeparator(), ',');
    TForm_TPB140CMain w(prompts, dir.path(), nkp::ui::systemDecimalSeparator());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QSize designSize = w.size();
    QVERIFY(designSize.width() <= 800);

    prompts.fileAnswers.push_back(QFile::encodeName(readout).toStdString());
    control<QAction>(w, "Menu_OpenSTN3")->trigger();
    QCoreApplication::processEvents();
    const ConstTab& t = *control<ConstTab>(w, "TabSheet_Const");
    QCOMPARE(control<QLabel>(t, "Label_QSum")->text(), QStringLiteral("59887,52 т"));
    QCOMPARE(control<QLineEdit>(t, "Edit_HarCh")->text(), QStringLiteral("2911,9"));
    QCOMPARE(control<QLabel>(t, "Label_KNag")->text(), QStringLiteral("0,232"));

    // Long numbers would widen the first tab and with it the window.
    control<QTabWidget>(w, "PageControl_Main")->setCurrentWidget(control<ConstTab>(w, "TabSheet_Const"));
    QCoreApplication::processEvents();
    QCOMPARE(w.size(), designSize);
    QVERIFY2(w.minimumSizeHint().width() <= 800, qPrintable(QString::number(w.minimumSizeHint().width())));

    QString folder = qEnvironmentVariable("NKP_SCREENSHOT_DIR");
    if (folder.isEmpty())
        folder = QStringLiteral(NKP_BUILD_DIR "/screenshots");
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(w.grab().save(folder + QStringLiteral("/main-window-ru_RU.png")));
}

QTEST_MAIN(TestLocaleMainWindow)
#include "tst_locale_mainwindow.moc"
