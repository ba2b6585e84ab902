#pragma once

#include "base/Failure.h"
#include "recorder/DataFileLayout.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

// Positioned reads of a data file held in memory. Whatever a reader needs
// beyond the end of a shorter file reads as zero bytes.
namespace nkp::recorder {

// The longest file prefix that is read: the identification block ends well
// before; a much longer file is read no further than this.
inline constexpr std::size_t kMaxReadSize = kIdentificationOffset + 64 * 1024;
// The controller number runs to the end of the file; reading stops here.
inline constexpr std::size_t kMaxControllerNumberLength = 1024;

class DataFileReader {
public:
    // Wraps bytes already in memory (tests, the reading window's image).
    explicit DataFileReader(std::vector<std::uint8_t> bytes);

    // Reads at most kMaxReadSize bytes of a regular file. Fails when the file
    // cannot be opened or read or is not a regular file; the failure's reason
    // is the system's cause (English, for logs) without the path.
    static Result<DataFileReader> open(const std::string& path);

    // Size of the bytes held (the file's size, or kMaxReadSize for a longer one).
    std::size_t size() const { return bytes_.size(); }
    // Size of the file on disk as found when it was opened.
    std::uint64_t fileSize() const { return fileSize_; }

    std::uint8_t byte(std::size_t offset) const { return offset < bytes_.size() ? bytes_[offset] : 0; }
    // Copies `length` bytes at `offset`, zero-filled beyond the end.
    void copy(std::size_t offset, std::size_t length, std::uint8_t* out) const;

    std::array<std::uint8_t, kFrameSize> frame(std::size_t index) const
    {
        std::array<std::uint8_t, kFrameSize> f;
        const std::size_t offset = index * kFrameSize;
        if (offset + kFrameSize <= bytes_.size())
            std::memcpy(f.data(), bytes_.data() + offset, kFrameSize);
        else
            copy(offset, kFrameSize, f.data());
        return f;
    }
    // The bytes of frame `index` in place, for a frame that holdsFrame().
    FrameSpan heldFrame(std::size_t index) const
    {
        return FrameSpan(bytes_.data() + index * kFrameSize, kFrameSize);
    }
    // Whether the bytes held include the whole frame `index`.
    bool holdsFrame(std::size_t index) const { return (index + 1) * kFrameSize <= bytes_.size(); }
    std::uint32_t read24(std::size_t offset) const;
    std::uint32_t read32(std::size_t offset) const;
    // The 40-bit little-endian fixed-point number with 16 fraction bits.
    double read40Fixed16(std::size_t offset) const;
    // The bytes from the field's start up to the first zero byte, or the whole width.
    std::string text(IdField field) const;
    Identification identification() const;
    // 32-bit unsigned sum of bytes 0..264191; and the value stored after them.
    std::uint32_t computedChecksum() const;
    std::uint32_t storedChecksum() const;

    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
    std::uint64_t fileSize_ = 0;
};

// The 32-bit unsigned sum of the first 264192 bytes of `image` (zeros beyond its end).
std::uint32_t imageChecksum(const std::uint8_t* image, std::size_t size);
// The little-endian sum stored at kChecksumOffset of `image` (zeros beyond its end).
std::uint32_t imageStoredChecksum(const std::uint8_t* image, std::size_t size);

}  // namespace nkp::recorder
