// The command lines scripts rely on: what every command says about a wrong
// command line, and that options may stand anywhere and be repeated.
#include "ToolRunner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

using nkp::test::runTool;

namespace {

// Runs in a folder of its own: a command line that wrongly succeeded would
// leave its files there, not in the build tree.
class ToolUsage : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous = std::filesystem::current_path();
        dir = std::filesystem::temp_directory_path() / ("nkp_tool_usage_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        std::filesystem::current_path(dir);
    }
    void TearDown() override
    {
        std::filesystem::current_path(previous);
        std::filesystem::remove_all(dir);
    }
    static std::string read(const char* name)
    {
        std::ifstream in(name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::filesystem::path previous, dir;
};

struct UsageCase {
    const char* args;
    const char* problem;  // the line after "nkp3-tool: "; empty: no such line
};

}  // namespace

// Every wrong command line exits with 2, names its problem on one line and
// lists the usage; nothing reaches stdout. Where two problems meet, the one
// named is the one scripts see today.
TEST_F(ToolUsage, EveryCommandNamesItsUsageError)
{
    const UsageCase cases[] = {
        {"", ""},
        {"nonsense", "unknown command 'nonsense'"},
        {"--vers", "unknown command '--vers'"},

        {"archive",
            "archive: import, cranes, history, export, note, log, set, due, check, report, trust or verify"},
        {"archive bogus", "archive: unknown sub-command 'bogus'"},
        {"archive import a.db", "archive import: archive and at least one file or folder needed"},
        {"archive import '' a.nkp", "archive import: an empty archive, file or folder name"},
        {"archive import a.db a.nkp ''", "archive import: an empty archive, file or folder name"},
        {"archive cranes ''", "archive cranes: ARCHIVE [--csv OUT]"},
        {"archive cranes a.db --csv ''", "archive cranes: ARCHIVE [--csv OUT]"},
        {"archive cranes", "archive cranes: ARCHIVE [--csv OUT]"},
        {"archive cranes a.db --csv", "archive cranes: ARCHIVE [--csv OUT]"},
        {"archive cranes a.db --csv x.csv --csv y.csv", "archive cranes: ARCHIVE [--csv OUT]"},
        {"archive cranes a.db b.db", "archive cranes: ARCHIVE [--csv OUT]"},
        {"archive cranes --bogus a.db", "archive cranes: ARCHIVE [--csv OUT]"},
        {"archive history a.db KS", "archive history: ARCHIVE MODEL NUMBER [--sha SHA256] [--csv OUT]"},
        {"archive history a.db KS 12 --csv",
            "archive history: ARCHIVE MODEL NUMBER [--sha SHA256] [--csv OUT]"},
        {"archive history a.db KS 12 13", "archive history: ARCHIVE MODEL NUMBER [--sha SHA256] [--csv OUT]"},
        {"archive history a.db KS 12 --sha",
            "archive history: ARCHIVE MODEL NUMBER [--sha SHA256] [--csv OUT]"},
        {"archive history a.db KS 12 --sha 00 --sha 01",
            "archive history: ARCHIVE MODEL NUMBER [--sha SHA256] [--csv OUT]"},
        {"archive history a.db KS 12 --sha ''",
            "archive history: ARCHIVE MODEL NUMBER [--sha SHA256] [--csv OUT]"},
        {"archive history '' KS 12", "archive history: ARCHIVE MODEL NUMBER [--sha SHA256] [--csv OUT]"},
        {"archive export a.db 00ff", "archive export: ARCHIVE SHA256 OUT.nkp"},
        {"archive export '' 00ff o.nkp", "archive export: ARCHIVE SHA256 OUT.nkp"},
        {"archive export a.db 00ff ''", "archive export: ARCHIVE SHA256 OUT.nkp"},
        {"archive export a.db 00ff o.nkp x", "archive export: ARCHIVE SHA256 OUT.nkp"},
        {"archive note a.db KS 12 --kind x --date 01.01.2023 --text t",
            "archive note: ARCHIVE MODEL NUMBER --kind partial|full|expert|repair|limiter|note --date "
            "DD.MM.YYYY "
            "--text TEXT [--author NAME] [--corrects N]"},
        {"archive note a.db KS 12 --kind note --date 1.1.2023 --text t",
            "archive note: ARCHIVE MODEL NUMBER --kind partial|full|expert|repair|limiter|note --date "
            "DD.MM.YYYY "
            "--text TEXT [--author NAME] [--corrects N]"},
        {"archive log a.db KS", "archive log: ARCHIVE MODEL NUMBER [--csv OUT]"},
        {"archive set a.db KS 12 --reading-months 0",
            "archive set: ARCHIVE MODEL NUMBER [--reading-months N] [--partial-months N] [--full-months N] "
            "[--service-life-years N]"},
        {"archive due a.db --within -1",
            "archive due: ARCHIVE [--within DAYS] [--today DD.MM.YYYY] [--csv OUT]"},
        {"archive due a.db --today 2023-01-01",
            "archive due: ARCHIVE [--within DAYS] [--today DD.MM.YYYY] [--csv OUT]"},
        {"archive check a.db KS", "archive check: ARCHIVE [MODEL NUMBER] [--csv OUT]"},
        {"archive report a.db KS 12", "archive report: ARCHIVE MODEL NUMBER --pdf OUT [--today DD.MM.YYYY]"},
        {"archive trust a.db", "archive trust: ARCHIVE KEY.pub"},
        {"archive trust a.db k.pub x", "archive trust: ARCHIVE KEY.pub"},
        {"archive verify", "archive verify: ARCHIVE"},
        {"archive verify a.db b.db", "archive verify: ARCHIVE"},

        {"events", "events: file missing"},
        {"events a.nkp b.nkp", "events: exactly one file expected"},
        {"events '' a.nkp", "events: exactly one file expected"},
        {"events a.nkp --csv", "events: --csv needs a value"},
        {"events a.nkp --csv x.csv --csv y.csv", "events: --csv given twice"},
        {"events a.nkp --csv ''", "events: --csv needs a file name"},
        {"events a.nkp --bogus 1", "events: unknown option '--bogus'"},
        {"events a.nkp -", "events: unknown option '-'"},
        {"events --csv=x.csv a.nkp", "events: unknown option '--csv=x.csv'"},
        {"events a.nkp b.nkp --bogus", "events: exactly one file expected"},
        {"events a.nkp --threshold", "events: --threshold needs a value"},
        {"events a.nkp --threshold x", "events: --threshold needs a whole percentage, not 'x'"},
        {"events a.nkp --threshold 5 --threshold -5",
            "events: --threshold needs a whole percentage, not '-5'"},
        {"events --threshold x", "events: file missing"},
        {"spectrum", "spectrum: file missing"},
        {"spectrum a.nkp --threshold 5", "spectrum: unknown option '--threshold'"},
        {"spectrum a.nkp --csv", "spectrum: --csv needs a value"},
        {"spectrum a.nkp b.nkp", "spectrum: exactly one file expected"},

        {"fleet", "fleet: folder missing"},
        {"fleet '' ''", "fleet: folder missing"},
        {"fleet d --csv", "fleet: --csv needs one file name"},
        {"fleet d --csv x.csv --csv y.csv", "fleet: --csv needs one file name"},
        {"fleet d --bogus", "fleet: unknown option '--bogus'"},
        {"fleet -", "fleet: unknown option '-'"},
        {"fleet d e", "fleet: one folder only"},
        {"fleet d ''", "fleet: one folder only"},
        {"fleet d e --bogus", "fleet: one folder only"},

        {"form", "form: the form number must be 1, 2 or 3"},
        {"form 4 a.nkp --out o", "form: the form number must be 1, 2 or 3"},
        {"form 4 --bogus", "unknown option '--bogus'"},
        {"form 3 a.nkp --out", "--out needs a folder"},
        {"form 3 a.nkp --templates", "--templates needs a folder"},
        {"form 3 a.nkp --out o --bogus x", "unknown option '--bogus'"},
        {"form 3 a.nkp b.nkp --out o", "form 3 takes one read-out"},
        {"form 3 --out o", "form 3 takes one read-out"},
        {"form 1 a.nkp --out o", "forms 1 and 2 take the latest and the previous read-out"},
        {"form 3 a.nkp", "form: --out DIR is required"},
        {"form 3 -a.nkp", "form: --out DIR is required"},
        {"form 3 a.nkp --out ''", "form: --out DIR is required"},
        {"form 3 a.nkp --out o --out ''", "form: --out DIR is required"},

        {"frames", "frames: exactly one file expected"},
        {"frames a.nkp b.nkp", "frames: exactly one file expected"},
        {"frames ''", "frames: exactly one file expected"},
        {"frames -a.nkp", "frames: exactly one file expected"},

        {"generate", "generate: output file missing"},
        {"generate '' ''", "generate: output file missing"},
        {"generate --seed", "generate: --seed needs a number"},
        {"generate --seed x1 a.nkp", "generate: bad seed 'x1'"},
        {"generate --seed -1 a.nkp", "generate: bad seed '-1'"},
        {"generate --seed x1 --bogus", "generate: bad seed 'x1'"},
        {"generate --seed=5 a.nkp", "generate: unknown option '--seed=5'"},
        {"generate --history", "generate: --history needs a count"},
        {"generate --history -1 d", "generate: --history needs a count"},
        {"generate --history 2x d", "generate: --history needs a count"},
        {"generate --history 0 d",
            "generate: --history takes 1 to 5200 read-outs (a reading a week for a century: the recorder's "
            "years are 2000-2099)"},
        {"generate --history 5201 d",
            "generate: --history takes 1 to 5200 read-outs (a reading a week for a century: the recorder's "
            "years are 2000-2099)"},
        {"generate --replace-limiter-at", "generate: --replace-limiter-at needs a count"},
        {"generate --replace-limiter-at x d", "generate: --replace-limiter-at needs a count"},
        {"generate --replace-limiter-at 2 a.nkp", "generate: --replace-limiter-at needs --history"},
        {"generate --bogus a.nkp", "generate: unknown option '--bogus'"},
        {"generate a.nkp b.nkp", "generate: one output file only"},
        {"generate a.nkp --seed", "generate: --seed needs a number"},

        {"info", "info: file missing"},
        {"info --keys", "info: file missing"},
        {"info '' ''", "info: file missing"},
        {"info --bogus a.nkp", "info: unknown option '--bogus'"},
        {"info --keys=1 a.nkp", "info: unknown option '--keys=1'"},
        {"info a.nkp b.nkp", "info: one file only"},
        {"info a.nkp b.nkp --bogus", "info: one file only"},

        {"merge", "merge needs a data file, a template and a report file"},
        {"merge d.txt t.txt", "merge needs a data file, a template and a report file"},
        {"merge d.txt t.txt r.txt x", "merge needs a data file, a template and a report file"},

        {"print", "print needs a layout and a data file"},
        {"print card", "print needs a layout and a data file"},
        {"print bogus a.nkp --from x", "unknown layout 'bogus' (card, oper or events)"},
        {"print --pdf o.pdf", "unknown layout '--pdf' (card, oper or events)"},
        {"print card a.nkp", "--pdf OUT.pdf is required"},
        {"print card a.nkp --pdf", "option --pdf needs a value"},
        {"print card a.nkp extra", "option extra needs a value"},
        {"print card a.nkp --bogus 1", "unknown option --bogus"},
        {"print card a.nkp --pdf=o.pdf x", "unknown option --pdf=o.pdf"},
        {"print oper a.nkp --pdf o.pdf --from x", "--from needs an integer, not 'x'"},
        {"print oper a.nkp --pdf o.pdf --to 1.5", "--to needs an integer, not '1.5'"},
        {"print oper a.nkp --from x --bogus 1", "--from needs an integer, not 'x'"},
        {"print oper a.nkp --bogus 1 --from x", "unknown option --bogus"},
        {"print card a.nkp --pdf o.pdf --from 1", "--from and --to belong to the oper layout"},
        {"print events a.nkp --pdf o.pdf --to 1", "--from and --to belong to the oper layout"},
        {"print oper a.nkp --pdf o.pdf --threshold 5", "--threshold belongs to the events layout"},
        {"print events a.nkp --pdf o.pdf --threshold x", "--threshold needs a whole percentage, not 'x'"},
        {"print events a.nkp --pdf o.pdf --threshold -5", "--threshold needs a whole percentage, not '-5'"},
        {"print events a.nkp --threshold 5", "--pdf OUT.pdf is required"},

        {"read --port", "read: --port needs a device name"},
        {"read --port '' a.nkp", "read: --port needs a device name"},
        {"read a.nkp --port", "read: --port needs a device name"},
        {"read --bogus a.nkp", "read: unknown option '--bogus'"},
        {"read -", "read: unknown option '-'"},
        {"read a.nkp b.nkp", "read: more than one output file"},
        {"read a.nkp --bogus --port", "read: unknown option '--bogus'"},
        {"read", "read: the output file is missing"},
        {"read --port /dev/null ''", "read: the output file is missing"},
        // Like every option with a value, a last --inf lacks it.
        {"read --inf", "read: --inf needs a file name"},
        {"read a.nkp --inf", "read: --inf needs a file name"},
    };
    for (const UsageCase& c : cases) {
        const auto run = runTool(c.args);
        EXPECT_EQ(run.status, 2) << c.args << "\n" << run.err;
        const std::string problem = *c.problem ? "nkp3-tool: " + std::string(c.problem) + "\n" : "";
        EXPECT_EQ(run.err.substr(0, run.err.find("usage:\n")), problem) << c.args;
        EXPECT_NE(run.err.find("usage:\n  nkp3-tool archive import ARCHIVE PATH...\n"), std::string::npos)
            << c.args;
        EXPECT_EQ(run.out, "") << c.args;
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir));
}

