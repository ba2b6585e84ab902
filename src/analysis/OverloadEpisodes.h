#pragma once

#include "analysis/Events.h"
#include "base/DateTime.h"
#include "recorder/DataFileReader.h"
#include "recorder/FrameStore.h"

#include <optional>
#include <vector>

// The number of overload episodes of a read-out, for overviews of many
// read-outs (the fleet, the archive). The same count as the "Перегрузка"
// episodes of findEpisodes().
namespace nkp::analysis {

// From the file's bytes: only the check, the clock and the load percentage
// of each frame are read (recorder::FrameView), nothing else is decoded. The
// chronological order is found as loading finds it (the newest valid frame
// with a real date and time, ties to the lower index).
int countOverloadEpisodes(
    const recorder::DataFileReader& file, int overloadThreshold = kDefaultOverloadThreshold);

// The count with the moment of the newest valid frame (its clock with the
// year of the frames; nothing when no valid frame has a real clock).
struct FrameOverview {
    int overloadEpisodes = 0;
    std::optional<base::DateTime> newestFrame;
};
FrameOverview overviewFrames(
    const recorder::DataFileReader& file, int overloadThreshold = kDefaultOverloadThreshold);

// The same, listing the frames that fail their check (or that the file does
// not hold whole) in `brokenFrames`, as readReadout() lists them: one pass
// over the frames gives an overview its values and the count.
FrameOverview overviewFrames(const recorder::DataFileReader& file, std::vector<int>& brokenFrames,
    int overloadThreshold = kDefaultOverloadThreshold);

// The count alone when the frames that fail their check are known already (the
// summary load lists them), so that no frame is checked twice.
int countOverloadEpisodes(const recorder::DataFileReader& file, const std::vector<int>& brokenFrames,
    int overloadThreshold = kDefaultOverloadThreshold);

// From a decoded store and its ring start.
int countOverloadEpisodes(
    const recorder::FrameStore& frames, int ringStart, int overloadThreshold = kDefaultOverloadThreshold);

}  // namespace nkp::analysis
