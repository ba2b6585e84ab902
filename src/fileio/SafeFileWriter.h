#pragma once

#include <string>
#include <string_view>

namespace nkp::fileio {

// Writes `content` to `path` through a temporary file in the same folder that
// is flushed to disk and renamed over `path`. On failure the old file (if
// any) is left untouched, the temporary file is removed, `error` receives
// the cause (English, naming the file) and false is returned.
bool writeFileAtomically(const std::string& path, std::string_view content, std::string* error = nullptr);

}  // namespace nkp::fileio
