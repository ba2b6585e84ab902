#pragma once

#include "report/ReportClock.h"

#include <string>

namespace nkp::forms {

// The local moment that stamps a document name, to the minute: the same
// clock that gives the engine its DATE and TIME fields.
using FormMoment = report::ReportDateTime;
using FormClock = report::ReportClock;

// The system's local time.
inline FormMoment systemMoment()
{
    return report::systemLocalTime();
}

// "dd.mm.yy hh-mm": two-digit day, month, year, 24-hour hour and minutes.
std::string documentStamp(const FormMoment& moment);

}  // namespace nkp::forms
