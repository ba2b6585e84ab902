#pragma once

#include "generator/ReadoutGenerator.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace nkp::test {

// A temporary folder of generated read-outs, removed with the object.
struct FleetFolder {
    std::filesystem::path dir = std::filesystem::temp_directory_path()
        / ("nkp_fleet_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter()++));

    FleetFolder() { std::filesystem::create_directories(dir); }
    ~FleetFolder()
    {
        std::error_code ec;
        std::filesystem::permissions(dir / "locked.nkp", std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(dir, ec);
    }

    std::string path(const std::string& relative) const { return (dir / relative).string(); }

    void write(const std::string& relative, const std::vector<std::uint8_t>& bytes) const
    {
        std::filesystem::create_directories((dir / relative).parent_path());
        std::ofstream(dir / relative, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    static std::vector<std::uint8_t> readout(std::uint64_t seed)
    {
        generator::GeneratorOptions options;
        options.seed = seed;
        return generator::generateDataFile(options);
    }

private:
    static int& counter()
    {
        static int n = 0;
        return n;
    }
};

}  // namespace nkp::test
