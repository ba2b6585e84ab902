#include "analysis/FrameTableText.h"

#include "analysis/FrameFieldTexts.h"

namespace nkp::analysis {

std::array<std::string, kFrameTableRows> frameColumnTexts(
    const recorder::TFrameRecord& r, int position, char sep)
{
    std::array<std::string, kFrameTableRows> t;
    if (!r.isOk())
        return t;
    FrameNumberTexts n = frameNumberTexts(r, sep);
    t[0] = std::to_string(position);
    t[1] = frameDateText(r);
    t[2] = frameTimeText(r);
    t[3] = std::move(n.boomAngle);
    t[4] = std::move(n.boomLength);
    t[5] = std::move(n.radius);
    t[6] = std::move(n.pressure);
    t[7] = std::move(n.loadMass);
    t[8] = std::move(n.azimuth);
    t[9] = std::to_string(r.LoadPercent);
    t[10] = reevingModeText(r);
    t[11] = bitText(r.DiscreteInputs);
    t[12] = bitText(r.OutputRelays);
    t[13] = bitText(r.Limits);
    t[14] = faultCodeText(r);
    t[15] = statusText(r.Status);
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

}  // namespace nkp::analysis
