#include "ArchiveFiles.h"
#include "KeepError.h"
#include "ToolRunner.h"

#include "analysis/Readout.h"
#include "archive/Archive.h"
#include "archive/CraneHistory.h"
#include "recorder/DataFileReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <sstream>

using nkp::test::keepError;

namespace {

using nkp::test::craneReadout;
using nkp::test::TempFolder;

struct ToolRun {
    int status = -1;
    std::string out;  // standard output, then standard error
};

ToolRun tool(const std::string& args)
{
    const nkp::test::ToolOutput run = nkp::test::runTool(args);
    return {run.status, run.out + run.err};
}

std::string fileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

long long totalCycles(const std::vector<std::uint8_t>& f)
{
    long long sum = 0;
    for (std::size_t b = 0; b < 5; ++b) {
        const std::size_t at = nkp::recorder::kCycleCountersOffset + 3 * b;
        sum += f[at] | f[at + 1] << 8 | f[at + 2] << 16;
    }
    return sum;
}

TEST(ArchiveTool, ImportsListsTellsHistoryAndExports)
{
    TempFolder folder;
    // Overload episodes (load at or above 100 %): two in f1 (99 % is none),
    // none in f2, three in f3 (a broken frame splits one run in two).
    using nkp::test::EventImage;
    using nkp::test::withFrames;
    const auto f1 = withFrames(craneReadout(11, "КС-1", "77", "01.01.2022 10:00", "1111", 1000),
        EventImage().load(10, 12, 120).load(20, 20, 100).load(30, 31, 99));
    const auto f2 = withFrames(
        craneReadout(12, "КС-1", "77", "01.07.2022 10:00", "1111", 1500), EventImage().load(5, 9, 99));
    const auto f3 = withFrames(craneReadout(13, "КС-1", "77", "01.01.2023 10:00", "1111", 2000),
        EventImage().load(100, 110, 150).breakFrame(105).load(10999, 10999, 101));
    folder.write("in/f3.nkp", f3);
    folder.write("in/sub/f1.nkp", f1);
    folder.write("f2.nkp", f2);
    folder.write("in/bad.nkp", std::vector<std::uint8_t>(10, 1));
    const std::string archive = "'" + folder.path("Архив/archive.sqlite") + "'";

    ToolRun r
        = tool("archive import " + archive + " '" + folder.path("in") + "' '" + folder.path("f2.nkp") + "'");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out.substr(0, r.out.find("  ")),
        "добавлено: 3\nуже в архиве: 0\nне прочитано: 1\nпод другим краном: 0\n");
    EXPECT_NE(r.out.find("bad.nkp: слишком короткий"), std::string::npos) << r.out;
    r = tool("archive import " + archive + " '" + folder.path("in") + "'");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.substr(0, r.out.find("  ")),
        "добавлено: 0\nуже в архиве: 2\nне прочитано: 1\nпод другим краном: 0\n");

    // (0, 1000), (181, 1500), (365, 2000): slope 182500 / 66614 per day,
    // 1000.66 per year; 61000 to go reach 17.12.2083.
    const std::string heading
        = "Марка крана;№ крана;Владелец;Чтений;Первое чтение;Последнее чтение;"
          "Накопленное число;Нормативное число;Ресурс, %;Рост в год;Прогноз;Перегрузок (эпизодов);"
          "Подпись;Примечание\r\n";
    const std::string row = "КС-1;77;\"ООО \"\"Строймеханизация-7\"\"\";3;01.01.2022 10:00;01.01.2023 10:00;"
                            "2000.0;63000;3.2;1000.7;17.12.2083;3;нет;\r\n";
    r = tool("archive cranes " + archive);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, heading + row);
    r = tool("archive cranes " + archive + " --csv '" + folder.path("cranes.csv") + "'");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(fileText(folder.path("cranes.csv")), "\xEF\xBB\xBF" + heading + row);

    r = tool("archive history " + archive + " 'КС-1 ' 77");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out,
        "Дата считывания;№ ограничителя;Всего циклов;Характеристическое число;Накопленное число;Ресурс, "
        "%;Перегрузок (эпизодов);Файл;Подпись\r\n"
        "01.01.2022 10:00;1111;"
            + std::to_string(totalCycles(f1))
            + ";1000.0;1000.0;1.6;2;f1.nkp;нет\r\n"
              "01.07.2022 10:00;1111;"
            + std::to_string(totalCycles(f2))
            + ";1500.0;1500.0;2.4;0;f2.nkp;нет\r\n"
              "01.01.2023 10:00;1111;"
            + std::to_string(totalCycles(f3)) + ";2000.0;2000.0;3.2;3;f3.nkp;нет\r\n");
    EXPECT_EQ(tool("archive history " + archive + " 'КС-1' 78").status, 1);

    // The SHA-256 of f2's image, from the system's own tool.
    std::ofstream(folder.path("image.bin"), std::ios::binary)
        .write(reinterpret_cast<const char*>(f2.data()),
            static_cast<std::streamsize>(nkp::recorder::kImageSize));
    FILE* pipe = ::popen(("sha256sum '" + folder.path("image.bin") + "'").c_str(), "r");
    char sha[65] = {};
    ASSERT_EQ(std::fread(sha, 1, 64, pipe), 64u);
    ::pclose(pipe);
    r = tool("archive export " + archive + " " + sha + " '" + folder.path("out.nkp") + "'");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(fileText(folder.path("out.nkp")), std::string(f2.begin(), f2.end()));
    EXPECT_EQ(
        tool("archive export " + archive + " " + std::string(64, 'a') + " '" + folder.path("x.nkp") + "'")
            .status,
        1);

    // An archive that cannot be opened: exit 1.
    folder.write("junk.sqlite", std::vector<std::uint8_t>(4096, 'j'));
    r = tool("archive import '" + folder.path("junk.sqlite") + "' '" + folder.path("f2.nkp") + "'");
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_EQ(tool("archive frobnicate x").status, 2);
}

