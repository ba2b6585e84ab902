#include "recorder/DataFileReader.h"

#include "base/RegularFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace nkp::recorder {

DataFileReader::DataFileReader(std::vector<std::uint8_t> bytes)
    : bytes_(std::move(bytes))
    , fileSize_(bytes_.size())
{
}

Result<DataFileReader> DataFileReader::open(const std::string& path)
{
    auto fail = [&path](const char* what) {
        return Failure {path, std::string(what) + ": " + std::strerror(errno)};
    };
    const auto opened = fileio::openRegularFile(path);
    if (!opened)
        return opened.failure();
    const int fd = *opened;
    struct stat st { };
    if (::fstat(fd, &st) != 0) {
        const int saved = errno;
        ::close(fd);
        errno = saved;
        return fail("cannot stat");
    }
    std::vector<std::uint8_t> bytes(
        std::min<std::uint64_t>(static_cast<std::uint64_t>(st.st_size), kMaxReadSize));
    std::size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int saved = errno;
            ::close(fd);
            errno = saved;
            return fail("cannot read");
        }
        if (n == 0)
            break;  // the file shrank meanwhile: what is missing reads as zeros
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    bytes.resize(got);
    DataFileReader reader(std::move(bytes));
    reader.fileSize_ = static_cast<std::uint64_t>(st.st_size);
    return reader;
}

void DataFileReader::copy(std::size_t offset, std::size_t length, std::uint8_t* out) const
{
    std::size_t available = 0;
    if (offset < bytes_.size())
        available = std::min(length, bytes_.size() - offset);
    if (available > 0)
        std::memcpy(out, bytes_.data() + offset, available);
    std::memset(out + available, 0, length - available);
}

std::uint32_t DataFileReader::read24(std::size_t offset) const
{
    return static_cast<std::uint32_t>(byte(offset)) | static_cast<std::uint32_t>(byte(offset + 1)) << 8
        | static_cast<std::uint32_t>(byte(offset + 2)) << 16;
}

std::uint32_t DataFileReader::read32(std::size_t offset) const
{
    return read24(offset) | static_cast<std::uint32_t>(byte(offset + 3)) << 24;
}

double DataFileReader::read40Fixed16(std::size_t offset) const
{
    // b4·65536 + b3·256 + b2 + b1/256 + b0/65536, exactly representable in a double.
    return byte(offset + 4) * 65536.0 + byte(offset + 3) * 256.0 + byte(offset + 2)
        + byte(offset + 1) * 0.00390625 + byte(offset) * 0.0000152587890625;
}

std::string DataFileReader::text(IdField field) const
{
    const IdFieldLayout& layout = fieldLayout(field);
    const std::size_t width = layout.width == kUnboundedWidth ? kMaxControllerNumberLength : layout.width;
    if (layout.offset >= bytes_.size())
        return {};
    const std::size_t available = std::min(width, bytes_.size() - layout.offset);
    const auto* begin = bytes_.data() + layout.offset;
    const auto* end = std::find(begin, begin + available, std::uint8_t {0});
    return std::string(reinterpret_cast<const char*>(begin), static_cast<std::size_t>(end - begin));
}

Identification DataFileReader::identification() const
{
    Identification id;
    for (const IdFieldLayout& layout : identificationFields())
        id[layout.field] = text(layout.field);
    return id;
}

std::uint32_t DataFileReader::computedChecksum() const
{
    return imageChecksum(bytes_.data(), bytes_.size());
}

std::uint32_t DataFileReader::storedChecksum() const
{
    return imageStoredChecksum(bytes_.data(), bytes_.size());
}

std::uint32_t imageChecksum(const std::uint8_t* image, std::size_t size)
{
    const std::size_t n = std::min(size, kChecksumCoveredSize);
    // Eight bytes at a time, in four 16-bit lanes per word; a lane takes at
    // most 2 * 255 per word, so 128 words fit before the lanes are emptied.
    constexpr std::uint64_t kEvenBytes = 0x00FF00FF00FF00FFull;
    std::uint32_t sum = 0;
    std::size_t i = 0;
    while (n - i >= 8) {
        std::uint64_t lanes = 0;
        const std::size_t words = std::min<std::size_t>((n - i) / 8, 128);
        for (std::size_t w = 0; w < words; ++w, i += 8) {
            std::uint64_t x;
            std::memcpy(&x, image + i, 8);
            lanes += (x & kEvenBytes) + ((x >> 8) & kEvenBytes);
        }
        for (int lane = 0; lane < 4; ++lane)
            sum += static_cast<std::uint32_t>((lanes >> (16 * lane)) & 0xFFFF);
    }
    for (; i < n; ++i)
        sum += image[i];
    return sum;
}

std::uint32_t imageStoredChecksum(const std::uint8_t* image, std::size_t size)
{
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < 4 && kChecksumOffset + i < size; ++i)
        sum |= static_cast<std::uint32_t>(image[kChecksumOffset + i]) << (8 * i);
    return sum;
}

}  // namespace nkp::recorder
