#include "Cp1251.h"
#include "analysis/FrameFieldTexts.h"
#include "analysis/ReadoutLoader.h"
#include "base/Codec.h"
#include "base/DateTime.h"
#include "generator/ReadoutGenerator.h"
#include "recorder/DataFileWriter.h"
#include "screen/ChartData.h"
#include "screen/MainStateFields.h"
#include "screen/MainStateLoad.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

using namespace nkp;
using namespace nkp::analysis;
using namespace nkp::screen;
using generator::FrameFields;
using nkp::base::parseDateTime;

namespace {

// A memory image with every frame zero (so broken) and the service area zero.
struct Image {
    std::vector<std::uint8_t> bytes = std::vector<std::uint8_t>(recorder::kImageSize, 0);

    void putFrame(std::size_t index, const recorder::FrameBytes& f)
    {
        std::copy(
            f.begin(), f.end(), bytes.begin() + static_cast<std::ptrdiff_t>(index * recorder::kFrameSize));
    }
    void put24(std::size_t at, std::uint32_t v)
    {
        bytes[at] = v & 0xFF;
        bytes[at + 1] = (v >> 8) & 0xFF;
        bytes[at + 2] = (v >> 16) & 0xFF;
    }
    void setCounts(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d, std::uint32_t e)
    {
        const std::uint32_t v[] = {a, b, c, d, e};
        for (std::size_t i = 0; i < 5; ++i)
            put24(recorder::kCycleCountersOffset + 3 * i, v[i]);
    }
    MainState load(const recorder::Identification& id = {}, char sep = '.') const
    {
        MainState state;
        loadReadout(recorder::DataFileReader(recorder::buildDataFile(bytes, id)), sep, state);
        return state;
    }
};

FrameFields at(int day, int month, int hour, int minute, int second)
{
    FrameFields f;
    f.day = day;
    f.month = month;
    f.hour = hour;
    f.minute = minute;
    f.second = second;
    return f;
}

constexpr auto cp = &nkp::test::cp1251;

}  // namespace

TEST(Loader, CountersAndClassification)
{
    Image img;
    img.put24(recorder::kOperatingMinutesOffset, 1500);
    img.setCounts(10, 20, 40, 5, 0);
    // 158.0 exactly: b2 = 158.
    img.bytes[recorder::kCharacteristicOffset + 2] = 158;
    const std::uint32_t mass = 123456;
    for (std::size_t i = 0; i < 4; ++i)
        img.bytes[recorder::kLiftedMassOffset + i] = static_cast<std::uint8_t>(mass >> (8 * i));
    recorder::Identification id;
    id[recorder::IdField::NormGroup] = cp("А5");
    const MainState s = img.load(id, ',');
    EXPECT_EQ(s.texts.operatingTime, "25:00:00");
    EXPECT_EQ(s.readout.operatingMinutes, 1500);
    EXPECT_EQ(s.texts.cycles0, "10");
    EXPECT_EQ(s.texts.cycles50, "5");
    EXPECT_EQ(s.texts.cycles100, "0");
    EXPECT_EQ(s.gauges.band0, 25);
    EXPECT_EQ(s.gauges.band12, 50);
    EXPECT_EQ(s.gauges.band25, 100);
    EXPECT_EQ(s.gauges.band50, 12);
    EXPECT_EQ(s.gauges.band100, 0);
    EXPECT_EQ(s.readout.totalCycles, 75);
    EXPECT_EQ(s.texts.characteristicNumber, "158,0");
    EXPECT_EQ(s.texts.liftedMass, "1234,56" + cp(" т"));
    EXPECT_EQ(s.readout.liftedMassRaw, 123456);
    EXPECT_EQ(s.texts.normativeNumber, "125000");
    EXPECT_EQ(s.texts.utilisationClass, "U0");
    EXPECT_EQ(s.texts.loadSpectrumFactor, "2,107");  // 158 / 75
    EXPECT_EQ(s.texts.loadMode, "Q4");
    EXPECT_EQ(s.texts.craneGroup, "A2");
    EXPECT_EQ(s.texts.limiterMaker, cp("ОАО \"ПЗЛ\", г. Энск"));
}

