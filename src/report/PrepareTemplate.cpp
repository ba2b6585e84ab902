#include "report/PrepareTemplate.h"

#include "report/FieldName.h"
#include "report/Markers.h"
#include "report/TextSearch.h"

#include <array>
#include <utility>

namespace nkp::report {
namespace {

// Western character-set declarations of the template become Cyrillic ones.
constexpr std::array<std::pair<std::string_view, std::string_view>, 1> kCharsetPairs = {{
    {"\\fcharset0", "\\fcharset204"},
}};

constexpr std::string_view kFontPrefix = "FONT=";

// Finds the next occurrence of a needle at or after a position, remembering
// the last answer: the scan only moves forward, so a hit found from an
// earlier position is still the next one from any position up to it. Every
// byte of the text is then searched once for each needle, however far the
// hits lie apart.
class ForwardSearch {
public:
    size_t next(std::string_view text, std::string_view needle, size_t from)
    {
        if (needle != needle_ || from < from_ || (hit_ != std::string_view::npos && from > hit_)) {
            needle_ = needle;
            from_ = from;
            hit_ = needle.size() == 1 ? text.find(needle.front(), from) : findText(text, needle, from);
        }
        from_ = from;
        return hit_;
    }

private:
    std::string needle_;
    size_t from_ = 0;
    size_t hit_ = std::string_view::npos;
};

// In an RTF template a group field takes some following RTF text with it
// (typically the paragraph mark of the table row's template line): a "}"
// right after the field, then everything up to the next "}" or, if one comes
// first, the next delimiter. Returns where the removed text ends.
size_t endOfTextAfterGroupField(std::string_view text, size_t after, std::string_view delimiter,
    ForwardSearch& braces, ForwardSearch& delimiters)
{
    if (after < text.size() && text[after] == '}')
        ++after;
    const size_t brace = braces.next(text, "}", after);
    if (brace == std::string_view::npos)
        return after;
    const size_t nextDelimiter = delimiters.next(text, delimiter, after);
    return (nextDelimiter != std::string_view::npos && nextDelimiter < brace) ? nextDelimiter : brace;
}

}  // namespace

PreparedTemplate prepareTemplate(std::string text, const base::DateTime& now)
{
    PreparedTemplate result;
    result.rtf = text.starts_with("{\\rtf");
    for (const auto& [from, to] : kCharsetPairs)
        if (from != to)
            replaceAll(text, from, to);

    // The text that replaces a field is final and is not scanned again: with
    // some delimiters ("3", whose escape "\'33" holds two of them) scanning it
    // again would never end.
    std::string& out = result.text;
    out.reserve(text.size() + text.size() / 8);
    std::string delimiter = "#";
    size_t pos = 0;
    ForwardSearch braces, delimiters;
    while (!delimiter.empty()) {
        const size_t open = findText(text, delimiter, pos);
        if (open == std::string::npos)
            break;
        const size_t nameStart = open + delimiter.size();
        const size_t close = findText(text, delimiter, nameStart);
        if (close == std::string::npos)
            throw TemplateStructureError {};
        std::string_view name(text.data() + nameStart, close - nameStart);
        size_t fieldEnd = close + delimiter.size();
        out.append(text, pos, open - pos);

        // "#FONT=file#" would register a font file with the system. On this
        // platform the engine does not: a template must not make the program
        // load arbitrary files. The field goes on under the rest of its name.
        if (name.starts_with(kFontPrefix))
            name.remove_prefix(kFontPrefix.size());

        if (name.empty()) {
            out += hexEscape(static_cast<unsigned char>(delimiter.front()));
        } else if (name.front() == '@') {
            delimiter = std::string(name.substr(1));  // an empty delimiter ends the scan
        } else {
            const std::string clean = cleanFieldName(name);
            if (const auto group = groupFieldMarker(clean)) {
                out += *group;
                if (result.rtf)
                    fieldEnd = endOfTextAfterGroupField(text, fieldEnd, delimiter, braces, delimiters);
            } else if (clean == "DATE") {
                out += base::dateText(now);
            } else if (clean == "TIME") {
                out += base::timeText(now);
            } else if (clean == "EOP") {
                out += pageBreak(result.rtf);
            } else {
                out += fieldMarker(clean);
            }
        }
        pos = fieldEnd;
    }
    out.append(text, pos, std::string::npos);
    return result;
}

}  // namespace nkp::report
