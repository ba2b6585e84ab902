#pragma once

#include "base/DateTime.h"

// Calendar months: a due date lies whole months after an examination.
namespace nkp::base {

// The number of days of the month (28..31); 0 for a month outside 1..12.
int daysInMonth(int year, int month);

// The day `months` calendar months after (before, when negative) `day`, the
// day of the month clamped to the target month's end (31.01 + 1 = 28.02 or
// 29.02); the time of day is kept.
DateTime addMonths(const DateTime& day, int months);

}  // namespace nkp::base
