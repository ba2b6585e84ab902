#pragma once

#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

// A file or folder of the benchmark run in the temporary folder, named for
// the process and removed with the object. The name lives in the object that
// removes it, so that a static one cannot outlive its own name.
namespace nkp::bench {

struct RunTemp {
    explicit RunTemp(const std::string& prefix, const std::string& suffix = {})
        : path(std::filesystem::temp_directory_path() / (prefix + std::to_string(::getpid()) + suffix))
    {
    }
    ~RunTemp()
    {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    RunTemp(const RunTemp&) = delete;
    RunTemp& operator=(const RunTemp&) = delete;

    const std::filesystem::path path;
};

}  // namespace nkp::bench
