#include "fleet/OverloadStamps.h"

#include "analysis/DateTimeText.h"

#include <algorithm>
#include <optional>

namespace nkp::fleet {
namespace {

bool emptyStamp(const std::string& stamp)
{
    // A zero stamp reads "00:00 00.00.2000"; the window's design text has year 0000.
    return stamp == "00:00 00.00.2000" || stamp == "00:00 00.00.0000"
        || std::all_of(stamp.begin(), stamp.end(), [](char c) { return c == ' '; });
}

// "hh:mm dd.mm.yyyy" as a moment.
std::optional<analysis::DateTime> stampMoment(const std::string& stamp)
{
    if (stamp.size() != 16 || stamp[5] != ' ')
        return std::nullopt;
    return analysis::parseDateTime(std::string_view(stamp).substr(6), stamp.substr(0, 5) + ":00");
}

}  // namespace

OverloadSummary overloadSummary(const analysis::MainState& s)
{
    OverloadSummary summary;
    std::optional<analysis::DateTime> newest;
    for (const std::string* stamp :
        {&s.Label_Per1, &s.Label_Per2, &s.Label_Per3, &s.Label_Per4, &s.Label_Per5}) {
        if (emptyStamp(*stamp))
            continue;
        ++summary.count;
        const std::optional<analysis::DateTime> moment = stampMoment(*stamp);
        if (moment && (!newest || *moment > *newest)) {
            newest = moment;
            summary.latest = *stamp;
        }
    }
    return summary;
}

}  // namespace nkp::fleet
