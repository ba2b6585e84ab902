#pragma once

#include <functional>
#include <string>

namespace nkp::forms {

// The local moment that stamps a document name, to the minute.
struct FormMoment {
    int year = 2000, month = 1, day = 1, hour = 0, minute = 0;
};

using FormClock = std::function<FormMoment()>;

// The system's local time.
FormMoment systemMoment();

// "dd.mm.yy hh-mm": two-digit day, month, year, 24-hour hour and minutes.
std::string documentStamp(const FormMoment& moment);

}  // namespace nkp::forms
