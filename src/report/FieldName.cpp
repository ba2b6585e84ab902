#include "report/FieldName.h"

#include "report/Markers.h"

#include <algorithm>

namespace nkp::report {
namespace {

bool isNameChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Finds `c` at or after `from`, remembering the last answer: the walk over a
// name only moves forward, so a name of any length is cleaned in linear time.
class ForwardFinder {
public:
    ForwardFinder(std::string_view text, char c)
        : text_(text)
        , c_(c)
    {
    }
    size_t next(size_t from)
    {
        if (!searched_ || (hit_ != std::string_view::npos && hit_ < from)) {
            hit_ = text_.find(c_, from);
            searched_ = true;
        }
        return hit_;
    }

private:
    std::string_view text_;
    char c_;
    size_t hit_ = std::string_view::npos;
    bool searched_ = false;
};

}  // namespace

std::string cleanFieldName(std::string_view name)
{
    if (name.find("\\'") != std::string_view::npos)
        return std::string(name);
    ForwardFinder space(name, ' ');
    ForwardFinder brace(name, '}');
    std::string clean;
    size_t i = 0;
    while (i < name.size()) {
        const char c = name[i];
        if (isNameChar(c)) {
            clean += c;
            ++i;
        } else if (c == '{' || c == '\\') {
            size_t end = space.next(i + 1);
            if (end == std::string_view::npos)
                end = brace.next(i + 1);
            i = (end == std::string_view::npos) ? i + 1 : end + 1;
        } else {
            ++i;
        }
    }
    return clean;
}

std::optional<std::string> groupFieldMarker(std::string_view name)
{
    if (name.empty())
        return std::nullopt;
    std::string_view digits = name;
    if (digits.front() == 'D')
        digits = digits.substr(1, 7);  // at most seven characters after the "D" are read
    else if (digits.back() == 'D')
        digits.remove_suffix(1);
    const std::string_view rest = name.front() == 'D' ? name.substr(1) : digits;
    if (!std::all_of(rest.begin(), rest.end(), isDigit))
        return std::nullopt;
    const size_t firstSignificant = digits.find_first_not_of('0');
    if (firstSignificant == std::string_view::npos)
        return std::string();  // no digits, or zero: the field leaves nothing
    return groupMarkerOfDigits(digits.substr(firstSignificant));
}

}  // namespace nkp::report
