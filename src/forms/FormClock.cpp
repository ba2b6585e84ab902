#include "forms/FormClock.h"

#include <cstdio>

namespace nkp::forms {

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
