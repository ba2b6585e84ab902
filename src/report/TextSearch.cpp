#include "report/TextSearch.h"

#include <vector>

namespace nkp::report {
namespace {

// Short needles are searched directly; longer ones with Knuth-Morris-Pratt,
// which stays linear even for needles like "aaa...ab" (the library's
// Boyer-Moore takes seconds to prepare such a needle of 70 KB).
constexpr size_t kShortNeedle = 16;

size_t findLong(std::string_view text, std::string_view needle, size_t from)
{
    std::vector<size_t> border(needle.size(), 0);
    for (size_t i = 1, k = 0; i < needle.size(); ++i) {
        while (k > 0 && needle[i] != needle[k])
            k = border[k - 1];
        if (needle[i] == needle[k])
            ++k;
        border[i] = k;
    }
    for (size_t i = from, k = 0; i < text.size(); ++i) {
        while (k > 0 && text[i] != needle[k])
            k = border[k - 1];
        if (text[i] == needle[k])
            ++k;
        if (k == needle.size())
            return i + 1 - needle.size();
    }
    return std::string_view::npos;
}

}  // namespace

size_t findText(std::string_view text, std::string_view needle, size_t from)
{
    if (needle.empty() || from >= text.size() || needle.size() > text.size() - from)
        return std::string_view::npos;
    if (needle.size() <= kShortNeedle)
        return text.find(needle, from);
    return findLong(text, needle, from);
}

bool replaceAll(std::string& text, std::string_view needle, std::string_view replacement)
{
    size_t hit = findText(text, needle);
    if (hit == std::string_view::npos)
        return false;
    std::string out;
    out.reserve(text.size());
    size_t done = 0;
    while (hit != std::string_view::npos) {
        out.append(text, done, hit - done);
        out.append(replacement);
        done = hit + needle.size();
        hit = findText(text, needle, done);
    }
    out.append(text, done, std::string::npos);
    text.swap(out);
    return true;
}

std::string hexEscape(unsigned char byte)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    return {'\\', '\'', kDigits[byte >> 4], kDigits[byte & 0x0F]};
}

}  // namespace nkp::report
