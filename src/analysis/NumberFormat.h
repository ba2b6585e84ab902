#pragma once

#include <string>

// Number pictures of the window: "0" a digit always written, "#" a digit
// written only when needed, the decimal separator given by the caller.
namespace nkp::analysis {

// "#0.0", "#0.00", "#0.000", "####0.0": at least one integer digit and
// exactly `decimals` decimals, rounded half away from zero.
std::string formatFixed(double value, int decimals, char decimalSeparator);

// "#00": at least two digits.
std::string formatTwoDigits(long long value);

// "hh:mm:00" of a number of minutes: whole hours, ":", minutes "#00", ":00".
// Signed values divide toward zero (the forms show differences).
std::string formatOperatingTime(long long minutes);

}  // namespace nkp::analysis
