#pragma once

#include "recorder/DataFileLayout.h"
#include "recorder/FrameStore.h"

#include <array>
#include <cstdint>
#include <string>

// How the load was distributed: the valid frames per band of LoadPercent,
// 10 % wide from "0–9" to "110–119" and "120 и более" above, beside the
// recorder's own counts of working cycles per load band.
namespace nkp::analysis {

inline constexpr int kSpectrumBandCount = 13;

struct LoadSpectrum {
    std::array<int, kSpectrumBandCount> frames {};  // valid frames per band
    int validFrames = 0;
    std::array<std::uint32_t, recorder::kCycleBandCount> cycles {};  // the recorder's counters
    std::int64_t totalCycles = 0;
};

// Counts the valid frames of the store (their order does not matter) and
// takes the recorder's five band counters as they are.
LoadSpectrum loadSpectrum(const recorder::FrameStore& frames,
    const std::array<std::uint32_t, recorder::kCycleBandCount>& cycleCounts);

// The band a load percentage falls in, 0 to 12 (a negative value counts as 0).
int spectrumBand(int loadPercent);

// Band captions, Windows-1251: "0–9", "10–19", …, "110–119", "120 и более".
std::string spectrumBandText(int band);
// The recorder's band captions as the first tab shows them: "0% < M < 12.5%" …
// "100% < M".
std::string cycleBandText(std::size_t band);

// A share in percent with one decimal ("12,5"); "0,0" when the whole is 0.
std::string shareText(std::int64_t part, std::int64_t whole, char decimalSeparator);

}  // namespace nkp::analysis
