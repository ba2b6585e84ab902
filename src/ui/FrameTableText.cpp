#include "ui/FrameTableText.h"

#include "analysis/NumberFormat.h"

#include <limits>

namespace nkp::ui {

std::array<std::string, kFrameTableRows> frameColumnTexts(
    const recorder::TFrameRecord& r, int position, char sep)
{
    std::array<std::string, kFrameTableRows> t;
    if (!r.isOk())
        return t;
    using analysis::formatFixed;
    t[0] = std::to_string(position);
    t[1] = r.Date;
    t[2] = r.Time;
    t[3] = formatFixed(r.BoomAngle, 1, sep);
    t[4] = formatFixed(r.BoomLength, 2, sep);
    t[5] = formatFixed(r.Radius, 2, sep);
    t[6] = formatFixed(r.Pressure, 1, sep);
    t[7] = formatFixed(r.LoadMass, 2, sep);
    t[8] = formatFixed(r.Azimuth, 1, sep);
    t[9] = std::to_string(r.LoadPercent);
    t[10] = r.ReevingMode;
    t[11] = r.DiscreteInputs;
    t[12] = r.OutputRelays;
    t[13] = r.Limits;
    t[14] = r.FaultCode;
    t[15] = r.Status;
    return t;
}

LoadHighlight loadPercentHighlight(const std::string& cellText)
{
    if (cellText.empty())
        return LoadHighlight::None;
    // The cell holds a decimal integer, possibly negative in a hand-made file.
    std::size_t i = cellText[0] == '-' ? 1 : 0;
    if (i == cellText.size())
        return LoadHighlight::None;
    long long value = 0;
    for (; i < cellText.size(); ++i) {
        const char c = cellText[i];
        if (c < '0' || c > '9')
            return LoadHighlight::None;
        if (value < 1000)
            value = value * 10 + (c - '0');
    }
    if (cellText[0] == '-' || value < 90)
        return LoadHighlight::None;
    return value >= 100 ? LoadHighlight::Red : LoadHighlight::Yellow;
}

std::optional<long long> parseDigits(const std::string& text)
{
    if (text.empty())
        return std::nullopt;
    constexpr long long kCap = std::numeric_limits<long long>::max() / 10 - 10;
    long long value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        if (value < kCap)
            value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace nkp::ui