// The summary always; the exit status says whether any read-out given could be read.
TEST(ArchiveTool, ImportFailsOnlyWhenNoReadoutCouldBeRead)
{
    TempFolder folder;
    folder.write("good.nkp", craneReadout(1, "КС-1", "1", "01.01.2022 10:00", "1111", 10));
    folder.write("bad.nkp", std::vector<std::uint8_t>(10, 1));
    const struct {
        const char* paths;
        int status;
        const char* out;
    } cases[] = {
        {"bad.nkp gone.nkp", 1,
            "добавлено: 0\nуже в архиве: 0\nне прочитано: 2\nпод другим краном: 0\n  gone.nkp: нет такого "
            "файла или папки\n"
            "  bad.nkp: слишком короткий для файла данных (10 байт)\n"},
        {"good.nkp bad.nkp", 0,
            "добавлено: 1\nуже в архиве: 0\nне прочитано: 1\nпод другим краном: 0\n  bad.nkp: слишком "
            "короткий для файла данных "
            "(10 "
            "байт)\n"},
        {"good.nkp", 0,
            "добавлено: 0\nуже в архиве: 1\nне прочитано: 0\nпод другим краном: 0\n"},  // all there: success
        {"gone.nkp good.nkp", 0,
            "добавлено: 0\nуже в архиве: 1\nне прочитано: 1\nпод другим краном: 0\n  gone.nkp: нет такого "
            "файла или папки\n"},
    };
    for (const auto& c : cases) {
        const auto run = nkp::test::runCommand(
            "cd '" + folder.dir.string() + "' && '" NKP_TOOL_PATH "' archive import a.sqlite " + c.paths);
        EXPECT_EQ(run.status, c.status) << c.paths << "\n" << run.err;
        EXPECT_EQ(run.out, c.out) << c.paths;
        EXPECT_EQ(run.err, c.status ? "nkp3-tool: none of the read-outs could be read\n" : "") << c.paths;
    }
}

// Read-outs without a crane number are cranes of their own: asked for, they
// are listed with their SHA-256, and --sha picks one.
TEST(ArchiveTool, CranesWithoutANumberAreListedAndPickedBySha)
{
    TempFolder folder;
    const auto u1 = craneReadout(1, "КС-1", "", "01.01.2022 10:00", "1111", 10);
    const auto u2 = craneReadout(2, "КС-1", "", "01.02.2022 10:00", "2222", 20);
    const auto n3 = craneReadout(3, "КС-1", "3", "01.03.2022 10:00", "3333", 30);
    folder.write("a/u.nkp", u1);
    folder.write("b/u.nkp", u2);
    folder.write("n3.nkp", n3);
    auto sha
        = [](const std::vector<std::uint8_t>& f) { return nkp::archive::prepareReadout(f, "x.nkp")->sha256; };
    const std::string archive = "'" + folder.path("a.sqlite") + "' ";
    ASSERT_EQ(tool("archive import " + archive + "'" + folder.dir.string() + "'").status, 0);
    std::string upper = sha(u2);
    std::transform(
        upper.begin(), upper.end(), upper.begin(), [](char c) { return static_cast<char>(std::toupper(c)); });
    const struct {
        std::string args;
        int status;
        std::vector<std::string> shown, hidden;
    } cases[] = {
        {"КС-1 ''", 1,
            {"is ambiguous: 2 cranes match", "  " + sha(u1) + "  01.01.2022 10:00  u.nkp\n",
                "  " + sha(u2) + "  01.02.2022 10:00  u.nkp\n"},
            {sha(n3)}},
        {"КС-1 u.nkp", 1, {sha(u1), sha(u2)}, {sha(n3)}},
        {"КС-1 '' --sha " + upper, 0, {";2222;"}, {";1111;"}},
        {"--sha " + sha(u1) + " КС-1 u.nkp", 0, {";1111;"}, {";2222;"}},
        {"КС-1 3 --sha " + sha(u1), 1, {"no crane КС-1 \"3\" with the read-out"}, {}},
        {"КС-1 3", 0, {";3333;"}, {}},
    };
    for (const auto& c : cases) {
        const ToolRun r = tool("archive history " + archive + c.args);
        EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.out;
        for (const std::string& text : c.shown)
            EXPECT_NE(r.out.find(text), std::string::npos) << c.args << ": " << text << "\n" << r.out;
        for (const std::string& text : c.hidden)
            EXPECT_EQ(r.out.find(text), std::string::npos) << c.args << ": " << text << "\n" << r.out;
    }
}

}  // namespace

