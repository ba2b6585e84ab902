#include "FleetFolder.h"
#include "KeepError.h"

#include "analysis/ReadoutLoader.h"
#include "analysis/ResourceUse.h"
#include "base/Codec.h"
#include "fleet/FleetCsv.h"
#include "fleet/FleetScan.h"
#include "screen/MainStateLoad.h"

#include <gtest/gtest.h>

#include <iterator>

using nkp::test::keepError;

using namespace nkp;
using nkp::test::FleetFolder;

namespace {

const std::string kHeader
    = "Файл;Марка крана;№ крана;Владелец;Дата считывания;Всего циклов;Класс использования;Режим нагружения;"
      "Группа режима;Нормативная группа;Характеристическое число;Нормативное число;Ресурс, %;Перегрузок;"
      "Перегрузок (эпизодов);Последняя перегрузка;Бракованных кадров;Подпись;Примечание\r\n";

std::string utf8(const std::string& cp1251)
{
    return codec::cp1251ToUtf8(cp1251);
}

std::string readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// "hh:mm dd.mm.yyyy" as "yyyymmddhhmm", which orders by time.
std::string sortable(const std::string& stamp)
{
    return stamp.substr(12, 4) + stamp.substr(9, 2) + stamp.substr(6, 2) + stamp.substr(0, 2)
        + stamp.substr(3, 2);
}

}  // namespace

// Hand-made rows: fields with ";", quotes and line ends are quoted, inner
// quotes doubled; texts are UTF-8; a row that was not loaded has only its
// file and remark.
TEST(FleetCsv, QuotesWhatNeedsQuotingAndWritesUtf8WithBom)
{
    fleet::FleetRow row;
    row.file = "sub/a;b.nkp";
    row.loaded = true;
    row.craneModel = codec::utf8ToCp1251("КС-45717");
    row.craneNumber = "12\"3";
    row.owner = codec::utf8ToCp1251("ООО \"Кран\"");
    row.readingText = "01.02.2024 10:20";
    row.normGroup = codec::utf8ToCp1251("А5");
    row.totalCycles = 12544;
    row.utilisationClass = "U0";
    row.loadMode = "Q2";
    row.craneGroup = "A1";
    row.characteristicText = "2911,9";
    row.normativeText = "125000";
    row.resourceText = "2,3";
    row.overloadCount = 2;
    row.overloadEpisodes = 7;
    row.latestOverload = "12:16 24.03.2024";
    row.brokenFrames = 12;
    row.remark = "line1\nline2\r";
    fleet::FleetRow bad;
    bad.file = "dir.nkp";
    bad.remark = codec::utf8ToCp1251("Это папка, а не файл");

    const std::string expectedBody
        = "\"sub/a;b.nkp\";КС-45717;\"12\"\"3\";\"ООО \"\"Кран\"\"\";01.02.2024 10:20;12544;"
          "U0;Q2;A1;А5;2911,9;125000;2,3;2;7;12:16 24.03.2024;12;нет;\"line1\nline2\r\"\r\n"
          "dir.nkp;;;;;;;;;;;;;;;;;;Это папка, а не файл\r\n";
    EXPECT_EQ(fleet::fleetCsv({row, bad}, false), kHeader + expectedBody);
    EXPECT_EQ(fleet::fleetCsv({}, true), "\xEF\xBB\xBF" + kHeader);

    FleetFolder f;
    ASSERT_TRUE(fleet::writeFleetCsv(f.path("out.csv"), {row, bad}));
    EXPECT_EQ(readBytes(f.path("out.csv")), "\xEF\xBB\xBF" + kHeader + expectedBody);
    std::string error;
    EXPECT_FALSE(keepError(fleet::writeFleetCsv(f.path("no/such/folder/out.csv"), {row}), error));
    EXPECT_FALSE(error.empty());
}

