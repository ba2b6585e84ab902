#pragma once

#include <string>
#include <string_view>

// One line of the keyed data file: "|n:Key:value", possibly several pairs of
// one group on a line, each introduced by the same prefix "|n:".
namespace nkp::report {

struct DataPair {
    long long group = 0;  // the number after "|"; 0 when the line holds no prefix
    std::string key;      // empty when the line holds no (further) pair
    std::string value;    // converted for the template kind
};

// ParsePair: takes the first pair off the front of `line`, leaving the rest
// of the line (which then begins with the same prefix) in `line`.
DataPair takePair(std::string_view& line, bool rtf);

// A value as the report shows it. Values of "_SYM" keys become a run in the
// template's font number 3, every byte hex-escaped. Other values: in an RTF
// template "\", "{" and "}" are escaped; "|EOL:" and "|EOP:" become the line
// and page break of the template kind.
std::string convertValue(std::string_view value, bool symbolKey, bool rtf);

}  // namespace nkp::report
