#pragma once

#include "analysis/LoadedReadout.h"

#include <optional>
#include <string>
#include <string_view>

// The three selections of the frames table. Each rewrites FrameOrder (the
// selected positions from its first entry on, -1 in every other slot) and
// selectionCountText, and returns the number of selected positions. The scan
// runs over the loaded frames only (none before the first loading).
namespace nkp::analysis {

// Frames not marked "Брак" whose load percentage is at least `threshold`.
int selectByLoad(FrameView& state, long long threshold);

// Positions `from` to `to`, limited to the existing positions 0 to 10999: a
// `to` above 10999 counts as 10999, a `from` above 10999 selects nothing.
// `to` below `from` is refused: FrameOrder and the count text stay as they
// were and the result is -1.
int selectByRange(FrameView& state, long long from, long long to);

// Frames not marked "Брак" whose Date equals `dateText` ("dd.mm.yyyy").
int selectByDate(FrameView& state, const std::string& dateText);

// The number typed into a threshold or range edit: decimal digits only;
// nothing for an empty or non-digit text. Digits beyond what fits saturate
// at the largest value instead of overflowing.
std::optional<long long> parseEditNumber(std::string_view text);

}  // namespace nkp::analysis
