#pragma once

#include "base/Failure.h"

#include <optional>
#include <string>
#include <vector>

namespace nkp::fleet {

// Every entry named *.nkp (any letter case) below `folder`, its subfolders
// included, as paths relative to `folder` with '/' between the parts, sorted
// bytewise. Entries that are no regular file (a folder or a pipe named
// *.nkp) are listed too, so that the overview can name them; links to
// folders are not followed. A subfolder that cannot be read is listed too
// (its row says why). Fails when `folder` is no readable folder (the cause
// in English, naming the folder).
Result<std::vector<std::string>> listReadouts(const std::string& folder);

}  // namespace nkp::fleet
