#include "report/ReportClock.h"

#include <cstdio>
#include <ctime>

namespace nkp::report {

ReportDateTime systemLocalTime()
{
    const std::time_t now = std::time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min};
}

std::string dateText(const ReportDateTime& when)
{
    char text[32];
    std::snprintf(text, sizeof text, "%02d.%02d.%04d", when.day, when.month, when.year);
    return text;
}

std::string timeText(const ReportDateTime& when)
{
    // The Russian locale's time separator; Linux has no per-user override.
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d", when.hour, when.minute);
    return text;
}

}  // namespace nkp::report
