#pragma once

#include "analysis/Readout.h"

#include <optional>
#include <string>

namespace nkp::fleet {

// The overloads a read-out records in its five stamps. The recorder leaves
// unused stamps zero (they read "00:00 00.00.2000"); those are no overload.
struct OverloadSummary {
    int count = 0;
    std::string latest;  // the newest stamp that is a real moment, as shown; empty when none is
    std::optional<base::DateTime> latestMoment;
};

OverloadSummary overloadSummary(const analysis::Readout& readout);

}  // namespace nkp::fleet