// --help and --version of every program: on stdout, status 0.
TEST_F(ToolUsage, EveryProgramAnswersHelpAndVersion)
{
    const struct {
        std::string program;
        const char* args;
        const char* expected;
    } cases[] = {
        {NKP_TOOL_PATH, "--help", "usage:\n  nkp3-tool "},
        {NKP_TOOL_PATH, "--version", "nkp3-tool 1."},
        {NKP_SIM_PATH, "--help", "usage: nkp3-sim "},
        {NKP_SIM_PATH, "--version", "nkp3-sim 1."},
        {NKP_ANALYZER_PATH, "--help", "ФАЙЛ.nkp"},
        {NKP_ANALYZER_PATH, "--version", "nkp3-analyzer 1."},
    };
    for (const auto& c : cases) {
        const auto run = nkp::test::runCommand("QT_QPA_PLATFORM=offscreen '" + c.program + "' " + c.args);
        EXPECT_EQ(run.status, 0) << c.program << c.args << run.err;
        EXPECT_NE(run.out.find(c.expected), std::string::npos) << c.program << c.args << run.out;
    }
}

// Options stand before or after the file, may repeat (the last one counts)
// and take values that begin with a dash.
TEST_F(ToolUsage, OptionsStandAnywhere)
{
    ASSERT_EQ(runTool("generate --seed 42 a.nkp").status, 0);
    ASSERT_EQ(runTool("generate b.nkp --seed 42").status, 0);
    ASSERT_EQ(runTool("generate --seed 7 c.nkp --seed 42").status, 0);
    ASSERT_EQ(runTool("generate --seed 7 d.nkp").status, 0);
    const std::string a = read("a.nkp");
    EXPECT_FALSE(a.empty());
    EXPECT_EQ(read("b.nkp"), a);
    EXPECT_EQ(read("c.nkp"), a);
    EXPECT_NE(read("d.nkp"), a);

    const auto keys = runTool("info --keys a.nkp");
    ASSERT_EQ(keys.status, 0) << keys.err;
    EXPECT_EQ(runTool("info a.nkp --keys").out, keys.out);
    EXPECT_EQ(runTool("info --keys --keys a.nkp").out, keys.out);
    EXPECT_NE(runTool("info a.nkp").out, keys.out);

    const auto events = runTool("events a.nkp --threshold 104");
    ASSERT_EQ(events.status, 0) << events.err;
    EXPECT_EQ(runTool("events --threshold 5 --threshold 104 a.nkp").out, events.out);
    EXPECT_EQ(runTool("events --csv -e.csv a.nkp --threshold 104").status, 0);
    EXPECT_EQ(read("-e.csv"), "\xEF\xBB\xBF" + events.out);

    std::filesystem::create_directories("fleet");
    std::filesystem::copy_file("a.nkp", "fleet/a.nkp");
    const auto fleet = runTool("fleet fleet");
    ASSERT_EQ(fleet.status, 0) << fleet.err;
    EXPECT_EQ(runTool("fleet --csv -f.csv fleet").status, 0);
    EXPECT_EQ(read("-f.csv"), "\xEF\xBB\xBF" + fleet.out);

    EXPECT_EQ(runTool("frames a.nkp").status, 0);
    // A "--" is no end of the options: it is an unknown one.
    EXPECT_EQ(runTool("frames -- a.nkp").status, 2);
    EXPECT_EQ(runTool("info -- a.nkp").status, 2);
}
