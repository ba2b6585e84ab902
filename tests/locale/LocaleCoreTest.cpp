// Numbers under the real ru_RU.UTF-8 locale (ctest sets LANG and LC_ALL):
// the loader, the number pictures, the frames CSV and nkp3-tool's commands
// write a decimal comma and nothing of the C library's own formatting.
#include "RussianReadout.h"
#include "ToolRunner.h"

#include "analysis/FramesCsv.h"
#include "analysis/NumberFormat.h"
#include "analysis/ReadoutLoader.h"
#include "base/Codec.h"
#include "screen/MainStateLoad.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace nkp;

namespace {

class RussianLocale : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!test::russianLocaleInForce()) {
            if (test::russianLocaleRequired())
                FAIL() << test::kLocaleMissing;
            GTEST_SKIP() << test::kLocaleMissing;
        }
        dir = fs::temp_directory_path() / ("nkp_locale_test_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        test::writeBytes(dir / "r.nkp", test::russianReadout());
    }
    void TearDown() override
    {
        if (!dir.empty())
            fs::remove_all(dir);
        std::setlocale(LC_ALL, "C");
    }

    // The decimal separator as the programs take it from the C library.
    static char separator() { return *std::localeconv()->decimal_point; }
    std::string path(const char* name) const { return "'" + (dir / name).string() + "'"; }

    fs::path dir;
};

using CommandRun = nkp::test::ToolOutput;

// Runs a command with the test's environment (LC_ALL=ru_RU.UTF-8) unless
// `prefix` says otherwise.
CommandRun run(const std::string& command)
{
    return nkp::test::runCommand(command);
}

std::string tool(const std::string& args, const std::string& prefix = {})
{
    const CommandRun r = run(prefix + "'" NKP_TOOL_PATH "' " + args);
    EXPECT_EQ(r.status, 0) << args;
    return r.out;
}

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> split(const std::string& text, char by)
{
    std::vector<std::string> out;
    std::string item;
    std::istringstream in(text);
    while (std::getline(in, item, by))
        out.push_back(item);
    if (!text.empty() && text.back() == by)
        out.emplace_back();
    return out;
}

}  // namespace

TEST_F(RussianLocale, NumberPicturesAreExactAndLocaleFree)
{
    ASSERT_EQ(separator(), ',');
    using analysis::formatFixed;
    EXPECT_EQ(formatFixed(5988752 * 0.01, 2, ','), "59887,52");
    EXPECT_EQ(formatFixed(2911.9f, 1, ','), "2911,9");
    EXPECT_EQ(formatFixed(2911.9f / 12551, 3, ','), "0,232");
    EXPECT_EQ(formatFixed(38.6f, 2, ','), "38,60");
    EXPECT_EQ(formatFixed(38.6f, 1, '.'), "38.6");
    // The exact binary value decides: 2.675 is 2.67499999..., 0.125 a true tie.
    EXPECT_EQ(formatFixed(2.675, 2, ','), "2,67");
    EXPECT_EQ(formatFixed(0.125, 2, ','), "0,13");
    EXPECT_EQ(formatFixed(-0.125, 2, ','), "-0,13");
    EXPECT_EQ(formatFixed(0.0005, 3, ','), "0,001");  // 0.000500000000000000010...
    EXPECT_EQ(formatFixed(1e20, 1, ','), "100000000000000000000,0");
    EXPECT_EQ(formatFixed(5e-324, 3, ','), "0,000");
    EXPECT_EQ(formatFixed(99999.96, 1, ','), "100000,0");
    EXPECT_EQ(formatFixed(7, 0, ','), "7");
    EXPECT_EQ(analysis::formatOperatingTime(1500), "25:00:00");
}

