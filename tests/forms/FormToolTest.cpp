// `nkp3-tool form` run as a user runs it.
#include "ToolRunner.h"

#include "generator/ReadoutGenerator.h"

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
        nkp::generator::GeneratorOptions options;
        options.seed = 21;
        write("latest.nkp", nkp::generator::generateDataFile(options));
        options.seed = 22;
        write("previous.nkp", nkp::generator::generateDataFile(options));
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
