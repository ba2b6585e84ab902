#include "archive/CraneHistory.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using nkp::base::DateTime;
using namespace nkp::archive;

HistoryInput at(int year, int month, int day, double number, std::string serial = "S1", int normative = 63000)
{
    static std::int64_t key = 0;
    return {DateTime {year, month, day, 12, 0, 0}, std::move(serial), number, normative, ++key};
}

HistoryInput undated(double number, std::string serial = "S1", int normative = 63000)
{
    static std::int64_t key = 100000;
    return {std::nullopt, std::move(serial), number, normative, ++key};
}

TEST(CraneHistory, DayNumbersRoundTripThroughTheCalendar)
{
    EXPECT_EQ(dayNumber(DateTime {1970, 1, 1}), 0);
    EXPECT_EQ(dayNumber(DateTime {2000, 3, 1}) - dayNumber(DateTime {2000, 2, 28}), 2);  // leap year
    EXPECT_EQ(dayNumber(DateTime {2100, 3, 1}) - dayNumber(DateTime {2100, 2, 28}), 1);  // no leap year
    EXPECT_DOUBLE_EQ(dayNumber(DateTime {1970, 1, 2, 6, 0, 0}), 1.25);
    for (std::int64_t day : {-1000000ll, -1ll, 0ll, 11016ll, 19782ll, 60000ll, 2000000ll}) {
        const DateTime d = dateOfDay(day);
        EXPECT_EQ(dayNumber(d), static_cast<double>(day)) << day;
    }
    EXPECT_EQ(dayText(dateOfDay(static_cast<std::int64_t>(dayNumber(DateTime {2024, 2, 29})))), "29.02.2024");
}

TEST(CraneHistory, SegmentsAccumulateAcrossLimiterReplacementAndRestarts)
{
    // Given out of order: the history sorts by reading moment.
    const CraneTrend t = craneTrend({
        at(2021, 1, 10, 50, "B"),  // new limiter: restarts from zero
        at(2020, 1, 10, 100, "A"),
        at(2020, 6, 10, 300, "A"),
        at(2021, 6, 10, 250, "B"),
        at(2021, 9, 10, 40, "B"),  // falling number on the same limiter: restart too
        at(2021, 12, 10, 90, "B"),
    });
    ASSERT_EQ(t.points.size(), 6u);
    const double expected[] = {100, 300, 350, 550, 590, 640};
    const int segments[] = {0, 0, 1, 1, 2, 2};
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_DOUBLE_EQ(t.points[i].accumulated, expected[i]) << i;
        EXPECT_EQ(t.points[i].segment, segments[i]) << i;
    }
    EXPECT_EQ(t.segments, 3);
    EXPECT_DOUBLE_EQ(t.accumulated, 640);
    EXPECT_EQ(t.newest, 5u);
    ASSERT_TRUE(t.used.percent);
    EXPECT_NEAR(*t.used.percent, 640 * 100.0 / 63000, 1e-9);

    // The same serial but a lower number than before: a new recorder.
    const CraneTrend same = craneTrend({at(2020, 1, 1, 500), at(2020, 3, 1, 20)});
    EXPECT_DOUBLE_EQ(same.points[1].accumulated, 520);
    // A changed serial with a higher number still starts a segment.
    const CraneTrend serial = craneTrend({at(2020, 1, 1, 500, "A"), at(2020, 3, 1, 700, "B")});
    EXPECT_DOUBLE_EQ(serial.points[1].accumulated, 1200);
}

TEST(CraneHistory, GrowthRateIsTheLeastSquaresSlopeOverTheLastYear)
{
    // Exactly linear: 2 per day over the year; an old read-out outside the
    // window would pull the slope if it counted.
    const DateTime newest {2023, 6, 1, 12, 0, 0};
    std::vector<HistoryInput> in;
    in.push_back(at(2020, 1, 1, 10));  // more than a year before: not in the fit
    const double base = 1000;
    for (int k = 0; k <= 4; ++k) {
        const DateTime d = dateOfDay(static_cast<std::int64_t>(dayNumber(newest)) - 365 + k * 365 / 4);
        in.push_back(at(d.year, d.month, d.day, base + 2.0 * (k * 365 / 4)));
    }
    const CraneTrend t = craneTrend(in);
    EXPECT_FALSE(t.points[0].inTrend);
    EXPECT_TRUE(t.points[1].inTrend);  // exactly 365 days before: inclusive
    ASSERT_TRUE(t.slopePerDay);
    EXPECT_NEAR(*t.slopePerDay, 2.0, 1e-9);
    EXPECT_NEAR(*t.growthPerYear, 730.5, 1e-9);
    EXPECT_EQ(oneDecimal(t.growthPerYear, ','), "730,5");
    ASSERT_EQ(t.forecast, ForecastState::Date);
    // (63000 - 1730) / 2 = 30635 days after the newest reading at noon.
    const double target = dayNumber(newest) + (63000 - 1730) / 2.0;
    EXPECT_EQ(forecastText(t), dayText(dateOfDay(static_cast<std::int64_t>(std::floor(target)))));
    EXPECT_EQ(forecastText(t).size(), 10u);

    // A noisy fit against a hand-computed slope: x = 0, 100, 200; y = 0, 150, 220.
    const CraneTrend noisy = craneTrend({at(2022, 1, 1, 1000), at(2022, 4, 11, 1150), at(2022, 7, 20, 1220)});
    ASSERT_TRUE(noisy.slopePerDay);
    EXPECT_NEAR(*noisy.slopePerDay, 1.1, 1e-9);
}

