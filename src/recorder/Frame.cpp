#include "recorder/Frame.h"

#include <cstring>

namespace nkp::recorder {
namespace {

std::uint16_t word(const FrameBytes& f, std::size_t at)
{
    return static_cast<std::uint16_t>(f[at] | f[at + 1] << 8);
}

// Appends the decimal text of a nibble (one or two characters).
char* putNibble(char* out, unsigned value)
{
    if (value >= 10)
        *out++ = '1';
    *out++ = static_cast<char>('0' + value % 10);
    return out;
}

// Appends a BCD field, or `replacement` when its value, read as a number,
// is above `max`. The value read from the digit text: tens digit text
// followed by units digit text, so a units nibble of 12 after a tens of 3
// reads as 312.
char* putLimitedPair(char* out, std::uint8_t byte, unsigned tensBits, unsigned max, const char* replacement)
{
    const unsigned tens = (byte >> 4) & ((1u << tensBits) - 1u);
    const unsigned units = byte & 0x0Fu;
    const unsigned value = tens * (units >= 10 ? 100 : 10) + units;
    if (value > max) {
        *out++ = replacement[0];
        *out++ = replacement[1];
        return out;
    }
    return putNibble(putNibble(out, tens), units);
}

// Replaces a short text in place: the record's texts fit the string's own
// buffer, so this never allocates, and the usual widths copy with constant
// sizes that the compiler inlines (the loader decodes 11000 frames at a time).
inline void setText(std::string& text, const char* chars, std::size_t length)
{
    if (text.size() != length)
        text.resize(length);
    char* out = text.data();
    switch (length) {
    case 3:
        std::memcpy(out, chars, 3);
        break;
    case 5:
        std::memcpy(out, chars, 5);
        break;
    case 6:
        std::memcpy(out, chars, 6);
        break;
    case 8:
        std::memcpy(out, chars, 8);
        break;
    default:
        std::memcpy(out, chars, length);
        break;
    }
}

void setText(std::string& text, std::string_view chars)
{
    setText(text, chars.data(), chars.size());
}

// The bit texts of all 256 bytes, built once.
struct BitTexts {
    char text[256][8];
    constexpr BitTexts()
        : text {}
    {
        for (int byte = 0; byte < 256; ++byte)
            for (int k = 0; k < 8; ++k)
                text[byte][k] = (byte & (0x80 >> k)) ? '1' : '0';
    }
};
constexpr BitTexts kBitTexts;

void setBitText(std::string& text, std::uint8_t byte)
{
    setText(text, kBitTexts.text[byte], 8);
}

}  // namespace

std::uint8_t frameCheckByte(const FrameBytes& frame)
{
    std::uint8_t sum = 0;
    for (std::size_t i = 0; i < kFrameSize - 1; ++i)
        sum = static_cast<std::uint8_t>(sum + frame[i]);
    return static_cast<std::uint8_t>(~sum);
}

bool frameValid(const FrameBytes& frame)
{
    return frameCheckByte(frame) == frame[kFrameSize - 1];
}

void clearRecord(TFrameRecord& r, std::int32_t index)
{
    r.Number = index;
    setText(r.Date, "01.01.1999");
    setText(r.Time, "00:00:00");
    r.BoomLength = r.BoomAngle = r.Pressure = r.Azimuth = r.Radius = r.LoadMass = 0;
    setText(r.DiscreteInputs, "00000000");
    setText(r.OutputRelays, "00000000");
    setText(r.Limits, "00000000");
    r.ReevingMode.clear();
    r.LoadPercent = 0;
    setText(r.FaultCode, "0");
    r.Status.clear();
}

std::string bitText(std::uint8_t byte)
{
    std::string text;
    setBitText(text, byte);
    return text;
}

void decodeFrame(const FrameBytes& f, std::int32_t index, TFrameRecord& r)
{
    setText(r.Status, kStatusOk);
    r.Number = index;
    // Written into fixed buffers: the loader decodes 11000 frames at a time.
    char buf[16];
    char* p = putLimitedPair(buf, f[2], 2, 23, "00");
    *p++ = ':';
    p = putLimitedPair(p, f[1], 3, 59, "00");
    *p++ = ':';
    p = putLimitedPair(p, f[0], 3, 59, "00");
    setText(r.Time, buf, static_cast<std::size_t>(p - buf));
    p = putLimitedPair(buf, f[3], 2, 31, "01");
    *p++ = '.';
    p = putLimitedPair(p, f[4], 1, 12, "01");
    *p++ = '.';
    setText(r.Date, buf, static_cast<std::size_t>(p - buf));
    r.BoomLength = static_cast<float>(word(f, 5) * 0.01);
    r.BoomAngle = static_cast<float>((f[7] | (f[8] & 0x03) << 8) * 0.1);
    r.Pressure = static_cast<float>(word(f, 9) * 0.1);
    r.Azimuth = static_cast<float>(word(f, 11) * 0.1);
    r.Radius = static_cast<float>(word(f, 13) * 0.01);
    r.LoadMass = static_cast<float>(word(f, 15) * 0.01);
    setBitText(r.DiscreteInputs, f[17]);
    setBitText(r.OutputRelays, f[18]);
    p = putNibble(buf, f[19] >> 4u);
    *p++ = ' ';
    p = putNibble(p, f[19] & 0x0Fu);
    setText(r.ReevingMode, buf, static_cast<std::size_t>(p - buf));
    setBitText(r.Limits, f[20]);
    r.LoadPercent = f[21];
    buf[0] = 'E';
    p = putNibble(putNibble(buf + 1, f[22] >> 4u), f[22] & 0x0Fu);
    setText(r.FaultCode, buf, static_cast<std::size_t>(p - buf));
}

}  // namespace nkp::recorder
