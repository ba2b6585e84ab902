#pragma once

#include "analysis/Readout.h"

#include <optional>
#include <string>

// How much of the crane's normative service life its current characteristic
// number has used. Display only: nothing of it is stored or merged into forms.
namespace nkp::analysis {

enum class ResourceLevel { Unknown, Green, Yellow, Red };

struct ResourceUse {
    std::optional<double> percent;  // empty when the normative group is empty or unknown
    ResourceLevel level = ResourceLevel::Unknown;
};

// The share of `normativeNumber` that `characteristicNumber` makes up, in
// percent: green below 80 %, yellow from 80 %, red from 100 %.
ResourceUse resourceUse(double characteristicNumber, int normativeNumber);
ResourceUse resourceUse(const Readout& readout);

// "37,4" with one decimal and the given separator, or "—"; Windows-1251.
std::string resourcePercentText(const ResourceUse& use, char decimalSeparator);

// "Использовано ресурса: 37,4 %" or "Использовано ресурса: —", Windows-1251.
std::string resourceUseText(const ResourceUse& use, char decimalSeparator);

}  // namespace nkp::analysis
