#pragma once

#include "recorder/DataFileReader.h"
#include "screen/MainState.h"

#include <array>
#include <cstdint>
#include <string>

// The values of a previous reading that turn the latest reading's totals
// into the values of the period between the two readings (Forms 1 and 2).
namespace nkp::forms {

struct PreviousReading {
    float characteristicNumber = 0;  // at the start of the period
    std::array<std::uint32_t, recorder::kCycleBandCount> cycleCounts {};
    std::uint32_t operatingMinutes = 0;
    std::uint32_t liftedMassRaw = 0;  // hundredths of a tonne
    std::string readingDate;          // Windows-1251, up to the first zero byte
};

// Reads the previous reading's counters; bytes beyond a short file read as zero.
PreviousReading readPreviousReading(const recorder::DataFileReader& file);

// Replaces the band captions, the total cycles, the operating-time caption and
// the lifted-mass caption of `state` by the period values, and stores the
// previous reading date. The raw totals (operating minutes, lifted mass) stay.
// Differences may be negative when the files were chosen the wrong way round.
void applyPeriodValues(screen::MainState& state, const PreviousReading& previous, char decimalSeparator);

// "|0:HHome:": the characteristic number at the start of the period, "#0.0".
std::string startCharacteristicText(const PreviousReading& previous, char decimalSeparator);

}  // namespace nkp::forms
