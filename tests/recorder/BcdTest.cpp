#include "recorder/Bcd.h"

#include <gtest/gtest.h>

using namespace nkp::recorder;

TEST(Bcd, PairsShowEveryNibble)
{
    EXPECT_EQ(bcdPairText(0x59, 3), "59");
    EXPECT_EQ(bcdPairText(0xFF, 2), "315");
    EXPECT_EQ(bcdPairText(0xFF, 4), "1515");
    EXPECT_EQ(bcdPairText(0x1A, 1), "110");
    EXPECT_EQ(bcdPairText(0x00, 1), "00");
}

TEST(Bcd, DateAndStamp)
{
    const std::uint8_t date[] = {0x01, 0x12, 0x03};
    EXPECT_EQ(bcdDateText(date), "01.12.2003");
    // minute, hour, day, month, year
    const std::uint8_t stamp[] = {0x45, 0x13, 0x28, 0x02, 0x24};
    EXPECT_EQ(bcdStampText(stamp), "13:45 28.02.2024");
    const std::uint8_t zero[5] = {};
    EXPECT_EQ(bcdStampText(zero), "00:00 00.00.2000");
    // No validation: an erased stamp shows each nibble's value.
    const std::uint8_t erased[] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(bcdStampText(erased), "315:715 315.115.201515");
    // The tens bits of each field only: bit 7 of the minute byte is dropped.
    const std::uint8_t high[] = {0x80, 0xC0, 0xC1, 0xE1, 0x99};
    EXPECT_EQ(bcdStampText(high), "00:00 01.01.2099");
}

TEST(Bcd, FrameYearDigitsAboveNineReadAsZero)
{
    EXPECT_EQ(frameYearText(0x24), "24");
    EXPECT_EQ(frameYearText(0xAF), "00");
    EXPECT_EQ(frameYearText(0x9A), "90");
    EXPECT_EQ(frameYearText(0xB7), "07");
}
