#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// How the archive keeps a whole data file: its identity, the SHA-256 of the
// memory image, and the file packed as one zstd frame, its frame area laid
// out field by field (byte k of every 24-byte frame together, the rest of the
// file as it is). Archives written before schema version 4 hold the file as
// qCompress (zlib) bytes; both forms are read.
namespace nkp::archive {

// A longer file is no data file of the recorder.
inline constexpr std::size_t kMaxDataFileSize = 16 * 1024 * 1024;

// Lower-case hex SHA-256 of the memory image (the file's first 270336 bytes);
// empty in the unlikely case that the crypto library fails.
std::string imageHash(const std::vector<std::uint8_t>& fileBytes);

// The data file packed for the archive's data column.
std::vector<std::uint8_t> packDataFile(const std::vector<std::uint8_t>& fileBytes);

// The data file back from the data column, in either form; nothing when the
// stored bytes are damaged or would unpack to more than kMaxDataFileSize bytes.
std::optional<std::vector<std::uint8_t>> unpackDataFile(const char* stored, std::size_t size);

}  // namespace nkp::archive
