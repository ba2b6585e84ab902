#include "codec/Codec.h"
#include "readout_generator/ReadoutGenerator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <sys/wait.h>

namespace {

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs nkp3-tool under the C locale with the given arguments (quoted by the caller).
ToolRun tool(const std::string& args)
{
    const auto errFile
        = std::filesystem::temp_directory_path() / ("nkp_tool_err_" + std::to_string(::getpid()));
    const std::string command = "LC_ALL=C '" NKP_TOOL_PATH "' " + args + " 2>'" + errFile.string() + "'";
    ToolRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char buf[65536];
    std::size_t n = 0;
    while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0)
        run.out.append(buf, n);
    const int raw = ::pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::ifstream in(errFile);
    std::stringstream ss;
    ss << in.rdbuf();
    run.err = ss.str();
    std::filesystem::remove(errFile);
    return run;
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

TEST_F(ToolTest, ErrorsAndUsage)
{
    const ToolRun missing = tool("info " + path("missing.nkp"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, " Файл не удальсь открыть!\n");
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
    EXPECT_EQ(rows[2], "x.nkp;;;;;;;;;;;;;;;;;Это папка, а не файл\r");

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