TEST(CraneHistory, TooFewReadoutsNoGrowthExhaustedAndBeyondTheHorizon)
{
    EXPECT_EQ(forecastText(craneTrend({at(2022, 1, 1, 100)})), "мало данных");
    // Two read-outs 29 days apart are too close; 30 days suffice.
    EXPECT_EQ(forecastText(craneTrend({at(2022, 1, 1, 100), at(2022, 1, 30, 200)})), "мало данных");
    EXPECT_EQ(craneTrend({at(2022, 1, 1, 100), at(2022, 1, 31, 200)}).forecast, ForecastState::Date);
    // Within 30 days of the newest, an older one outside the year does not help.
    EXPECT_EQ(forecastText(craneTrend({at(2020, 1, 1, 10), at(2022, 1, 1, 100), at(2022, 1, 20, 200)})),
        "мало данных");

    // A replaced limiter whose new segment adds nothing: flat accumulated number.
    EXPECT_EQ(forecastText(craneTrend({at(2022, 1, 1, 500, "A"), at(2022, 6, 1, 0, "B")})), "нет роста");

    const CraneTrend exhausted = craneTrend({at(2022, 1, 1, 62000, "A"), at(2022, 6, 1, 1000, "B")});
    EXPECT_EQ(forecastText(exhausted), "исчерпан");
    EXPECT_EQ(exhausted.used.level, nkp::analysis::ResourceLevel::Red);
    // Reached without any trend is still exhausted.
    EXPECT_EQ(forecastText(craneTrend({at(2022, 1, 1, 63000)})), "исчерпан");

    // 1 per year: 63000 years to go.
    const CraneTrend slow = craneTrend({at(2022, 1, 1, 100), at(2023, 1, 1, 101)});
    EXPECT_EQ(forecastText(slow), "более 100 лет");
    EXPECT_EQ(slow.forecast, ForecastState::BeyondHorizon);
    // Just inside the horizon: 100 in 365 days with 9900 left is 99 years.
    const CraneTrend inside = craneTrend({at(2001, 1, 1, 0, "A", 10000), at(2002, 1, 1, 100, "A", 10000)});
    EXPECT_EQ(inside.forecast, ForecastState::Date);

    const CraneTrend noNorm = craneTrend({at(2022, 1, 1, 100, "A", 0), at(2022, 6, 1, 300, "A", 0)});
    EXPECT_EQ(forecastText(noNorm), "—");
    EXPECT_FALSE(noNorm.used.percent);
}

TEST(CraneHistory, UnrealReadingDatesAreListedButNeverInTheTrend)
{
    const CraneTrend t = craneTrend({
        undated(5000),
        at(2022, 1, 1, 100),
        undated(20),  // lower than the newest dated: its own restart
        at(2022, 6, 1, 400),
    });
    ASSERT_EQ(t.points.size(), 4u);
    EXPECT_EQ(t.unrealDates, 2);
    // Dated ones first and unaffected by the undated ones.
    EXPECT_DOUBLE_EQ(t.points[0].accumulated, 100);
    EXPECT_DOUBLE_EQ(t.points[1].accumulated, 400);
    EXPECT_EQ(t.newest, 1u);
    EXPECT_DOUBLE_EQ(t.accumulated, 400);
    for (std::size_t i = 2; i < 4; ++i)
        EXPECT_FALSE(t.points[i].inTrend);
    EXPECT_DOUBLE_EQ(t.points[2].accumulated, 5000);  // continues: higher, same serial
    EXPECT_DOUBLE_EQ(t.points[3].accumulated, 420);   // restarts after 400
    ASSERT_TRUE(t.slopePerDay);
    EXPECT_NEAR(*t.slopePerDay, 300.0 / 151, 1e-9);

    // Only undated read-outs: listed, no trend.
    const CraneTrend none = craneTrend({undated(10), undated(20)});
    EXPECT_EQ(none.points.size(), 2u);
    EXPECT_EQ(forecastText(none), "мало данных");
}

}  // namespace
