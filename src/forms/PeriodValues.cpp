#include "forms/PeriodValues.h"

#include "analysis/NumberFormat.h"
#include "analysis/Readout.h"
#include "analysis/ReadoutTexts.h"
#include "forms/FormTexts.h"

#include <charconv>

namespace nkp::forms {
namespace {

// The count a band caption shows: the period values start from what the
// window shows (the user may have edited nothing, but the period values
// follow the caption, not the counter). A caption that is no number (the design
// text of a window that never loaded a file) counts as 0.
long long bandCaptionValue(const std::string& caption)
{
    long long value = 0;
    const char* first = caption.data();
    const char* last = first + caption.size();
    if (first != last && *first == '+')
        ++first;
    const auto [end, ec] = std::from_chars(first, last, value);
    return ec == std::errc {} && end == last ? value : 0;
}

}  // namespace

PreviousReading readPreviousReading(const recorder::DataFileReader& file)
{
    const analysis::Readout r = analysis::readReadout(file, analysis::FrameCheck::LeaveToDecoding);
    PreviousReading previous;
    previous.characteristicNumber = r.characteristicNumber;
    previous.cycleCounts = r.cycleCounts;
    previous.operatingMinutes = static_cast<std::uint32_t>(r.operatingMinutes);
    previous.liftedMassRaw = static_cast<std::uint32_t>(r.liftedMassRaw);
    previous.readingDate = r.text(recorder::IdField::ReadingDate);
    return previous;
}

void applyPeriodValues(screen::MainState& state, const PreviousReading& previous, char decimalSeparator)
{
    std::string* const bands[recorder::kCycleBandCount] = {&state.texts.cycles0, &state.texts.cycles12,
        &state.texts.cycles25, &state.texts.cycles50, &state.texts.cycles100};
    long long previousTotal = 0;
    for (std::size_t band = 0; band < recorder::kCycleBandCount; ++band) {
        *bands[band] = std::to_string(bandCaptionValue(*bands[band]) - previous.cycleCounts[band]);
        previousTotal += previous.cycleCounts[band];
    }
    state.readout.totalCycles -= previousTotal;

    state.texts.operatingTime
        = analysis::formatOperatingTime(state.readout.operatingMinutes - previous.operatingMinutes);

    // The recorder's mass counter is 32 bits wide: the difference is taken in
    // that width and read as signed, so a wrapped counter still gives the period.
    const auto massDifference = static_cast<std::int32_t>(
        static_cast<std::uint32_t>(state.readout.liftedMassRaw) - previous.liftedMassRaw);
    state.texts.liftedMass = analysis::liftedMassText(massDifference, decimalSeparator);

    state.previousReadingDate = previous.readingDate;
}

std::string startCharacteristicText(const PreviousReading& previous, char decimalSeparator)
{
    return analysis::characteristicNumberText(previous.characteristicNumber, decimalSeparator);
}

}  // namespace nkp::forms
