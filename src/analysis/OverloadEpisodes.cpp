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
// runs in time order once the newest frame is known. `out` receives the
// newest frame's moment when one has a real clock, and the count. `valid`
// is asked only about frames the file holds whole; the others are broken.
template <typename Valid>
void countFromBytes(const recorder::DataFileReader& file, int threshold, Valid valid, FrameOverview& out)
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
        const auto index = static_cast<std::size_t>(i);
        bool now = false;
        if (file.holdsFrame(index) && valid(i, file.heldFrame(index))) {
            const recorder::FrameSpan f = file.heldFrame(index);
            now = recorder::FrameView(f).loadPercent() >= threshold;
            const std::int64_t key = recorder::realOrderKey(f.data(), year);
            if (key > latest) {
                latest = key;
                newest = i;
            }
        }
        overloaded[index] = now;
        rising += now && !previous ? 1 : 0;
        previous = now;
    }
    if (latest >= 0)
        out.newestFrame = recorder::frameMoment(
            recorder::FrameView(file.heldFrame(static_cast<std::size_t>(newest))).clock(), year);
    // Time runs from the frame after the newest round the ring: a run across
    // the file's end and start is one run, a run across the newest frame and
    // the next is two.
    const auto at = [&overloaded](int i) { return overloaded[static_cast<std::size_t>(i)]; };
    const int start = (newest + 1) % kFrames;
    out.overloadEpisodes = rising - (at(0) && at(kFrames - 1) ? 1 : 0) + (at(start) && at(newest) ? 1 : 0);
}

// Frames that pass their check, the failing ones listed in `broken`.
struct CheckFrames {
    std::vector<int>* broken = nullptr;
    bool operator()(int i, recorder::FrameSpan f) const
    {
        const bool ok = recorder::frameValid(f);
        if (!ok && broken)
            broken->push_back(i);
        return ok;
    }
};

}  // namespace

int countOverloadEpisodes(const recorder::DataFileReader& file, int threshold)
{
    return overviewFrames(file, threshold).overloadEpisodes;
}

FrameOverview overviewFrames(const recorder::DataFileReader& file, int threshold)
{
    FrameOverview out;
    countFromBytes(file, threshold, CheckFrames {}, out);
    return out;
}

FrameOverview overviewFrames(
    const recorder::DataFileReader& file, std::vector<int>& brokenFrames, int threshold)
{
    brokenFrames.clear();
    FrameOverview out;
    countFromBytes(file, threshold, CheckFrames {&brokenFrames}, out);
    // A frame the file does not hold whole is broken as well.
    for (std::size_t i = file.size() / recorder::kFrameSize; i < recorder::kFrameCount; ++i)
        brokenFrames.push_back(static_cast<int>(i));
    return out;
}

int countOverloadEpisodes(
    const recorder::DataFileReader& file, const std::vector<int>& brokenFrames, int threshold)
{
    std::vector<bool> broken(recorder::kFrameCount);
    for (const int i : brokenFrames)
        if (i >= 0 && i < kFrames)
            broken[static_cast<std::size_t>(i)] = true;
    FrameOverview out;
    countFromBytes(
        file, threshold, [&](int i, recorder::FrameSpan) { return !broken[static_cast<std::size_t>(i)]; },
        out);
    return out.overloadEpisodes;
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
