#include "EventImage.h"

#include "analysis/Events.h"
#include "analysis/EventsCsv.h"
#include "analysis/LoadBands.h"
#include "analysis/OverloadEpisodes.h"
#include "analysis/ReadoutLoader.h"
#include "base/Codec.h"

#include <gtest/gtest.h>

using namespace nkp;
using namespace nkp::analysis;
using nkp::test::EventImage;

namespace {

LoadedReadout loaded(const EventImage& img)
{
    LoadedReadout s;
    loadReadout(recorder::DataFileReader(img.dataFile()), s);
    return s;
}

std::vector<Episode> episodesOf(const EventImage& img, int threshold = kDefaultOverloadThreshold)
{
    const LoadedReadout s = loaded(img);
    EXPECT_EQ(s.RingStart % 11000, img.ringStart());
    return findEpisodes(s.frames, s.RingStart, threshold);
}

// "kind first-last" of every episode, for readable comparisons.
std::vector<std::string> summary(const std::vector<Episode>& episodes)
{
    std::vector<std::string> out;
    for (const Episode& e : episodes)
        out.push_back(codec::cp1251ToUtf8(episodeKindText(e)) + ' ' + std::to_string(e.firstPosition) + '-'
            + std::to_string(e.lastPosition));
    return out;
}

using Lines = std::vector<std::string>;

}  // namespace

// Episodes at both ends of the time line and across the place where the
// ring wraps in the file (record 10999 is followed by record 0).
TEST(Events, EndsOfTheTimeLineAndTheRingsWrap)
{
    EventImage img(6000);
    img.load(0, 2, 100).load(10998, 10999, 140);
    // Position 4999 is record 10999, position 5000 record 0.
    img.load(4997, 5002, 105);
    ASSERT_EQ(img.recordOf(4999), 10999);
    ASSERT_EQ(img.recordOf(5000), 0);

    const std::vector<Episode> e = episodesOf(img);
    EXPECT_EQ(summary(e), (Lines {"Перегрузка 0-2", "Перегрузка 4997-5002", "Перегрузка 10998-10999"}));
    ASSERT_EQ(e.size(), 3u);
    EXPECT_EQ(e[0].frameCount(), 3);
    EXPECT_EQ(e[0].firstRecord, 6000);
    EXPECT_EQ(e[0].lastRecord, 6002);
    EXPECT_EQ(e[1].frameCount(), 6);
    EXPECT_EQ(e[1].firstRecord, 10997);
    EXPECT_EQ(e[1].lastRecord, 2);
    EXPECT_EQ(e[2].lastRecord, 5999);
    EXPECT_EQ(e[2].peakPercent, 140);

    // The ring that starts at record 0 (the newest frame is the last record).
    EventImage plain(0);
    plain.load(0, 0, 100).load(10999, 10999, 100);
    EXPECT_EQ(summary(episodesOf(plain)), (Lines {"Перегрузка 0-0", "Перегрузка 10999-10999"}));
}

// A broken frame ends every open episode; the frames after it begin new ones.
TEST(Events, BrokenFrameEndsEveryEpisode)
{
    EventImage img;
    img.load(100, 105, 110).limits(100, 105, 0x01).fault(100, 105, 0x12).breakFrame(103);
    EXPECT_EQ(summary(episodesOf(img)),
        (Lines {"Перегрузка 100-102", "Вход в зону: стена 100-102", "Отказ E12 100-102", "Перегрузка 104-105",
            "Вход в зону: стена 104-105", "Отказ E12 104-105"}));
}

// Kinds that follow each other directly are separate episodes, and so are
// two fault codes; episodes starting together sort in the order of kinds.
TEST(Events, AdjacentKindsAndFaultCodes)
{
    EventImage img;
    img.load(200, 202, 100).fault(203, 204, 0x12);
    img.fault(300, 301, 0x12).fault(302, 303, 0x13).fault(304, 304, 0x00).fault(305, 305, 0x13);
    img.fault(400, 401, 0x21).limits(400, 400, 0x21).load(400, 400, 100);
    EXPECT_EQ(summary(episodesOf(img)),
        (Lines {"Перегрузка 200-202", "Отказ E12 203-204", "Отказ E12 300-301", "Отказ E13 302-303",
            "Отказ E13 305-305", "Перегрузка 400-400", "Вход в зону: стена 400-400",
            "Срабатывание: потолок 400-400", "Отказ E21 400-401"}));
}

