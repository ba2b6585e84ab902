#include "print/FrameRange.h"

#include "recorder/DataFileLayout.h"

namespace nkp::print {

std::optional<int> parseFrameNumber(const QString& text)
{
    const QString t = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-'))) {
        negative = t[i] == QLatin1Char('-');
        ++i;
    }
    if (i == t.size())
        return std::nullopt;
    constexpr long long kLast = static_cast<long long>(recorder::kFrameCount) - 1;
    long long value = 0;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        // Saturate: every value past the last record is limited to it anyway.
        if (value <= kLast)
            value = value * 10 + (c.unicode() - u'0');
    }
    if (negative)
        return 0;  // below the first record
    return static_cast<int>(value > kLast ? kLast : value);
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
