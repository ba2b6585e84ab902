#include "analysis/Readout.h"

#include "analysis/Classification.h"
#include "analysis/NumberFormat.h"
#include "analysis/ReadoutSummary.h"
#include "base/DateTime.h"
#include "recorder/Bcd.h"
#include "recorder/Frame.h"

#include <charconv>
#include <numeric>

namespace nkp::analysis {
namespace {

// The moment of BCD fields as their texts show them ("20" before the year):
// nothing when a digit is above 9 or the fields name no real moment.
std::optional<base::DateTime> bcdMoment(int day, int month, int yy, int hour, int minute)
{
    if (day < 0 || month < 0 || yy < 0 || hour < 0 || hour > 23 || minute < 0 || minute > 59
        || !base::isRealDate(2000 + yy, month, day))
        return std::nullopt;
    return base::DateTime {2000 + yy, month, day, hour, minute, 0};
}

}  // namespace

std::optional<base::DateTime> RecorderStamp::moment() const
{
    using recorder::bcdPairValue;
    return bcdMoment(bcdPairValue(bcd[2], 2), bcdPairValue(bcd[3], 1), bcdPairValue(bcd[4], 4),
        bcdPairValue(bcd[1], 2), bcdPairValue(bcd[0], 3));
}

std::string RecorderStamp::text() const
{
    return recorder::bcdStampText(bcd.data());
}

bool RecorderStamp::unused() const
{
    // Bits above a field's tens digit are not shown: such a stamp reads as zero too.
    return text() == "00:00 00.00.2000";
}

std::optional<base::DateTime> RecorderDate::moment() const
{
    using recorder::bcdPairValue;
    return bcdMoment(bcdPairValue(bcd[0], 2), bcdPairValue(bcd[1], 1), bcdPairValue(bcd[2], 4), 0, 0);
}

std::string RecorderDate::text() const
{
    return recorder::bcdDateText(bcd.data());
}

std::optional<base::DateTime> Readout::readingMoment() const
{
    return readingMomentOf(text(recorder::IdField::ReadingDate));
}

std::optional<base::DateTime> readingMomentOf(const std::string& t)
{
    // "dd.mm.yyyy hh:mm", or a date alone (midnight).
    if (t.size() == 10)
        return base::parseDateTime(t, {});
    if (t.size() != 16 || t[10] != ' ')
        return std::nullopt;
    return base::parseDateTime(std::string_view(t).substr(0, 10), t.substr(11, 5) + ":00");
}

float loadSpectrumFactorOf(float characteristicNumber, std::int64_t totalCycles)
{
    // The documents take the factor from the number as shown, rounded to one
    // decimal: read that text back rather than rounding differently.
    const std::string shown = formatFixed(characteristicNumber, 1, '.');
    double rounded = 0;
    std::from_chars(shown.data(), shown.data() + shown.size(), rounded);
    const std::int64_t divisor = totalCycles == 0 ? 1 : totalCycles;
    return static_cast<float>(rounded / static_cast<double>(divisor));
}

Readout readReadout(const recorder::DataFileReader& file, FrameCheck check)
{
    Readout r;
    r.identification = file.identification();

    r.operatingMinutes = file.read24(recorder::kOperatingMinutesOffset);
    for (std::size_t band = 0; band < recorder::kCycleBandCount; ++band)
        r.cycleCounts[band] = file.read24(recorder::kCycleCountersOffset + 3 * band);
    r.totalCycles = std::accumulate(r.cycleCounts.begin(), r.cycleCounts.end(), std::int64_t {0});
    r.characteristicNumber = static_cast<float>(file.read40Fixed16(recorder::kCharacteristicOffset));
    file.copy(recorder::kInstallDateOffset, r.installDate.bcd.size(), r.installDate.bcd.data());
    for (std::size_t k = 0; k < recorder::kOverloadStampCount; ++k)
        file.copy(recorder::kOverloadStampsOffset + k * recorder::kStampSize, recorder::kStampSize,
            r.overloadStamps[k].bcd.data());
    for (std::size_t k = 0; k < recorder::kReadingStampCount; ++k)
        file.copy(recorder::kReadingStampsOffset + k * recorder::kStampSize, recorder::kStampSize,
            r.readingStamps[k].bcd.data());
    r.frameYearByte = file.byte(recorder::kFrameYearOffset);
    r.liftedMassRaw = file.read32(recorder::kLiftedMassOffset);

    r.normativeNumber = normativeCharacteristicNumber(r.text(recorder::IdField::NormGroup));
    r.utilisationClass = analysis::utilisationClass(r.totalCycles);
    r.loadSpectrumFactor = loadSpectrumFactorOf(r.characteristicNumber, r.totalCycles);
    r.loadMode = analysis::loadMode(r.loadSpectrumFactor);
    r.craneGroup = analysis::craneGroup(r.loadMode, r.utilisationClass);

    LoadDiagnostics& d = r.diagnostics;
    d.fileRead = true;
    d.fileSize = file.fileSize();
    d.fullLength = d.fileSize >= recorder::kIdentificationOffset;
    d.storedChecksum = file.storedChecksum();
    d.computedChecksum = file.computedChecksum();
    d.checksumMatches = d.storedChecksum == d.computedChecksum;
    if (check == FrameCheck::Check)
        for (std::size_t i = 0; i < recorder::kFrameCount; ++i)
            if (!file.holdsFrame(i) || !recorder::frameValid(file.heldFrame(i)))
                d.brokenFrames.push_back(static_cast<int>(i));
    return r;
}

ReadoutSummary readoutSummary(const Readout& r)
{
    using recorder::IdField;
    ReadoutSummary s;
    s.craneModel = r.text(IdField::CraneModel);
    s.craneNumber = r.text(IdField::CraneNumber);
    s.owner = r.text(IdField::CraneOwner);
    s.readingText = r.text(IdField::ReadingDate);
    s.readingMoment = r.readingMoment();
    s.limiterSerial = r.text(IdField::LimiterNumber);
    s.totalCycles = r.totalCycles;
    s.characteristicNumber = r.characteristicNumber;
    s.normativeNumber = r.normativeNumber;
    return s;
}

}  // namespace nkp::analysis
