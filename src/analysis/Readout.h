#pragma once

#include "analysis/LoadDiagnostics.h"
#include "base/DateTime.h"
#include "recorder/DataFileLayout.h"
#include "recorder/DataFileReader.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

// What one read-out says, as typed values: no display text, no separator.
// The window's texts, the fleet's rows, the archive and the events are all
// made from this.
namespace nkp::analysis {

// A recorder stamp as stored: five BCD bytes (minute, hour, day, month, year
// within the century). The bytes are kept because an erased or odd stamp has
// a text of its own that no date-time can give back.
struct RecorderStamp {
    std::array<std::uint8_t, recorder::kStampSize> bcd {};

    // The moment the stamp names; nothing for an empty or unreal stamp.
    std::optional<base::DateTime> moment() const;
    // "hh:mm dd.mm.20yy", digits as stored (a zero stamp reads "00:00 00.00.2000").
    std::string text() const;
    // Reads as the zero stamp: the recorder has not used it.
    bool unused() const;
    bool operator==(const RecorderStamp&) const = default;
};

// The installation date: three BCD bytes (day, month, year within the century).
struct RecorderDate {
    std::array<std::uint8_t, 3> bcd {};

    std::optional<base::DateTime> moment() const;
    // "dd.mm.20yy", digits as stored.
    std::string text() const;
    bool operator==(const RecorderDate&) const = default;
};

struct Readout {
    // Identification texts, Windows-1251 bytes as stored (reading date and
    // time among them, "dd.mm.yyyy hh:mm").
    recorder::Identification identification;
    const std::string& text(recorder::IdField f) const { return identification[f]; }

    // The recorder's counters.
    std::int64_t operatingMinutes = 0;
    std::array<std::uint32_t, recorder::kCycleBandCount> cycleCounts {};
    std::int64_t totalCycles = 0;
    std::int64_t liftedMassRaw = 0;  // hundredths of a tonne
    float characteristicNumber = 0;  // the 40-bit fixed-point value, as the window keeps it
    RecorderDate installDate;
    std::array<RecorderStamp, recorder::kOverloadStampCount> overloadStamps {};
    std::array<RecorderStamp, recorder::kReadingStampCount> readingStamps {};
    std::uint8_t frameYearByte = 0;  // BCD year of the frames

    // Classification after ISO 4301-1.
    int normativeNumber = 0;  // 0 when the normative group is unknown
    int utilisationClass = 0;
    float loadSpectrumFactor = 0;
    int loadMode = 1;
    int craneGroup = 1;

    // What reading the file met (frames checked, not decoded: no calendar check).
    LoadDiagnostics diagnostics;

    // The reading moment of the identification block ("dd.mm.yyyy hh:mm" or a
    // date alone); nothing when not a real moment.
    std::optional<base::DateTime> readingMoment() const;
};

// The moment a reading date text names ("dd.mm.yyyy hh:mm" or a date
// alone); nothing when it is not a real moment.
std::optional<base::DateTime> readingMomentOf(const std::string& readingDate);

// Whether readReadout() checks every frame for `diagnostics.brokenFrames`, or
// leaves that to a pass that reads every frame anyway: decodeFrames() of a
// full load, overviewFrames() of an overview.
enum class FrameCheck { Check, LeaveToDecoding };

// Every value of a read-out from its bytes, the frames only checked (not
// decoded: no calendar check). This is the summary load of an overview.
Readout readReadout(const recorder::DataFileReader& file, FrameCheck check = FrameCheck::Check);

// The load spectrum factor as the recorder's documents define it: the
// characteristic number rounded to one decimal, as the window shows it, over
// the total cycles (1 when there are none). The shown text is read back, so
// that the factor is exactly what the documents compute from the shown number.
float loadSpectrumFactorOf(float characteristicNumber, std::int64_t totalCycles);

}  // namespace nkp::analysis
