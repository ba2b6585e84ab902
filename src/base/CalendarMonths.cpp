#include "base/CalendarMonths.h"

#include <algorithm>

namespace nkp::base {

int daysInMonth(int year, int month)
{
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && isRealDate(year, 2, 29) ? 29 : days[month - 1];
}

DateTime addMonths(const DateTime& day, int months)
{
    const long long index = static_cast<long long>(day.year) * 12 + (day.month - 1) + months;
    DateTime out = day;
    out.year = static_cast<int>(index >= 0 ? index / 12 : (index - 11) / 12);
    out.month = static_cast<int>(index - static_cast<long long>(out.year) * 12) + 1;
    out.day = std::min(day.day, daysInMonth(out.year, out.month));
    return out;
}

}  // namespace nkp::base
