#include "generator/HistoryGenerator.h"

#include "base/Codec.h"
#include "generator/ReadoutGenerator.h"
#include "recorder/DataFileReader.h"
#include "recorder/DataFileWriter.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <tuple>

namespace nkp::generator {
namespace {

void putLe(std::vector<std::uint8_t>& image, std::size_t at, std::uint64_t value, std::size_t bytes)
{
    for (std::size_t i = 0; i < bytes; ++i)
        image[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

CalendarDay daysLater(CalendarDay d, int days)
{
    for (int i = 0; i < days; ++i)
        d = nextDay(d);
    return d;
}

// The recorder's century: its stamps keep two digits of the year.
constexpr CalendarDay kFirstDay {2000, 1, 1};
constexpr CalendarDay kLastDay {2099, 12, 31};
// Readings are this many days apart at the least and, while the century has
// room, at the most.
constexpr int kShortestGap = 7;
constexpr int kUsualGaps[] = {14, 120};

bool before(const CalendarDay& a, const CalendarDay& b)
{
    return std::tie(a.year, a.month, a.day) < std::tie(b.year, b.month, b.day);
}

int daysUntilLastDay(CalendarDay d)
{
    int days = 0;
    for (; before(d, kLastDay); d = nextDay(d))
        ++days;
    return days;
}

// The first reading and the range of days between readings, so that
// `count` readings end by the century's last day.
struct Schedule {
    CalendarDay start;
    int shortestGap = kUsualGaps[0], longestGap = kUsualGaps[1];
};

Schedule schedule(CalendarDay start, int count)
{
    if (before(start, kFirstDay) || before(kLastDay, start))
        start = kFirstDay;
    const int gaps = std::max(1, count - 1);
    if (daysUntilLastDay(start) / gaps < kShortestGap)
        start = kFirstDay;
    Schedule s {start};
    s.longestGap = std::clamp(daysUntilLastDay(start) / gaps, kShortestGap, kUsualGaps[1]);
    s.shortestGap = std::min(kUsualGaps[0], s.longestGap);
    return s;
}

void putStamp(std::vector<std::uint8_t>& image, std::size_t at, const CalendarDay& day, int hour, int minute)
{
    const int fields[] = {minute, hour, day.day, day.month, day.year % 100};
    for (std::size_t i = 0; i < recorder::kStampSize; ++i)
        image[at + i] = toBcd(fields[i]);
}

// What the recorder has counted since it was installed.
struct Counters {
    std::uint64_t minutes = 0;
    std::array<std::uint64_t, recorder::kCycleBandCount> bands {};
    double characteristic = 0;
    std::uint64_t massRaw = 0;
};

// Shares of the load bands in per mille; the heavy bands are rare.
constexpr std::array<int, recorder::kCycleBandCount> kBandShare = {400, 300, 200, 95, 5};

void work(Counters& c, Rng& rng, int days, double spectrumFactor)
{
    for (int d = 0; d < days; ++d) {
        if (rng.chance(30))
            continue;  // days off and days on the road
        const int cycles = rng.uniform(15, 70);
        c.minutes += static_cast<std::uint64_t>(cycles) * static_cast<std::uint64_t>(rng.uniform(4, 9));
        for (std::size_t b = 0; b < kBandShare.size(); ++b)
            c.bands[b] += static_cast<std::uint64_t>(cycles * kBandShare[b] / 1000);
        c.characteristic += cycles * spectrumFactor * rng.uniform(80, 120) / 100.0;
        c.massRaw += static_cast<std::uint64_t>(cycles) * static_cast<std::uint64_t>(rng.uniform(150, 900));
    }
}

}  // namespace

bool generateHistory(const HistoryOptions& options, const std::function<bool(HistoryReadout&&)>& take)
{
    const int count = std::clamp(options.count, 0, kMaxHistoryCount);
    const Schedule plan = schedule(options.start, count);
    const std::size_t nameWidth = std::max<std::size_t>(4, std::to_string(count).size());
    Rng rng(options.seed * 7919 + 17);
    GeneratorOptions base;
    base.seed = options.seed;
    base.frameYear = toBcd(plan.start.year % 100);
    // One ring of frames serves every read-out; the service area and the
    // identification block tell them apart.
    const std::vector<std::uint8_t> ring = generateImage(base);
    recorder::Identification id = generateIdentification(base);
    using recorder::IdField;
    id[IdField::NormGroup] = codec::utf8ToCp1251("А4");
    auto serial = [&rng] {
        std::string s;
        for (int i = 0; i < 8; ++i)
            s += static_cast<char>('0' + rng.uniform(0, 9));
        return s;
    };
    id[IdField::LimiterNumber] = serial();

    const double spectrumFactor = rng.uniform(8, 20) / 100.0;
    Counters counters;
    work(counters, rng, rng.uniform(200, 900), spectrumFactor);  // served before the first reading
    CalendarDay day = plan.start;
    std::vector<CalendarDay> readings;
    for (int k = 1; k <= count; ++k) {
        if (k > 1) {
            const int days = rng.uniform(plan.shortestGap, plan.longestGap);
            if (k == options.replaceLimiterAt) {
                counters = Counters {};
                id[IdField::LimiterNumber] = serial();
            }
            work(counters, rng, days, spectrumFactor);
            day = daysLater(day, days);
        }
        std::vector<std::uint8_t> image = ring;
        putLe(
            image, recorder::kOperatingMinutesOffset, std::min<std::uint64_t>(counters.minutes, 0xFFFFFF), 3);
        for (std::size_t b = 0; b < recorder::kCycleBandCount; ++b)
            putLe(image, recorder::kCycleCountersOffset + 3 * b,
                std::min<std::uint64_t>(counters.bands[b], 0xFFFFFF), 3);
        putLe(image, recorder::kCharacteristicOffset,
            static_cast<std::uint64_t>(counters.characteristic * 65536.0), 5);
        putLe(image, recorder::kLiftedMassOffset, std::min<std::uint64_t>(counters.massRaw, 0xFFFFFFFF), 4);
        // The three previous readings, newest first.
        for (std::size_t s = 0; s < recorder::kReadingStampCount && s < readings.size(); ++s)
            putStamp(image, recorder::kReadingStampsOffset + s * recorder::kStampSize,
                readings[readings.size() - 1 - s], 10, 0);
        image[recorder::kFrameYearOffset] = toBcd(day.year % 100);
        putLe(image, recorder::kChecksumOffset, recorder::imageChecksum(image.data(), image.size()), 4);

        const int hour = rng.uniform(8, 17), minute = rng.uniform(0, 59);
        char text[32];
        std::snprintf(
            text, sizeof text, "%02d.%02d.%04d %02d:%02d", day.day, day.month, day.year, hour, minute);
        id[IdField::ReadingDate] = text;
        const std::string number = std::to_string(k);
        std::string name = std::string(nameWidth - std::min(nameWidth, number.size()), '0') + number + ".nkp";
        if (!take({std::move(name), recorder::buildDataFile(image, id)}))
            return false;
        readings.push_back(day);
    }
    return true;
}

std::vector<HistoryReadout> generateHistory(const HistoryOptions& options)
{
    std::vector<HistoryReadout> out;
    generateHistory(options, [&out](HistoryReadout&& r) {
        out.push_back(std::move(r));
        return true;
    });
    return out;
}

}  // namespace nkp::generator
