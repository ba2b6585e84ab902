#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The service information window's dump of raw bytes.
namespace nkp::screen {

// Sixteen bytes a line, lines joined by '\n': the decimal offset right-aligned
// in six places, the bytes in upper-case hex, and the printable ASCII
// characters (others as '.'). `baseOffset` is the offset of the first byte.
std::string hexDump(const std::vector<std::uint8_t>& bytes, std::size_t baseOffset);

}  // namespace nkp::screen
