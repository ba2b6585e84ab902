#pragma once

#include "generator/CraneSimulation.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A crane's story as read-outs: the same crane read weeks to months apart,
// its counters growing with its duty and starting again from zero when the
// limiter is replaced. The same options always give the same files.
namespace nkp::generator {

// The recorder stores two-digit years: its readings lie in 2000-2099. A
// reading a week for that century is 5217 readings; a history holds at most
// this many.
inline constexpr int kMaxHistoryCount = 5200;

struct HistoryOptions {
    std::uint64_t seed = 1;
    int count = 10;            // 1 to kMaxHistoryCount
    int replaceLimiterAt = 0;  // 1-based read-out that has the new limiter; 0: never replaced
    // The first reading. Readings follow 14 to 120 days apart while the
    // century has room; a long history is read more often, weekly at the
    // least, and starts earlier (from 2000) when it must.
    CalendarDay start {2019, 3, 4};
};

struct HistoryReadout {
    // "0001.nkp": the read-out's place in reading order, zero-padded to the
    // width of the count (at least 4 digits), so that names sort in order.
    std::string fileName;
    std::vector<std::uint8_t> bytes;
};

// Makes the read-outs in reading order and hands each to `take` as soon as
// it is made, so that only one is held at a time. Stops, returning false,
// when `take` returns false.
bool generateHistory(const HistoryOptions& options, const std::function<bool(HistoryReadout&&)>& take);

// Every read-out at once (a few of them: each is 270 KB).
std::vector<HistoryReadout> generateHistory(const HistoryOptions& options);

}  // namespace nkp::generator
