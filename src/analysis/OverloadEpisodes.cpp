#include "analysis/OverloadEpisodes.h"

#include "analysis/FrameDecoding.h"

#include <array>
#include <optional>
#include <vector>

namespace nkp::analysis {
namespace {

constexpr int kFrames = static_cast<int>(recorder::kFrameCount);

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

// The count over the frames that `valid` lets through, in one pass over the
// file: the runs are counted as rising edges in file order and turned into
// runs in time order once the newest frame is known. `newestMoment`
// receives the newest frame's moment when one has a real clock.
template <typename Valid>
int countFromBytes(const recorder::DataFileReader& file, int threshold, Valid valid,
    std::optional<base::DateTime>* newestMoment = nullptr)
{
    const int year = frameOrderYear(file);
    std::array<bool, recorder::kFrameCount> overloaded;
    int rising = 0;
    bool previous = false;
    // The newest frame as decoding finds it: every valid frame is later than
    // the loader's starting point, 01.01.1999; ties go to the lower index.
    std::int64_t latest = -1;
    int newest = 0;
    for (int i = 0; i < kFrames; ++i) {
        const recorder::FrameBytes f = file.frame(static_cast<std::size_t>(i));
        bool now = false;
        if (valid(i, f)) {
            const recorder::FrameView view(f);
            now = view.loadPercent() >= threshold;
            const recorder::FrameClock clock = view.clock();
            if (clock.real(year) && clock.orderKey() > latest) {
                latest = clock.orderKey();
                newest = i;
            }
        }
        overloaded[static_cast<std::size_t>(i)] = now;
        rising += now && !previous ? 1 : 0;
        previous = now;
    }
    if (newestMoment && latest >= 0) {
        const recorder::FrameClock c
            = recorder::FrameView(file.frame(static_cast<std::size_t>(newest))).clock();
        *newestMoment
            = base::DateTime {year, c.month.value, c.day.value, c.hour.value, c.minute.value, c.second.value};
    }
    // Time runs from the frame after the newest round the ring: a run across
    // the file's end and start is one run, a run across the newest frame and
    // the next is two.
    const auto at = [&overloaded](int i) { return overloaded[static_cast<std::size_t>(i)]; };
    const int start = (newest + 1) % kFrames;
    return rising - (at(0) && at(kFrames - 1) ? 1 : 0) + (at(start) && at(newest) ? 1 : 0);
}

}  // namespace

int countOverloadEpisodes(const recorder::DataFileReader& file, int threshold)
{
    return countFromBytes(file, threshold, [&file](int i, const recorder::FrameBytes& f) {
        return file.holdsFrame(static_cast<std::size_t>(i)) && recorder::frameValid(f);
    });
}

FrameOverview overviewFrames(const recorder::DataFileReader& file, int threshold)
{
    FrameOverview out;
    out.overloadEpisodes = countFromBytes(
        file, threshold,
        [&file](int i, const recorder::FrameBytes& f) {
            return file.holdsFrame(static_cast<std::size_t>(i)) && recorder::frameValid(f);
        },
        &out.newestFrame);
    return out;
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
