#include "ToolRunner.h"

#include "base/Codec.h"
#include "generator/ReadoutGenerator.h"
#include "recorder/DataFileWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>

namespace {

using ToolRun = nkp::test::ToolOutput;

// Runs nkp3-tool under the C locale with the given arguments (quoted by the caller).
ToolRun tool(const std::string& args)
{
    return nkp::test::runTool(args);
}

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

class ToolTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = std::filesystem::temp_directory_path() / ("nkp_tool_test_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::string path(const char* name) const { return "'" + (dir / name).string() + "'"; }
    std::filesystem::path dir;
};

}  // namespace

TEST_F(ToolTest, GenerateWritesTheSeededReadout)
{
    ASSERT_EQ(tool("generate --seed 42 " + path("a.nkp")).status, 0);
    std::ifstream in(dir / "a.nkp", std::ios::binary);
    const std::vector<std::uint8_t> bytes(
        (std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    nkp::generator::GeneratorOptions options;
    options.seed = 42;
    EXPECT_EQ(bytes, nkp::generator::generateDataFile(options));
}

TEST_F(ToolTest, InfoKeysListsEveryLoadedValue)
{
    ASSERT_EQ(tool("generate --seed 3 " + path("b.nkp")).status, 0);
    const ToolRun run = tool("info --keys " + path("b.nkp"));
    ASSERT_EQ(run.status, 0) << run.err;
    std::vector<std::string> names;
    std::map<std::string, std::string> values;
    for (const std::string& line : lines(run.out)) {
        const auto tab = line.find('\t');
        ASSERT_NE(tab, std::string::npos) << line;
        names.push_back(line.substr(0, tab));
        values[line.substr(0, tab)] = line.substr(tab + 1);
    }
    const std::vector<std::string> expected = {"Edit_Org", "Edit_Name", "Edit_NUd", "Edit_DateUd",
        "Edit_DataSch", "Edit_MKran", "Edit_NKran", "Edit_GodIzgot", "Edit_GrRegNag", "Edit_IzgotKran",
        "Edit_Vlad", "Edit_ModTRV", "Edit_NTRV", "Edit_IzgotTRV", "L_TimeAll", "Label_0", "Label_12",
        "Label_25", "Label_50", "Label_100", "CGauge_N0", "CGauge_N12", "CGauge_N25", "CGauge_N50",
        "CGauge_N100", "Edit_HarCh", "Edit_DataUst", "Label_Per1", "Label_Per2", "Label_Per3", "Label_Per4",
        "Label_Per5", "Label_Read1", "Label_Read2", "Label_Read3", "Label_QSum", "Label_NHarch",
        "Label_KIspU", "Label_KNag", "Label_RezhQ", "Label_RezhA", "TotalCycles", "OperatingMinutes",
        "LiftedMassRaw", "NewestFrame", "NewestFrameTime", "RingStart", "FrameYear"};
    EXPECT_EQ(names, expected);
    EXPECT_EQ(values["Edit_IzgotTRV"], "ОАО \"ПЗЛ\", г. Энск");
    EXPECT_EQ(values["RingStart"], std::to_string(std::stoi(values["NewestFrame"]) + 1));
    EXPECT_EQ(values["FrameYear"], "24");
    EXPECT_NE(values["Edit_HarCh"].find('.'), std::string::npos);  // C locale: a point
    EXPECT_EQ(values["Label_QSum"].substr(values["Label_QSum"].size() - 3), " т");
}

TEST_F(ToolTest, FramesListsTheRingOldestFirst)
{
    ASSERT_EQ(tool("generate " + path("c.nkp")).status, 0);
    const ToolRun keys = tool("info --keys " + path("c.nkp"));
    const ToolRun run = tool("frames " + path("c.nkp"));
    ASSERT_EQ(run.status, 0) << run.err;
    const auto rows = lines(run.out);
    ASSERT_EQ(rows.size(), 11001u);
    EXPECT_EQ(rows[0],
        "Position;Number;Date;Time;BoomLength;BoomAngle;Pressure;Azimuth;Radius;LoadMass;"
        "DiscreteInputs;OutputRelays;ReevingMode;Limits;LoadPercent;FaultCode;Status");
    const auto newest = keys.out.find("NewestFrame\t");
    const int newestIndex = std::stoi(keys.out.substr(newest + 12));
    // The last row is the newest frame; its record index is NewestFrame.
    EXPECT_EQ(rows.back().rfind("10999;" + std::to_string(newestIndex) + ";", 0), 0u) << rows.back();
    int broken = 0;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        ASSERT_EQ(std::count(rows[i].begin(), rows[i].end(), ';'), 16) << rows[i];
        if (rows[i].ends_with(";Брак")) {
            ++broken;
            EXPECT_NE(rows[i].find(
                          ";01.01.1999;00:00:00;0.00;0.0;0.0;0.0;0.00;0.00;00000000;00000000;;00000000;0;0;"),
                std::string::npos);
        }
    }
    EXPECT_EQ(broken, 12);
}

// A damaged file is still shown, with the window's warning on stderr and
// the exit status of a loaded file; a sound one gets no warning.
TEST_F(ToolTest, InfoWarnsOfADamagedFile)
{
    nkp::generator::GeneratorOptions options;
    std::vector<std::uint8_t> bytes = nkp::generator::generateDataFile(options);
    {
        std::ofstream(dir / "good.nkp", std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    bytes.resize(1000);
    {
        std::ofstream(dir / "short.nkp", std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    const ToolRun good = tool("info " + path("good.nkp"));
    EXPECT_EQ(good.status, 0);
    EXPECT_EQ(good.err, "");
    for (const char* args : {"info ", "info --keys "}) {
        const ToolRun damaged = tool(args + path("short.nkp"));
        EXPECT_EQ(damaged.status, 0) << args;
        EXPECT_EQ(damaged.err,
            "nkp3-tool: Файл повреждён: файл короче полного считывания (1000 байт из 270337); контрольная "
            "сумма "
            "не совпадает\n")
            << args;
        EXPECT_FALSE(damaged.out.empty()) << args;
    }
    // The frames listing stays as it was: no warning mixed into it.
    EXPECT_EQ(tool("frames " + path("short.nkp")).err, "");
}

TEST_F(ToolTest, ErrorsAndUsage)
{
    const ToolRun missing = tool("info " + path("missing.nkp"));
    EXPECT_EQ(missing.status, 1);
    const std::vector<std::string> message = lines(missing.err);
    ASSERT_EQ(message.size(), 2u) << missing.err;
    EXPECT_EQ(message[0], " Файл не удальсь открыть!");
    EXPECT_EQ(message[1], (dir / "missing.nkp").string() + ": cannot open: No such file or directory");
    EXPECT_TRUE(missing.out.empty());
    EXPECT_EQ(tool("frames " + path("missing.nkp")).status, 1);
    EXPECT_EQ(tool("info --keys '" + dir.string() + "'").status, 1);  // a folder
    EXPECT_EQ(tool("generate '" + (dir / "no" / "such" / "x.nkp").string() + "'").status, 1);
    EXPECT_EQ(tool("").status, 2);
    EXPECT_EQ(tool("nonsense").status, 2);
    EXPECT_EQ(tool("info").status, 2);
    EXPECT_EQ(tool("info --bogus x").status, 2);
    EXPECT_EQ(tool("frames").status, 2);
    EXPECT_EQ(tool("generate --seed").status, 2);
    EXPECT_EQ(tool("generate --seed x1 " + path("d.nkp")).status, 2);
    EXPECT_EQ(tool("generate").status, 2);
}

// fleet: 0 when the folder was scanned (unreadable entries listed in it), 1
// when the folder or the CSV file fails, 2 on usage errors.
TEST_F(ToolTest, FleetExitStatuses)
{
    std::filesystem::create_directories(dir / "fleet" / "sub");
    ASSERT_EQ(tool("generate --seed 5 " + path("fleet/sub/a.nkp")).status, 0);
    std::filesystem::create_directories(dir / "fleet" / "x.nkp");

    const ToolRun table = tool("fleet " + path("fleet"));
    EXPECT_EQ(table.status, 0) << table.err;
    const std::vector<std::string> rows = lines(table.out);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].rfind("Файл;Марка крана;", 0), 0u);
    EXPECT_EQ(rows[1].rfind("sub/a.nkp;", 0), 0u);
    EXPECT_EQ(rows[2], "x.nkp;;;;;;;;;;;;;;;;;;Это папка, а не файл\r");

    EXPECT_EQ(tool("fleet " + path("fleet") + " --csv " + path("out.csv")).status, 0);
    std::ifstream in(dir / "out.csv", std::ios::binary);
    const std::string csv((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(csv, "\xEF\xBB\xBF" + table.out);

    const ToolRun missing = tool("fleet " + path("nothing"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("nothing"), std::string::npos);
    EXPECT_EQ(tool("fleet " + path("fleet/sub/a.nkp")).status, 1);
    EXPECT_EQ(tool("fleet " + path("fleet") + " --csv " + path("no/such/out.csv")).status, 1);
    EXPECT_EQ(tool("fleet").status, 2);
    EXPECT_EQ(tool("fleet " + path("fleet") + " --csv").status, 2);
    EXPECT_EQ(tool("fleet " + path("fleet") + " --bogus").status, 2);
    EXPECT_EQ(tool("fleet " + path("fleet") + " " + path("fleet")).status, 2);
}

// The exit status and stderr of a command line run by the shell as it stands
// (with its own redirections of stdout).
ToolRun shell(const std::string& command)
{
    return nkp::test::runCommand("LC_ALL=C " + command);
}

TEST_F(ToolTest, OutputThatCannotBeWrittenIsAFailure)
{
    ASSERT_EQ(tool("generate --seed 3 " + path("g.nkp")).status, 0);
    std::filesystem::create_directories(dir / "fleet");
    ASSERT_EQ(tool("generate --seed 4 " + path("fleet/a.nkp")).status, 0);
    for (const std::string& command : {"info " + path("g.nkp"), "info --keys " + path("g.nkp"),
             "frames " + path("g.nkp"), "fleet " + path("fleet")}) {
        const ToolRun run = shell("'" NKP_TOOL_PATH "' " + command + " >/dev/full");
        EXPECT_EQ(run.status, 1) << command;
        EXPECT_NE(
            run.err.find("cannot write the standard output: No space left on device"), std::string::npos)
            << command << ": " << run.err;
    }
}

// A read-out whose texts hold terminal controls: they reach the terminal
// visibly escaped, and the spreadsheet as text, never as formulas.
TEST_F(ToolTest, UntrustedTextsAreMadeHarmless)
{
    nkp::generator::GeneratorOptions options;
    options.seed = 9;
    nkp::recorder::Identification id = nkp::generator::generateIdentification(options);
    id[nkp::recorder::IdField::CraneModel] = "\x1b]0;owned\x07\rKS";
    id[nkp::recorder::IdField::CraneOwner] = "=HYPERLINK(\"x\")";
    id[nkp::recorder::IdField::CraneNumber] = "+1+2";
    std::filesystem::create_directories(dir / "fleet");
    ASSERT_TRUE(nkp::recorder::writeDataFile(
        (dir / "fleet" / "c.nkp").string(), nkp::generator::generateImage(options), id));
    auto controls = [](const std::string& text, bool tabs) {
        std::size_t count = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const auto c = static_cast<unsigned char>(text[i]);
            const bool lineEnd = c == '\n' || (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n');
            count += (c < 0x20 || c == 0x7F) && !lineEnd && !(tabs && c == '\t');
        }
        return count;
    };
    const ToolRun info = tool("info " + path("fleet/c.nkp"));
    EXPECT_EQ(controls(info.out, false), 0u);
    EXPECT_NE(info.out.find("\\x1b]0;owned\\x07\\x0dKS"), std::string::npos) << info.out;
    const ToolRun keys = tool("info --keys " + path("fleet/c.nkp"));
    EXPECT_EQ(controls(keys.out, true), 0u);
    EXPECT_NE(keys.out.find("\\x1b]0;owned"), std::string::npos);
    const ToolRun fleet = tool("fleet " + path("fleet"));
    EXPECT_EQ(controls(fleet.out, false), 0u);
    EXPECT_NE(fleet.out.find("\\x1b]0;owned\\x07\\x0dKS"), std::string::npos) << fleet.out;
    EXPECT_NE(fleet.out.find(";'+1+2;\"'=HYPERLINK(\"\"x\"\")\";"), std::string::npos) << fleet.out;
    EXPECT_EQ(fleet.out.find(";=HYPERLINK"), std::string::npos);
}

TEST_F(ToolTest, MergeRefusesAnOutputThatIsAnInput)
{
    std::ofstream(dir / "d.txt", std::ios::binary) << "|0:A:1\r\n";
    std::ofstream(dir / "t.txt", std::ios::binary) << "x #A# y\n";
    const std::string d = path("d.txt"), t = path("t.txt");
    const ToolRun sameData = tool("merge " + d + " " + t + " " + d);
    EXPECT_EQ(sameData.status, 1);
    EXPECT_FALSE(sameData.err.empty());
    const ToolRun sameTemplate = tool("merge " + d + " " + t + " '" + (dir / "." / "t.txt").string() + "'");
    EXPECT_EQ(sameTemplate.status, 1);
    std::ifstream data(dir / "d.txt", std::ios::binary), templ(dir / "t.txt", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(data), {}), "|0:A:1\r\n");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(templ), {}), "x #A# y\n");
}

TEST_F(ToolTest, ReadChecksItsArgumentsAndOutputFirst)
{
    EXPECT_EQ(tool("read --port '' " + path("x.nkp")).status, 2);
    EXPECT_EQ(tool("read --port").status, 2);
    // An output in a missing folder is refused before any port is opened.
    const ToolRun run = tool("read --port /dev/null " + path("no/such/x.nkp"));
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.out.empty()) << run.out;
    EXPECT_NE(run.err.find("no/such/x.nkp"), std::string::npos) << run.err;
    // A failed reading says so on stderr.
    const ToolRun none = tool("read --port " + path("no-port") + " " + path("x.nkp"));
    EXPECT_EQ(none.status, 1);
    EXPECT_NE(none.err.find("the reading failed"), std::string::npos) << none.err;
}

// A folder the user may not read is a row with its remark, not an omission.
TEST_F(ToolTest, FleetListsUnreadableFolders)
{
    if (::geteuid() != 0 || std::system("command -v setpriv >/dev/null") != 0)
        GTEST_SKIP() << "needs root and setpriv to run the tool as an unprivileged user";
    std::filesystem::create_directories(dir / "fleet" / "locked");
    ASSERT_EQ(tool("generate --seed 5 " + path("fleet/a.nkp")).status, 0);
    ::chmod(dir.c_str(), 0755);
    ::chmod((dir / "fleet").c_str(), 0755);
    ::chmod((dir / "fleet" / "a.nkp").c_str(), 0644);
    ::chmod((dir / "fleet" / "locked").c_str(), 0700);
    const auto outFile = dir / "out.csv";
    const ToolRun run = shell("setpriv --reuid=65534 --regid=65534 --clear-groups '" NKP_TOOL_PATH "' fleet "
        + path("fleet") + " >'" + outFile.string() + "'");
    EXPECT_EQ(run.status, 0) << run.err;
    std::ifstream in(outFile, std::ios::binary);
    const std::vector<std::string> rows = lines(std::string(std::istreambuf_iterator<char>(in), {}));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1].rfind("a.nkp;", 0), 0u);
    EXPECT_EQ(rows[2], "locked;;;;;;;;;;;;;;;;;;Папку не удалось прочитать: нет доступа\r");
}

// A file name in Cyrillic letters reaches the terminal as it was typed.
TEST_F(ToolTest, InfoNamesACyrillicFileAsTyped)
{
    ASSERT_EQ(tool("generate " + path("Кран 1.nkp")).status, 0);
    const ToolRun run = tool("info " + path("Кран 1.nkp"));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("Файл: Кран 1.nkp ("), std::string::npos) << run.out;
}
