#pragma once

#include "generator/ReadoutGenerator.h"

#include <array>
#include <cstdint>
#include <vector>

// A crane at work, frame by frame: lifting cycles with plausible boom,
// radius, load and limits, recorded over several working days.
namespace nkp::generator {

// Reproducible pseudo-random numbers (splitmix64): the same seed gives the
// same sequence on every platform, unlike the standard distributions.
class Rng {
public:
    explicit Rng(std::uint64_t seed)
        : state_(seed)
    {
    }
    std::uint64_t next();
    int uniform(int lo, int hi);  // inclusive
    bool chance(int percent) { return uniform(0, 99) < percent; }

private:
    std::uint64_t state_;
};

struct CalendarDay {
    int year = 2024, month = 1, day = 1;
};
CalendarDay nextDay(CalendarDay d);
CalendarDay previousDays(CalendarDay d, int days);

// One finished lifting cycle, for the counters and stamps of the service area.
struct CycleSummary {
    int peakPercent = 0;
    int peakMass = 0;      // 0.01 t
    FrameFields at;        // the frame at the peak (its time stamp)
    bool stamped = false;  // `at` was recorded (the last cycle may be cut short)
};

struct SimulatedRing {
    std::vector<FrameFields> frames;  // in chronological order, oldest first
    std::vector<CycleSummary> cycles;
    CalendarDay firstDay;
    int workedMinutes = 0;
};

// kFrameCount frames spread over `days` working days starting in `year`.
SimulatedRing simulateRing(Rng& rng, int days, int year);

}  // namespace nkp::generator
