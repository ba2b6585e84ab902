#pragma once

#include "analysis/Readout.h"
#include "base/DateTime.h"
#include "recorder/DataFileLayout.h"
#include "screen/MainState.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

// Whether two read-outs make a period: the same crane and limiter, the
// previous one older than the latest. Forms 1 and 2 check this before they
// subtract one reading's counters from the other's.
namespace nkp::forms {

// What the check compares of one reading. Texts are Windows-1251.
struct ReadingFacts {
    std::string craneModel, craneNumber, limiterNumber;
    std::string readingDate;                      // as stored, "dd.mm.yyyy hh:mm"
    std::optional<base::DateTime> readingMoment;  // nothing when that is no real moment
    std::array<std::uint32_t, recorder::kCycleBandCount> cycleCounts {};
    std::int64_t operatingMinutes = 0;
    std::int64_t liftedMassRaw = 0;
    float characteristicNumber = 0;
};

ReadingFacts readingFacts(const analysis::Readout& readout);
// The latest reading as the window loaded it.
ReadingFacts readingFacts(const screen::MainState& state);

enum class PairVerdict {
    Period,        // one crane and limiter, the previous reading the older one
    Swapped,       // the previous reading is the newer one: the files were chosen the wrong way round
    OtherCrane,    // crane model or number differ
    OtherLimiter,  // the limiter serial numbers differ
    CountersFell,  // the previous reading is older, yet some of its counters are higher
};

struct PairCheck {
    PairVerdict verdict = PairVerdict::Period;
    std::string reason;  // UTF-8, names what differs; empty for a period

    bool period() const { return verdict == PairVerdict::Period; }
};

PairCheck checkReadingPair(const ReadingFacts& latest, const ReadingFacts& previous);

}  // namespace nkp::forms
