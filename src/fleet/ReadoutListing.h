#pragma once

#include <optional>
#include <string>
#include <vector>

namespace nkp::fleet {

// Every entry named *.nkp (any letter case) below `folder`, its subfolders
// included, as paths relative to `folder` with '/' between the parts, sorted
// bytewise. Entries that are no regular file (a folder or a pipe named
// *.nkp) are listed too, so that the overview can name them; links to
// folders are not followed. A subfolder that cannot be read is listed too
// (its row says why). Nothing when `folder` is no readable folder;
// `error` then names the cause (English).
std::optional<std::vector<std::string>> listReadouts(const std::string& folder, std::string* error = nullptr);

}  // namespace nkp::fleet
