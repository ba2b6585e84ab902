#include "analysis/DateTimeText.h"

#include <cstdio>

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

bool leapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month)
{
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && leapYear(year) ? 29 : days[month - 1];
}

}  // namespace

bool isRealDate(int year, int month, int day)
{
    return year >= 1 && month >= 1 && month <= 12 && day >= 1 && day <= daysInMonth(year, month);
}

std::optional<DateTime> parseDateTime(std::string_view date, std::string_view time)
{
    // Fixed widths: a field widened by a nibble above 9 changes the length.
    if (date.size() != 10 || date[2] != '.' || date[5] != '.')
        return std::nullopt;
    DateTime m;
    m.day = twoDigits(date, 0);
    m.month = twoDigits(date, 3);
    const int century = twoDigits(date, 6);
    const int yy = twoDigits(date, 8);
    if (m.day < 1 || m.month < 1 || m.month > 12 || century < 0 || yy < 0)
        return std::nullopt;
    m.year = century * 100 + yy;
    if (m.year < 1 || m.day > daysInMonth(m.year, m.month))
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

std::optional<DateTime> parseDateTime(std::string_view text)
{
    if (text.size() == 10)
        return parseDateTime(text, {});
    if (text.size() != 19 || text[10] != ' ')
        return std::nullopt;
    return parseDateTime(text.substr(0, 10), text.substr(11));
}

std::string dateTimeText(const DateTime& m)
{
    char buf[64];
    int n = 0;
    if (m.hour == 0 && m.minute == 0 && m.second == 0)
        n = std::snprintf(buf, sizeof buf, "%02d.%02d.%04d", m.day, m.month, m.year);
    else
        n = std::snprintf(buf, sizeof buf, "%02d.%02d.%04d %02d:%02d:%02d", m.day, m.month, m.year, m.hour,
            m.minute, m.second);
    return std::string(buf, n > 0 ? static_cast<std::size_t>(n) : 0);
}

}  // namespace nkp::analysis
