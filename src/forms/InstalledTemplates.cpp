#include "forms/InstalledTemplates.h"

#include <filesystem>
#include <system_error>

namespace nkp::forms {
namespace {

namespace fs = std::filesystem;

bool isDirectory(const fs::path& path)
{
    std::error_code ec;
    return fs::is_directory(path, ec);
}

}  // namespace

std::string installedTemplatesDir()
{
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        const fs::path beside = exe.parent_path().parent_path() / NKP_INSTALL_TEMPLATES_SUBDIR;
        if (isDirectory(beside))
            return beside.string();
    }
    if (isDirectory(NKP_INSTALL_TEMPLATES_DIR))
        return NKP_INSTALL_TEMPLATES_DIR;
    return {};
}

FormFolders formFoldersFor(const std::string& startDirectory, const std::string& installedTemplates)
{
    FormFolders folders = FormFolders::belowStartDirectory(startDirectory);
    if (!isDirectory(folders.templates) && !installedTemplates.empty()) {
        folders.templates = installedTemplates;
        // The installed folder belongs to the system and is not writable.
        folders.dataFiles = folders.documents;
    }
    return folders;
}

}  // namespace nkp::forms
