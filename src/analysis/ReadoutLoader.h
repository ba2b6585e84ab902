#pragma once

#include "screen/MainState.h"
#include "analysis/Readout.h"
#include "recorder/DataFileReader.h"

#include <string>

namespace nkp::analysis {

// The shortest file taken for a read-out: one whole frame. A shorter one (an
// empty file above all) holds nothing a recorder wrote.
inline constexpr std::size_t kShortestReadout = recorder::kFrameSize;

// Opens a data file for loading: as DataFileReader::open(), and a file
// shorter than kShortestReadout is refused as well (`error` says so).
std::optional<recorder::DataFileReader> openReadoutFile(
    const std::string& path, std::string* error = nullptr);

// Loads a read-out into `state`. The file is read first and closed; when it
// cannot be opened (or is refused by openReadoutFile()) nothing of `state` changes, false is returned and
// `error` names the cause (English, for logs; the window shows its own message). Otherwise every loaded value
// is replaced, with numbers formatted with `decimalSeparator`, and true is returned.
bool loadReadout(
    const std::string& path, char decimalSeparator, MainState& state, std::string* error = nullptr);

// The same from bytes already in memory (the reader keeps the file's name
// out of it: `fileName` and `filePath` are set by loadReadout()).
void loadReadout(const recorder::DataFileReader& file, char decimalSeparator, MainState& state);

// Builds every text of the window that a read-out's values give (identification,
// counters, stamps, classification) with numbers formatted with
// `decimalSeparator`, and takes its numbers and diagnostics. The frame store,
// FrameOrder, the newest frame, the frame year and the charts keep what they held.
void applyReadout(const Readout& readout, char decimalSeparator, MainState& state);

// readReadout() and applyReadout(): the values without decoding the frames
// (broken frames among the diagnostics; no calendar check), with fileName and
// filePath.
bool loadReadoutSummary(
    const std::string& path, char decimalSeparator, MainState& state, std::string* error = nullptr);
// The same from bytes already in memory.
void loadReadoutSummary(const recorder::DataFileReader& file, char decimalSeparator, MainState& state);

// Records the loaded file: `filePath` as given (the file system's bytes),
// `fileName` its last part as Windows-1251 text like every other text of the
// state (the file system's names are UTF-8).
void setLoadedFile(const std::string& path, MainState& state);

// Puts the frame store and the chronological view into their cleared state
// (the menu item "Очистить"): every record cleared, RingStart 0, FrameOrder all 0.
void clearAll(MainState& state);

}  // namespace nkp::analysis
