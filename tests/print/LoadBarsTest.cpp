#include "print/LoadBars.h"

#include <gtest/gtest.h>

using namespace nkp::print;

TEST(LoadBars, WidthIsPositionTimes281DivMaximum)
{
    EXPECT_EQ(loadBarWidth(0), 0);      // a band without cycles has no bar
    EXPECT_EQ(loadBarWidth(50), 140);   // half the busiest band: 50 × 281 div 100
    EXPECT_EQ(loadBarWidth(100), 281);  // the busiest band: 281, not the frame's 400
    EXPECT_EQ(loadBarWidth(12), 33);    // integer arithmetic truncates
    EXPECT_EQ(loadBarWidth(3, 4), 210);
}

TEST(LoadBars, OddGaugesStayInsideTheFrame)
{
    EXPECT_EQ(loadBarWidth(150), 281);
    EXPECT_EQ(loadBarWidth(-5), 0);
    EXPECT_EQ(loadBarWidth(50, 0), 0);
    EXPECT_EQ(loadBarWidth(50, -1), 0);
}

TEST(LoadBars, RectanglesShareTheLeftEnd)
{
    const LoadBarRects r = loadBarRects(200.5, 300, 50);
    EXPECT_EQ(r.frame, QRectF(200.5, 300, 400, 15));
    EXPECT_EQ(r.bar, QRectF(200.5, 300, 140, 15));
    EXPECT_EQ(loadBarRects(0, 0, 0).bar.width(), 0);
    EXPECT_EQ(loadBarRects(0, 0, 100).bar.width(), 281);
}
