#pragma once

#include "analysis/ReadoutSummary.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace nkp::archive {

// A read-out made ready for the archive (read, hashed and compressed), off
// any database connection.
struct PreparedReadout : analysis::ReadoutSummary {  // texts with blanks trimmed
    std::string sha256;                              // of the 270336-byte image, lower-case hex
    std::string fileName;
    std::vector<std::uint8_t> compressed;  // the whole data file packed (StoredFile.h)
};

// Reads a data file and prepares it; nothing with `error` (Russian) when the
// file cannot be read or holds no complete memory image.
std::optional<PreparedReadout> prepareReadout(const std::string& path, std::string* error);
std::optional<PreparedReadout> prepareReadout(
    std::vector<std::uint8_t> fileBytes, const std::string& fileName, std::string* error);

}  // namespace nkp::archive
