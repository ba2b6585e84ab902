#include "analysis/OverloadEpisodes.h"

#include "base/DateTime.h"

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

// The frame's moment as one ordered number, or -1 when its date is no real
// day (such a frame does not take part in the search for the newest).
std::int64_t frameMoment(const recorder::FrameBytes& f, int year)
{
    const unsigned second = bcdField(f[0], 3, 59, 0);
    const unsigned minute = bcdField(f[1], 3, 59, 0);
    const unsigned hour = bcdField(f[2], 2, 23, 0);
    const unsigned day = bcdField(f[3], 2, 31, 1);
    const unsigned month = bcdField(f[4], 1, 12, 1);
    if (!base::isRealDate(year, static_cast<int>(month), static_cast<int>(day)))
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

int countOverloadEpisodes(const recorder::DataFileReader& file, int threshold)
{
    const int year = frameYear(file.byte(recorder::kFrameYearOffset));
    std::vector<bool> overloaded(recorder::kFrameCount);
    // Every valid frame is later than the loader's starting point, 01.01.1999.
    std::int64_t latest = -1;
    int newest = 0;
    for (int i = 0; i < kFrames; ++i) {
        const recorder::FrameBytes f = file.frame(static_cast<std::size_t>(i));
        if (!recorder::frameValid(f))
            continue;
        overloaded[static_cast<std::size_t>(i)] = f[21] >= threshold;
        const std::int64_t moment = frameMoment(f, year);
        if (moment > latest) {
            latest = moment;
            newest = i;
        }
    }
    return countRuns((newest + 1) % kFrames, [&](int i) { return overloaded[static_cast<std::size_t>(i)]; });
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
