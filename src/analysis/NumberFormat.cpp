#include "analysis/NumberFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

namespace nkp::analysis {

std::string formatFixed(double value, int decimals, char decimalSeparator)
{
    if (!std::isfinite(value))
        value = 0;
    if (decimals < 0)
        decimals = 0;
    // std::to_chars writes the exact binary value, whatever the C library's
    // locale says; 1100 fraction digits hold every double exactly (the
    // smallest subnormal has 1074). Rounding its digits half away from zero
    // avoids round-half-even on exact ties (0.125 -> "0.13").
    char buf[1500];
    const std::to_chars_result r
        = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::fixed, 1100);
    const std::string_view exact(buf, r.ec == std::errc {} ? static_cast<std::size_t>(r.ptr - buf) : 0);
    const std::size_t point = exact.find('.');
    std::string digits(exact.substr(0, point));  // integer digits
    const std::string_view fraction
        = point == std::string_view::npos ? std::string_view {} : exact.substr(point + 1);
    const auto wanted = static_cast<std::size_t>(decimals);
    digits.append(fraction.substr(0, wanted));
    digits.append(wanted - std::min(wanted, fraction.size()), '0');
    if (digits.size() == wanted)
        digits.insert(digits.begin(), '0');
    if (wanted < fraction.size() && fraction[wanted] >= '5') {
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
    const std::size_t intLength = digits.size() - wanted;
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
