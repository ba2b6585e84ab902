#pragma once

#include "base/Failure.h"
#include "recorder/DataFileLayout.h"

#include <cstdint>
#include <string>
#include <vector>

namespace nkp::recorder {

// The bytes of a data file: the memory image (exactly kImageSize bytes; a
// shorter one is padded with zeros, a longer one cut), the gap byte, and each
// identification text at its offset cut to its width (the reading date to 16
// characters followed by its zero). The file ends right after the last text
// written.
std::vector<std::uint8_t> buildDataFile(const std::vector<std::uint8_t>& image, const Identification& id);

// Writes buildDataFile() safely (temporary file renamed over `path`).
// A failure names the file (English); an existing file is then left as it was.
Done writeDataFile(const std::string& path, const std::vector<std::uint8_t>& image, const Identification& id);

}  // namespace nkp::recorder
