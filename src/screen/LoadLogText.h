#pragma once

#include "analysis/LoadDiagnostics.h"

#include <string>
#include <vector>

// The text of the load error log: what the last loading met, line by line.
namespace nkp::screen {

// The log's lines (Windows-1251, joined by '\n') for what loading met in
// file `fileName` (Windows-1251).
std::string loadErrorLogText(const std::string& fileName, const analysis::LoadDiagnostics& diagnostics);

// Indices as a list of ranges: "0-5, 17, 200-210".
std::string condensedIndices(const std::vector<int>& indices);

}  // namespace nkp::screen