// All four limits entered and tripped in the same frames: eight episodes,
// entered before tripped, each in the order wall, ceiling, left, right.
TEST(Events, AllLimitsEnteredAndTrippedAtOnce)
{
    EventImage img;
    img.limits(500, 501, 0xFF).limits(502, 502, 0xF0);
    const std::vector<Episode> e = episodesOf(img);
    EXPECT_EQ(summary(e),
        (Lines {"Вход в зону: стена 500-501", "Вход в зону: потолок 500-501",
            "Вход в зону: поворот влево 500-501", "Вход в зону: поворот вправо 500-501",
            "Срабатывание: стена 500-502", "Срабатывание: потолок 500-502",
            "Срабатывание: поворот влево 500-502", "Срабатывание: поворот вправо 500-502"}));
    EXPECT_EQ(countByKind(e), (std::array<int, 4> {0, 4, 4, 0}));
}

// "At or above" the threshold; the peak and the values of the first frame
// that reaches it.
TEST(Events, ThresholdAtItsBoundAndThePeak)
{
    EventImage img;
    img.load(600, 600, 99).load(601, 601, 100).load(602, 602, 101);
    img.load(700, 700, 120).load(701, 702, 130).load(703, 703, 110);
    img.at(701).loadMass = 512;
    img.at(701).radius = 734;
    img.at(701).boomLength = 2105;
    img.at(702).loadMass = 999;
    EXPECT_EQ(summary(episodesOf(img, 100)), (Lines {"Перегрузка 601-602", "Перегрузка 700-703"}));
    EXPECT_EQ(summary(episodesOf(img, 101)), (Lines {"Перегрузка 602-602", "Перегрузка 700-703"}));
    EXPECT_EQ(summary(episodesOf(img, 99)), (Lines {"Перегрузка 600-602", "Перегрузка 700-703"}));
    EXPECT_EQ(summary(episodesOf(img, 131)), Lines {});
    // Threshold 0: every valid frame is an overload, one episode.
    EXPECT_EQ(summary(episodesOf(img, 0)), Lines {"Перегрузка 0-10999"});

    const LoadedReadout s = loaded(img);
    const std::vector<Episode> e = findEpisodes(s.frames, s.RingStart);
    ASSERT_EQ(e.size(), 2u);
    EXPECT_EQ(e[1].peakPercent, 130);
    EXPECT_EQ(e[1].peakRecord, img.recordOf(701));
    const auto cells = table::rowTexts(episodeColumns(s.frames), e[1], ',');
    EXPECT_EQ(cells[0], "Перегрузка");
    EXPECT_EQ(cells[1], "700");
    EXPECT_EQ(cells[2], "703");
    EXPECT_EQ(cells[3], "4");
    EXPECT_EQ(cells[4], "01.03.2024 08:11:40");
    EXPECT_EQ(cells[5], "01.03.2024 08:11:43");
    EXPECT_EQ(cells[6], "130");
    EXPECT_EQ(cells[7], "5,12");
    EXPECT_EQ(cells[8], "7,34");
    EXPECT_EQ(cells[9], "21,05");
}

// Nothing valid: no episode, an empty spectrum without division by zero.
TEST(Events, ReadoutWithoutValidFrames)
{
    EventImage img;
    img.load(0, 10999, 150).limits(0, 10999, 0xFF).fault(0, 10999, 0x99).breakAll();
    const std::vector<uint8_t> file = img.dataFile();
    LoadedReadout s;
    loadReadout(recorder::DataFileReader(file), s);
    EXPECT_EQ(s.RingStart, 1);
    EXPECT_TRUE(findEpisodes(s.frames, s.RingStart).empty());
    EXPECT_EQ(countOverloadEpisodes(recorder::DataFileReader(file)), 0);
    // Cleared records ("Очистить") are no frames either.
    clearAll(s);
    EXPECT_TRUE(findEpisodes(s.frames, s.RingStart, 0).empty());

    const LoadSpectrum spectrum = loadSpectrum(s.frames, s.readout.cycleCounts);
    EXPECT_EQ(spectrum.validFrames, 0);
    EXPECT_EQ(shareText(0, spectrum.validFrames, ','), "0,0");
}

