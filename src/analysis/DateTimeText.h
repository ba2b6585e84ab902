#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Dates and times of frames as the window shows them.
namespace nkp::analysis {

// A moment to the second, ordered.
struct DateTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    auto operator<=>(const DateTime&) const = default;
};

// "dd.mm.yyyy hh:mm:ss" read day first; nothing when the texts do not form a
// real moment (day or month "00", 31 April, 29 February of a common year, a
// field of three characters). A text without its time part is midnight.
std::optional<DateTime> parseDateTime(std::string_view dateText, std::string_view timeText);
std::optional<DateTime> parseDateTime(std::string_view dateTimeText);

// Whether day, month and year name a day of the calendar.
bool isRealDate(int year, int month, int day);

// "dd.mm.yyyy hh:mm:ss", or "dd.mm.yyyy" when the time is exactly 00:00:00.
std::string dateTimeText(const DateTime& moment);

}  // namespace nkp::analysis
