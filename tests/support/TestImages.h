#pragma once

#include <cstddef>
#include <cstdint>
#include <numeric>
#include <vector>

namespace nkp::test {

// Writes the check sum of a memory image (or of a data file, which starts
// with it): the sum of its first 264192 bytes, little-endian, at 264192.
// Counted here, not by the code under test.
inline void sealChecksum(std::vector<std::uint8_t>& image)
{
    const std::uint32_t sum = std::accumulate(image.begin(), image.begin() + 264192, std::uint32_t {0});
    for (int b = 0; b < 4; ++b)
        image[264192 + static_cast<std::size_t>(b)] = static_cast<std::uint8_t>(sum >> (8 * b));
}

// A 270336-byte memory image that holds every byte value (the line's control
// characters among them) in a pattern chosen by `step`, with a good checksum.
inline std::vector<std::uint8_t> checkedImage(unsigned step = 7)
{
    std::vector<std::uint8_t> image(270336);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<std::uint8_t>(i * step + i / 251);
    sealChecksum(image);
    return image;
}

}  // namespace nkp::test
