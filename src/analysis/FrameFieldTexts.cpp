#include "analysis/FrameFieldTexts.h"

#include "analysis/NumberFormat.h"
#include "base/DateTime.h"

namespace nkp::analysis {
namespace {

void putField(std::string& out, recorder::ClockField f)
{
    out += base::zeroPadded(f.value, f.wide ? 3 : 2);
}

void putNibble(std::string& out, unsigned value)
{
    if (value >= 10)
        out += '1';
    out += static_cast<char>('0' + value % 10);
}

}  // namespace

FrameNumberTexts frameNumberTexts(const recorder::TFrameRecord& r, char sep)
{
    return {
        frameNumberText(r, FrameQuantity::BoomAngle, sep),
        frameNumberText(r, FrameQuantity::BoomLength, sep),
        frameNumberText(r, FrameQuantity::Radius, sep),
        frameNumberText(r, FrameQuantity::Pressure, sep),
        frameNumberText(r, FrameQuantity::LoadMass, sep),
        frameNumberText(r, FrameQuantity::Azimuth, sep),
    };
}

std::string frameNumberText(const recorder::TFrameRecord& r, FrameQuantity quantity, char sep)
{
    switch (quantity) {
    case FrameQuantity::BoomAngle:
        return formatFixed(r.BoomAngle, 1, sep);
    case FrameQuantity::BoomLength:
        return formatFixed(r.BoomLength, 2, sep);
    case FrameQuantity::Radius:
        return formatFixed(r.Radius, 2, sep);
    case FrameQuantity::Pressure:
        return formatFixed(r.Pressure, 1, sep);
    case FrameQuantity::LoadMass:
        return formatFixed(r.LoadMass, 2, sep);
    case FrameQuantity::Azimuth:
        return formatFixed(r.Azimuth, 1, sep);
    }
    return {};
}

std::string_view statusText(recorder::FrameStatus status)
{
    switch (status) {
    case recorder::FrameStatus::Ok:
        return kStatusOk;
    case recorder::FrameStatus::Broken:
        return kStatusBroken;
    case recorder::FrameStatus::Cleared:
        break;
    }
    return {};
}

std::string dayMonthText(const recorder::FrameClock& c)
{
    std::string out;
    putField(out, c.day);
    out += '.';
    putField(out, c.month);
    out += '.';
    return out;
}

std::string frameDateText(const recorder::TFrameRecord& r)
{
    if (!r.isOk())
        return "01.01.1999";
    if (r.Year == 0)
        return {};
    return dayMonthText(r.clock()) + base::zeroPadded(r.Year, 4);
}

std::string frameTimeText(const recorder::TFrameRecord& r)
{
    if (!r.isOk())
        return "00:00:00";
    const recorder::FrameClock c = r.clock();
    std::string out;
    putField(out, c.hour);
    out += ':';
    putField(out, c.minute);
    out += ':';
    putField(out, c.second);
    return out;
}

std::string frameDateTimeText(const recorder::TFrameRecord& r)
{
    return frameDateText(r) + ' ' + frameTimeText(r);
}

std::string bitText(std::uint8_t byte)
{
    std::string text(8, '0');
    for (int k = 0; k < 8; ++k)
        if (byte & (0x80 >> k))
            text[static_cast<std::size_t>(k)] = '1';
    return text;
}

std::string reevingModeText(const recorder::TFrameRecord& r)
{
    std::string out;
    if (!r.isOk())
        return out;
    putNibble(out, r.ReevingMode >> 4u);
    out += ' ';
    putNibble(out, r.ReevingMode & 0x0Fu);
    return out;
}

std::string faultCodeText(const recorder::TFrameRecord& r)
{
    if (!r.isOk())
        return "0";
    std::string out = "E";
    putNibble(out, r.FaultCode >> 4u);
    putNibble(out, r.FaultCode & 0x0Fu);
    return out;
}

}  // namespace nkp::analysis
