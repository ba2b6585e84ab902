// No output of nkp3-tool replaces one of its inputs: every writing command,
// its output aimed at each input directly, through a symbolic link and
// through a hard link, fails with status 1 and a message, and every input
// keeps its bytes.
#include "TempFolder.h"
#include "ToolRunner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>

using nkp::test::runCommand;
using nkp::test::runTool;
using nkp::test::TempFolder;

namespace {

namespace fs = std::filesystem;

std::string shellQuoted(const std::string& path)
{
    return "'" + path + "'";
}

std::optional<std::string> contents(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// One writing command: its inputs and the command line writing to a target.
struct WritingCommand {
    std::string name;
    std::vector<std::string> inputs;
    // The name the command gives its output (a form's data file); empty when
    // the command line names the output file itself.
    std::string fixedName;
    std::function<std::string(const std::string& target)> line;
};

class OutputInput : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto tool = [](const std::string& args) { ASSERT_EQ(runTool(args).status, 0) << args; };
        fs::create_directories(dir.dir / "fleet" / "sub");
        tool("generate " + shellQuoted(dir.path("a.nkp")));
        tool("generate --history 2 " + shellQuoted(dir.path("h")));
        tool("generate --seed 3 " + shellQuoted(dir.path("fleet/x.nkp")));
        tool("generate --seed 4 " + shellQuoted(dir.path("fleet/sub/y.nkp")));
        fs::create_directories(dir.dir / "tpl");
        for (const char* form : {"Форма 1.rtf", "Форма 2.rtf", "Форма 3.rtf"})
            fs::copy_file(fs::path(NKP_TEMPLATES_DIR) / form, dir.dir / "tpl" / form);
        // The read-outs a form is made from, one of them named as its data file.
        std::vector<fs::path> history;
        for (const auto& entry : fs::directory_iterator(dir.dir / "h"))
            history.push_back(entry.path());
        std::sort(history.begin(), history.end());
        previous = history.at(0).string();
        for (const int form : {1, 2, 3}) {
            const fs::path latest
                = dir.dir / ("f" + std::to_string(form)) / ("Форма " + std::to_string(form) + ".txt");
            fs::create_directories(latest.parent_path());
            fs::copy_file(form == 3 ? dir.dir / "a.nkp" : history.at(1), latest);
        }
        tool("form 3 " + shellQuoted(dir.path("a.nkp")) + " --out " + shellQuoted(dir.path("made"))
            + " --templates " + shellQuoted(dir.path("tpl")));
        std::ofstream(dir.path("id.inf"), std::ios::binary) << std::string(13 * 2, '\n');
        tool("archive import " + shellQuoted(dir.path("A")) + " " + shellQuoted(dir.path("a.nkp")));
        fs::create_symlink(dir.dir / "A", dir.dir / "A-link");
        sha = runCommand("head -c 270336 " + shellQuoted(dir.path("a.nkp")) + " | sha256sum")
                  .out.substr(0, 64);
    }

