#pragma once

#include "base/DateTime.h"

#include <optional>
#include <string>
#include <string_view>

// Dates and times of frames as the window shows them.
namespace nkp::analysis {

// "dd.mm.yyyy hh:mm:ss" read day first; nothing when the texts do not form a
// real moment (day or month "00", 31 April, 29 February of a common year, a
// field of three characters). A text without its time part is midnight.
std::optional<base::DateTime> parseDateTime(std::string_view dateText, std::string_view timeText);
std::optional<base::DateTime> parseDateTime(std::string_view dateTimeText);

// "dd.mm.yyyy hh:mm:ss", or "dd.mm.yyyy" when the time is exactly 00:00:00.
std::string dateTimeText(const base::DateTime& moment);

}  // namespace nkp::analysis
