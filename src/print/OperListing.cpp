#include "print/OperListing.h"

#include "analysis/FrameFieldTexts.h"
#include "print/CardTexts.h"

#include <algorithm>

namespace nkp::print {

QString listingHeadColumns()
{
    return QStringLiteral("al\tL\tR\tP\tQ\tВых.рел.   К.З.   Дис.вх.  Реж.\tM\tErr\t     Дата,время");
}

QString listingHeadUnits()
{
    return QStringLiteral("град\tм\tм\tатм\tт");
}

std::string listingLine(const recorder::TFrameRecord& r, char sep)
{
    const analysis::FrameNumberTexts n = analysis::frameNumberTexts(r, sep);
    // Each field with the separator that stands before it.
    const std::pair<char, std::string> fields[] = {
        {'\0', n.boomAngle},
        {'\t', n.boomLength},
        {'\t', n.radius},
        {'\t', n.pressure},
        {'\t', n.loadMass},
        {'\t', analysis::bitText(r.OutputRelays)},
        {' ', analysis::bitText(r.Limits)},
        {' ', analysis::bitText(r.DiscreteInputs)},
        {' ', analysis::reevingModeText(r)},
        {'\t', std::to_string(r.LoadPercent)},
        {'\t', analysis::faultCodeText(r)},
        {'\t', analysis::frameDateText(r)},
        {' ', analysis::frameTimeText(r)},
    };
    std::string line;
    line.reserve(96);
    for (const auto& [separator, text] : fields) {
        if (separator != '\0')
            line += separator;
        line += text;
    }
    return line;
}

std::vector<QString> listingLines(const recorder::FrameStore& frames, FrameRange range, char sep)
{
    std::vector<QString> lines;
    if (frames.size() == 0)
        return lines;
    const int last = std::min(range.last, static_cast<int>(frames.size()) - 1);
    const int first = std::max(range.first, 0);
    if (last < first)
        return lines;
    lines.reserve(static_cast<std::size_t>(last - first + 1));
    for (int i = first; i <= last; ++i)
        lines.push_back(fromCp1251(listingLine(frames[static_cast<std::size_t>(i)], sep)));
    return lines;
}

}  // namespace nkp::print
