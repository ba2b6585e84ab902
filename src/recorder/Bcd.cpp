#include "recorder/Bcd.h"

#include "base/DateTime.h"
#include "recorder/Frame.h"

namespace nkp::recorder {
namespace {

void appendNibble(std::string& out, unsigned value)
{
    if (value >= 10)
        out += static_cast<char>('0' + value / 10);
    out += static_cast<char>('0' + value % 10);
}

}  // namespace

std::string bcdPairText(std::uint8_t byte, unsigned tensBits)
{
    std::string out;
    appendNibble(out, (byte >> 4) & ((1u << tensBits) - 1u));
    appendNibble(out, byte & 0x0Fu);
    return out;
}

int bcdPairValue(std::uint8_t byte, unsigned tensBits)
{
    const unsigned tens = (byte >> 4) & ((1u << tensBits) - 1u);
    const unsigned units = byte & 0x0Fu;
    return tens > 9 || units > 9 ? -1 : static_cast<int>(tens * 10 + units);
}

std::string bcdDateText(const std::uint8_t* d)
{
    return bcdPairText(d[0], 2) + '.' + bcdPairText(d[1], 1) + ".20" + bcdPairText(d[2], 4);
}

std::string bcdStampText(const std::uint8_t* s)
{
    return bcdPairText(s[1], 2) + ':' + bcdPairText(s[0], 3) + ' ' + bcdPairText(s[2], 2) + '.'
        + bcdPairText(s[3], 1) + ".20" + bcdPairText(s[4], 4);
}

std::string frameYearText(std::uint8_t yearByte)
{
    return base::zeroPadded(frameYear(yearByte) - 2000, 2);
}

}  // namespace nkp::recorder
