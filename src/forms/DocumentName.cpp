#include "forms/DocumentName.h"

#include "forms/FormTexts.h"

#include <string_view>

namespace nkp::forms {

std::string fileNameSafe(const std::string& cp1251)
{
    constexpr std::string_view kForbidden = "/\\:*?\"<>|";
    std::string safe = cp1251;
    for (char& c : safe) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || kForbidden.find(c) != std::string_view::npos)
            c = '_';
    }
    return safe;
}

std::string documentStamp(const base::DateTime& m)
{
    // Every field is reduced to its two digits, so the stamp is always 14 characters.
    auto two = [](int v) { return base::zeroPadded(((v % 100) + 100) % 100, 2); };
    return two(m.day) + '.' + two(m.month) + '.' + two(m.year) + ' ' + two(m.hour) + '-' + two(m.minute);
}

std::string documentName(
    int form, const std::string& craneModel, const std::string& craneNumber, const base::DateTime& moment)
{
    return text::formTitle(form) + " (" + fileNameSafe(craneModel) + " " + text::numberSign()
        + fileNameSafe(craneNumber) + " " + documentStamp(moment) + ").rtf";
}

}  // namespace nkp::forms
