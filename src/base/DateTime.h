#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The one date-time type of the program: a local moment to the second, as
// the recorder stamps its frames and the clock gives it. No time zone.
namespace nkp::base {

struct DateTime {
    int year = 0, month = 0, day = 0;      // month 1..12, day 1..31
    int hour = 0, minute = 0, second = 0;  // 0..23, 0..59, 0..59
    auto operator<=>(const DateTime&) const = default;
};

// The moment to the minute as the number yyyymmddhhmm: sort keys of table
// columns, which order moments in time.
double minuteSortKey(const DateTime& moment);

// Whether day, month and year name a day of the (proleptic Gregorian) calendar.
bool isRealDate(int year, int month, int day);

// Days from 1 January 1970 to the moment's day; the time of day is ignored.
std::int64_t daysSinceEpoch(const DateTime& moment);
// The calendar day (at midnight) of a day count from 1 January 1970.
DateTime dateOfDay(std::int64_t day);
// The moment `seconds` later (earlier when negative), across days, months and years.
DateTime addSeconds(const DateTime& moment, std::int64_t seconds);

// `value` in decimal, zero-padded to `width` characters after any minus sign
// counts, as "%0*d" does it.
std::string zeroPadded(long long value, int width);

// "dd.mm.yyyy".
std::string dateText(const DateTime& moment);
// "hh:mm".
std::string timeText(const DateTime& moment);
// "hh:mm:ss".
std::string timeTextWithSeconds(const DateTime& moment);
// "dd.mm.yyyy hh:mm:ss", or "dd.mm.yyyy" when the time is exactly 00:00:00.
std::string dateTimeText(const DateTime& moment);

// "dd.mm.yyyy hh:mm:ss" read day first; nothing when the texts do not form a
// real moment (day or month "00", 31 April, 29 February of a common year, a
// field of three characters). A text without its time part is midnight.
std::optional<DateTime> parseDateTime(std::string_view dateText, std::string_view timeText);
std::optional<DateTime> parseDateTime(std::string_view dateTimeText);

// "yyyy-mm-dd hh:mm:ss": sorts as text, as a database column of moments holds it.
std::string isoText(const DateTime& moment);
// The moment of an isoText(); nothing for a text of another length or with a
// field that is no number.
std::optional<DateTime> parseIsoText(std::string_view text);

}  // namespace nkp::base