// The count over hand-made frames: runs of frames at the threshold and
// above in the ring's order, broken frames ending a run.
TEST(Events, OverloadCountOfHandMadeFrames)
{
    EventImage img(3000);
    img.load(0, 0, 100).load(10, 20, 100).load(30, 30, 99).load(10999, 10999, 200).breakFrame(15);
    const std::vector<uint8_t> file = img.dataFile();
    EXPECT_EQ(countOverloadEpisodes(recorder::DataFileReader(file)), 4);
    EXPECT_EQ(countOverloadEpisodes(recorder::DataFileReader(file), 99), 5);
    EXPECT_EQ(countOverloadEpisodes(recorder::DataFileReader(file), 101), 1);
    EXPECT_EQ(countOverloadEpisodes(recorder::DataFileReader(file), std::vector<int> {img.recordOf(15)}), 4);
    // Every frame an overload: one run round the ring, cut in two by the broken frame.
    EXPECT_EQ(countOverloadEpisodes(recorder::DataFileReader(file), 0), 2);
    EXPECT_EQ(countOverloadEpisodes(recorder::DataFileReader(EventImage(3000).dataFile()), 0), 1);
    // From a store: the same frames, decoded.
    const LoadedReadout s = loaded(img);
    EXPECT_EQ(countOverloadEpisodes(s.frames, s.RingStart), 4);
    EXPECT_EQ(countOverloadEpisodes(s.frames, s.RingStart, 99), 5);
}

// The ring starts after the newest frame with a real moment: a frame dated
// later by a clock that names no real moment does not move it. Were the ring
// to start at record 5001, the runs at its first and last positions would be
// one.
TEST(Events, OverloadCountFollowsTheNewestRealMoment)
{
    struct Case {
        std::array<uint8_t, 5> clock;  // second, minute, hour, day, month as stored
        int count;
    };
    const Case cases[] = {
        {{0x00, 0x00, 0x12, 0x31, 0x12}, 1},  // 31.12 12:00:00: the newest
        {{0x00, 0x0C, 0x12, 0x31, 0x12}, 2},  // minute "012"
        {{0x0B, 0x00, 0x12, 0x31, 0x12}, 2},  // second "011"
        {{0x00, 0x00, 0x12, 0x31, 0x04}, 2},  // 31 April
        {{0x00, 0x00, 0x12, 0x00, 0x12}, 2},  // day 00
        {{0x00, 0x00, 0x12, 0x31, 0x0B}, 2},  // month "011"
        {{0x00, 0x00, 0x12, 0x29, 0x02}, 2},  // 29.02.2024: real, but before March
        {{0x00, 0x00, 0x12, 0x01, 0x13}, 2},  // month above 12 reads as January
        {{0x00, 0x00, 0x3F, 0x31, 0x12}, 1},  // hour above 23 reads as 00: still 31.12
    };
    EventImage img(3000);
    img.load(0, 0, 100).load(10999, 10999, 100);
    for (const Case& c : cases) {
        std::vector<uint8_t> image = img.image();
        uint8_t* f = image.data() + 5000 * recorder::kFrameSize;
        std::copy(c.clock.begin(), c.clock.end(), f);
        recorder::FrameBytes bytes;
        std::copy(f, f + recorder::kFrameSize, bytes.begin());
        f[23] = recorder::frameCheckByte(bytes);
        const recorder::DataFileReader reader(recorder::buildDataFile(image, {}));
        EXPECT_EQ(countOverloadEpisodes(reader), c.count) << int {c.clock[4]} << '.' << int {c.clock[3]};
        LoadedReadout s;
        loadReadout(reader, s);
        EXPECT_EQ(countOverloadEpisodes(s.frames, s.RingStart), c.count);
    }
}

// The overview's one pass lists the broken frames as the summary load does
// and counts as the count alone does, whole, short, erased or damaged.
TEST(Events, OverviewListsBrokenFramesAndCounts)
{
    EventImage img(3000);
    img.load(0, 0, 100).load(10, 20, 100).load(10999, 10999, 200).breakFrame(15).breakFrame(7000);
    const std::vector<uint8_t> whole = img.dataFile();
    const auto cut
        = [&whole](std::size_t n) { return std::vector<uint8_t>(whole.begin(), whole.begin() + n); };
    std::vector<uint8_t> erased = whole;
    std::fill(erased.begin(), erased.begin() + recorder::kImageSize, 0xFF);
    const std::vector<uint8_t> files[] = {whole, erased, cut(0), cut(23), cut(24 * 5000 + 7),
        cut(recorder::kFrameAreaSize), cut(recorder::kFrameYearOffset)};
    for (const std::vector<uint8_t>& bytes : files) {
        const recorder::DataFileReader file(bytes);
        std::vector<int> broken {42};
        const FrameOverview overview = overviewFrames(file, broken);
        EXPECT_EQ(broken, readReadout(file).diagnostics.brokenFrames) << bytes.size();
        EXPECT_EQ(overview.overloadEpisodes, countOverloadEpisodes(file)) << bytes.size();
        EXPECT_EQ(overview.newestFrame, overviewFrames(file).newestFrame) << bytes.size();
    }
    const recorder::DataFileReader file(whole);
    std::vector<int> broken;
    EXPECT_EQ(overviewFrames(file, broken).overloadEpisodes, 4);
    EXPECT_EQ(broken, (std::vector<int> {img.recordOf(15), img.recordOf(7000)}));
}

