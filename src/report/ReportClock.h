#pragma once

#include <functional>
#include <string>

// The local date and time that "#DATE#" and "#TIME#" write. Injectable so
// that a report made at a given moment can be reproduced.
namespace nkp::report {

struct ReportDateTime {
    int year = 2000;
    int month = 1;  // 1..12
    int day = 1;    // 1..31
    int hour = 0;   // 0..23
    int minute = 0;
};

using ReportClock = std::function<ReportDateTime()>;

// The system's local time.
ReportDateTime systemLocalTime();

// "dd.mm.yyyy" and "hh:mm".
std::string dateText(const ReportDateTime& when);
std::string timeText(const ReportDateTime& when);

}  // namespace nkp::report
