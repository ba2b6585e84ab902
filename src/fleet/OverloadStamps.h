#pragma once

#include "analysis/MainState.h"

#include <string>

namespace nkp::fleet {

// The overloads a loaded read-out records in its five stamps (Label_Per1 to
// Label_Per5). The recorder leaves unused stamps zero ("00:00 00.00.2000");
// those and blank texts are no overload.
struct OverloadSummary {
    int count = 0;
    std::string latest;  // the newest stamp that is a real moment, as shown; empty when none is
};

OverloadSummary overloadSummary(const analysis::MainState& state);

}  // namespace nkp::fleet
