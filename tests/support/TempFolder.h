#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace nkp::test {

// A temporary folder, removed with the object, also where a test took the
// write or read permission of something inside it.
struct TempFolder {
    std::filesystem::path dir;

    explicit TempFolder(const std::string& prefix = "nkp_test_")
        : dir(std::filesystem::temp_directory_path()
            / (prefix + std::to_string(::getpid()) + "_" + std::to_string(counter()++)))
    {
        std::filesystem::create_directories(dir);
    }
    ~TempFolder()
    {
        namespace fs = std::filesystem;
        std::error_code ec;
        // Top down, so that a locked folder opens before the walk goes in.
        for (auto it = fs::recursive_directory_iterator(dir, ec);
             !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(dir, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string path(const std::string& relative) const { return (dir / relative).string(); }

    // Writes `bytes` to `relative` (making its folders); returns the path.
    std::string write(const std::string& relative, const std::vector<std::uint8_t>& bytes) const
    {
        std::filesystem::create_directories((dir / relative).parent_path());
        std::ofstream(dir / relative, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path(relative);
    }

private:
    static int& counter()
    {
        static int n = 0;
        return n;
    }
};

}  // namespace nkp::test
