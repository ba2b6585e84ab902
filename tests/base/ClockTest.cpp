#include "base/Clock.h"
#include "base/DateTime.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <optional>

using nkp::base::DateTime;
namespace base = nkp::base;

TEST(DateTime, SecondsCarryAcrossDaysMonthsYearsAndLeapDays)
{
    EXPECT_EQ(base::addSeconds({2023, 12, 31, 23, 59, 59}, 1), (DateTime {2024, 1, 1, 0, 0, 0}));
    EXPECT_EQ(base::addSeconds({2024, 2, 28, 12, 0, 0}, 86400), (DateTime {2024, 2, 29, 12, 0, 0}));
    EXPECT_EQ(base::addSeconds({2023, 2, 28, 12, 0, 0}, 86400), (DateTime {2023, 3, 1, 12, 0, 0}));
    EXPECT_EQ(base::addSeconds({2100, 2, 28, 0, 0, 0}, 86400), (DateTime {2100, 3, 1, 0, 0, 0}));
    EXPECT_EQ(base::addSeconds({2024, 3, 1, 0, 0, 0}, -1), (DateTime {2024, 2, 29, 23, 59, 59}));
    EXPECT_EQ(base::addSeconds({1970, 1, 1, 0, 0, 0}, -86400 * 365), (DateTime {1969, 1, 1, 0, 0, 0}));
    EXPECT_EQ(base::addSeconds({2026, 3, 4, 5, 6, 0}, 3600 + 61), (DateTime {2026, 3, 4, 6, 7, 1}));
    for (std::int64_t day = -800000; day <= 800000; day += 997)
        EXPECT_EQ(base::daysSinceEpoch(base::dateOfDay(day)), day) << day;
    EXPECT_LT((DateTime {2024, 1, 1, 0, 0, 59}), (DateTime {2024, 1, 1, 0, 1, 0}));
    EXPECT_TRUE(base::isRealDate(2024, 2, 29));
    EXPECT_FALSE(base::isRealDate(2023, 2, 29));
    EXPECT_FALSE(base::isRealDate(2024, 4, 31));
    EXPECT_FALSE(base::isRealDate(0, 1, 1));
}

// The texts are those of "%02d" and "%04d", whatever the value.
TEST(DateTime, TextsPadAsPrintfDoes)
{
    for (const long long value : {0LL, 7LL, -7LL, 42LL, -42LL, 123LL, 12345LL, -12345LL}) {
        for (const int width : {2, 4}) {
            char expected[32];
            std::snprintf(expected, sizeof expected, "%0*lld", width, value);
            EXPECT_EQ(base::zeroPadded(value, width), expected) << value << " " << width;
        }
    }
    const DateTime m {987, 3, 4, 5, 6, 7};
    EXPECT_EQ(base::dateText(m), "04.03.0987");
    EXPECT_EQ(base::timeText(m), "05:06");
    EXPECT_EQ(base::timeTextWithSeconds(m), "05:06:07");
}

// The database column's text: read back to the same moment; any other length
// or a field that is no number is no moment.
TEST(DateTime, IsoTextReadsBackItsMoment)
{
    const struct {
        const char* text;
        std::optional<DateTime> moment;
    } cases[] = {
        {"2024-02-29 23:59:58", DateTime {2024, 2, 29, 23, 59, 58}},
        {"1999-01-02 03:04:05", DateTime {1999, 1, 2, 3, 4, 5}},
        {"2024-02-29 23:59", std::nullopt},
        {"2024-02-29T23:59:58Z", std::nullopt},
        {"2024-xx-29 23:59:58", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(base::parseIsoText(c.text), c.moment) << c.text;
        if (c.moment) {
            EXPECT_EQ(base::isoText(*c.moment), c.text);
        }
    }
}

TEST(DateTime, MinuteSortKeyOrdersMomentsInTimeAndIgnoresSeconds)
{
    using nkp::base::DateTime;
    using nkp::base::minuteSortKey;
    EXPECT_EQ(minuteSortKey(DateTime {2024, 3, 20, 8, 5, 59}), 202403200805.0);
    const DateTime moments[] = {{1999, 12, 31, 23, 59, 0}, {2000, 1, 1, 0, 0, 0}, {2000, 1, 1, 0, 1, 0},
        {2000, 1, 2, 0, 0, 0}, {2000, 2, 1, 0, 0, 0}, {2100, 1, 1, 0, 0, 0}};
    for (std::size_t i = 1; i < std::size(moments); ++i)
        EXPECT_LT(minuteSortKey(moments[i - 1]), minuteSortKey(moments[i]));
}

TEST(Clock, SettableClockMovesOnlyWhenSleptOnOrSet)
{
    base::SettableClock clock({2026, 3, 4, 5, 6, 0});
    EXPECT_EQ(clock.now(), (DateTime {2026, 3, 4, 5, 6, 0}));
    clock.sleepMs(999);
    EXPECT_EQ(clock.now(), (DateTime {2026, 3, 4, 5, 6, 0}));  // whole seconds only
    clock.sleepMs(1);
    clock.sleepMs(-5000);  // no waiting backwards
    EXPECT_EQ(clock.now(), (DateTime {2026, 3, 4, 5, 6, 1}));
    clock.ms += 3600000;
    EXPECT_EQ(clock.now(), (DateTime {2026, 3, 4, 6, 6, 1}));
    clock.set({2007, 5, 1, 9, 5, 0});
    EXPECT_EQ(clock.now(), (DateTime {2007, 5, 1, 9, 5, 0}));
}

TEST(Clock, SystemClockGivesTheLocalTime)
{
    const std::time_t before = std::time(nullptr);
    const DateTime now = base::systemClock().now();
    const std::time_t after = std::time(nullptr);
    std::tm local {};
    localtime_r(&before, &local);
    const DateTime low {
        local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
    localtime_r(&after, &local);
    const DateTime high {
        local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
    EXPECT_LE(low, now);
    EXPECT_LE(now, high);
}
