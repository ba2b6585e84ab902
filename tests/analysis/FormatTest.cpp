#include "analysis/NumberFormat.h"
#include "base/DateTime.h"

#include <gtest/gtest.h>

#include <clocale>
#include <limits>
#include <string>

using namespace nkp::analysis;
using nkp::base::dateTimeText;
using nkp::base::parseDateTime;

TEST(NumberFormat, FixedPictures)
{
    EXPECT_EQ(formatFixed(158.0, 1, ','), "158,0");
    EXPECT_EQ(formatFixed(0.0, 3, '.'), "0.000");
    EXPECT_EQ(formatFixed(1234.56, 2, ','), "1234,56");
    EXPECT_EQ(formatFixed(0.125, 2, '.'), "0.13");  // ties away from zero
    EXPECT_EQ(formatFixed(0.0625, 3, '.'), "0.063");
    EXPECT_EQ(formatFixed(9.96, 1, '.'), "10.0");
    EXPECT_EQ(formatFixed(99999.96, 1, '.'), "100000.0");
    EXPECT_EQ(formatFixed(0.04, 1, ','), "0,0");
    EXPECT_EQ(formatFixed(-1.25, 1, '.'), "-1.3");
    EXPECT_EQ(formatFixed(-0.01, 1, '.'), "0.0");
    EXPECT_EQ(formatFixed(static_cast<float>(12.35), 2, '.'), "12.35");
    // The largest characteristic number the recorder can hold.
    EXPECT_EQ(formatFixed(static_cast<float>(16777215.99998), 1, '.'), "16777216.0");
    // The exact binary value decides, whatever its length: 2.675 is
    // 2.67499999..., 0.0005 is 0.00050000000000000001...
    EXPECT_EQ(formatFixed(2.675, 2, '.'), "2.67");
    EXPECT_EQ(formatFixed(0.0005, 3, '.'), "0.001");
    EXPECT_EQ(formatFixed(1e20, 1, '.'), "100000000000000000000.0");
    EXPECT_EQ(formatFixed(5e-324, 3, '.'), "0.000");
    EXPECT_EQ(formatFixed(-5e-324, 0, '.'), "0");
    EXPECT_EQ(formatFixed(0.5, 0, '.'), "1");
    EXPECT_EQ(formatFixed(38.6f, 2, ','), "38,60");  // 38.5999984741...
    EXPECT_EQ(formatFixed(std::numeric_limits<double>::infinity(), 2, '.'), "0.00");
}

TEST(NumberFormat, TwoDigitsAndOperatingTime)
{
    EXPECT_EQ(formatTwoDigits(0), "00");
    EXPECT_EQ(formatTwoDigits(7), "07");
    EXPECT_EQ(formatTwoDigits(123), "123");
    EXPECT_EQ(formatOperatingTime(1500), "25:00:00");
    EXPECT_EQ(formatOperatingTime(0), "0:00:00");
    EXPECT_EQ(formatOperatingTime(61), "1:01:00");
    EXPECT_EQ(formatOperatingTime(16777215), "279620:15:00");
    EXPECT_EQ(formatOperatingTime(-90), "-1:-30:00");
}

TEST(DateTimeText, ParsesOnlyRealMoments)
{
    const auto m = parseDateTime("29.02.2024", "23:59:58");
    ASSERT_TRUE(m);
    EXPECT_EQ(*m, (nkp::base::DateTime {2024, 2, 29, 23, 59, 58}));
    EXPECT_FALSE(parseDateTime("29.02.2023", "00:00:00"));
    EXPECT_FALSE(parseDateTime("31.04.2024", "00:00:00"));
    EXPECT_FALSE(parseDateTime("00.01.2024", "00:00:00"));
    EXPECT_FALSE(parseDateTime("01.00.2024", "00:00:00"));
    EXPECT_FALSE(parseDateTime("015.01.2024", "00:00:00"));
    EXPECT_FALSE(parseDateTime("01.01.2024", "01:015:00"));
    EXPECT_FALSE(parseDateTime("01.01.2024", "24:00:00"));
    EXPECT_TRUE(parseDateTime("01.01.1999 00:00:00"));
    EXPECT_TRUE(parseDateTime("31.12.2099"));
    EXPECT_FALSE(parseDateTime("31.12.2099 "));
    EXPECT_FALSE(parseDateTime(""));
}

TEST(DateTimeText, MidnightDropsTheTime)
{
    EXPECT_EQ(dateTimeText({2024, 3, 5, 0, 0, 0}), "05.03.2024");
    EXPECT_EQ(dateTimeText({2024, 3, 5, 0, 0, 1}), "05.03.2024 00:00:01");
    EXPECT_EQ(dateTimeText({1999, 1, 1, 12, 7, 9}), "01.01.1999 12:07:09");
}

TEST(NumberFormat, FixedPicturesIgnoreTheProcessLocale)
{
    // nkp3-tool sets the user's locale, whose decimal point may be a comma.
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "ru_RU.UTF-8"))
        GTEST_SKIP() << "no ru_RU.UTF-8 locale";
    EXPECT_EQ(formatFixed(737.8952, 1, ','), "737,9");
    EXPECT_EQ(formatFixed(0.125, 2, '.'), "0.13");
    EXPECT_EQ(formatFixed(-9.96, 1, ','), "-10,0");
    std::setlocale(LC_NUMERIC, saved.c_str());
}
