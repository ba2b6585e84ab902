#pragma once

#include "analysis/LoadDiagnostics.h"

#include <string>
#include <vector>

// The text of the load error log: what the last loading met, line by line.
namespace nkp::analysis {

// The log's lines (Windows-1251, joined by '\n') for what loading met in
// file `fileName` (Windows-1251). Frames are named by their index in the
// recorder's memory; with `ringStart` (the memory index of the oldest frame)
// their positions in the frames table follow, where a user looks them up.
std::string loadErrorLogText(
    const std::string& fileName, const LoadDiagnostics& diagnostics, int ringStart = -1);

// The frames table's position of each memory index, given the oldest frame's index.
std::vector<int> tablePositions(const std::vector<int>& memoryIndices, int ringStart);

// Indices as a list of ranges: "0-5, 17, 200-210".
std::string condensedIndices(const std::vector<int>& indices);

}  // namespace nkp::analysis
