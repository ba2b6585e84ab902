// The small pure helpers of the windows: filters and number edits. The
// frames table's cells, the load error log and the service area dump are
// built in the core and tested there.
#include "analysis/Selection.h"
#include "ui/common/UiText.h"
#include "ui/service/Logloaderror.h"
#include "ui/service/Official.h"

#include <QFileDialog>
#include <QtTest>

class TestUiText : public QObject {
    Q_OBJECT
private slots:
    void fileFilters();
    void digitsSaturate();
};

void TestUiText::fileFilters()
{
    QCOMPARE(nkp::ui::qtFileFilter(QStringLiteral("Файлы РП ТРВ-160С (*.nkp)|*.nkp|Все файлы (*.*)|*.*")),
        QStringLiteral("Файлы РП ТРВ-160С (*.nkp);;Все файлы (*.*)"));
    QCOMPARE(
        nkp::ui::qtFileFilter(QStringLiteral("Тексты|*.txt;*.inf")), QStringLiteral("Тексты (*.txt *.inf)"));
    // Masks named in the description but not the same as the pattern: Qt
    // reads the last parentheses, so the patterns follow.
    QCOMPARE(nkp::ui::qtFileFilter(QStringLiteral("Тексты (*.txt)|*.txt;*.inf")),
        QStringLiteral("Тексты (*.txt) (*.txt *.inf)"));
    QCOMPARE(nkp::ui::qtFileFilter(QStringLiteral("Тексты (*.txt; *.inf)|*.txt;*.inf")),
        QStringLiteral("Тексты (*.txt; *.inf)"));
    // What a file dialog shows for the open dialog's filter: each pattern once.
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilter(
        nkp::ui::qtFileFilter(QStringLiteral("Файлы РП ТРВ-160С (*.nkp)|*.nkp|Все файлы (*.*)|*.*")));
    QCOMPARE(dialog.nameFilters(),
        QStringList({QStringLiteral("Файлы РП ТРВ-160С (*.nkp)"), QStringLiteral("Все файлы (*.*)")}));
    QCOMPARE(nkp::ui::qtFileFilter(QString()), QString());
}

void TestUiText::digitsSaturate()
{
    QCOMPARE(nkp::analysis::parseEditNumber("0"), std::optional<long long>(0));
    QCOMPARE(nkp::analysis::parseEditNumber("040"), std::optional<long long>(40));
    QVERIFY(!nkp::analysis::parseEditNumber(""));
    QVERIFY(!nkp::analysis::parseEditNumber("-1"));
    const std::optional<long long> huge = nkp::analysis::parseEditNumber(std::string(60, '9'));
    QVERIFY(huge && *huge > 1000000000000000LL);
}

QTEST_MAIN(TestUiText)
#include "tst_uitext.moc"
