#include "fleet/OverloadStamps.h"

namespace nkp::fleet {

OverloadSummary overloadSummary(const analysis::Readout& r)
{
    OverloadSummary summary;
    for (const analysis::RecorderStamp& stamp : r.overloadStamps) {
        if (stamp.unused())
            continue;
        ++summary.count;
        const std::optional<base::DateTime> moment = stamp.moment();
        if (moment && (!summary.latestMoment || *moment > *summary.latestMoment)) {
            summary.latestMoment = moment;
            summary.latest = stamp.text();
        }
    }
    return summary;
}

}  // namespace nkp::fleet
