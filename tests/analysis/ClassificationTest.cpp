#include "analysis/Classification.h"

#include <gtest/gtest.h>

using namespace nkp::analysis;

TEST(Classification, NormativeNumberNeedsCyrillicA)
{
    EXPECT_EQ(normativeCharacteristicNumber("\xC0"
                                            "1"),
        8000);
    EXPECT_EQ(normativeCharacteristicNumber("\xC0"
                                            "5"),
        125000);
    EXPECT_EQ(normativeCharacteristicNumber("\xC0"
                                            "8"),
        1000000);
    EXPECT_EQ(normativeCharacteristicNumber("A5"), 0);  // Latin A
    EXPECT_EQ(normativeCharacteristicNumber("\xC0"
                                            "9"),
        0);
    EXPECT_EQ(normativeCharacteristicNumber("\xC0"
                                            "5 "),
        0);
    EXPECT_EQ(normativeCharacteristicNumber(""), 0);
}

TEST(Classification, UtilisationClassBoundsAreInclusive)
{
    EXPECT_EQ(utilisationClass(0), 0);
    EXPECT_EQ(utilisationClass(16000), 0);
    EXPECT_EQ(utilisationClass(16001), 1);
    EXPECT_EQ(utilisationClass(2000000), 7);
    EXPECT_EQ(utilisationClass(2000001), 8);
    EXPECT_EQ(utilisationClass(4000000), 8);
    EXPECT_EQ(utilisationClass(4000001), 9);
}

TEST(Classification, LoadModeBoundsAreInclusive)
{
    EXPECT_EQ(loadMode(0.0f), 1);
    EXPECT_EQ(loadMode(0.125f), 1);
    EXPECT_EQ(loadMode(static_cast<float>(158.0 / 1263)), 2);
    EXPECT_EQ(loadMode(0.25f), 2);
    EXPECT_EQ(loadMode(0.5f), 3);
    EXPECT_EQ(loadMode(0.5001f), 4);
    EXPECT_EQ(loadMode(7.0f), 4);
}

TEST(Classification, GroupTable)
{
    EXPECT_EQ(craneGroup(2, 5), 5);
    EXPECT_EQ(craneGroup(4, 9), 8);
    EXPECT_EQ(craneGroup(1, 0), 1);
    EXPECT_EQ(craneGroup(1, 3), 2);
    EXPECT_EQ(craneGroup(4, 0), 2);
    EXPECT_EQ(craneGroup(3, 7), 8);
}
