#include "print/OperListing.h"

#include "analysis/FrameFieldTexts.h"
#include "print/CardTexts.h"
#include "screen/LoadLogText.h"

#include <algorithm>
#include <numeric>

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

FrameRange listedRange(std::size_t storeSize, FrameRange range)
{
    return {std::max(range.first, 0), std::min(range.last, static_cast<int>(storeSize) - 1)};
}

std::vector<QString> listingLines(const recorder::FrameStore& frames, FrameRange range, char sep)
{
    const FrameRange listed = listedRange(frames.size(), range);
    std::vector<QString> lines;
    lines.reserve(static_cast<std::size_t>(listed.count()));
    for (int i = listed.first; i <= listed.last; ++i)
        lines.push_back(fromCp1251(listingLine(frames[static_cast<std::size_t>(i)], sep)));
    return lines;
}

QString listingFramesNote(FrameRange records, int ringStart)
{
    if (records.empty())
        return {};
    std::vector<int> indices(static_cast<std::size_t>(records.count()));
    std::iota(indices.begin(), indices.end(), records.first);
    return QStringLiteral("Кадры памяти РП: %1, в таблице кадров: %2")
        .arg(QString::fromStdString(screen::condensedIndices(indices)),
            QString::fromStdString(screen::condensedIndices(screen::tablePositions(indices, ringStart))));
}

}  // namespace nkp::print
