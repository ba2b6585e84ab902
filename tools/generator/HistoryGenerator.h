#pragma once

#include "generator/CraneSimulation.h"

#include <cstdint>
#include <string>
#include <vector>

// A crane's story as read-outs: the same crane read weeks to months apart,
// its counters growing with its duty and starting again from zero when the
// limiter is replaced. The same options always give the same files.
namespace nkp::generator {

struct HistoryOptions {
    std::uint64_t seed = 1;
    int count = 10;
    int replaceLimiterAt = 0;  // 1-based read-out that has the new limiter; 0: never replaced
    CalendarDay start {2019, 3, 4};
};

struct HistoryReadout {
    std::string fileName;  // "001_2019-03-04.nkp"
    std::vector<std::uint8_t> bytes;
};

std::vector<HistoryReadout> generateHistory(const HistoryOptions& options);

}  // namespace nkp::generator
