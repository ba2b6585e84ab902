#include "analysis/Readout.h"
#include "Cp1251.h"
#include "analysis/FrameDecoding.h"
#include "analysis/ReadoutLoader.h"
#include "analysis/ReadoutTexts.h"
#include "base/DateTime.h"
#include "generator/ReadoutGenerator.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace nkp;
using namespace nkp::analysis;

namespace {

std::vector<std::uint8_t> generated(std::uint64_t seed, int wrapIndex = -1)
{
    generator::GeneratorOptions options;
    options.seed = seed;
    options.wrapIndex = wrapIndex;
    return generator::generateDataFile(options);
}

void put(std::vector<std::uint8_t>& bytes, std::size_t at, std::initializer_list<std::uint8_t> values)
{
    for (std::uint8_t v : values)
        bytes[at++] = v;
}

}  // namespace

// The typed values are the numbers behind the window's texts: the full load
// and the summary read give the same, and the stamps and dates are the
// recorder's BCD bytes.
TEST(Readout, HoldsTheValuesTheWindowShows)
{
    std::vector<std::uint8_t> bytes = generated(5);
    put(bytes, recorder::kInstallDateOffset, {0x31, 0x12, 0x23});
    put(bytes, recorder::kOverloadStampsOffset, {0x59, 0x23, 0x29, 0x02, 0x24});
    put(bytes, recorder::kOverloadStampsOffset + recorder::kStampSize, {0x00, 0x12, 0x30, 0x02, 0x24});
    const recorder::DataFileReader file(bytes);
    const Readout r = readReadout(file);
    LoadedReadout s;
    loadReadout(file, s);

    EXPECT_EQ(r.text(recorder::IdField::CraneModel), s.readout.text(recorder::IdField::CraneModel));
    EXPECT_EQ(r.operatingMinutes, s.readout.operatingMinutes);
    EXPECT_EQ(r.cycleCounts, s.readout.cycleCounts);
    EXPECT_EQ(r.totalCycles, s.readout.totalCycles);
    EXPECT_EQ(r.liftedMassRaw, s.readout.liftedMassRaw);
    EXPECT_EQ(r.characteristicNumber, s.readout.characteristicNumber);
    EXPECT_EQ(r.loadSpectrumFactor, s.readout.loadSpectrumFactor);
    EXPECT_EQ(r.utilisationClass, s.readout.utilisationClass);
    EXPECT_EQ(r.loadMode, s.readout.loadMode);
    EXPECT_EQ(r.craneGroup, s.readout.craneGroup);
    EXPECT_EQ(r.normativeNumber, s.readout.normativeNumber);
    EXPECT_EQ(r.diagnostics.brokenFrames, s.readout.diagnostics.brokenFrames);
    EXPECT_EQ(r.diagnostics.checksumMatches, s.readout.diagnostics.checksumMatches);

    EXPECT_EQ(r.installDate.text(), "31.12.2023");
    EXPECT_EQ(r.installDate.moment(), (base::DateTime {2023, 12, 31, 0, 0, 0}));
    EXPECT_EQ(r.overloadStamps[0].text(), "23:59 29.02.2024");
    EXPECT_EQ(r.overloadStamps[0].moment(), (base::DateTime {2024, 2, 29, 23, 59, 0}));
    EXPECT_EQ(readoutTexts(s.readout, '.').overloads[0], "23:59 29.02.2024");
    // 30 February: shown as stored, but no moment.
    EXPECT_EQ(r.overloadStamps[1].text(), "12:00 30.02.2024");
    EXPECT_FALSE(r.overloadStamps[1].moment());
    EXPECT_FALSE(r.overloadStamps[1].unused());
    EXPECT_TRUE(RecorderStamp {}.unused());
    EXPECT_FALSE(RecorderStamp {}.moment());
    // A nibble above 9 widens its field: no moment either.
    EXPECT_FALSE((RecorderStamp {{0x0A, 0x10, 0x01, 0x01, 0x24}}.moment()));
}

