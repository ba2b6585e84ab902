#pragma once

#include "analysis/MainState.h"

#include <string>

// The three selections of the frames table. Each rewrites FrameOrder (the
// selected positions from its first entry on, -1 in every other slot) and
// Label_O_OtbZap, and returns the number of selected positions.
namespace nkp::analysis {

// Frames not marked "Брак" whose load percentage is at least `threshold`.
int selectByLoad(MainState& state, long long threshold);

// Positions `from` to `to`; positions above 10999 do not exist and are not
// listed. `to` below `from` selects nothing and leaves FrameOrder and the
// count text as they were; returns -1 then.
int selectByRange(MainState& state, long long from, long long to);

// Frames not marked "Брак" whose Date equals `dateText` ("dd.mm.yyyy").
int selectByDate(MainState& state, const std::string& dateText);

}  // namespace nkp::analysis
