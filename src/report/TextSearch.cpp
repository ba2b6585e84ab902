#include "report/TextSearch.h"

#include <algorithm>
#include <functional>

namespace nkp::report {
namespace {

// Short needles are searched directly; longer ones with Boyer-Moore, whose
// good-suffix rule keeps a search linear even for needles like "aaa...ab".
constexpr size_t kShortNeedle = 16;

}  // namespace

size_t findText(std::string_view text, std::string_view needle, size_t from)
{
    if (needle.empty() || from >= text.size() || needle.size() > text.size() - from)
        return std::string_view::npos;
    if (needle.size() <= kShortNeedle)
        return text.find(needle, from);
    const std::boyer_moore_searcher searcher(needle.begin(), needle.end());
    const auto hit = std::search(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(), searcher);
    return hit == text.end() ? std::string_view::npos : static_cast<size_t>(hit - text.begin());
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
