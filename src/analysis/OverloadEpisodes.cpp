#include "analysis/OverloadEpisodes.h"

#include "base/DateTime.h"

#include <array>
#include <cstdint>
#include <vector>

namespace nkp::analysis {
namespace {

constexpr int kFrames = static_cast<int>(recorder::kFrameCount);

// A BCD field as decoding reads it: the tens digit's text followed by the
// units digit's, a value above `max` replaced (see recorder::decodeFrame).
unsigned bcdField(std::uint8_t byte, unsigned tensBits, unsigned max, unsigned replacement)
{
    const unsigned tens = (byte >> 4) & ((1u << tensBits) - 1u);
    const unsigned units = byte & 0x0Fu;
    const unsigned value = tens * (units >= 10 ? 100 : 10) + units;
    return value > max ? replacement : value;
}

// The frame's time fields as decoding reads them, one table per field for
// all 256 byte values (the count runs over 11000 frames of every read-out
// of an overview).
struct FieldTables {
    std::array<std::uint8_t, 256> minuteOrSecond, hour, day, month;
};

const FieldTables& fieldTables()
{
    static const FieldTables tables = [] {
        FieldTables t {};
        for (unsigned b = 0; b < 256; ++b) {
            const auto byte = static_cast<std::uint8_t>(b);
            t.minuteOrSecond[b] = static_cast<std::uint8_t>(bcdField(byte, 3, 59, 0));
            t.hour[b] = static_cast<std::uint8_t>(bcdField(byte, 2, 23, 0));
            t.day[b] = static_cast<std::uint8_t>(bcdField(byte, 2, 31, 1));
            t.month[b] = static_cast<std::uint8_t>(bcdField(byte, 1, 12, 1));
        }
        return t;
    }();
    return tables;
}

// Which (month, day) pairs of the frames' year are real days.
class RealDays {
public:
    explicit RealDays(int year)
    {
        for (int m = 1; m <= 12; ++m)
            for (int d = 1; d <= 31; ++d)
                real_[static_cast<std::size_t>(m * 32 + d)] = base::isRealDate(year, m, d);
    }
    bool operator()(unsigned month, unsigned day) const { return real_[month * 32 + day]; }

private:
    std::array<bool, 13 * 32> real_ {};
};

// The frame's moment as one ordered number, or -1 when its date is no real
// day (such a frame does not take part in the search for the newest).
std::int64_t frameMoment(const recorder::FrameBytes& f, const FieldTables& t, const RealDays& realDay)
{
    const unsigned second = t.minuteOrSecond[f[0]];
    const unsigned minute = t.minuteOrSecond[f[1]];
    const unsigned hour = t.hour[f[2]];
    const unsigned day = t.day[f[3]];
    const unsigned month = t.month[f[4]];
    if (!realDay(month, day))
        return -1;
    return ((((std::int64_t {month} * 32 + day) * 32 + hour) * 64 + minute) * 64) + second;
}

// A digit above 9 of the year byte counts as 0, as for the frames' dates.
int frameYear(std::uint8_t yearByte)
{
    const unsigned tens = yearByte >> 4;
    const unsigned units = yearByte & 0x0Fu;
    return 2000 + static_cast<int>((tens > 9 ? 0 : tens) * 10 + (units > 9 ? 0 : units));
}

// Runs of consecutive `true` in chronological order, the ring starting at `start`.
template <typename Overloaded> int countRuns(int start, Overloaded overloaded)
{
    int runs = 0;
    bool inRun = false;
    for (int p = 0; p < kFrames; ++p) {
        const int index = p + start < kFrames ? p + start : p + start - kFrames;
        const bool now = overloaded(index);
        runs += now && !inRun ? 1 : 0;
        inRun = now;
    }
    return runs;
}

}  // namespace

namespace {

// The count over the frames that `valid` lets through.
template <typename Valid> int countFromBytes(const recorder::DataFileReader& file, int threshold, Valid valid)
{
    const RealDays realDay(frameYear(file.byte(recorder::kFrameYearOffset)));
    const FieldTables& tables = fieldTables();
    std::vector<bool> overloaded(recorder::kFrameCount);
    // Every valid frame is later than the loader's starting point, 01.01.1999.
    std::int64_t latest = -1;
    int newest = 0;
    for (int i = 0; i < kFrames; ++i) {
        const recorder::FrameBytes f = file.frame(static_cast<std::size_t>(i));
        if (!valid(i, f))
            continue;
        overloaded[static_cast<std::size_t>(i)] = f[21] >= threshold;
        const std::int64_t moment = frameMoment(f, tables, realDay);
        if (moment > latest) {
            latest = moment;
            newest = i;
        }
    }
    return countRuns((newest + 1) % kFrames, [&](int i) { return overloaded[static_cast<std::size_t>(i)]; });
}

}  // namespace

int countOverloadEpisodes(const recorder::DataFileReader& file, int threshold)
{
    return countFromBytes(
        file, threshold, [](int, const recorder::FrameBytes& f) { return recorder::frameValid(f); });
}

int countOverloadEpisodes(
    const recorder::DataFileReader& file, const std::vector<int>& brokenFrames, int threshold)
{
    std::vector<bool> broken(recorder::kFrameCount);
    for (const int i : brokenFrames)
        if (i >= 0 && i < kFrames)
            broken[static_cast<std::size_t>(i)] = true;
    return countFromBytes(file, threshold,
        [&](int i, const recorder::FrameBytes&) { return !broken[static_cast<std::size_t>(i)]; });
}

int countOverloadEpisodes(const recorder::FrameStore& frames, int ringStart, int threshold)
{
    const int start = ((ringStart % kFrames) + kFrames) % kFrames;
    return countRuns(start, [&](int i) {
        const recorder::TFrameRecord& r = frames[static_cast<std::size_t>(i)];
        return r.isOk() && r.LoadPercent >= threshold;
    });
}

}  // namespace nkp::analysis
