#pragma once

#include "recorder/Frame.h"

#include <string>

// What the coded rows of the frames table mean: the discrete inputs and the
// output relays bit by bit, the limits entered and tripped, the fault code.
namespace nkp::analysis {

// The frames table's rows that hold codes (0-based, as the table counts).
inline constexpr int kDiscreteInputsRow = 11;
inline constexpr int kOutputRelaysRow = 12;
inline constexpr int kLimitsRow = 13;
inline constexpr int kFaultCodeRow = 14;

struct FrameCodeText {
    std::string brief;  // one line for the status line (Windows-1251)
    std::string full;   // the whole decoding, one fact a line, for a tooltip and the status panel
    bool empty() const { return full.empty(); }
};

// The decoding of row `row` of the frames table for record `r`; empty for
// a row that holds no code.
FrameCodeText frameCodeText(const recorder::TFrameRecord& r, int row);

}  // namespace nkp::analysis
