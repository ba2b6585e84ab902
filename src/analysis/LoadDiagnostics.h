#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace nkp::analysis {

// What loading met in a file. Loading goes on whatever it finds; the load
// error log shows this.
struct LoadDiagnostics {
    bool fileRead = false;  // set by loading: the values below describe a file
    std::uint64_t fileSize = 0;
    bool fullLength = false;           // the file holds at least the image and the gap byte
    std::uint32_t storedChecksum = 0;  // at offset 264192
    std::uint32_t computedChecksum = 0;
    bool checksumMatches = false;
    std::vector<int> brokenFrames;       // indices of frames that failed the check
    std::vector<int> nonCalendarFrames;  // valid frames whose date and time are no real moment
};

}  // namespace nkp::analysis
