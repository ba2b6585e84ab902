#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// Every offset, width and encoding of the recorder's data file (*.nkp). The
// file has no header or length field: each item lives at a fixed offset.
namespace nkp::recorder {

inline constexpr std::size_t kFrameCount = 11000;
inline constexpr std::size_t kFrameSize = 24;
// The 24 bytes of one frame where they lie (a FrameBytes, or a frame of a
// file's bytes in place).
using FrameSpan = std::span<const std::uint8_t, kFrameSize>;
inline constexpr std::size_t kFrameAreaSize = kFrameCount * kFrameSize;  // 264000
inline constexpr std::size_t kImageSize = 270336;       // memory image as the device delivers it
inline constexpr std::size_t kChecksumOffset = 264192;  // 32-bit sum of bytes 0..264191
inline constexpr std::size_t kChecksumCoveredSize = kChecksumOffset;
inline constexpr std::size_t kGapOffset = kImageSize;  // one zero byte
inline constexpr std::size_t kIdentificationOffset = 270337;

// Service area (offsets from the start of the file).
inline constexpr std::size_t kServiceAreaOffset = 264000;
inline constexpr std::size_t kServiceAreaSize = 192;
inline constexpr std::size_t kOperatingMinutesOffset = 264004;  // 24-bit
inline constexpr std::size_t kCycleCountersOffset = 264011;     // five 24-bit counters
inline constexpr std::size_t kCycleBandCount = 5;
inline constexpr std::size_t kCharacteristicOffset = 264026;  // 40-bit, 16 fraction bits
inline constexpr std::size_t kInstallDateOffset = 264066;     // 3-byte BCD date
inline constexpr std::size_t kOverloadStampsOffset = 264069;  // five 5-byte BCD stamps
inline constexpr std::size_t kOverloadStampCount = 5;
inline constexpr std::size_t kReadingStampsOffset = 264094;  // three 5-byte BCD stamps
inline constexpr std::size_t kReadingStampCount = 3;
inline constexpr std::size_t kStampSize = 5;
inline constexpr std::size_t kFrameYearOffset = 264109;   // BCD digit pair
inline constexpr std::size_t kLiftedMassOffset = 264110;  // 32-bit, 0.01 t

// The identification block, in the order the writer writes it.
enum class IdField : std::uint8_t {
    ServiceOrg,    // service organisation that read the recorder
    Operator,      // person who read it
    CertNumber,    // that person's certificate number
    CertValidity,  // certificate valid until, "dd.mm.yyyy"
    ReadingDate,   // "dd.mm.yyyy hh:mm", written with its terminating zero
    CraneModel,
    CraneNumber,
    CraneYear,
    NormGroup,  // "А1".."А8" (Cyrillic А)
    CraneMaker,
    CraneOwner,
    LimiterModel,
    LimiterNumber,
    ControllerNumber,  // runs to the end of the file
};
inline constexpr std::size_t kIdFieldCount = 14;

struct IdFieldLayout {
    IdField field;
    std::size_t offset;
    std::size_t width;      // bytes the field may hold; the controller number has no limit
    bool zeroTerminated;    // the writer adds a zero after the text (reading date only)
    std::string_view name;  // plain English name for messages and tests
};

inline constexpr std::size_t kUnboundedWidth = static_cast<std::size_t>(-1);

// The one table of identification fields that both the reader and the writer use.
const std::array<IdFieldLayout, kIdFieldCount>& identificationFields();
const IdFieldLayout& fieldLayout(IdField field);

// The identification texts of one read-out, Windows-1251 bytes, indexed by IdField.
struct Identification {
    std::array<std::string, kIdFieldCount> texts;

    std::string& operator[](IdField f) { return texts[static_cast<std::size_t>(f)]; }
    const std::string& operator[](IdField f) const { return texts[static_cast<std::size_t>(f)]; }
    bool operator==(const Identification&) const = default;
};

}  // namespace nkp::recorder
