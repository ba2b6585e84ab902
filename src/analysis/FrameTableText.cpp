#include "analysis/FrameTableText.h"

#include "analysis/FrameFieldTexts.h"

namespace nkp::analysis {

std::string frameCellText(const recorder::TFrameRecord& r, int position, int row, char sep)
{
    if (!r.isOk())
        return {};
    switch (row) {
    case 0:
        return std::to_string(position);
    case 1:
        return frameDateText(r);
    case 2:
        return frameTimeText(r);
    case 3:
        return frameNumberText(r, FrameQuantity::BoomAngle, sep);
    case 4:
        return frameNumberText(r, FrameQuantity::BoomLength, sep);
    case 5:
        return frameNumberText(r, FrameQuantity::Radius, sep);
    case 6:
        return frameNumberText(r, FrameQuantity::Pressure, sep);
    case 7:
        return frameNumberText(r, FrameQuantity::LoadMass, sep);
    case 8:
        return frameNumberText(r, FrameQuantity::Azimuth, sep);
    case kLoadPercentRow:
        return std::to_string(r.LoadPercent);
    case 10:
        return reevingModeText(r);
    case 11:
        return bitText(r.DiscreteInputs);
    case 12:
        return bitText(r.OutputRelays);
    case 13:
        return bitText(r.Limits);
    case 14:
        return faultCodeText(r);
    case 15:
        return std::string(statusText(r.Status));
    default:
        return {};
    }
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

}  // namespace nkp::analysis