// Texts that a spreadsheet would run as formulas get an apostrophe; numbers,
// also negative ones, stay numbers.
TEST(FleetCsv, FormulaTextsAreGuarded)
{
    fleet::FleetRow row;
    row.file = "a.nkp";
    row.loaded = true;
    row.craneModel = "=HYPERLINK(\"http://x\",\"y\")";
    row.craneNumber = "+1+2";
    row.owner = "@SUM(1)";
    row.readingText = "-2+3";
    row.normGroup = "\tA";
    row.totalCycles = -5;
    row.utilisationClass = "-12";
    row.loadMode = "+3,5";
    row.craneGroup = "A=1";
    row.characteristicText = "-0,25";
    row.normativeText = "=";
    row.resourceText = "-";
    row.remark = "\rX";
    const std::string expected = kHeader
        + "a.nkp;\"'=HYPERLINK(\"\"http://x\"\",\"\"y\"\")\";'+1+2;'@SUM(1);'-2+3;-5;-12;+3,5;A=1;'\tA;"
          "-0,25;'=;'-;0;0;;0;нет;\"'\rX\"\r\n";
    EXPECT_EQ(fleet::fleetCsv({row}, false), expected);
}

// A scanned folder of one generated read-out and one folder named *.nkp,
// against the bytes built from the main window's full load.
TEST(FleetCsv, ScannedFolderGivesTheMainWindowValues)
{
    FleetFolder f;
    f.write("k/one.nkp", FleetFolder::readout(11));
    std::filesystem::create_directories(f.dir / "x.nkp");
    screen::MainState s;
    ASSERT_TRUE(screen::loadReadout(f.path("k/one.nkp"), '.', s));

    int overloads = 0;
    std::string latest;
    for (const std::string* stamp : {&s.texts.overload1, &s.texts.overload2, &s.texts.overload3,
             &s.texts.overload4, &s.texts.overload5}) {
        if (*stamp == "00:00 00.00.2000")
            continue;
        ++overloads;
        if (latest.empty() || sortable(*stamp) > sortable(latest))
            latest = *stamp;
    }
    ASSERT_GT(overloads, 0);  // the generated read-out has overloads
    // Runs of valid frames at 100 % and above, oldest first.
    int episodes = 0;
    bool inRun = false;
    for (int p = 0; p < 11000; ++p) {
        const bool over = s.recordAt(p).isOk() && s.recordAt(p).LoadPercent >= 100;
        episodes += over && !inRun ? 1 : 0;
        inRun = over;
    }
    ASSERT_GT(episodes, 0);
    const std::string line = "k/one.nkp;" + utf8(s.texts.craneModel) + ';' + utf8(s.texts.craneNumber) + ";\""
        +
        [&] {
            std::string owner = utf8(s.texts.craneOwner);  // the generated owner holds quotes
            std::string quoted;
            for (char c : owner)
                quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
            return quoted;
        }()
        + "\";" + utf8(s.texts.readingDate) + ';' + std::to_string(s.readout.totalCycles) + ';'
        + s.texts.utilisationClass + ';' + s.texts.loadMode + ';' + s.texts.craneGroup + ';'
        + utf8(s.texts.craneClassGroup) + ';' + s.texts.characteristicNumber + ';' + s.texts.normativeNumber
        + ';' + analysis::resourcePercentText(analysis::resourceUse(s.readout), '.') + ';'
        + std::to_string(overloads) + ';' + std::to_string(episodes) + ';' + latest + ';'
        + std::to_string(s.readout.diagnostics.brokenFrames.size()) + ";нет;\r\n";
    const std::string expected = kHeader + line + "x.nkp;;;;;;;;;;;;;;;;;;Это папка, а не файл\r\n";

    QThreadPool pool;
    const auto rows = fleet::scanFleet(f.dir.string(), '.', pool);
    ASSERT_TRUE(rows);
    EXPECT_EQ(fleet::fleetCsv(*rows, false), expected);
}
