#pragma once

#include "analysis/Readout.h"
#include "base/Failure.h"
#include "base/UserPrompts.h"
#include "recorder/DataFileReader.h"
#include "screen/MainState.h"

#include <string>

// Loading a read-out into the window's model: the shared loading of
// analysis/ReadoutLoader.h, then the window's texts, gauges and charts.
namespace nkp::screen {

// Takes `readout` and builds every text of the window that its values give
// (identification, counters, stamps, classification) with numbers formatted
// with `decimalSeparator`, and the gauges. The frame store, FrameOrder, the
// newest frame, the frame year and the charts keep what they held.
void applyReadout(const analysis::Readout& readout, char decimalSeparator, MainState& state);

// Every value and frame of `file`, the texts, the charts and the service area
// (the file's name and path are set by the loading from a path).
void loadReadout(const recorder::DataFileReader& file, char decimalSeparator, MainState& state);
// The values without decoding the frames, and their texts.
void loadReadoutSummary(const recorder::DataFileReader& file, char decimalSeparator, MainState& state);

// The same from a file, which is read first and closed; when it cannot be
// opened nothing of `state` changes and the failure says why (English, for logs).
Done loadReadout(const std::string& path, char decimalSeparator, MainState& state);
Done loadReadoutSummary(const std::string& path, char decimalSeparator, MainState& state);

// loadReadout() from a path as the user asked for it: a file that cannot be
// opened goes to the log with its cause and the user is told "Файл не удальсь
// открыть!"; false then.
bool openReadout(const std::string& path, char decimalSeparator, MainState& state, UserPrompts& prompts);

}  // namespace nkp::screen
