#pragma once

#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

// A folder of the benchmark run in the temporary folder, named for the
// process and removed with the object. The name lives in the object that
// removes the folder, so that a static one cannot outlive its own name.
namespace nkp::bench {

struct RunFolder {
    explicit RunFolder(const std::string& prefix)
        : dir(std::filesystem::temp_directory_path() / (prefix + std::to_string(::getpid())))
    {
    }
    ~RunFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    RunFolder(const RunFolder&) = delete;
    RunFolder& operator=(const RunFolder&) = delete;

    const std::filesystem::path dir;
};

}  // namespace nkp::bench
