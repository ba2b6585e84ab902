#include "generator/ReadoutGenerator.h"

#include "base/Codec.h"
#include "generator/CraneSimulation.h"
#include "recorder/DataFileReader.h"
#include "recorder/DataFileWriter.h"

#include <algorithm>
#include <cstdio>
#include <set>

namespace nkp::generator {
namespace {

using recorder::kFrameCount;

void put16(recorder::FrameBytes& f, std::size_t at, std::uint16_t v)
{
    f[at] = static_cast<std::uint8_t>(v & 0xFF);
    f[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

void putLe(std::vector<std::uint8_t>& image, std::size_t at, std::uint64_t value, std::size_t bytes)
{
    for (std::size_t i = 0; i < bytes; ++i)
        image[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void putStamp(
    std::vector<std::uint8_t>& image, std::size_t at, int minute, int hour, int day, int month, int yy)
{
    const int fields[] = {minute, hour, day, month, yy};
    for (std::size_t i = 0; i < recorder::kStampSize; ++i)
        image[at + i] = toBcd(fields[i]);
}

int yearOf(std::uint8_t bcdYear)
{
    const int tens = bcdYear >> 4, units = bcdYear & 0x0F;
    return 2000 + (tens > 9 ? 0 : tens) * 10 + (units > 9 ? 0 : units);
}

int pickNewestIndex(const GeneratorOptions& options, Rng& rng)
{
    if (options.wrapIndex >= 0 && options.wrapIndex < static_cast<int>(kFrameCount))
        return options.wrapIndex;
    return rng.uniform(0, static_cast<int>(kFrameCount) - 1);
}

void writeServiceArea(std::vector<std::uint8_t>& image, const SimulatedRing& ring, Rng& rng, int year)
{
    // The recorder has served for a while before this ring: its counters
    // hold the ring's cycles and earlier ones in the same proportions.
    const int history = rng.uniform(5, 40);
    std::uint64_t bands[recorder::kCycleBandCount] = {};
    double characteristic = 0;
    std::uint64_t massRaw = 0;
    for (const CycleSummary& c : ring.cycles) {
        const int band = c.peakPercent * 10 < 125 ? 0
            : c.peakPercent < 25                  ? 1
            : c.peakPercent < 50                  ? 2
            : c.peakPercent < 100                 ? 3
                                                  : 4;
        ++bands[band];
        const double share = c.peakPercent / 100.0;
        characteristic += share * share * share;
        massRaw += static_cast<std::uint64_t>(c.peakMass);
    }
    putLe(image, recorder::kOperatingMinutesOffset,
        std::min<std::uint64_t>(0xFFFFFF, static_cast<std::uint64_t>(ring.workedMinutes) * (history + 1)), 3);
    for (std::size_t b = 0; b < recorder::kCycleBandCount; ++b)
        putLe(image, recorder::kCycleCountersOffset + 3 * b,
            std::min<std::uint64_t>(0xFFFFFF, bands[b] * (history + 1)), 3);
    const auto fixed = static_cast<std::uint64_t>(characteristic * (history + 1) * 65536.0);
    putLe(image, recorder::kCharacteristicOffset, fixed, 5);
    putLe(
        image, recorder::kLiftedMassOffset, std::min<std::uint64_t>(0xFFFFFFFF, massRaw * (history + 1)), 4);

    // Installed a year or two before the ring.
    const CalendarDay installed = previousDays(ring.firstDay, rng.uniform(370, 700));
    image[recorder::kInstallDateOffset] = toBcd(installed.day);
    image[recorder::kInstallDateOffset + 1] = toBcd(installed.month);
    image[recorder::kInstallDateOffset + 2] = toBcd(installed.year % 100);

    // The latest overloads of the ring, newest first.
    std::size_t slot = 0;
    for (auto c = ring.cycles.rbegin(); c != ring.cycles.rend() && slot < recorder::kOverloadStampCount;
         ++c) {
        if (c->peakPercent < 100 || !c->stamped)
            continue;
        putStamp(image, recorder::kOverloadStampsOffset + slot * recorder::kStampSize, c->at.minute,
            c->at.hour, c->at.day, c->at.month, year % 100);
        ++slot;
    }
    // Earlier read-outs, a few months apart, newest first.
    CalendarDay reading = ring.firstDay;
    for (std::size_t k = 0; k < recorder::kReadingStampCount; ++k) {
        reading = previousDays(reading, rng.uniform(60, 120));
        putStamp(image, recorder::kReadingStampsOffset + k * recorder::kStampSize, rng.uniform(0, 59),
            rng.uniform(8, 17), reading.day, reading.month, reading.year % 100);
    }
}

}  // namespace

std::uint8_t toBcd(int value)
{
    return static_cast<std::uint8_t>((value / 10 % 10) << 4 | value % 10);
}

recorder::FrameBytes encodeFrame(const FrameFields& in)
{
    recorder::FrameBytes f {};
    f[0] = toBcd(in.second);
    f[1] = toBcd(in.minute);
    f[2] = toBcd(in.hour);
    f[3] = toBcd(in.day);
    f[4] = toBcd(in.month);
    put16(f, 5, in.boomLength);
    put16(f, 7, static_cast<std::uint16_t>(in.boomAngle & 0x3FF));
    put16(f, 9, in.pressure);
    put16(f, 11, in.azimuth);
    put16(f, 13, in.radius);
    put16(f, 15, in.loadMass);
    f[17] = in.discreteInputs;
    f[18] = in.outputRelays;
    f[19] = static_cast<std::uint8_t>((in.reeving & 0x0F) << 4 | (in.mode & 0x0F));
    f[20] = in.limits;
    f[21] = in.loadPercent;
    f[22] = in.faultCode;
    f[23] = recorder::frameCheckByte(f);
    return f;
}

std::vector<std::uint8_t> generateImage(const GeneratorOptions& options)
{
    std::vector<std::uint8_t> image(recorder::kImageSize, 0);
    // Memory the recorder never writes stays erased.
    std::fill(image.begin() + recorder::kChecksumOffset + 4, image.end(), std::uint8_t {0xFF});

    Rng rng(options.seed);
    const int newest = pickNewestIndex(options, rng);
    const int year = yearOf(options.frameYear);
    const SimulatedRing ring = simulateRing(rng, options.days, year);

    // Chronological position p lives at index (newest + 1 + p) mod 11000.
    for (std::size_t p = 0; p < kFrameCount; ++p) {
        const std::size_t index = (static_cast<std::size_t>(newest) + 1 + p) % kFrameCount;
        const recorder::FrameBytes f = encodeFrame(ring.frames[p]);
        std::copy(
            f.begin(), f.end(), image.begin() + static_cast<std::ptrdiff_t>(index * recorder::kFrameSize));
    }
    // Spoilt frames, never the newest one, so that the ring's end stays where it was put.
    std::set<int> broken;
    const int wanted = std::clamp(options.brokenFrames, 0, static_cast<int>(kFrameCount) - 1);
    while (static_cast<int>(broken.size()) < wanted) {
        const int index = rng.uniform(0, static_cast<int>(kFrameCount) - 1);
        if (index != newest)
            broken.insert(index);
    }
    for (const int index : broken)
        image[static_cast<std::size_t>(index) * recorder::kFrameSize + recorder::kFrameSize - 1] ^= 0x5A;

    writeServiceArea(image, ring, rng, year);
    image[recorder::kFrameYearOffset] = options.frameYear;
    putLe(image, recorder::kChecksumOffset, recorder::imageChecksum(image.data(), image.size()), 4);
    return image;
}

recorder::Identification generateIdentification(const GeneratorOptions& options)
{
    using recorder::IdField;
    recorder::Identification id;
    if (!options.identification)
        return id;
    Rng rng(options.seed ^ 0x1D1D1D1Dull);
    auto cp = [](const char* utf8) { return codec::utf8ToCp1251(utf8); };
    auto digits = [&rng](int count) {
        std::string s;
        for (int i = 0; i < count; ++i)
            s += static_cast<char>('0' + rng.uniform(0, 9));
        return s;
    };
    static const char* const operators[] = {"Петров П.П.", "Сидоров С.С.", "Кузнецова А.В.", "Ёлкин Е.Ю."};
    static const char* const models[] = {"КС-55713-1", "КС-45717К-1", "КС-35714", "КС-55729-1В"};
    id[IdField::ServiceOrg] = cp("ООО \"Кран-Сервис\", г. Энск");
    id[IdField::Operator] = cp(operators[rng.uniform(0, 3)]);
    id[IdField::CertNumber] = digits(6);
    id[IdField::CertValidity] = "31.12." + std::to_string(2025 + rng.uniform(0, 3));
    // Read out on the day after the newest frame was written.
    Rng ringRng(options.seed);
    pickNewestIndex(options, ringRng);
    const SimulatedRing ring = simulateRing(ringRng, options.days, yearOf(options.frameYear));
    const FrameFields& last = ring.frames.back();
    const CalendarDay readDay = nextDay(CalendarDay {yearOf(options.frameYear), last.month, last.day});
    char reading[32];
    std::snprintf(reading, sizeof reading, "%02d.%02d.%04d %02d:%02d", readDay.day, readDay.month,
        readDay.year, rng.uniform(8, 17), rng.uniform(0, 59));
    id[IdField::ReadingDate] = reading;
    id[IdField::CraneModel] = cp(models[rng.uniform(0, 3)]);
    id[IdField::CraneNumber] = std::to_string(rng.uniform(100, 99999));
    id[IdField::CraneYear] = std::to_string(rng.uniform(1995, 2015));
    id[IdField::NormGroup] = cp("А") + std::to_string(rng.uniform(3, 6));
    id[IdField::CraneMaker] = cp("ОАО \"Автокран\", г. Иваново");
    id[IdField::CraneOwner] = cp("ООО \"Строймеханизация-7\"");
    id[IdField::LimiterModel] = cp("ТРВ-140-25М");
    id[IdField::LimiterNumber] = digits(8);
    id[IdField::ControllerNumber] = cp("К") + digits(5);
    return id;
}

std::vector<std::uint8_t> generateDataFile(const GeneratorOptions& options)
{
    return recorder::buildDataFile(generateImage(options), generateIdentification(options));
}

}  // namespace nkp::generator
