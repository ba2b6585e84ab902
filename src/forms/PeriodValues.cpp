#include "forms/PeriodValues.h"

#include "analysis/NumberFormat.h"
#include "forms/FormTexts.h"

#include <charconv>

namespace nkp::forms {
namespace {

// The integer a band caption shows. A caption that is no number (the design
// text of a window that never loaded a file) counts as 0.
long long captionValue(const std::string& caption)
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
    PreviousReading previous;
    previous.characteristicNumber = static_cast<float>(file.read40Fixed16(recorder::kCharacteristicOffset));
    for (std::size_t band = 0; band < recorder::kCycleBandCount; ++band)
        previous.cycleCounts[band] = file.read24(recorder::kCycleCountersOffset + 3 * band);
    previous.operatingMinutes = file.read24(recorder::kOperatingMinutesOffset);
    previous.liftedMassRaw = file.read32(recorder::kLiftedMassOffset);
    previous.readingDate = file.text(recorder::IdField::ReadingDate);
    return previous;
}

void applyPeriodValues(analysis::MainState& state, const PreviousReading& previous, char decimalSeparator)
{
    std::string* const bands[recorder::kCycleBandCount]
        = {&state.Label_0, &state.Label_12, &state.Label_25, &state.Label_50, &state.Label_100};
    long long previousTotal = 0;
    for (std::size_t band = 0; band < recorder::kCycleBandCount; ++band) {
        *bands[band] = std::to_string(captionValue(*bands[band]) - previous.cycleCounts[band]);
        previousTotal += previous.cycleCounts[band];
    }
    state.totalCycles -= previousTotal;

    state.L_TimeAll = analysis::formatOperatingTime(state.operatingMinutes - previous.operatingMinutes);

    // The recorder's mass counter is 32 bits wide: the difference is taken in
    // that width and read as signed, so a wrapped counter still gives the period.
    const auto massDifference
        = static_cast<std::int32_t>(static_cast<std::uint32_t>(state.liftedMassRaw) - previous.liftedMassRaw);
    state.Label_QSum
        = analysis::formatFixed(massDifference * 0.01, 2, decimalSeparator) + text::tonneSuffix();

    state.previousReadingDate = previous.readingDate;
}

std::string startCharacteristicText(const PreviousReading& previous, char decimalSeparator)
{
    return analysis::formatFixed(previous.characteristicNumber, 1, decimalSeparator);
}

}  // namespace nkp::forms
