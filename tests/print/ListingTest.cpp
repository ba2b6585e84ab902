#include "print/FrameRange.h"
#include "print/OperListing.h"

#include <gtest/gtest.h>

using namespace nkp;
using namespace nkp::print;

namespace {

recorder::TFrameRecord sampleRecord()
{
    recorder::TFrameRecord r;
    r.Number = 17;
    r.ClockBytes = {0x12, 0x11, 0x10, 0x05, 0x03};  // 05.03.2024 10:11:12
    r.Year = 2024;
    r.BoomAngle = 62.25f;  // "#0.0": half away from zero
    r.BoomLength = 10.5f;
    r.Radius = 0.0f;
    r.Pressure = 101.3f;
    r.LoadMass = 3.456f;
    r.OutputRelays = 0x01;
    r.Limits = 0x80;
    r.DiscreteInputs = 0x02;
    r.ReevingMode = 0x41;
    r.LoadPercent = 57;
    r.FaultCode = 0;
    r.Status = recorder::FrameStatus::Ok;
    return r;
}

}  // namespace

TEST(Listing, LineJoinsTheFieldsWithTabsAndBlanks)
{
    const recorder::TFrameRecord r = sampleRecord();
    EXPECT_EQ(listingLine(r, ','),
        "62,3\t10,50\t0,00\t101,3\t3,46\t00000001 10000000 00000010 4 1\t57\tE00\t05.03.2024 10:11:12");
    EXPECT_EQ(listingLine(r, '.'),
        "62.3\t10.50\t0.00\t101.3\t3.46\t00000001 10000000 00000010 4 1\t57\tE00\t05.03.2024 10:11:12");
}

TEST(Listing, HeadLines)
{
    EXPECT_EQ(listingHeadColumns(),
        QStringLiteral("al\tL\tR\tP\tQ\tВых.рел.   К.З.   Дис.вх.  Реж.\tM\tErr\t     Дата,время"));
    EXPECT_EQ(listingHeadUnits(), QStringLiteral("град\tм\tм\tатм\tт"));
}

TEST(Listing, LinesFollowThePhysicalIndexAndStayInTheStore)
{
    recorder::FrameStore store;
    store.clear();
    for (std::size_t i = 0; i < store.size(); ++i)
        store[i].LoadPercent = static_cast<std::int32_t>(i % 1000);

    const auto lines = listingLines(store, {0, 40}, ',');
    ASSERT_EQ(lines.size(), 41u);
    for (int i = 0; i <= 40; ++i)
        EXPECT_EQ(lines[static_cast<std::size_t>(i)].section(QLatin1Char('\t'), 6, 6).toInt(), i);

    EXPECT_TRUE(listingLines(store, {41, 40}, ',').empty());          // "по" below "с"
    EXPECT_EQ(listingLines(store, {10990, 20000}, ',').size(), 10u);  // never beyond the store
    EXPECT_EQ(listingLines(store, {-5, 2}, ',').size(), 3u);
}

TEST(Listing, NoteNamesTheRecordsInMemoryAndInTheTable)
{
    const struct {
        FrameRange records;
        int ringStart;
        const char* note;
    } cases[] = {
        {{0, 40}, 0, "Кадры памяти РП: 0-40, в таблице кадров: 0-40"},
        {{0, 40}, 6001, "Кадры памяти РП: 0-40, в таблице кадров: 4999-5039"},
        // Across the oldest frame: the table's end and its start.
        {{5990, 6010}, 6001, "Кадры памяти РП: 5990-6010, в таблице кадров: 0-9, 10989-10999"},
        {{7, 7}, 10999, "Кадры памяти РП: 7, в таблице кадров: 8"},
        {{41, 40}, 0, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(listingFramesNote(c.records, c.ringStart), QString::fromUtf8(c.note))
            << c.records.first << "-" << c.records.last << " from " << c.ringStart;
    EXPECT_EQ(listedRange(11000, {-5, 20000}).first, 0);
    EXPECT_EQ(listedRange(11000, {-5, 20000}).last, 10999);
}

TEST(FrameRange, EditsAreIntegersLimitedToTheRecords)
{
    EXPECT_EQ(parseFrameNumber(QStringLiteral("40")), 40);
    EXPECT_EQ(parseFrameNumber(QStringLiteral(" 7 ")), 7);
    EXPECT_EQ(parseFrameNumber(QStringLiteral("+12")), 12);
    EXPECT_EQ(parseFrameNumber(QStringLiteral("-3")), 0);
    EXPECT_EQ(parseFrameNumber(QStringLiteral("10999")), 10999);
    EXPECT_EQ(parseFrameNumber(QStringLiteral("11000")), 10999);
    EXPECT_EQ(parseFrameNumber(QStringLiteral("99999999999999999999999")), 10999);

    for (const char* bad : {"", " ", "abc", "12a", "1e3", "4.5", "-", "0x10", "1 2"})
        EXPECT_FALSE(parseFrameNumber(QString::fromLatin1(bad))) << bad;

    const auto range = parseFrameRange(QStringLiteral("40"), QStringLiteral("3"));
    ASSERT_TRUE(range);
    EXPECT_TRUE(range->empty());
    EXPECT_EQ(range->count(), 0);
    EXPECT_FALSE(parseFrameRange(QStringLiteral("0"), QStringLiteral("x")));
    EXPECT_EQ(parseFrameRange(QStringLiteral("0"), QStringLiteral("40"))->count(), 41);
}
