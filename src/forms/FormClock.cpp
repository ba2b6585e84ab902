#include "forms/FormClock.h"

#include <cstdio>
#include <ctime>

namespace nkp::forms {

FormMoment systemMoment()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min};
}

std::string documentStamp(const FormMoment& m)
{
    // Every field is reduced to its two digits, so the text is always 14 characters.
    auto two = [](int v) { return ((v % 100) + 100) % 100; };
    char text[32];
    std::snprintf(text, sizeof text, "%02d.%02d.%02d %02d-%02d", two(m.day), two(m.month), two(m.year),
                  two(m.hour), two(m.minute));
    return text;
}

}  // namespace nkp::forms
