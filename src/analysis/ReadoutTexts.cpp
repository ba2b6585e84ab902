#include "analysis/ReadoutTexts.h"

#include "analysis/NumberFormat.h"
#include "base/Codec.h"

namespace nkp::analysis {

std::string characteristicNumberText(double characteristicNumber, char sep)
{
    return formatFixed(characteristicNumber, 1, sep);
}

std::string liftedMassText(std::int64_t liftedMassRaw, char sep)
{
    static const std::string tonnes = codec::utf8ToCp1251(" т");
    return formatFixed(static_cast<double>(liftedMassRaw) * 0.01, 2, sep) + tonnes;
}

std::string utilisationClassText(int utilisationClass)
{
    return 'U' + std::to_string(utilisationClass);
}

std::string loadModeText(int loadMode)
{
    return 'Q' + std::to_string(loadMode);
}

std::string craneGroupText(int craneGroup)
{
    return 'A' + std::to_string(craneGroup);
}

ReadoutTexts readoutTexts(const Readout& r, char sep)
{
    ReadoutTexts t;
    t.operatingTime = formatOperatingTime(r.operatingMinutes);
    for (std::size_t band = 0; band < recorder::kCycleBandCount; ++band)
        t.cycles[band] = std::to_string(r.cycleCounts[band]);
    t.characteristicNumber = characteristicNumberText(r.characteristicNumber, sep);
    t.normativeNumber = std::to_string(r.normativeNumber);
    t.utilisationClass = utilisationClassText(r.utilisationClass);
    t.loadMode = loadModeText(r.loadMode);
    t.craneGroup = craneGroupText(r.craneGroup);
    t.loadSpectrumFactor = formatFixed(r.loadSpectrumFactor, 3, sep);
    t.liftedMass = liftedMassText(r.liftedMassRaw, sep);
    t.installationDate = r.installDate.text();
    for (std::size_t k = 0; k < recorder::kOverloadStampCount; ++k)
        t.overloads[k] = r.overloadStamps[k].text();
    for (std::size_t k = 0; k < recorder::kReadingStampCount; ++k)
        t.readings[k] = r.readingStamps[k].text();
    return t;
}

}  // namespace nkp::analysis