// Bands of 10 %: each bound falls in the band it opens; 120 and above together.
TEST(LoadSpectrum, BandsAtTheirBounds)
{
    EXPECT_EQ(spectrumBand(0), 0);
    EXPECT_EQ(spectrumBand(9), 0);
    EXPECT_EQ(spectrumBand(10), 1);
    EXPECT_EQ(spectrumBand(99), 9);
    EXPECT_EQ(spectrumBand(100), 10);
    EXPECT_EQ(spectrumBand(119), 11);
    EXPECT_EQ(spectrumBand(120), 12);
    EXPECT_EQ(spectrumBand(255), 12);
    EXPECT_EQ(spectrumBandText(0),
        "0\x96"
        "9");
    EXPECT_EQ(spectrumBandText(11),
        "110\x96"
        "119");
    EXPECT_EQ(spectrumBandText(12), codec::utf8ToCp1251("120 и более"));

    EventImage img;
    img.load(0, 0, 9).load(1, 1, 10).load(2, 3, 119).load(4, 4, 120).load(5, 5, 255).breakFrame(6);
    img.cycles(1, 0, 2, 0, 5);
    const LoadedReadout s = loaded(img);
    const LoadSpectrum sp = loadSpectrum(s.frames, s.readout.cycleCounts);
    EXPECT_EQ(sp.validFrames, 10999);
    EXPECT_EQ(sp.frames[0], 10999 - 5);  // 9 % and the quiet frames at 0 %
    EXPECT_EQ(sp.frames[1], 1);
    EXPECT_EQ(sp.frames[11], 2);
    EXPECT_EQ(sp.frames[12], 2);
    EXPECT_EQ(sp.totalCycles, 8);
    EXPECT_EQ(shareText(sp.frames[12], sp.validFrames, ','), "0,0");
    EXPECT_EQ(shareText(1, 8, ','), "12,5");
    EXPECT_EQ(shareText(1, 3, '.'), "33.3");
    EXPECT_EQ(shareText(2, 3, '.'), "66.7");
    EXPECT_EQ(shareText(8, 8, ','), "100,0");
}

// Byte-exact CSV of a hand-made list and spectrum.
TEST(EventsCsv, BytesOfBothTables)
{
    EventImage img;
    img.load(10, 11, 104).fault(11, 11, 0x07);
    img.at(10).loadMass = 1234;
    const LoadedReadout s = loaded(img);
    const std::vector<Episode> e = findEpisodes(s.frames, s.RingStart);
    const std::string header = "Событие;Первый кадр;Последний кадр;Кадров;Начало;Конец;Пик загрузки, %;"
                               "Масса груза, т;Вылет, м;Длина стрелы, м\r\n";
    const std::string body
        = "Перегрузка;10;11;2;01.03.2024 08:00:10;01.03.2024 08:00:11;104;12,34;5,00;12,00\r\n"
          "Отказ E07;11;11;1;01.03.2024 08:00:11;01.03.2024 08:00:11;104;1,00;5,00;12,00\r\n";
    EXPECT_EQ(eventsCsv(e, s.frames, ',', true), "\xEF\xBB\xBF" + header + body);
    EXPECT_EQ(eventsCsv({}, s.frames, '.', false), header);

    LoadSpectrum sp;
    sp.frames[0] = 3;
    sp.frames[12] = 1;
    sp.validFrames = 4;
    sp.cycles = {1, 1, 0, 0, 2};
    sp.totalCycles = 4;
    const std::string expected = "Степень загрузки, %;Кадров;Доля, %\r\n"
                                 "0–9;3;75,0\r\n10–19;0;0,0\r\n20–29;0;0,0\r\n30–39;0;0,0\r\n40–49;0;0,0\r\n"
                                 "50–59;0;0,0\r\n60–69;0;0,0\r\n70–79;0;0,0\r\n80–89;0;0,0\r\n90–99;0;0,0\r\n"
                                 "100–109;0;0,0\r\n110–119;0;0,0\r\n120 и более;1;25,0\r\nВсего;4;100,0\r\n"
                                 "Диапазон нагрузок;Рабочие циклы;Доля, %\r\n"
                                 "0% < M < 12.5%;1;25,0\r\n12,5% < M < 25%;1;25,0\r\n25% < M < 50%;0;0,0\r\n"
                                 "50% < M < 100%;0;0,0\r\n100% < M;2;50,0\r\nВсего;4;100,0\r\n";
    EXPECT_EQ(spectrumCsv(sp, ',', false), expected);
}
