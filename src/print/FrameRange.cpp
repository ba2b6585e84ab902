#include "print/FrameRange.h"

#include "analysis/Selection.h"
#include "recorder/DataFileLayout.h"

namespace nkp::print {

std::optional<int> parseFrameNumber(const QString& text)
{
    QStringView t = QStringView(text).trimmed();
    bool negative = false;
    if (!t.isEmpty() && (t[0] == QLatin1Char('+') || t[0] == QLatin1Char('-'))) {
        negative = t[0] == QLatin1Char('-');
        t = t.mid(1);
    }
    // Any character beyond Latin-1 becomes '?', which is no digit.
    const std::optional<long long> value = analysis::parseEditNumber(t.toLatin1().toStdString());
    if (!value)
        return std::nullopt;
    if (negative)
        return 0;  // below the first record
    // Every value past the last record is limited to it.
    constexpr long long kLast = static_cast<long long>(recorder::kFrameCount) - 1;
    return static_cast<int>(*value > kLast ? kLast : *value);
}

std::optional<FrameRange> parseFrameRange(const QString& home, const QString& end)
{
    const auto first = parseFrameNumber(home);
    const auto last = parseFrameNumber(end);
    if (!first || !last)
        return std::nullopt;
    return FrameRange {*first, *last};
}

}  // namespace nkp::print