    std::vector<WritingCommand> commands() const
    {
        const std::string a = shellQuoted(dir.path("a.nkp"));
        std::vector<WritingCommand> table;
        for (const char* layout : {"card", "oper", "events"})
            table.push_back(
                {std::string("print ") + layout, {dir.path("a.nkp")}, "", [=](const std::string& t) {
                     return std::string("print ") + layout + " " + a + " --pdf " + shellQuoted(t);
                 }});
        for (const char* command : {"events", "spectrum"})
            table.push_back({command, {dir.path("a.nkp")}, "", [=](const std::string& t) {
                                 return std::string(command) + " " + a + " --csv " + shellQuoted(t);
                             }});
        table.push_back({"fleet", {dir.path("fleet/x.nkp"), dir.path("fleet/sub/y.nkp")}, "",
            [this](const std::string& t) {
                return "fleet " + shellQuoted(dir.path("fleet")) + " --csv " + shellQuoted(t);
            }});
        table.push_back({"read", {dir.path("id.inf")}, "", [this](const std::string& t) {
                             return "read --port /dev/null --inf " + shellQuoted(dir.path("id.inf")) + " "
                                 + shellQuoted(t);
                         }});
        const std::string data = dir.path("made/Форма 3.txt");
        const std::string rtf = dir.path("tpl/Форма 3.rtf");
        table.push_back({"merge", {data, rtf}, "", [=](const std::string& t) {
                             return "merge " + shellQuoted(data) + " " + shellQuoted(rtf) + " "
                                 + shellQuoted(t);
                         }});
        for (const int form : {1, 2, 3}) {
            const std::string number = std::to_string(form);
            const std::string latest = dir.path("f" + number + "/Форма " + number + ".txt");
            std::vector<std::string> inputs {latest, dir.path("tpl/Форма " + number + ".rtf")};
            if (form != 3)
                inputs.push_back(previous);
            const std::string reads = shellQuoted(latest) + (form == 3 ? "" : " " + shellQuoted(previous));
            table.push_back({"form " + number, inputs, "Форма " + number + ".txt",
                [this, number, reads](const std::string& t) {
                    return "form " + number + " " + reads + " --out "
                        + shellQuoted(fs::path(t).parent_path().string()) + " --templates "
                        + shellQuoted(dir.path("tpl"));
                }});
        }
        // The archive and its companions, also opened through a link.
        std::vector<std::string> archive;
        for (const char* suffix : {"", "-wal", "-shm", "-journal"})
            archive.push_back(dir.path(std::string("A") + suffix));
        for (const char* location : {"A", "A-link"}) {
            const std::string at = shellQuoted(dir.path(location));
            table.push_back({std::string("archive cranes ") + location, archive, "",
                [=](const std::string& t) { return "archive cranes " + at + " --csv " + shellQuoted(t); }});
            table.push_back(
                {std::string("archive history ") + location, archive, "", [=](const std::string& t) {
                     return "archive history " + at + " КС-45717К-1 86888 --csv " + shellQuoted(t);
                 }});
            table.push_back(
                {std::string("archive export ") + location, archive, "", [=, this](const std::string& t) {
                     return "archive export " + at + " " + sha + " " + shellQuoted(t);
                 }});
            table.push_back({std::string("archive due ") + location, archive, "",
                [=](const std::string& t) { return "archive due " + at + " --csv " + shellQuoted(t); }});
            table.push_back(
                {std::string("archive report ") + location, archive, "", [=](const std::string& t) {
                     return "archive report " + at + " КС-45717К-1 86888 --pdf " + shellQuoted(t);
                 }});
        }
        return table;
    }

    TempFolder dir {"nkp_output_input_"};
    std::string previous, sha;
};

TEST_F(OutputInput, EveryWritingCommandRefusesEachOfItsInputs)
{
    int run = 0;
    for (const WritingCommand& command : commands()) {
        for (const std::string& input : command.inputs) {
            const std::string inputName = fs::path(input).filename().string();
            for (const char* how : {"directly", "symbolic link", "hard link"}) {
                const std::string mode = how;
                const fs::path links = dir.dir / ("links" + std::to_string(run++));
                fs::create_directories(links);
                const fs::path linked = links / (command.fixedName.empty() ? "out" : command.fixedName);
                std::string target;
                if (mode == "directly") {
                    // A form names its data file itself: only an input of that name is hit directly.
                    if (!command.fixedName.empty() && command.fixedName != inputName)
                        continue;
                    target = input;
                } else if (mode == "symbolic link") {
                    fs::create_symlink(input, linked);
                    target = linked.string();
                } else {
                    std::error_code ec;
                    fs::create_hard_link(input, linked, ec);
                    if (ec)
                        continue;  // an input that does not exist yet (a journal) has no hard link
                    target = linked.string();
                }
                std::vector<std::optional<std::string>> before;
                for (const std::string& each : command.inputs)
                    before.push_back(contents(each));
                const auto result = runTool(command.line(target));
                const std::string what = command.name + ", output " + mode + " onto " + inputName;
                EXPECT_EQ(result.status, 1) << what << "\n" << result.err;
                EXPECT_FALSE(result.err.empty()) << what;
                for (std::size_t i = 0; i < command.inputs.size(); ++i)
                    EXPECT_EQ(contents(command.inputs[i]), before[i]) << what << ": " << command.inputs[i];
            }
        }
    }
    // The commands run as they should when their output is elsewhere.
    for (const WritingCommand& command : commands())
        if (command.name.rfind("read", 0) != 0) {
            const fs::path free
                = dir.dir / "free" / command.name / (command.fixedName.empty() ? "out" : command.fixedName);
            fs::create_directories(free.parent_path());
            EXPECT_EQ(runTool(command.line(free.string())).status, 0) << command.name;
        }
}

}  // namespace
