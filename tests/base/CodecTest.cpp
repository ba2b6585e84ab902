#include "base/Codec.h"

#include <gtest/gtest.h>

using namespace nkp::codec;

TEST(Codec, Cp1251RoundTripsCyrillicThroughUtf8)
{
    // "Брак" and "№" in Windows-1251.
    const std::string cp1251 = "\xC1\xF0\xE0\xEA \xB9";
    const std::string utf8 = cp1251ToUtf8(cp1251);
    EXPECT_EQ(utf8, "Брак №");
    EXPECT_EQ(utf8ToCp1251(utf8), cp1251);
    // Every byte survives the round trip; the undefined 0x98 travels as U+FFFD.
    std::string all;
    for (int b = 1; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    EXPECT_EQ(utf8ToCp1251(cp1251ToUtf8(all)), all);
}

TEST(Codec, UnmappableAndMalformedUtf8BecomeQuestionMarks)
{
    EXPECT_EQ(utf8ToCp1251("a€b"),
        "a\x88"
        "b");  // the euro sign exists in 1251
    EXPECT_EQ(utf8ToCp1251("a\xE4\xB8\xAD"
                           "b"),
        "a?b");                                   // a CJK character does not
    EXPECT_EQ(utf8ToCp1251("a\xFF\xC3"), "a??");  // junk and a cut sequence
    EXPECT_EQ(cp1251ToUtf8("\x98"), "\xEF\xBF\xBD");
    EXPECT_EQ(utf8ToCp1251("a\xEF\xBF\xBD\xEF\xBF\xBD"), "a\x98\x98");
}

TEST(Codec, Cp866MapsLettersAndFlattensBoxDrawing)
{
    // cp866 "Абв" is 0x80 0xA1 0xA2; "ё" 0xF1; box corner 0xC9; shade 0xB0.
    EXPECT_EQ(cp866ToCp1251("\x80\xA1\xA2"), "\xC0\xE1\xE2");
    EXPECT_EQ(cp866ToCp1251("\xF1"), "\xB8");
    EXPECT_EQ(cp866ToCp1251("\xC9\xCD\xB0x"), "+-#x");
    EXPECT_EQ(cp866ToCp1251("plain"), "plain");
}

TEST(Codec, Cp866MapsEveryByteToExactlyOneByte)
{
    // The template engine converts DOS data files through a 256-entry table
    // built from this function, so every byte must give exactly one byte.
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    const std::string converted = cp866ToCp1251(all);
    ASSERT_EQ(converted.size(), all.size());
    EXPECT_EQ(converted.substr(0, 128), all.substr(0, 128));  // ASCII and control bytes stay
    EXPECT_EQ(converted.substr(0x80, 2), "\xC0\xC1");         // the first capitals
    EXPECT_EQ(converted.substr(0xFC, 1), "\xB9");             // the numero sign
}
