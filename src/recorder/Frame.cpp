#include "recorder/Frame.h"

#include "recorder/Bcd.h"

namespace nkp::recorder {
namespace {

std::uint16_t word(const FrameBytes& f, std::size_t at)
{
    return static_cast<std::uint16_t>(f[at] | f[at + 1] << 8);
}

// A BCD field whose value above `max` is replaced by `replacement`.
std::string limitedPair(std::uint8_t byte, unsigned tensBits, int max, const char* replacement)
{
    std::string text = bcdPairText(byte, tensBits);
    return std::stoi(text) > max ? std::string(replacement) : text;
}

std::string nibbleText(unsigned value)
{
    return std::to_string(value);
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
    r.Date = "01.01.1999";
    r.Time = "00:00:00";
    r.BoomLength = r.BoomAngle = r.Pressure = r.Azimuth = r.Radius = r.LoadMass = 0;
    r.DiscreteInputs = r.OutputRelays = r.Limits = "00000000";
    r.ReevingMode.clear();
    r.LoadPercent = 0;
    r.FaultCode = "0";
    r.Status.clear();
}

std::string bitText(std::uint8_t byte)
{
    std::string text(8, '0');
    for (int k = 0; k < 8; ++k)
        if (byte & (0x80 >> k))
            text[static_cast<std::size_t>(k)] = '1';
    return text;
}

void decodeFrame(const FrameBytes& f, std::int32_t index, TFrameRecord& r)
{
    r.Status = kStatusOk;
    r.Number = index;
    r.Time = limitedPair(f[2], 2, 23, "00") + ':' + limitedPair(f[1], 3, 59, "00") + ':'
        + limitedPair(f[0], 3, 59, "00");
    r.Date = limitedPair(f[3], 2, 31, "01") + '.' + limitedPair(f[4], 1, 12, "01") + '.';
    r.BoomLength = static_cast<float>(word(f, 5) * 0.01);
    r.BoomAngle = static_cast<float>((f[7] | (f[8] & 0x03) << 8) * 0.1);
    r.Pressure = static_cast<float>(word(f, 9) * 0.1);
    r.Azimuth = static_cast<float>(word(f, 11) * 0.1);
    r.Radius = static_cast<float>(word(f, 13) * 0.01);
    r.LoadMass = static_cast<float>(word(f, 15) * 0.01);
    r.DiscreteInputs = bitText(f[17]);
    r.OutputRelays = bitText(f[18]);
    r.ReevingMode = nibbleText(f[19] >> 4) + ' ' + nibbleText(f[19] & 0x0Fu);
    r.Limits = bitText(f[20]);
    r.LoadPercent = f[21];
    r.FaultCode = 'E' + nibbleText(f[22] >> 4) + nibbleText(f[22] & 0x0Fu);
}

}  // namespace nkp::recorder
