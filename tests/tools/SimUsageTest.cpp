// The device emulator's command line: every wrong one exits with 2, names
// its problem on one line and prints the usage line; nothing reaches stdout.
#include "ToolRunner.h"

#include <gtest/gtest.h>

namespace {

constexpr const char* kUsage
    = "usage: nkp3-sim [--image FILE.nkp | --seed N] [--stop-after N] [--extra N] [--probe-answer HEX] "
      "[--no-answer] [--noise] [--paced]\n";

TEST(SimUsage, EveryWrongCommandLineNamesItsProblem)
{
    const struct {
        const char* args;
        const char* problem;
    } cases[] = {
        {"--seed", "--seed needs a value"},
        {"--seed 5 --image", "--image needs a value"},
        {"--seed x", "bad value for --seed: x"},
        {"--seed -1", "bad value for --seed: -1"},
        {"--seed 1 --seed x", "bad value for --seed: x"},
        {"--stop-after 9q", "bad value for --stop-after: 9q"},
        {"--extra ''", "bad value for --extra: "},
        {"--probe-answer 0x1FF", "bad value for --probe-answer: 0x1FF"},
        {"--probe-answer 0x", "bad value for --probe-answer: 0x"},
        {"--image a.nkp --seed 2", "--image and --seed exclude each other"},
        {"--seed 2 --image ''", "--image and --seed exclude each other"},
        {"--noise --bogus", "unknown option --bogus"},
        {"--no-answer extra", "unknown option extra"},
        {"-", "unknown option -"},
        {"''", "unknown option "},
    };
    for (const auto& c : cases) {
        const auto run = nkp::test::runCommand("'" NKP_SIM_PATH "' " + std::string(c.args));
        EXPECT_EQ(run.status, 2) << c.args;
        EXPECT_EQ(run.err, "nkp3-sim: " + std::string(c.problem) + "\n" + kUsage) << c.args;
        EXPECT_EQ(run.out, "") << c.args;
    }
}

}  // namespace
