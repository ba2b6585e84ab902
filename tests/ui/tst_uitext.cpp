// The small pure helpers of the windows: filters, number edits, the load
// error log's index ranges and the service area dump.
#include "analysis/Selection.h"
#include "ui/common/UiText.h"
#include "ui/main/FrameTableText.h"
#include "ui/service/Logloaderror.h"
#include "ui/service/Official.h"

#include <QFileDialog>
#include <QtTest>

class TestUiText : public QObject {
    Q_OBJECT
private slots:
    void fileFilters();
    void digitsSaturate();
    void indexRanges();
    void logWithoutProblems();
    void serviceDump();
    void brokenFrameColumnIsEmpty();
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

void TestUiText::indexRanges()
{
    QCOMPARE(nkp::ui::condensedIndices({}), QString());
    QCOMPARE(
        nkp::ui::condensedIndices({17, 0, 1, 2, 3, 4, 5, 200, 201, 5}), QStringLiteral("0-5, 17, 200-201"));
}

void TestUiText::logWithoutProblems()
{
    nkp::analysis::LoadDiagnostics d;
    d.fullLength = true;
    d.checksumMatches = true;
    const QString log = nkp::ui::loadErrorLogText("a.nkp", d);
    QVERIFY(log.endsWith(QStringLiteral("Ошибок не обнаружено")));
    d.nonCalendarFrames = {3, 4};
    QVERIFY(nkp::ui::loadErrorLogText("a.nkp", d).contains(QStringLiteral(": 2 (номера: 3-4)")));
    QVERIFY(!nkp::ui::loadErrorLogText("a.nkp", d).contains(QStringLiteral("Ошибок не обнаружено")));
}

void TestUiText::serviceDump()
{
    std::vector<std::uint8_t> bytes(18);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(0x40 + i);
    bytes[1] = 0x00;
    const QStringList lines = nkp::ui::hexDump(bytes, 264000).split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0],
        QStringLiteral("264000  40 00 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F  @.BCDEFGHIJKLMNO"));
    QVERIFY(lines[1].startsWith(QStringLiteral("264016  50 51 ")));
    QVERIFY(lines[1].endsWith(QStringLiteral("  PQ")));
}

void TestUiText::brokenFrameColumnIsEmpty()
{
    nkp::recorder::TFrameRecord r;
    r.Status = std::string(nkp::recorder::kStatusBroken);
    r.Date = "01.02.2024";
    for (const std::string& s : nkp::ui::frameColumnTexts(r, 7, ','))
        QVERIFY(s.empty());
    r.Status = std::string(nkp::recorder::kStatusOk);
    r.BoomLength = 12.345f;
    r.LoadPercent = 95;
    const auto texts = nkp::ui::frameColumnTexts(r, 7, ',');
    QCOMPARE(texts[0], std::string("7"));
    QCOMPARE(texts[4], std::string("12,35"));
    QCOMPARE(texts[9], std::string("95"));
    QCOMPARE(nkp::ui::frameColumnTexts(r, 7, '.')[4], std::string("12.35"));
}

QTEST_MAIN(TestUiText)
#include "tst_uitext.moc"