TEST(Loader, LoadSpectrumFactorFromTheShownNumber)
{
    Image img;
    img.bytes[recorder::kCharacteristicOffset + 2] = 158;
    img.setCounts(1264, 0, 0, 0, 0);
    MainState s = img.load();
    EXPECT_EQ(s.readout.loadSpectrumFactor, 0.125f);
    EXPECT_EQ(s.texts.loadMode, "Q1");
    EXPECT_EQ(s.texts.loadSpectrumFactor, "0.125");
    img.setCounts(1263, 0, 0, 0, 0);
    s = img.load();
    EXPECT_EQ(s.texts.loadMode, "Q2");
    // 157.95 shows as 158.0 (rounded), and K uses that 158.0: exactly 0.125.
    img.bytes[recorder::kCharacteristicOffset + 2] = 157;
    img.bytes[recorder::kCharacteristicOffset + 1] = 0xF4;  // .953125
    img.setCounts(1264, 0, 0, 0, 0);
    s = img.load();
    EXPECT_EQ(s.texts.characteristicNumber, "158.0");
    EXPECT_EQ(s.texts.loadMode, "Q1");
    // No cycles: the factor divides by 1, the gauges stay empty.
    img.setCounts(0, 0, 0, 0, 0);
    s = img.load();
    EXPECT_EQ(s.texts.utilisationClass, "U0");
    EXPECT_FLOAT_EQ(s.readout.loadSpectrumFactor, 158.0f);
    EXPECT_EQ(s.gauges.band0 + s.gauges.band12 + s.gauges.band25 + s.gauges.band50 + s.gauges.band100, 0);
}

TEST(Loader, NewestFrameTiesAndRingStart)
{
    Image img;
    img.bytes[recorder::kFrameYearOffset] = 0x24;
    img.putFrame(3, generator::encodeFrame(at(5, 3, 10, 0, 0)));
    img.putFrame(7, generator::encodeFrame(at(6, 3, 0, 0, 0)));
    img.putFrame(9, generator::encodeFrame(at(6, 3, 0, 0, 0)));     // tie: the lower index wins
    img.putFrame(20, generator::encodeFrame(at(31, 4, 12, 0, 0)));  // no 31 April
    MainState s = img.load();
    EXPECT_EQ(s.newestFrame, 7);
    EXPECT_EQ(s.RingStart, 8);
    EXPECT_EQ(s.newestFrameTime, "06.03.2024");
    EXPECT_EQ(s.recordIndexAt(0), 8);
    EXPECT_EQ(s.recordIndexAt(10999), 7);
    EXPECT_EQ(s.readout.diagnostics.nonCalendarFrames, std::vector<int> {20});
    EXPECT_EQ(nkp::analysis::frameDateText(s.frames[20]), "31.04.2024");
    EXPECT_EQ(s.readout.diagnostics.brokenFrames.size(), 11000u - 4u);

    img.putFrame(10999, generator::encodeFrame(at(7, 3, 8, 30, 15)));
    s = img.load();
    EXPECT_EQ(s.newestFrame, 10999);
    EXPECT_EQ(s.RingStart, 11000);
    EXPECT_EQ(s.recordIndexAt(0), 0);
    EXPECT_EQ(s.recordIndexAt(10999), 10999);
    EXPECT_EQ(s.newestFrameTime, "07.03.2024 08:30:15");
}

TEST(Loader, NoValidFrame)
{
    Image img;
    const MainState s = img.load();
    EXPECT_EQ(s.RingStart, 1);
    EXPECT_EQ(s.newestFrame, 0);
    EXPECT_EQ(s.newestFrameTime, "01.01.1999");
    const SeriesData* load = s.charts.find("Series4");
    ASSERT_NE(load, nullptr);
    ASSERT_EQ(load->y.size(), 11000u);
    for (double y : load->y)
        ASSERT_EQ(y, 10.0);
    EXPECT_TRUE(s.charts.find("Series3")->x.empty());
    EXPECT_EQ(s.frames[5].Status, recorder::FrameStatus::Broken);
    EXPECT_EQ(nkp::analysis::frameDateText(s.frames[5]), "01.01.1999");
    EXPECT_EQ(s.FrameOrder.front(), 0);
    EXPECT_EQ(s.FrameOrder.back(), 10999);
    EXPECT_EQ(s.loadedFrames, 11000);
}

