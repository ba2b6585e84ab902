#pragma once

#include "base/DateTime.h"
#include "recorder/DataFileLayout.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Read-outs are evidence: consecutive read-outs of one crane must continue
// each other. Pure checks of the figures of two read-outs.
namespace nkp::analysis {

enum class RemarkKind {
    CounterFell,  // "счётчик уменьшился без замены ограничителя: …"
    NewestFrameOlder,      // the newer read-out's newest frame is older than the older one's
    ReadingDateMismatch,   // the older reading date is none of the newer read-out's reading stamps
    ReadingDateBackwards,  // the recorder's newest reading stamp is older than the older read-out's
    ReadingGap,            // "перерыв N дней"
    SameImage,             // "тот же образ памяти уже в архиве как … № …"
};

// What the checks need of one read-out.
struct ContinuityFacts {
    std::optional<base::DateTime> readingMoment;  // of the identification; nothing when not real
    // The recorder's own stamps of the readings before this one, newest first
    // (unused and unreal stamps left out).
    std::vector<base::DateTime> recorderReadings;
    std::optional<base::DateTime> newestFrame;  // the newest valid frame's moment
    std::string limiterSerial;                  // Windows-1251, trimmed
    std::int64_t totalCycles = 0;
    std::array<std::uint32_t, recorder::kCycleBandCount> cycleCounts {};
    std::int64_t operatingMinutes = 0;
    std::int64_t liftedMassRaw = 0;
    double characteristicNumber = 0;
};

struct ContinuityRemark {
    RemarkKind kind;
    std::string text;  // UTF-8
};

// A reading stamp and a reading date further apart than this many days disagree.
inline constexpr std::int64_t kReadingStampToleranceDays = 1;

// The remarks on `newer`, read after `older` (in reading order; none for the
// first read-out of a crane); a gap is one longer than `readingMonths`
// calendar months.
std::vector<ContinuityRemark> continuityRemarks(
    const ContinuityFacts* older, const ContinuityFacts& newer, int readingMonths);

}  // namespace nkp::analysis
