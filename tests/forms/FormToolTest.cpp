// `nkp3-tool form` run as a user runs it.
#include "TestImages.h"
#include "ToolRunner.h"

#include "generator/ReadoutGenerator.h"
#include "recorder/DataFileWriter.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

using ToolRun = nkp::test::ToolOutput;

class FormTool : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("nkp-form-tool-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        using nkp::recorder::IdField;
        nkp::generator::GeneratorOptions options;
        options.seed = 21;
        std::vector<std::uint8_t> image = nkp::generator::generateImage(options);
        nkp::recorder::Identification id = nkp::generator::generateIdentification(options);
        write("latest.nkp", nkp::recorder::buildDataFile(image, id));
        // The same crane and limiter read out earlier, with fewer cycles and minutes.
        for (std::size_t at = 264004; at < 264026; ++at)
            image[at] = static_cast<std::uint8_t>(image[at] / 2);
        nkp::test::sealChecksum(image);
        id[IdField::ReadingDate] = "01.01.2024 09:00";
        write("previous.nkp", nkp::recorder::buildDataFile(image, id));
        nkp::recorder::Identification other = id;
        other[IdField::CraneNumber] = "999";
        write("othercrane.nkp", nkp::recorder::buildDataFile(image, other));
        other = id;
        other[IdField::LimiterNumber] = "1";
        write("otherlimiter.nkp", nkp::recorder::buildDataFile(image, other));
        write("empty.nkp", {});
    }
    void TearDown() override { fs::remove_all(dir); }

    void write(const std::string& name, const std::vector<std::uint8_t>& bytes) const
    {
        std::ofstream out(dir / name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    // Runs the tool in the test folder (which has no "Шаблоны форм").
    ToolRun tool(const std::string& args) const
    {
        return nkp::test::runCommand(
            "cd '" + dir.string() + "' && LC_ALL=C '" NKP_TOOL_PATH "' form " + args);
    }

    fs::path dir;
};

TEST_F(FormTool, WritesDataFileAndDocumentAndPrintsItsPath)
{
    for (const char* args : {"1 latest.nkp previous.nkp --out out", "2 latest.nkp previous.nkp --out out",
             "3 latest.nkp --out out"}) {
        SCOPED_TRACE(args);
        const ToolRun run = tool(args);
        ASSERT_EQ(run.status, 0) << run.err;
        ASSERT_FALSE(run.out.empty());
        const fs::path document = run.out.substr(0, run.out.size() - 1);
        EXPECT_EQ(document.parent_path(), fs::path("out"));
        EXPECT_EQ(document.extension(), ".rtf");
        std::ifstream in(dir / document, std::ios::binary);
        std::string head(5, '\0');
        in.read(head.data(), 5);
        EXPECT_EQ(head, "{\\rtf");
        const std::string form(1, args[0]);
        EXPECT_TRUE(fs::exists(dir / "out" / ("Форма " + form + ".txt")));
    }
}

TEST_F(FormTool, PairsThatMakeNoPeriodAreRefusedUnlessAllowed)
{
    struct Case {
        const char* args;
        int status;
        const char* reason;  // on stderr
    };
    const Case cases[] = {
        {"2 previous.nkp latest.nkp", 1, "похоже, файлы выбраны в обратном порядке"},
        {"1 latest.nkp othercrane.nkp", 1, "Считывания относятся к разным кранам"},
        {"2 latest.nkp otherlimiter.nkp", 1, "Считывания сделаны с разных ограничителей"},
        {"2 previous.nkp latest.nkp --allow-mismatch", 0, ""},
        {"1 latest.nkp othercrane.nkp --allow-mismatch", 0, ""},
        {"2 latest.nkp previous.nkp", 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        fs::remove_all(dir / "out");
        const ToolRun run = tool(std::string(c.args) + " --out out");
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_NE(run.err.find(c.reason), std::string::npos) << run.err;
        // A refused pair writes nothing.
        EXPECT_EQ(fs::exists(dir / "out" / "Форма 2.txt") || fs::exists(dir / "out" / "Форма 1.txt"),
            c.status == 0);
    }
    // A file too short to be a read-out is refused wherever it is given.
    for (const char* args : {"3 empty.nkp --out out", "2 latest.nkp empty.nkp --out out"})
        EXPECT_EQ(tool(args).status, 1) << args;
    const ToolRun info = nkp::test::runTool("info '" + (dir / "empty.nkp").string() + "'");
    EXPECT_EQ(info.status, 1);
    EXPECT_TRUE(info.out.empty()) << info.out;
}

TEST_F(FormTool, BadCommandLinesAndFailures)
{
    EXPECT_EQ(tool("4 latest.nkp --out out").status, 2);
    EXPECT_EQ(tool("1 latest.nkp --out out").status, 2);  // the previous reading is missing
    EXPECT_EQ(tool("3 latest.nkp previous.nkp --out out").status, 2);
    EXPECT_EQ(tool("3 latest.nkp").status, 2);
    EXPECT_EQ(tool("3 latest.nkp --out").status, 2);

    EXPECT_EQ(tool("3 missing.nkp --out out").status, 1);
    EXPECT_EQ(tool("2 latest.nkp missing.nkp --out out").status, 1);
    const ToolRun noTemplates = tool("3 latest.nkp --out out --templates nowhere");
    EXPECT_EQ(noTemplates.status, 1);
    EXPECT_NE(noTemplates.err.find("nowhere"), std::string::npos) << noTemplates.err;
}

}  // namespace
