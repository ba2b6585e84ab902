#include "base/Log.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

using nkp::Failure;

TEST(Failure, NamesTheFileOnce)
{
    EXPECT_EQ(
        (Failure {"/x/a.nkp", "No such file or directory"}.text()), "/x/a.nkp: No such file or directory");
    EXPECT_EQ((Failure {"", "disk full"}.text()), "disk full");
    // The safe writer's causes name the file already.
    EXPECT_EQ(
        (Failure {"/x/a.pdf", "cannot rename the temporary file over /x/a.pdf: Permission denied"}.text()),
        "cannot rename the temporary file over /x/a.pdf: Permission denied");
}

TEST(Failure, TravelsWithTheValueOrInItsPlace)
{
    // A value that can only be moved comes out whole; a failure keeps its file and cause.
    nkp::Result<std::unique_ptr<int>> value = std::make_unique<int>(7);
    ASSERT_TRUE(value);
    EXPECT_EQ(value.error(), "");
    const std::unique_ptr<int> taken = std::move(*value);
    EXPECT_EQ(*taken, 7);

    const nkp::Result<std::unique_ptr<int>> failed = Failure {"a.nkp", "short file"};
    ASSERT_FALSE(failed);
    EXPECT_EQ(failed.failure().path, "a.nkp");
    EXPECT_EQ(failed.error(), "a.nkp: short file");
    EXPECT_EQ(nkp::Result<int>(nkp::failed("x")).value_or(3), 3);
    EXPECT_EQ(nkp::Result<int>(4).value_or(3), 4);

    const nkp::Done done;
    EXPECT_TRUE(done.ok());
    EXPECT_EQ(done.error(), "");
    const nkp::Done notDone = nkp::failed("disk full");
    EXPECT_FALSE(notDone);
    EXPECT_EQ(notDone.failure().path, "");
    EXPECT_EQ(notDone.error(), "disk full");
}

TEST(Log, RedirectedSinkReceivesWholeLinesFromEveryThread)
{
    std::vector<std::string> lines;
    const nkp::log::Sink before = nkp::log::setSink([&](std::string_view line) { lines.emplace_back(line); });
    nkp::log::write(Failure {"a.nkp", "short file"});
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "a.nkp: short file");

    std::vector<std::thread> writers;
    for (int t = 0; t < 4; ++t)
        writers.emplace_back([t] {
            for (int i = 0; i < 500; ++i)
                nkp::log::write("thread " + std::to_string(t) + " line " + std::to_string(i));
        });
    for (std::thread& w : writers)
        w.join();
    EXPECT_EQ(lines.size(), 2001u);
    for (std::size_t i = 1; i < lines.size(); ++i)
        EXPECT_EQ(lines[i].rfind("thread ", 0), 0u) << lines[i];

    // Restoring hands back the test's sink, and standard error takes over.
    EXPECT_TRUE(static_cast<bool>(nkp::log::setSink(before)));
    testing::internal::CaptureStderr();
    nkp::log::write("to stderr");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "to stderr\n");
    EXPECT_EQ(lines.size(), 2001u);
}
