#include "analysis/ResourceUse.h"

#include "analysis/NumberFormat.h"
#include "base/Codec.h"

#include <cmath>

namespace nkp::analysis {

ResourceUse resourceUse(double characteristicNumber, int normativeNumber)
{
    if (normativeNumber <= 0)
        return {};
    const double percent = characteristicNumber * 100.0 / normativeNumber;
    // Compare the value as shown (one decimal), so that "80,0" is never green.
    const double tenths = std::round(percent * 10.0);
    const ResourceLevel level = tenths >= 1000.0 ? ResourceLevel::Red
        : tenths >= 800.0                        ? ResourceLevel::Yellow
                                                 : ResourceLevel::Green;
    return {percent, level};
}

ResourceUse resourceUse(const Readout& readout)
{
    return resourceUse(readout.characteristicNumber, readout.normativeNumber);
}

std::string resourcePercentText(const ResourceUse& use, char decimalSeparator)
{
    static const std::string dash = codec::utf8ToCp1251("—");
    return use.percent ? formatFixed(*use.percent, 1, decimalSeparator) : dash;
}

std::string resourceUseText(const ResourceUse& use, char decimalSeparator)
{
    static const std::string caption = codec::utf8ToCp1251("Использовано ресурса: ");
    return caption + resourcePercentText(use, decimalSeparator) + (use.percent ? " %" : "");
}

}  // namespace nkp::analysis
