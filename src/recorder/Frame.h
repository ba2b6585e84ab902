#pragma once

#include "base/DateTime.h"
#include "recorder/DataFileLayout.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <optional>

// One frame: the recorder's 24-byte record of the crane's working parameters
// at one moment, and its decoded form.
namespace nkp::recorder {

using FrameBytes = std::array<std::uint8_t, kFrameSize>;

// A record is cleared until a frame is decoded into it; a frame that fails
// its check (or that the file does not hold whole) leaves it broken.
enum class FrameStatus : std::uint8_t { Cleared, Ok, Broken };

// One BCD field of the frame's clock as the recorder's digits read: the tens
// digit followed by the units digit. A units nibble above 9 is written as
// its two-digit decimal, so the field becomes three digits wide (a units
// nibble of 12 after a tens of 3 reads as 312); a value above the field's
// maximum reads as the field's replacement (0 for times, 1 for dates).
struct ClockField {
    std::uint16_t value = 0;
    bool wide = false;  // three digits
};

// The clock of a frame: second, minute, hour, day, month.
struct FrameClock {
    ClockField second, minute, hour, day, month;
    // No field is three digits wide, and the day is a day of `year`.
    bool real(int year) const
    {
        if (second.wide || minute.wide || hour.wide || day.wide || month.wide)
            return false;
        // Every month has its first 28 days (the fields are never above 31 and 12).
        if (day.value >= 1 && day.value <= 28 && month.value >= 1)
            return true;
        return base::isRealDate(year, month.value, day.value);
    }
    // A number that orders the clocks of one year as their moments.
    std::int64_t orderKey() const
    {
        return (((std::int64_t {month.value} * 32 + day.value) * 32 + hour.value) * 64 + minute.value) * 64
            + second.value;
    }
};

// The limits byte: bits 0..3 entered, bits 4..7 tripped (wall, ceiling,
// left, right).
inline constexpr std::uint8_t kLimitsEnteredMask = 0x0F;

// The decoded frame.
struct TFrameRecord {
    std::int32_t Number = 0;  // index of the frame in the file
    FrameStatus Status = FrameStatus::Cleared;
    std::array<std::uint8_t, 5> ClockBytes {};  // bytes 0..4: second, minute, hour, day, month
    std::int16_t Year = 0;                      // of the read-out's frames; 0 when the file lacks it
    float BoomLength = 0;                       // m
    float BoomAngle = 0;                        // degrees
    float Pressure = 0;                         // atm
    float Azimuth = 0;                          // degrees
    float Radius = 0;                           // m
    float LoadMass = 0;                         // t
    std::uint8_t DiscreteInputs = 0;
    std::uint8_t OutputRelays = 0;
    std::uint8_t ReevingMode = 0;  // reeving in the high nibble, mode in the low one
    std::uint8_t Limits = 0;       // see kLimitsEnteredMask
    std::uint8_t FaultCode = 0;    // 0: no fault
    std::int32_t LoadPercent = 0;

