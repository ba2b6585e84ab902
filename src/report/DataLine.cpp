#include "report/DataLine.h"

#include "report/Markers.h"
#include "report/TextSearch.h"

#include <algorithm>

namespace nkp::report {
namespace {

constexpr std::string_view kSymbolKeyPrefix = "_SYM";
constexpr std::string_view kLineBreakCode = "|EOL:";
constexpr std::string_view kPageBreakCode = "|EOP:";

bool isSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// The group number as the C library's atoi reads it (leading white space, a
// sign, digits up to the first other character, none giving 0), but
// saturating instead of overflowing: "|9999999999:" is simply out of range.
long long readGroupNumber(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && isSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    constexpr long long kSaturated = 1'000'000'000'000LL;
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min(kSaturated, value * 10 + (text[i] - '0'));
    return negative ? -value : value;
}

std::string symbolRun(std::string_view value)
{
    std::string run = "{\\f3\\lang1033\\langfe1049\\langnp1033 ";
    for (const char c : value)
        run += hexEscape(static_cast<unsigned char>(c));
    run += " }";
    return run;
}

}  // namespace

std::string convertValue(std::string_view value, bool symbolKey, bool rtf)
{
    if (symbolKey)
        return symbolRun(value);
    // One left-to-right pass: escapes first in effect, as none of them can
    // make or break a "|EOL:" or "|EOP:".
    std::string out;
    out.reserve(value.size());
    for (size_t i = 0; i < value.size();) {
        const std::string_view rest = value.substr(i);
        if (rest.starts_with(kLineBreakCode)) {
            out += lineBreak(rtf);
            i += kLineBreakCode.size();
            continue;
        }
        if (rest.starts_with(kPageBreakCode)) {
            out += pageBreak(rtf);
            i += kPageBreakCode.size();
            continue;
        }
        const char c = value[i++];
        if (rtf && (c == '\\' || c == '{' || c == '}'))
            out += hexEscape(static_cast<unsigned char>(c));
        else
            out += c;
    }
    return out;
}

DataPair takePair(std::string_view& line, bool rtf)
{
    DataPair pair;
    const size_t prefixEnd = line.find(':');
    if (prefixEnd == std::string_view::npos || prefixEnd == 0 || line.front() != '|')
        return pair;
    const std::string_view prefix = line.substr(0, prefixEnd + 1);
    pair.group = readGroupNumber(prefix.substr(1, prefix.size() - 2));
    line.remove_prefix(prefix.size());

    const size_t keyEnd = line.find(':');
    if (keyEnd == std::string_view::npos || keyEnd == 0)
        return pair;
    const std::string_view key = line.substr(0, keyEnd);
    line.remove_prefix(keyEnd + 1);

    const size_t next = findText(line, prefix);
    const std::string_view value = line.substr(0, next);
    line.remove_prefix(next == std::string_view::npos ? line.size() : next);
    pair.key = std::string(key);
    pair.value = convertValue(value, key.starts_with(kSymbolKeyPrefix), rtf);
    return pair;
}

}  // namespace nkp::report
