#pragma once

#include "analysis/FrameDecoding.h"
#include "base/DateTime.h"
#include "screen/MainState.h"

#include <string>

// Form 1's look at the previous reading's frames: where the ring stood then,
// and from it the time span and the frame range of the test.
namespace nkp::forms {

struct PreviousRing {
    int ringStart = 1;      // index after the newest valid frame
    base::DateTime newest;  // its moment; 01.01.1999 00:00:00 without one
};

// Where the previous reading's ring stood, from the facts of decoding its
// frames into a store of its own (the main window's records stay as the
// latest reading left them).
PreviousRing previousRing(const analysis::RingFacts& facts);

// Sets the previous reading's newest-frame time and the first position of the
// test in `state`, then shortens both newest-frame times in place.
void applyPreviousRing(screen::MainState& state, const PreviousRing& ring);

// The date-time text without its 17th to 19th characters (the seconds).
std::string shortenedDateTimeText(const std::string& text);

// "|0:TimeIsp:" and "|0:KadrIsp:" from the slots applyPreviousRing() set.
std::string testSpanText(const screen::MainState& state);
std::string frameRangeText(const screen::MainState& state);

}  // namespace nkp::forms
