#pragma once

#include "analysis/MainState.h"

#include <string>
#include <string_view>
#include <vector>

// The frames as CSV: UTF-8, ";" between fields, one header line, numbers as
// the frames table shows them, one line per chronological position.
namespace nkp::analysis {

// Every chronological position 0..10999.
std::vector<int> allFramePositions();

// The positions of the current FrameOrder (all frames after loading, or the
// current selection), in the order the frames table lists them.
std::vector<int> currentFramePositions(const MainState& state);

// The header line: the English field names scripts read, or the Russian
// captions of the frames table for a file a user opens in a spreadsheet.
enum class FramesCsvHeader { FieldNames, TableCaptions };

// Every line, the header's too, ends with `lineEnd`: LF for the terminal,
// CR LF for a spreadsheet file. UTF-8 throughout.
std::string framesCsv(const MainState& state, const std::vector<int>& positions, char decimalSeparator,
    std::string_view lineEnd = "\n", FramesCsvHeader header = FramesCsvHeader::FieldNames);

}  // namespace nkp::analysis
