#pragma once

#include "analysis/LoadedReadout.h"
#include "analysis/Readout.h"
#include "base/Failure.h"
#include "recorder/DataFileReader.h"

#include <functional>
#include <string>

namespace nkp::analysis {

// The shortest file taken for a read-out: one whole frame. A shorter one (an
// empty file above all) holds nothing a recorder wrote.
inline constexpr std::size_t kShortestReadout = recorder::kFrameSize;

// Opens a data file for loading: as DataFileReader::open(), and a file
// shorter than kShortestReadout is refused as well. The failure's cause is
// English, for logs; the window shows its own message.
Result<recorder::DataFileReader> openReadoutFile(const std::string& path);

// Loads the values and decodes the frames of `file` into `loaded` (all but
// fileName and filePath): the frame store is reused.
void loadReadout(const recorder::DataFileReader& file, LoadedReadout& loaded);

// The values alone, the frames only checked (broken frames among the
// diagnostics; no calendar check); the frame store and its view stay.
void loadReadoutSummary(const recorder::DataFileReader& file, LoadedReadout& loaded);

// Opens `path`, reads it and closes it, then loads it with `load` and records
// the file. When it cannot be opened (or is refused by openReadoutFile())
// nothing of `loaded` changes.
Done openAndLoad(const std::string& path, LoadedReadout& loaded,
    const std::function<void(const recorder::DataFileReader&)>& load);
// openAndLoad() with loadReadout() or loadReadoutSummary().
Done loadReadout(const std::string& path, LoadedReadout& loaded);
Done loadReadoutSummary(const std::string& path, LoadedReadout& loaded);

// Records the loaded file: `filePath` as given (the file system's bytes),
// `fileName` its last part as Windows-1251 text like every other text of a
// read-out (the file system's names are UTF-8).
void setLoadedFile(const std::string& path, LoadedReadout& loaded);

// Puts the frame store and the chronological view into their cleared state
// (the menu item "Очистить"): every record cleared, RingStart 0, FrameOrder all 0.
void clearAll(FrameView& view);

}  // namespace nkp::analysis
