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

Result<std::vector<std::string>> listReadouts(const std::string& folder)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::directory_iterator top(folder, ec);
    if (ec)
        return Failure {folder, "cannot read folder " + folder + ": " + ec.message()};
    const fs::path root(folder);
    std::vector<std::string> files;
    // Folders still to be walked; one that cannot be opened becomes an entry.
    std::vector<fs::directory_iterator> pending;
    pending.push_back(std::move(top));
    while (!pending.empty()) {
        fs::directory_iterator it = std::move(pending.back());
        pending.pop_back();
        for (; it != fs::directory_iterator(); it.increment(ec)) {
            if (ec)
                break;  // a folder that vanished meanwhile: keep what was found
            const fs::directory_entry& entry = *it;
            std::error_code typeError;
            if (entry.is_directory(typeError) && !entry.is_symlink(typeError)) {
                fs::directory_iterator sub(entry.path(), ec);
                if (ec || hasReadoutExtension(entry.path()))
                    files.push_back(entry.path().lexically_relative(root).generic_string());
                else
                    pending.push_back(std::move(sub));
                ec.clear();
            } else if (hasReadoutExtension(entry.path())) {
                files.push_back(entry.path().lexically_relative(root).generic_string());
            }
        }
        ec.clear();
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace nkp::fleet
