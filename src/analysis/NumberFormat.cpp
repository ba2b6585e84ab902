#include "analysis/NumberFormat.h"

#include <charconv>
#include <cmath>
#include <string_view>

namespace nkp::analysis {

std::string formatFixed(double value, int decimals, char decimalSeparator)
{
    if (!std::isfinite(value))
        value = 0;
    // The binary value to 60 decimals; rounding its digits half away from
    // zero avoids round-half-even on exact ties (0.125 -> "0.13"). to_chars,
    // not printf: printf writes the C locale's separator, which a program
    // that takes the user's locale (the tool, any Qt program) does not find.
    char buf[512];
    const std::to_chars_result r
        = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::fixed, 60);
    std::string_view exact(buf, r.ec == std::errc {} ? static_cast<std::size_t>(r.ptr - buf) : 0);
    const std::size_t point = exact.find('.');
    std::string digits(exact.substr(0, point));  // integer digits
    const std::string_view fraction = exact.substr(point + 1);
    digits.append(fraction.substr(0, static_cast<std::size_t>(decimals)));
    if (fraction[static_cast<std::size_t>(decimals)] >= '5') {
        std::size_t i = digits.size();
        while (i > 0) {
            --i;
            if (digits[i] == '9') {
                digits[i] = '0';
                continue;
            }
            ++digits[i];
            break;
        }
        if (i == 0 && digits[0] == '0')
            digits.insert(digits.begin(), '1');
    }
    const std::size_t intLength = digits.size() - static_cast<std::size_t>(decimals);
    std::string out;
    out.reserve(digits.size() + 2);
    if (value < 0 && digits.find_first_not_of('0') != std::string::npos)
        out += '-';
    out.append(digits, 0, intLength);
    if (decimals > 0) {
        out += decimalSeparator;
        out.append(digits, intLength, std::string::npos);
    }
    return out;
}

std::string formatTwoDigits(long long value)
{
    const unsigned long long magnitude
        = value < 0 ? 0ull - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
    std::string digits = std::to_string(magnitude);
    if (digits.size() < 2)
        digits.insert(digits.begin(), '0');
    return value < 0 ? '-' + digits : digits;
}

std::string formatOperatingTime(long long minutes)
{
    return std::to_string(minutes / 60) + ':' + formatTwoDigits(minutes % 60) + ":00";
}

}  // namespace nkp::analysis
