#pragma once

#include "analysis/Readout.h"
#include "recorder/DataFileLayout.h"
#include "recorder/FrameStore.h"

#include <string>
#include <vector>

namespace nkp::analysis {

// The frames of a read-out and their chronological view.
struct FrameView {
    recorder::FrameStore frames;
    int RingStart = 0;
    std::vector<int> FrameOrder = std::vector<int>(recorder::kFrameCount, 0);  // -1 marks an empty slot
    std::string selectionCountText = "0000";  // of the last selection, "0000" until the first

    int loadedFrames = 0;         // frames the last loading filled
    int newestFrame = 0;          // index of the newest frame
    std::string newestFrameTime;  // date-time text of the newest frame; empty when its year is unknown
    std::string frameYear;        // two-digit year of the frames

    // The record shown at chronological position p (0 = oldest).
    const recorder::TFrameRecord& recordAt(int position) const;
    int recordIndexAt(int position) const;
};

// A read-out loaded from a file: its values, its frames, and the file.
struct LoadedReadout : FrameView {
    Readout readout;
    std::string fileName;  // without its folder, Windows-1251; empty before the first loading
    std::string filePath;  // the file system's bytes
};

}  // namespace nkp::analysis
