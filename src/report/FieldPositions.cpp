#include "report/FieldPositions.h"

#include "report/Markers.h"

#include <algorithm>

namespace nkp::report {

FieldPositions::FieldPositions(std::string_view text)
{
    size_t open = text.find(kFieldMark);
    while (open != std::string_view::npos) {
        const size_t close = text.find(kFieldMark, open + 1);
        if (close == std::string_view::npos)
            break;
        const std::string_view between = text.substr(open + 1, close - open - 1);
        if (between.find('\n') == std::string_view::npos)
            positions_[between].push_back(open);
        open = close;
    }
}

std::size_t FieldPositions::find(std::string_view key, std::size_t from) const
{
    const auto found = positions_.find(key);
    if (found == positions_.end())
        return std::string_view::npos;
    const auto at = std::lower_bound(found->second.begin(), found->second.end(), from);
    return at == found->second.end() ? std::string_view::npos : *at;
}

}  // namespace nkp::report
