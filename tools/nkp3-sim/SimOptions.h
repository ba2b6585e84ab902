#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace nkp::sim {

struct SimOptions {
    std::string imageFile;                 // --image: the first 270336 bytes of a data file
    std::uint64_t seed = 1;                // --seed: a generated image
    std::optional<std::size_t> stopAfter;  // --stop-after: bytes of the image sent
    std::size_t extra = 0;                 // --extra: bytes sent after the image
    std::uint8_t probeAnswer = 0xA0;       // --probe-answer
    bool noAnswer = false;                 // --no-answer
    bool noise = false;                    // --noise: stream noise until the probe
    bool paced = false;                    // --paced: 9600 characters per second
};

inline constexpr const char* kSimUsage
    = "usage: nkp3-sim [--image FILE.nkp | --seed N] [--stop-after N] [--extra N] [--probe-answer HEX] "
      "[--no-answer] [--noise] [--paced]";

// Parses the command line; nothing and `error` set on a bad one.
std::optional<SimOptions> parseSimOptions(int argc, char** argv, std::string& error);

}  // namespace nkp::sim
