#include "analysis/ResourceUse.h"

#include "base/Codec.h"

#include <gtest/gtest.h>

using namespace nkp::analysis;

namespace {
std::string utf8(const std::string& cp1251)
{
    return nkp::codec::cp1251ToUtf8(cp1251);
}
}  // namespace

TEST(ResourceUse, ShareAndColourBounds)
{
    EXPECT_EQ(utf8(resourceUseText(resourceUse(2992, 8000), ',')), "Использовано ресурса: 37,4 %");
    EXPECT_EQ(resourceUse(2992, 8000).level, ResourceLevel::Green);
    // The bounds apply to the value as shown: 79,95 % shows "80,0" and is yellow.
    EXPECT_EQ(resourceUse(79.94, 100).level, ResourceLevel::Green);
    EXPECT_EQ(resourceUse(79.95, 100).level, ResourceLevel::Yellow);
    EXPECT_EQ(resourceUse(99.9, 100).level, ResourceLevel::Yellow);
    EXPECT_EQ(resourceUse(99.95, 100).level, ResourceLevel::Red);
    EXPECT_EQ(resourceUse(250000, 125000).level, ResourceLevel::Red);
    EXPECT_EQ(utf8(resourceUseText(resourceUse(250000, 125000), '.')), "Использовано ресурса: 200.0 %");
    EXPECT_EQ(resourceUse(0, 8000).level, ResourceLevel::Green);
}

TEST(ResourceUse, EmptyOrUnknownGroupShowsDash)
{
    Readout r;
    r.characteristicNumber = 1000;
    r.normativeNumber = 0;  // what loading sets for an empty or unknown group text
    const ResourceUse use = resourceUse(r);
    EXPECT_FALSE(use.percent.has_value());
    EXPECT_EQ(use.level, ResourceLevel::Unknown);
    EXPECT_EQ(utf8(resourcePercentText(use, ',')), "—");
    EXPECT_EQ(utf8(resourceUseText(use, ',')), "Использовано ресурса: —");
    EXPECT_EQ(resourcePercentText(use, ','), "\x97");  // the Windows-1251 dash
}