    bool isOk() const { return Status == FrameStatus::Ok; }
    bool isBroken() const { return Status == FrameStatus::Broken; }
    FrameClock clock() const;
    // The moment of the frame's date and time; none when they are no real
    // moment or the year is not known. (Computed, not stored: a record of the
    // store stays small, and loading dates 11000 of them.)
    std::optional<base::DateTime> moment() const;
    bool operator==(const TFrameRecord&) const = default;
};

// The check byte a frame with these first 23 bytes must carry. (Inline:
// loading checks 11000 frames at a time.)
inline std::uint8_t frameCheckByte(FrameSpan frame)
{
    // The loader checks 11000 frames at a time: eight bytes at once where the
    // byte order allows it.
    if constexpr (std::endian::native == std::endian::little) {
        std::uint64_t w[3];
        std::memcpy(w, frame.data(), sizeof w);
        w[2] &= 0x00FFFFFFFFFFFFFFu;  // without byte 23, the check byte itself
        constexpr std::uint64_t kEven = 0x00FF00FF00FF00FFu;
        std::uint64_t pairs = 0;
        for (const std::uint64_t word : w)
            pairs += (word & kEven) + (word >> 8 & kEven);
        return static_cast<std::uint8_t>(~((pairs * 0x0001000100010001u) >> 48));
    }
    unsigned sum = 0;
    for (std::size_t i = 0; i < kFrameSize - 1; ++i)
        sum += frame[i];
    return static_cast<std::uint8_t>(~sum);
}

// True when byte 23 is the complement of the 8-bit sum of bytes 0..22.
inline bool frameValid(FrameSpan frame)
{
    return frameCheckByte(frame) == frame[kFrameSize - 1];
}

namespace detail {

constexpr ClockField clockField(std::uint8_t byte, unsigned tensBits, unsigned max, unsigned replacement)
{
    const unsigned tens = (byte >> 4) & ((1u << tensBits) - 1u);
    const unsigned units = byte & 0x0Fu;
    const bool wide = units >= 10;
    const unsigned value = tens * (wide ? 100 : 10) + units;
    if (value > max)
        return {static_cast<std::uint16_t>(replacement), false};
    return {static_cast<std::uint16_t>(value), wide};
}

// The fields of all 256 byte values, built at compile time.
struct ClockTables {
    std::array<ClockField, 256> minuteOrSecond {}, hour {}, day {}, month {};
    constexpr ClockTables()
    {
        for (unsigned b = 0; b < 256; ++b) {
            const auto byte = static_cast<std::uint8_t>(b);
            minuteOrSecond[b] = clockField(byte, 3, 59, 0);
            hour[b] = clockField(byte, 2, 23, 0);
            day[b] = clockField(byte, 2, 31, 1);
            month[b] = clockField(byte, 1, 12, 1);
        }
    }
};
inline constexpr ClockTables kClockTables;

// The order key of FrameClock packed field by field: second in bits 0..5,
// minute 6..11, hour 12..16, day 17..21, month 22..25; kWideKey marks a
// three-digit field. One table per clock byte, so that a frame's key is the
// OR of five look-ups.
inline constexpr std::uint32_t kWideKey = 1u << 31;
struct OrderKeyTables {
    std::array<std::array<std::uint32_t, 256>, 5> part {};
    constexpr OrderKeyTables()
    {
        constexpr unsigned shift[] = {0, 6, 12, 17, 22};
        for (unsigned b = 0; b < 256; ++b) {
            const ClockField fields[] = {kClockTables.minuteOrSecond[b], kClockTables.minuteOrSecond[b],
                kClockTables.hour[b], kClockTables.day[b], kClockTables.month[b]};
            for (std::size_t k = 0; k < 5; ++k)
                part[k][b] = fields[k].wide ? kWideKey : std::uint32_t {fields[k].value} << shift[k];
        }
    }
};
inline constexpr OrderKeyTables kOrderKeyTables;

}  // namespace detail

// FrameClock::orderKey() of the clock in a frame's first five bytes when
// FrameClock::real(year) holds; -1 when it does not. (Inline and without a
// FrameClock: loading and the fleet weigh 11000 clocks at a time.)
inline std::int64_t realOrderKey(const std::uint8_t* b, int year)
{
    const auto& part = detail::kOrderKeyTables.part;
    const std::uint32_t key = part[0][b[0]] | part[1][b[1]] | part[2][b[2]] | part[3][b[3]] | part[4][b[4]];
    if (key & detail::kWideKey)
        return -1;
    const int day = static_cast<int>(key >> 17 & 31u);
    const int month = static_cast<int>(key >> 22 & 15u);
    // Every month has its first 28 days (the fields are never above 31 and 12).
    if ((day < 1 || day > 28 || month < 1) && !base::isRealDate(year, month, day))
        return -1;
    return key;
}

// The clock of a frame's five time bytes. (Inline: loading and the fleet
// read the clocks of 11000 frames at a time.)
inline FrameClock frameClock(const std::uint8_t* b)
{
    const detail::ClockTables& t = detail::kClockTables;
    return {t.minuteOrSecond[b[0]], t.minuteOrSecond[b[1]], t.hour[b[2]], t.day[b[3]], t.month[b[4]]};
}

// The year of the frames from the read-out's year byte: a digit above 9
// counts as 0.
int frameYear(std::uint8_t yearByte);

// The few fields of a frame that passes over many read-outs need, read
// straight from its bytes (the decoder reads them the same way).
class FrameView {
public:
    explicit FrameView(FrameSpan frame)
        : f_(frame)
    {
    }
    FrameClock clock() const { return frameClock(f_.data()); }
    int loadPercent() const { return f_[21]; }

private:
    FrameSpan f_;
};

// Puts `record` into the cleared state for the record at `index`.
void clearRecord(TFrameRecord& record, std::int32_t index);

// Decodes a valid frame into `record`, dated in `year` (0: the year is not
// known, and the frame has no moment). (Inline: loading decodes 11000
// frames at a time.)
inline void decodeFrame(FrameSpan f, std::int32_t index, int year, TFrameRecord& r)
{
    const auto word = [f](std::size_t at) { return static_cast<std::uint16_t>(f[at] | f[at + 1] << 8); };
    r.Number = index;
    r.Status = FrameStatus::Ok;
    for (std::size_t i = 0; i < r.ClockBytes.size(); ++i)
        r.ClockBytes[i] = f[i];
    r.Year = static_cast<std::int16_t>(year);
    r.BoomLength = static_cast<float>(word(5) * 0.01);
    r.BoomAngle = static_cast<float>((f[7] | (f[8] & 0x03) << 8) * 0.1);
    r.Pressure = static_cast<float>(word(9) * 0.1);
    r.Azimuth = static_cast<float>(word(11) * 0.1);
    r.Radius = static_cast<float>(word(13) * 0.01);
    r.LoadMass = static_cast<float>(word(15) * 0.01);
    r.DiscreteInputs = f[17];
    r.OutputRelays = f[18];
    r.ReevingMode = f[19];
    r.Limits = f[20];
    r.LoadPercent = FrameView(f).loadPercent();
    r.FaultCode = f[22];
}

// The moment a frame's clock names in `year`, or none.
std::optional<base::DateTime> frameMoment(const FrameClock& clock, int year);

}  // namespace nkp::recorder