TEST(Loader, ChartSeries)
{
    Image img;
    img.bytes[recorder::kFrameYearOffset] = 0x24;
    FrameFields f = at(1, 2, 9, 0, 0);
    f.loadMass = 250;  // 2.5 t
    f.loadPercent = 42;
    f.boomLength = 1234;
    f.radius = 567;
    f.limits = 0x11;                             // wall entered and tripped
    img.putFrame(0, generator::encodeFrame(f));  // position 10999 once 0 is the newest
    img.putFrame(10998, generator::encodeFrame(at(31, 1, 9, 0, 0)));
    img.putFrame(5, generator::encodeFrame(at(31, 1, 8, 0, 0)));
    const MainState s = img.load();
    ASSERT_EQ(s.RingStart, 1);
    const SeriesData& load = *s.charts.find("Series4");
    EXPECT_FLOAT_EQ(static_cast<float>(load.y[10999]), 2.5f);
    EXPECT_EQ(load.y[0], 10.0);
    EXPECT_EQ(s.charts.find("Series2")->y[10999], 42);
    EXPECT_FLOAT_EQ(static_cast<float>(s.charts.find("Series5")->y[10999]), 12.34f);
    EXPECT_FLOAT_EQ(static_cast<float>(s.charts.find("Series16")->y[10999]), 5.67f);
    EXPECT_EQ(s.charts.find("Series1")->y[3], 100);
    // Dates: the first label is compared with record 0's date (01.02.2024),
    // so 31.01 at position 4 is labelled, then 01.02 at position 10999.
    const SeriesData& dates = *s.charts.find("Series3");
    ASSERT_EQ(dates.x.size(), 2u);
    EXPECT_EQ(dates.x[0], 4);
    EXPECT_EQ(dates.labels[0], "31.01.2024");
    EXPECT_EQ(dates.x[1], 10999);
    EXPECT_EQ(dates.labels[1], "01.02.2024");
    const SeriesData& wall = *s.charts.find("Series6");
    ASSERT_EQ(wall.x.size(), 2u);
    EXPECT_EQ(wall.pointColors[0], kGreen);
    EXPECT_EQ(wall.pointColors[1], kRed);
    EXPECT_EQ(wall.y[1], 1);
    EXPECT_TRUE(s.charts.find("Series7")->x.empty());
    EXPECT_EQ(s.charts.find("Series10")->x.size(), 11000u);
}

// A limit whose first point is tripped only must not put its tripped points
// under the entered ones: the series says green is drawn first, red over it.
TEST(Loader, TrippedLimitLiesOverEntered)
{
    Image img;
    img.bytes[recorder::kFrameYearOffset] = 0x24;
    FrameFields tripped = at(1, 2, 9, 0, 0);
    tripped.limits = 0x20;  // ceiling tripped only
    img.putFrame(0, generator::encodeFrame(tripped));
    FrameFields both = at(1, 2, 10, 0, 0);
    both.limits = 0x22;  // ceiling entered and tripped
    img.putFrame(1, generator::encodeFrame(both));
    const MainState s = img.load();
    const SeriesData& ceiling = *s.charts.find("Series7");
    ASSERT_EQ(ceiling.x.size(), 3u);
    EXPECT_EQ(ceiling.pointColors[0], kRed);
    const std::vector<Rgb> layers {kGreen, kRed};
    EXPECT_EQ(ceiling.colorLayers, layers);
    for (const char* id : {"Series6", "Series8", "Series9"})
        EXPECT_EQ(s.charts.find(id)->colorLayers, layers) << id;
    // The frame with both: its two points share x and y, green listed first.
    EXPECT_EQ(ceiling.x[1], ceiling.x[2]);
    EXPECT_EQ(ceiling.y[1], 2);
    EXPECT_EQ(ceiling.pointColors[1], kGreen);
    EXPECT_EQ(ceiling.pointColors[2], kRed);
}

TEST(Loader, IdentificationAndTitle)
{
    generator::GeneratorOptions options;
    const auto id = generator::generateIdentification(options);
    const MainState s = Image {}.load(id);
    EXPECT_EQ(s.texts.craneModel, id[recorder::IdField::CraneModel]);
    EXPECT_EQ(s.texts.readingDate, id[recorder::IdField::ReadingDate]);
    EXPECT_EQ(s.readout.text(recorder::IdField::ControllerNumber), id[recorder::IdField::ControllerNumber]);
    EXPECT_EQ(s.charts.paramTitle,
        cp("График параметров работы крана ") + s.texts.craneModel + cp(" №") + s.texts.craneNumber
            + cp(" по данным РП ТРВ-160 №") + s.texts.limiterNumber + cp(" (по кадрам)"));
    EXPECT_EQ(s.charts.paramBottomAxisTitle, cp("Кадры"));
}

