// Data lines: taking pairs off a line and converting values.
#include "report/DataLine.h"

#include <gtest/gtest.h>

using namespace nkp::report;

TEST(ParsePair, PairsOfOneGroupOnALine)
{
    std::string_view line = "|1:Pos:1|1:Name:a:b|2:c|1:Last:";
    DataPair pair = takePair(line, false);
    EXPECT_EQ(pair.group, 1);
    EXPECT_EQ(pair.key, "Pos");
    EXPECT_EQ(pair.value, "1");
    pair = takePair(line, false);
    EXPECT_EQ(pair.key, "Name");
    EXPECT_EQ(pair.value, "a:b|2:c");
    pair = takePair(line, false);
    EXPECT_EQ(pair.key, "Last");
    EXPECT_EQ(pair.value, "");
    EXPECT_TRUE(line.empty());
    EXPECT_TRUE(takePair(line, false).key.empty());
}

TEST(ParsePair, GroupNumbersAndLinesWithoutPairs)
{
    const auto parse = [](std::string_view line) { return takePair(line, false); };
    EXPECT_EQ(parse("| 12:K:v").group, 12);
    EXPECT_EQ(parse("|+7:K:v").group, 7);
    EXPECT_EQ(parse("|-1:K:v").group, -1);
    EXPECT_EQ(parse("|7x:K:v").group, 7);
    EXPECT_EQ(parse("|x7:K:v").group, 0);
    EXPECT_EQ(parse("|x7:K:v").key, "K");
    EXPECT_GT(parse("|9999999999999999999999999:K:v").group, 999);
    EXPECT_LT(parse("|-9999999999999999999999999:K:v").group, 0);
    // A prefix without a key: the group counts, the key is empty.
    EXPECT_EQ(parse("|5:").group, 5);
    EXPECT_EQ(parse("|5:").key, "");
    EXPECT_EQ(parse("|5::v").key, "");
    for (const char* noPair : {"", ":x:y", "x|0:K:v", "no colon"}) {
        EXPECT_EQ(parse(noPair).group, 0) << noPair;
        EXPECT_EQ(parse(noPair).key, "") << noPair;
    }
}

TEST(ConvertValue, EscapesBreaksAndSymbolRuns)
{
    EXPECT_EQ(convertValue("a{b}c\\d", false, true), "a\\'7Bb\\'7Dc\\'5Cd");
    EXPECT_EQ(convertValue("a{b}c\\d", false, false), "a{b}c\\d");
    EXPECT_EQ(convertValue("1|EOL:2|EOP:3|EO|EOL:", false, true), "1{\\par}2{\\page}3|EO{\\par}");
    EXPECT_EQ(convertValue("1|EOL:2|EOP:3", false, false), "1\n2\f3");
    EXPECT_EQ(convertValue("AB", true, false), "{\\f3\\lang1033\\langfe1049\\langnp1033 \\'41\\'42 }");
    EXPECT_EQ(convertValue("\xC0{|EOL:", true, true),
        "{\\f3\\lang1033\\langfe1049\\langnp1033 \\'C0\\'7B\\'7C\\'45\\'4F\\'4C\\'3A }");
    EXPECT_EQ(convertValue("", true, true), "{\\f3\\lang1033\\langfe1049\\langnp1033  }");
    const std::string plain = "Text without specials, \xC0\xC1";
    EXPECT_EQ(convertValue(plain, false, true), plain);
}
