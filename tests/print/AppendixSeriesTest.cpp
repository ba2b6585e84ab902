#include "print/AppendixSeries.h"

#include <gtest/gtest.h>

using namespace nkp;
using namespace nkp::print;

namespace {

// A store whose record i carries i in its numbers, every record valid.
screen::MainState numberedState(int ringStart)
{
    screen::MainState s;
    s.frames.clear();
    for (std::size_t i = 0; i < s.frames.size(); ++i) {
        auto& r = s.frames[i];
        r.Status = recorder::FrameStatus::Ok;
        r.LoadPercent = static_cast<std::int32_t>(i);
        r.LoadMass = static_cast<float>(i) + 0.5f;
        r.BoomLength = static_cast<float>(i) + 0.25f;
        r.Radius = static_cast<float>(i) + 0.75f;
    }
    s.RingStart = ringStart;
    s.loadedFrames = 11000;
    return s;
}

}  // namespace

TEST(AppendixSeries, PositionsFollowTheRingFromItsStart)
{
    const AppendixSeries s = appendixSeries(numberedState(6000));
    ASSERT_EQ(s.x.size(), 11000u);
    EXPECT_EQ(s.x[0], 0);
    EXPECT_EQ(s.x[10999], 10999);
    EXPECT_EQ(s.load[0], 6000);  // the oldest frame is the ring start
    EXPECT_EQ(s.load[4999], 10999);
    EXPECT_EQ(s.load[5000], 0);  // wrapped to the file's first record
    EXPECT_EQ(s.load[10999], 5999);
    EXPECT_EQ(s.mass[5000], 0.5);
    EXPECT_EQ(s.boom[5000], 0.25);
    EXPECT_EQ(s.radius[5000], 0.75);

    // Newest frame last in the file: ring start 11000, position p is record p.
    const AppendixSeries last = appendixSeries(numberedState(11000));
    EXPECT_EQ(last.load[0], 0);
    EXPECT_EQ(last.load[10999], 10999);
}

TEST(AppendixSeries, BrokenFrameAtZeroWhileTheLimitGoesOn)
{
    screen::MainState state = numberedState(1);
    state.frames[11].Status = recorder::FrameStatus::Broken;   // position 10
    state.frames[12].Status = recorder::FrameStatus::Cleared;  // cleared, not "Норма"
    const AppendixSeries s = appendixSeries(state);
    for (int p : {10, 11}) {
        EXPECT_EQ(s.load[p], 0);
        EXPECT_EQ(s.mass[p], 0);
        EXPECT_EQ(s.boom[p], 0);
        EXPECT_EQ(s.radius[p], 0);
        EXPECT_EQ(s.limit[p], 100);
    }
    EXPECT_EQ(s.load[9], 10);
    EXPECT_EQ(s.load[12], 13);
    for (double v : s.limit)
        ASSERT_EQ(v, 100);
}

TEST(AppendixSeries, CountAndRingStartLimitedToTheStore)
{
    screen::MainState state = numberedState(0);
    state.loadedFrames = 0;
    EXPECT_TRUE(appendixSeries(state).x.empty());
    state.loadedFrames = 50000;
    state.RingStart = -3;
    const AppendixSeries s = appendixSeries(state);
    EXPECT_EQ(s.x.size(), 11000u);
    EXPECT_EQ(s.load[0], 10997);
}
