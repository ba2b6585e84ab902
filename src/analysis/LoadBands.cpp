#include "analysis/LoadBands.h"

#include "analysis/NumberFormat.h"
#include "base/Codec.h"

#include <numeric>

namespace nkp::analysis {

int spectrumBand(int loadPercent)
{
    if (loadPercent < 0)
        return 0;
    return loadPercent >= 120 ? kSpectrumBandCount - 1 : loadPercent / 10;
}

LoadSpectrum loadSpectrum(const recorder::FrameStore& frames,
    const std::array<std::uint32_t, recorder::kCycleBandCount>& cycleCounts)
{
    LoadSpectrum s;
    for (const recorder::TFrameRecord& r : frames) {
        if (!r.isOk())
            continue;
        ++s.frames[static_cast<std::size_t>(spectrumBand(r.LoadPercent))];
        ++s.validFrames;
    }
    s.cycles = cycleCounts;
    s.totalCycles = std::accumulate(cycleCounts.begin(), cycleCounts.end(), std::int64_t {0});
    return s;
}

std::string spectrumBandText(int band)
{
    if (band >= kSpectrumBandCount - 1)
        return "120" + codec::utf8ToCp1251(" и более");
    // "0–9" with an en dash (0x96 in Windows-1251).
    return std::to_string(band * 10) + '\x96' + std::to_string(band * 10 + 9);
}

std::string cycleBandText(std::size_t band)
{
    static const char* const captions[recorder::kCycleBandCount]
        = {"0% < M < 12.5%", "12,5% < M < 25%", "25% < M < 50%", "50% < M < 100%", "100% < M"};
    return band < recorder::kCycleBandCount ? captions[band] : std::string();
}

std::string shareText(std::int64_t part, std::int64_t whole, char sep)
{
    const double share = whole == 0 ? 0.0 : static_cast<double>(part) * 100.0 / static_cast<double>(whole);
    return formatFixed(share, 1, sep);
}

}  // namespace nkp::analysis