TEST_F(RussianLocale, LoaderTextsAndFramesCsv)
{
    screen::MainState s;
    ASSERT_TRUE(screen::loadReadout((dir / "r.nkp").string(), separator(), s));
    EXPECT_EQ(s.texts.liftedMass, "59887,52" + codec::utf8ToCp1251(" т"));
    EXPECT_EQ(s.texts.characteristicNumber, "2911,9");
    EXPECT_EQ(s.texts.loadSpectrumFactor, "0,232");
    EXPECT_EQ(s.readout.totalCycles, 12551);

    const std::string csv = analysis::framesCsv(s, analysis::allFramePositions(), separator());
    const std::string known = ';' + std::to_string(test::kKnownFrameIndex) + ';';
    bool found = false;
    for (const std::string& row : split(csv, '\n')) {
        const std::vector<std::string> cells = split(row, ';');
        if (cells.size() < 2 || cells[1] != std::to_string(test::kKnownFrameIndex))
            continue;
        found = true;
        EXPECT_NE(row.find(test::kKnownFrameNumbers), std::string::npos) << row;
    }
    EXPECT_TRUE(found);
}

TEST_F(RussianLocale, ToolInfoAndFrames)
{
    const std::string keys = tool("info --keys " + path("r.nkp"));
    EXPECT_NE(keys.find("\nLabel_QSum\t59887,52 т\n"), std::string::npos) << keys;
    EXPECT_NE(keys.find("\nEdit_HarCh\t2911,9\n"), std::string::npos) << keys;
    EXPECT_NE(keys.find("\nLabel_KNag\t0,232\n"), std::string::npos) << keys;
    const std::string summary = tool("info " + path("r.nkp"));
    EXPECT_NE(summary.find("59887,52 т"), std::string::npos) << summary;

    // Under ru_RU the frames CSV is the C locale's with a comma in the six
    // number columns and nothing else changed.
    const std::string russian = tool("frames " + path("r.nkp"));
    const std::string c = tool("frames " + path("r.nkp"), "LC_ALL=C LANG=C ");
    std::string expected;
    for (const std::string& row : split(c, '\n')) {
        std::vector<std::string> cells = split(row, ';');
        for (std::size_t i = 4; i <= 9 && i < cells.size(); ++i)
            for (char& ch : cells[i])
                if (ch == '.')
                    ch = ',';
        std::string joined;
        for (std::size_t i = 0; i < cells.size(); ++i)
            joined += (i ? ";" : "") + cells[i];
        expected += joined + '\n';
    }
    expected.pop_back();  // split() left one empty line after the last '\n'
    EXPECT_EQ(russian, expected);
    EXPECT_NE(c.find(";38.60;38.5;123.4;179.9;15.25;12.34;"), std::string::npos);
    EXPECT_NE(russian.find(test::kKnownFrameNumbers), std::string::npos);
}

TEST_F(RussianLocale, ToolFormAndFleet)
{
    const CommandRun form = run("cd '" + dir.string() + "' && '" NKP_TOOL_PATH "' form 3 r.nkp --out out");
    ASSERT_EQ(form.status, 0);
    const std::string data = readFile(dir / "out" / "Форма 3.txt");
    EXPECT_NE(data.find("|0:HTek:2911,9\r\n"), std::string::npos) << codec::cp1251ToUtf8(data);
    EXPECT_NE(data.find("|0:SumMas:59887,52" + codec::utf8ToCp1251(" т") + "\r\n"), std::string::npos);

    fs::create_directories(dir / "fleet");
    fs::copy_file(dir / "r.nkp", dir / "fleet" / "r.nkp");
    const std::vector<std::string> rows = split(tool("fleet " + path("fleet")), '\n');
    ASSERT_GE(rows.size(), 2u);
    const std::vector<std::string> head = split(rows[0], ';');
    const std::vector<std::string> cells = split(rows[1], ';');
    ASSERT_EQ(head.size(), cells.size());
    for (std::size_t i = 0; i < head.size(); ++i) {
        if (head[i] == "Характеристическое число") {
            EXPECT_EQ(cells[i], "2911,9");
        }
        if (head[i] == "Ресурс, %") {
            EXPECT_NE(cells[i].find(','), std::string::npos) << cells[i];
            EXPECT_LE(cells[i].size(), 6u) << cells[i];
        }
    }
}

TEST_F(RussianLocale, PrintedCard)
{
    tool("print card " + path("r.nkp") + " --pdf " + path("card.pdf"));
    const CommandRun text = run("pdftotext -layout " + path("card.pdf") + " -");
    ASSERT_EQ(text.status, 0);
    EXPECT_NE(text.out.find("59887,52 т"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("2911,9/"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("0,232"), std::string::npos) << text.out;
    EXPECT_EQ(text.out.find("59887,520"), std::string::npos);
}
