#include "fleet/ReadoutListing.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace nkp::fleet {
namespace {

bool hasReadoutExtension(const std::filesystem::path& path)
{
    std::string ext = path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
        [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == ".nkp";
}

}  // namespace

std::optional<std::vector<std::string>> listReadouts(const std::string& folder, std::string* error)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
    if (ec) {
        if (error)
            *error = "cannot read folder " + folder + ": " + ec.message();
        return std::nullopt;
    }
    const fs::path root(folder);
    std::vector<std::string> files;
    for (; it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (ec)
            break;  // a subfolder that vanished meanwhile: keep what was found
        if (hasReadoutExtension(it->path()))
            files.push_back(it->path().lexically_relative(root).generic_string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace nkp::fleet
