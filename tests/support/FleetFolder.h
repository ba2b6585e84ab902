#pragma once

#include "TempFolder.h"

#include "generator/ReadoutGenerator.h"

#include <cstdint>
#include <vector>

namespace nkp::test {

// A temporary folder of generated read-outs, removed with the object.
struct FleetFolder : TempFolder {
    FleetFolder()
        : TempFolder("nkp_fleet_test_")
    {
    }

    static std::vector<std::uint8_t> readout(std::uint64_t seed)
    {
        generator::GeneratorOptions options;
        options.seed = seed;
        return generator::generateDataFile(options);
    }
};

}  // namespace nkp::test
