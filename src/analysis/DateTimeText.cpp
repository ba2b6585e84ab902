#include "analysis/DateTimeText.h"

namespace nkp::analysis {
namespace {

// Two decimal digits at `at`; -1 when they are not digits.
int twoDigits(std::string_view text, std::size_t at)
{
    const auto d0 = static_cast<unsigned>(text[at] - '0');
    const auto d1 = static_cast<unsigned>(text[at + 1] - '0');
    if (d0 > 9 || d1 > 9)
        return -1;
    return static_cast<int>(d0 * 10 + d1);
}

}  // namespace

std::optional<base::DateTime> parseDateTime(std::string_view date, std::string_view time)
{
    // Fixed widths: a field widened by a nibble above 9 changes the length.
    if (date.size() != 10 || date[2] != '.' || date[5] != '.')
        return std::nullopt;
    base::DateTime m;
    m.day = twoDigits(date, 0);
    m.month = twoDigits(date, 3);
    const int century = twoDigits(date, 6);
    const int yy = twoDigits(date, 8);
    if (century < 0 || yy < 0)
        return std::nullopt;
    m.year = century * 100 + yy;
    if (!base::isRealDate(m.year, m.month, m.day))
        return std::nullopt;
    if (time.empty())
        return m;
    if (time.size() != 8 || time[2] != ':' || time[5] != ':')
        return std::nullopt;
    m.hour = twoDigits(time, 0);
    m.minute = twoDigits(time, 3);
    m.second = twoDigits(time, 6);
    if (m.hour < 0 || m.hour > 23 || m.minute < 0 || m.minute > 59 || m.second < 0 || m.second > 59)
        return std::nullopt;
    return m;
}

std::optional<base::DateTime> parseDateTime(std::string_view text)
{
    if (text.size() == 10)
        return parseDateTime(text, {});
    if (text.size() != 19 || text[10] != ' ')
        return std::nullopt;
    return parseDateTime(text.substr(0, 10), text.substr(11));
}

std::string dateTimeText(const base::DateTime& m)
{
    if (m.hour == 0 && m.minute == 0 && m.second == 0)
        return base::dateText(m);
    return base::dateText(m) + ' ' + base::timeTextWithSeconds(m);
}

}  // namespace nkp::analysis