namespace {

TEST(ArchiveTool, GeneratesACraneHistoryThatGrowsAndRestartsAtTheNewLimiter)
{
    TempFolder folder;
    const std::string common = "generate --history 6 --seed 4 --replace-limiter-at 3 ";
    ASSERT_EQ(tool(common + "'" + folder.path("a") + "'").status, 0);
    ASSERT_EQ(tool(common + "'" + folder.path("b") + "'").status, 0);
    std::vector<std::filesystem::path> files;
    for (const auto& e : std::filesystem::directory_iterator(folder.dir / "a"))
        files.push_back(e.path());
    std::sort(files.begin(), files.end());
    ASSERT_EQ(files.size(), 6u);
    std::optional<nkp::analysis::Readout> previous;
    double previousDay = 0;
    for (std::size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(files[i].filename(), "000" + std::to_string(i + 1) + ".nkp");
        // The same seed gives the same files.
        EXPECT_EQ(fileText(files[i].string()), fileText((folder.dir / "b" / files[i].filename()).string()));
        std::string error;
        const auto reader = keepError(nkp::recorder::DataFileReader::open(files[i].string()), error);
        ASSERT_TRUE(reader) << error;
        const nkp::analysis::Readout r = nkp::analysis::readReadout(*reader);
        const auto moment = r.readingMoment();
        ASSERT_TRUE(moment) << r.text(nkp::recorder::IdField::ReadingDate);
        const double day = nkp::archive::dayNumber(*moment);
        EXPECT_TRUE(r.diagnostics.checksumMatches);
        if (previous) {
            EXPECT_GE(day - previousDay, 13.5);
            EXPECT_LE(day - previousDay, 120.5);
            EXPECT_EQ(r.text(nkp::recorder::IdField::CraneNumber),
                previous->text(nkp::recorder::IdField::CraneNumber));
            const bool replaced = i == 2;
            EXPECT_EQ(r.text(nkp::recorder::IdField::LimiterNumber)
                    != previous->text(nkp::recorder::IdField::LimiterNumber),
                replaced);
            if (!replaced) {
                EXPECT_GT(r.characteristicNumber, previous->characteristicNumber);
                EXPECT_GT(r.totalCycles, previous->totalCycles);
            }
        }
        previous = r;
        previousDay = day;
    }
}

// However long the history, its readings stay in the recorder's century
// (two-digit years), a week apart at the least, and its names sort in order.
TEST(ArchiveTool, GeneratedHistoriesStayInTheRecordersCentury)
{
    using nkp::generator::CalendarDay;
    const struct {
        CalendarDay start;
        int count;
        int firstYear;  // of the first reading
    } cases[] = {
        {{2019, 3, 4}, 3, 2019}, {{2099, 6, 1}, 30, 2099},  // weekly readings fit before the century's end
        {{2099, 6, 1}, 40, 2000},  // they do not: the history starts with the century
        {{1995, 1, 1}, 2, 2000},   // before the recorder's century
    };
    for (const auto& c : cases) {
        nkp::generator::HistoryOptions options;
        options.start = c.start;
        options.count = c.count;
        std::vector<std::string> names;
        double previousDay = 0;
        nkp::generator::generateHistory(options, [&](nkp::generator::HistoryReadout&& h) {
            names.push_back(h.fileName);
            const auto moment = nkp::analysis::readReadout(nkp::recorder::DataFileReader(std::move(h.bytes)))
                                    .readingMoment();
            EXPECT_TRUE(moment) << h.fileName;
            if (!moment)
                return false;
            if (names.size() == 1)
                EXPECT_EQ(moment->year, c.firstYear) << c.count;
            else
                EXPECT_GE(nkp::archive::dayNumber(*moment) - previousDay, 6.5) << h.fileName;
            EXPECT_TRUE(moment->year >= 2000 && moment->year <= 2099) << h.fileName;
            previousDay = nkp::archive::dayNumber(*moment);
            return true;
        });
        ASSERT_EQ(names.size(), static_cast<std::size_t>(c.count));
        EXPECT_EQ(names.front(), "0001.nkp");
        EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
    }
}

}  // namespace