TEST(Readout, ReadingMomentAcceptsADateWithOrWithoutItsTime)
{
    Readout r;
    r.identification[recorder::IdField::ReadingDate] = "05.03.2024 10:20";
    EXPECT_EQ(r.readingMoment(), (base::DateTime {2024, 3, 5, 10, 20, 0}));
    r.identification[recorder::IdField::ReadingDate] = "05.03.2024";
    EXPECT_EQ(r.readingMoment(), (base::DateTime {2024, 3, 5, 0, 0, 0}));
    for (const char* bad : {"", "00.00.0000 00:00", "05.03.2024T10:20", "05.03.2024 25:00", "5.3.2024"}) {
        r.identification[recorder::IdField::ReadingDate] = bad;
        EXPECT_FALSE(r.readingMoment()) << bad;
    }
}

// The factor is taken from the number as the window shows it (one decimal,
// half away from zero), not from the stored value.
TEST(Readout, LoadSpectrumFactorUsesTheShownNumber)
{
    EXPECT_FLOAT_EQ(loadSpectrumFactorOf(2.25f, 0), 2.3f);
    EXPECT_FLOAT_EQ(loadSpectrumFactorOf(2.25f, 1), 2.3f);
    EXPECT_FLOAT_EQ(loadSpectrumFactorOf(100.04f, 1000), 0.1f);
    EXPECT_FLOAT_EQ(loadSpectrumFactorOf(0.04f, 3), 0.0f);
}

// One decoding serves the window's store and Form 1's: the ring facts are
// the window's slots, and the index arithmetic of the ring goes both ways.
TEST(Readout, DecodingGivesTheRingFacts)
{
    for (int wrap : {0, 4321, 10999}) {
        const recorder::DataFileReader file(generated(9, wrap));
        LoadedReadout s;
        loadReadout(file, s);
        recorder::FrameStore store;
        const RingFacts ring = decodeFrames(file, store);
        EXPECT_EQ(ring.newestFrame, s.newestFrame) << wrap;
        EXPECT_EQ(ring.ringStart, s.RingStart) << wrap;
        EXPECT_EQ(dateTimeText(ring.newest), s.newestFrameTime) << wrap;
        EXPECT_EQ(ring.frameYear, s.frameYear) << wrap;
        EXPECT_EQ(ring.brokenFrames, s.readout.diagnostics.brokenFrames) << wrap;
        for (std::size_t i = 0; i < store.size(); ++i)
            ASSERT_EQ(store[i], s.frames[i]) << wrap << ' ' << i;
    }
    const int count = static_cast<int>(recorder::kFrameCount);
    for (int start : {0, 1, 5000, count}) {
        for (int position : {0, 1, count - start, count - 1}) {
            if (position >= count)
                continue;
            const int index = ringIndex(position, start);
            EXPECT_GE(index, 0);
            EXPECT_LT(index, count);
            EXPECT_EQ(ringPosition(index, start), position) << start << ' ' << position;
        }
    }
    EXPECT_EQ(ringPosition(-1, 0), count - 1);
}

// A store of zeros has no newest frame: the ring starts at 1, the moment is
// the recorder's "no frame" date.
TEST(Readout, DecodingAnErasedStoreFindsNoNewestFrame)
{
    const recorder::DataFileReader file(std::vector<std::uint8_t>(recorder::kImageSize, 0));
    recorder::FrameStore store;
    const RingFacts ring = decodeFrames(file, store);
    EXPECT_EQ(ring.newestFrame, 0);
    EXPECT_EQ(ring.ringStart, 1);
    EXPECT_EQ(ring.newest, (base::DateTime {1999, 1, 1, 0, 0, 0}));
    EXPECT_EQ(ring.brokenFrames.size() + ring.nonCalendarFrames.size() <= recorder::kFrameCount, true);
}

// The file name is kept as Windows-1251 text like every other text of the
// state; the path stays the file system's bytes.
TEST(Readout, LoadingKeepsACyrillicFileNameAsText)
{
    const std::filesystem::path dir
        = std::filesystem::temp_directory_path() / ("nkp_readout_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "Кран 1.nkp").string();
    {
        const std::vector<std::uint8_t> bytes = generated(2);
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    for (bool summary : {false, true}) {
        LoadedReadout s;
        ASSERT_TRUE(summary ? loadReadoutSummary(path, s) : loadReadout(path, s));
        EXPECT_EQ(s.fileName, nkp::test::cp1251("Кран 1.nkp"));
        EXPECT_EQ(s.filePath, path);
    }
    std::filesystem::remove_all(dir);
}
