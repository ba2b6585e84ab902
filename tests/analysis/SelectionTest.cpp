#include "analysis/Selection.h"
#include "analysis/FrameFieldTexts.h"
#include "analysis/ReadoutLoader.h"
#include "generator/ReadoutGenerator.h"

#include <gtest/gtest.h>

using namespace nkp;
using namespace nkp::analysis;

namespace {

LoadedReadout loaded()
{
    generator::GeneratorOptions options;
    options.seed = 3;
    LoadedReadout s;
    loadReadout(recorder::DataFileReader(generator::generateDataFile(options)), s);
    return s;
}

}  // namespace

TEST(Selection, RangeIsLimitedToExistingPositions)
{
    LoadedReadout s = loaded();
    EXPECT_EQ(selectByRange(s, 0, 40), 41);
    EXPECT_EQ(s.FrameOrder[40], 40);
    EXPECT_EQ(s.FrameOrder[41], -1);
    EXPECT_EQ(s.selectionCountText, "41");

    EXPECT_EQ(selectByRange(s, 5, 5), 1);
    EXPECT_EQ(s.FrameOrder[0], 5);
    EXPECT_EQ(s.FrameOrder[1], -1);

    // "по" above the last position counts as 10999; "с" above it finds nothing.
    EXPECT_EQ(selectByRange(s, 10990, 99999999999LL), 10);
    EXPECT_EQ(s.FrameOrder[9], 10999);
    EXPECT_EQ(selectByRange(s, 0, 1LL << 62), 11000);
    EXPECT_EQ(selectByRange(s, 11000, 12000), 0);
    EXPECT_EQ(s.selectionCountText, "0");
    EXPECT_EQ(s.FrameOrder[0], -1);

    // "с" above "по" is refused: the list and the count text stay.
    selectByRange(s, 1, 2);
    EXPECT_EQ(selectByRange(s, 40, 0), -1);
    EXPECT_EQ(s.selectionCountText, "2");
    EXPECT_EQ(s.FrameOrder[0], 1);
    EXPECT_EQ(s.FrameOrder[1], 2);
    EXPECT_EQ(s.FrameOrder[2], -1);
}

TEST(Selection, ByLoadAndDate)
{
    LoadedReadout s = loaded();
    const int all = selectByLoad(s, 0);
    EXPECT_EQ(all, 11000 - 12);  // the generator spoils 12 frames
    const int heavy = selectByLoad(s, 100);
    EXPECT_GT(heavy, 0);
    for (int i = 0; i < heavy; ++i)
        EXPECT_GE(s.recordAt(s.FrameOrder[static_cast<std::size_t>(i)]).LoadPercent, 100);
    EXPECT_EQ(s.FrameOrder[static_cast<std::size_t>(heavy)], -1);

    const std::string day = nkp::analysis::frameDateText(s.recordAt(10999));
    const int onDay = selectByDate(s, day);
    EXPECT_GT(onDay, 0);
    EXPECT_EQ(s.FrameOrder[static_cast<std::size_t>(onDay - 1)], 10999);
    EXPECT_EQ(selectByDate(s, "01.01.1990"), 0);
}

TEST(Selection, BeforeLoadingAndAfterClearing)
{
    LoadedReadout fresh;
    EXPECT_EQ(selectByLoad(fresh, 0), 0);
    EXPECT_EQ(selectByDate(fresh, "01.01.1999"), 0);

    LoadedReadout s = loaded();
    clearAll(s);
    EXPECT_EQ(s.RingStart, 0);
    EXPECT_EQ(s.FrameOrder[5], 0);
    EXPECT_EQ(statusText(s.frames[5].Status), "");
    // Cleared records are not "Брак": threshold 0 lists them all.
    EXPECT_EQ(selectByLoad(s, 0), 11000);
}

TEST(Selection, EditNumbers)
{
    EXPECT_EQ(parseEditNumber("40"), 40);
    EXPECT_EQ(parseEditNumber("007"), 7);
    EXPECT_FALSE(parseEditNumber(""));
    EXPECT_FALSE(parseEditNumber("-1"));
    EXPECT_FALSE(parseEditNumber("1a"));
    EXPECT_EQ(parseEditNumber("99999999999999999999999999"), std::numeric_limits<long long>::max());
}
