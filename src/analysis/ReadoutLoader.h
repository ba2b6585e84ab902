#pragma once

#include "analysis/MainState.h"
#include "recorder/DataFileReader.h"

#include <string>

namespace nkp::analysis {

// Loads a read-out into `state`. The file is read first and closed; when it
// cannot be opened nothing of `state` changes, false is returned and `error`
// names the cause (English, for logs; the window shows its own message).
// Otherwise every loaded value is replaced, with numbers formatted with
// `decimalSeparator`, and true is returned.
bool loadReadout(
    const std::string& path, char decimalSeparator, MainState& state, std::string* error = nullptr);

// The same from bytes already in memory (the reader keeps the file's name
// out of it: `fileName` and `filePath` are set by loadReadout()).
void loadReadout(const recorder::DataFileReader& file, char decimalSeparator, MainState& state);

// The values an overview of many read-outs shows, loaded by the same steps
// as loadReadout(): identification, counters, classification, the file's
// diagnostics (broken frames among them; no calendar check), fileName and
// filePath. The frames are only checked, not decoded: the frame store,
// FrameOrder, the newest frame and the charts keep what they held.
bool loadReadoutSummary(
    const std::string& path, char decimalSeparator, MainState& state, std::string* error = nullptr);
// The same from bytes already in memory.
void loadReadoutSummary(const recorder::DataFileReader& file, char decimalSeparator, MainState& state);

// Puts the frame store and the chronological view into their cleared state
// (the menu item "Очистить"): every record cleared, RingStart 0, FrameOrder all 0.
void clearAll(MainState& state);

}  // namespace nkp::analysis