TEST(Loader, GeneratedReadout)
{
    generator::GeneratorOptions options;
    options.seed = 7;
    options.wrapIndex = 4321;
    const auto file = generator::generateDataFile(options);
    MainState s;
    loadReadout(recorder::DataFileReader(file), '.', s);
    EXPECT_EQ(s.newestFrame, 4321);
    EXPECT_EQ(s.RingStart, 4322);
    EXPECT_TRUE(s.readout.diagnostics.checksumMatches);
    EXPECT_TRUE(s.readout.diagnostics.fullLength);
    EXPECT_EQ(s.readout.diagnostics.brokenFrames.size(), static_cast<std::size_t>(options.brokenFrames));
    EXPECT_TRUE(s.readout.diagnostics.nonCalendarFrames.empty());
    EXPECT_GT(s.readout.totalCycles, 0);
    EXPECT_EQ(s.frameYear, "24");
    // Chronological order: every valid frame is not earlier than the one before.
    std::optional<base::DateTime> previous;
    for (int p = 0; p < 11000; ++p) {
        const auto& r = s.recordAt(p);
        if (!r.isOk())
            continue;
        const auto m = parseDateTime(nkp::analysis::frameDateText(r), nkp::analysis::frameTimeText(r));
        ASSERT_TRUE(m) << p;
        if (previous) {
            ASSERT_LE(*previous, *m) << p;
        }
        previous = m;
    }
    // Same seed, same bytes.
    EXPECT_EQ(generator::generateDataFile(options), file);
}

TEST(Loader, GeneratedReadoutsArePlausible)
{
    for (const int days : {1, 5, 40}) {
        for (std::uint64_t seed = 1; seed <= 4; ++seed) {
            generator::GeneratorOptions options;
            options.seed = seed;
            options.days = days;
            const auto file = generator::generateDataFile(options);
            MainState s;
            loadReadout(recorder::DataFileReader(file), '.', s);
            SCOPED_TRACE(testing::Message() << "seed " << seed << " days " << days);
            EXPECT_TRUE(s.readout.diagnostics.checksumMatches);
            EXPECT_TRUE(s.readout.diagnostics.nonCalendarFrames.empty());
            EXPECT_EQ(s.texts.overload1.size(), 16u);
            const auto reading = parseDateTime(s.texts.readingDate.substr(0, 10));
            const auto newest = parseDateTime(s.newestFrameTime);
            ASSERT_TRUE(reading && newest);
            EXPECT_LT(*newest, *reading);
            // Every frame but the spoilt ones passes its check.
            options.identification = false;
            recorder::DataFileReader image(generator::generateImage(options));
            int valid = 0;
            for (std::size_t i = 0; i < recorder::kFrameCount; ++i)
                valid += recorder::frameValid(image.frame(i)) ? 1 : 0;
            EXPECT_EQ(valid, 11000 - options.brokenFrames);
        }
    }
}

TEST(Loader, UnopenableFileChangesNothing)
{
    MainState s;
    s.texts.craneModel = "typed";
    s.frames[3].Status = recorder::FrameStatus::Ok;
    const Done missing = loadReadout("/nonexistent/x.nkp", '.', s);
    EXPECT_FALSE(missing);
    EXPECT_FALSE(missing.error().empty());
    EXPECT_FALSE(loadReadout(std::filesystem::temp_directory_path().string(), '.', s));
    EXPECT_EQ(s.texts.craneModel, "typed");
    EXPECT_EQ(s.frames[3].Status, recorder::FrameStatus::Ok);
    EXPECT_TRUE(s.fileName.empty());
}

