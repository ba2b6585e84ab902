#include "base/DateTime.h"

#include <charconv>

namespace nkp::base {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

bool leapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// Days from 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

// Floor division, so that a moment before midnight falls on the day before.
std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    return a / b - (a % b != 0 && (a < 0) != (b < 0));
}

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

double minuteSortKey(const DateTime& m)
{
    return ((m.year * 100.0 + m.month) * 100.0 + m.day) * 10000.0 + m.hour * 100.0 + m.minute;
}

bool isRealDate(int year, int month, int day)
{
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || month < 1 || month > 12 || day < 1)
        return false;
    return day <= (month == 2 && leapYear(year) ? 29 : days[month - 1]);
}

std::int64_t daysSinceEpoch(const DateTime& m)
{
    return daysFromCivil(m.year, static_cast<unsigned>(m.month), static_cast<unsigned>(m.day));
}

DateTime dateOfDay(std::int64_t z)
{
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    DateTime out;
    out.year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2));
    out.month = static_cast<int>(m);
    out.day = static_cast<int>(d);
    return out;
}

DateTime addSeconds(const DateTime& m, std::int64_t seconds)
{
    const std::int64_t total
        = daysSinceEpoch(m) * kSecondsPerDay + m.hour * 3600 + m.minute * 60 + m.second + seconds;
    const std::int64_t day = floorDiv(total, kSecondsPerDay);
    const auto inDay = static_cast<int>(total - day * kSecondsPerDay);
    DateTime out = dateOfDay(day);
    out.hour = inDay / 3600;
    out.minute = inDay / 60 % 60;
    out.second = inDay % 60;
    return out;
}

std::string zeroPadded(long long value, int width)
{
    char digits[24];
    const unsigned long long magnitude
        = value < 0 ? 0ull - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
    const auto end = std::to_chars(digits, digits + sizeof digits, magnitude).ptr;
    const auto count = static_cast<int>(end - digits);
    std::string out;
    if (value < 0)
        out.push_back('-');
    const int pad = width - count - (value < 0 ? 1 : 0);
    if (pad > 0)
        out.append(static_cast<std::size_t>(pad), '0');
    out.append(digits, end);
    return out;
}

std::string dateText(const DateTime& m)
{
    return zeroPadded(m.day, 2) + '.' + zeroPadded(m.month, 2) + '.' + zeroPadded(m.year, 4);
}

std::string timeText(const DateTime& m)
{
    return zeroPadded(m.hour, 2) + ':' + zeroPadded(m.minute, 2);
}

std::string timeTextWithSeconds(const DateTime& m)
{
    return timeText(m) + ':' + zeroPadded(m.second, 2);
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
    if (century < 0 || yy < 0)
        return std::nullopt;
    m.year = century * 100 + yy;
    if (!isRealDate(m.year, m.month, m.day))
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
    if (m.hour == 0 && m.minute == 0 && m.second == 0)
        return dateText(m);
    return dateText(m) + ' ' + timeTextWithSeconds(m);
}

std::string isoText(const DateTime& m)
{
    return std::to_string(m.year) + '-' + zeroPadded(m.month, 2) + '-' + zeroPadded(m.day, 2) + ' '
        + zeroPadded(m.hour, 2) + ':' + zeroPadded(m.minute, 2) + ':' + zeroPadded(m.second, 2);
}

std::optional<DateTime> parseIsoText(std::string_view t)
{
    if (t.size() != 19)
        return std::nullopt;
    DateTime m;
    int* fields[] = {&m.year, &m.month, &m.day, &m.hour, &m.minute, &m.second};
    const std::size_t starts[] = {0, 5, 8, 11, 14, 17};
    const std::size_t widths[] = {4, 2, 2, 2, 2, 2};
    for (int i = 0; i < 6; ++i) {
        const char* begin = t.data() + starts[i];
        if (std::from_chars(begin, begin + widths[i], *fields[i]).ec != std::errc())
            return std::nullopt;
    }
    return m;
}

}  // namespace nkp::base