TEST(Loader, ShortAndOddFiles)
{
    const auto dir = std::filesystem::temp_directory_path() / "nkp_loader_test";
    std::filesystem::create_directories(dir);
    const auto write = [&](const std::string& name, const std::vector<std::uint8_t>& bytes) {
        const auto path = dir / name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path.string();
    };
    MainState s;
    // Files without a whole frame are refused; the state keeps what it held.
    for (std::size_t size : {0u, 23u}) {
        const Done refused = loadReadout(write("empty.nkp", std::vector<std::uint8_t>(size)), '.', s);
        EXPECT_FALSE(refused);
        EXPECT_NE(refused.error().find("too short"), std::string::npos) << refused.error();
        EXPECT_FALSE(s.readout.diagnostics.fileRead);
        EXPECT_EQ(s.fileName, "");
    }
    ASSERT_TRUE(loadReadout(write("frame.nkp", std::vector<std::uint8_t>(24)), '.', s));
    EXPECT_EQ(s.readout.diagnostics.fileSize, 24u);
    EXPECT_FALSE(s.readout.diagnostics.fullLength);
    EXPECT_EQ(s.readout.diagnostics.brokenFrames.size(), 11000u);
    EXPECT_EQ(s.texts.craneModel, "");
    EXPECT_EQ(s.texts.overload1, "00:00 00.00.2000");
    EXPECT_EQ(s.texts.installationDate, "00.00.2000");

    ASSERT_TRUE(
        loadReadout(write("erased.nkp", std::vector<std::uint8_t>(recorder::kImageSize, 0xFF)), '.', s));
    EXPECT_EQ(s.texts.cycles0, "16777215");
    EXPECT_EQ(s.readout.operatingMinutes, 16777215);
    EXPECT_EQ(s.readout.diagnostics.brokenFrames.size(), 11000u);
    EXPECT_EQ(s.frameYear, "00");
    EXPECT_EQ(s.texts.overload1, "315:715 315.115.201515");
    EXPECT_FALSE(s.readout.diagnostics.checksumMatches);
    EXPECT_EQ(s.readout.diagnostics.storedChecksum, 0xFFFFFFFFu);
    EXPECT_EQ(s.readout.diagnostics.computedChecksum, 264192u * 255u);

    // A read-out cut inside frame 100: the frames before it stay, undated (the
    // year byte was not read) but in ring order; the rest are broken, also
    // frame 100 whose bytes were read in part, however its check byte falls.
    generator::GeneratorOptions options;
    options.brokenFrames = 0;
    options.wrapIndex = 10999;
    auto bytes = generator::generateDataFile(options);
    bytes.resize(24 * 100 + 10);
    for (std::size_t i = 2400; i < bytes.size(); ++i)
        bytes[i] = 0;
    bytes[2400] = 0xFF;  // read in part, it would pass its check filled with zeros
    ASSERT_TRUE(loadReadout(write("cut.nkp", bytes), '.', s));
    EXPECT_EQ(s.readout.diagnostics.brokenFrames.size(), 11000u - 100u);
    EXPECT_EQ(s.readout.diagnostics.brokenFrames.front(), 100);
    EXPECT_TRUE(s.frames[99].isOk());
    EXPECT_EQ(nkp::analysis::frameDateText(s.frames[99]), "");
    EXPECT_EQ(nkp::analysis::frameTimeText(s.frames[99]).size(), 8u);
    EXPECT_TRUE(s.frames[100].isBroken());
    EXPECT_EQ(s.frameYear, "");
    EXPECT_EQ(s.newestFrame, 99);
    EXPECT_EQ(s.newestFrameTime, "");
    EXPECT_TRUE(s.charts.param[kSeries3].x.empty());  // no day marks
    EXPECT_EQ(s.texts.cycles0, "0");
    // Cut just before the year byte, and just after it.
    bytes = generator::generateDataFile(options);
    bytes.resize(264109);
    ASSERT_TRUE(loadReadout(write("cut.nkp", bytes), '.', s));
    EXPECT_EQ(nkp::analysis::frameDateText(s.frames[99]), "");
    bytes = generator::generateDataFile(options);
    bytes.resize(264110);
    ASSERT_TRUE(loadReadout(write("cut.nkp", bytes), '.', s));
    EXPECT_EQ(nkp::analysis::frameDateText(s.frames[99]).substr(5), ".2024");
    std::filesystem::remove_all(dir);
}

TEST(Loader, EveryFieldHasAName)
{
    MainState s;
    std::set<std::string_view> names;
    for (const TextField& f : mainStateTextFields()) {
        EXPECT_TRUE(names.insert(f.name).second) << f.name;
        EXPECT_FALSE((s.texts.*f.member).empty()) << f.name;
    }
    EXPECT_EQ(mainStateGaugeFields().size(), 5u);
    EXPECT_EQ(s.selectionCountText, "0000");
    EXPECT_EQ(s.FrameOrder.size(), 11000u);
}
