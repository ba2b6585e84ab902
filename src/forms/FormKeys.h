#pragma once

#include "screen/MainState.h"

#include <string>
#include <string_view>
#include <vector>

// The key tables of the three forms: which value each key of a form data
// file takes, in the order the form writes them.
namespace nkp::forms {

struct KeyLine {
    std::string_view key;  // "TipKrana"
    std::string value;     // Windows-1251
};

// Values a form computes beside the main window's texts.
struct FormExtras {
    std::string startCharacteristic;  // "|0:HHome:" (Forms 1, 2)
    std::string testSpan;             // "|0:TimeIsp:" (Form 1)
    std::string frameRange;           // "|0:KadrIsp:" (Form 1)
};

// The key lines of form 1, 2 or 3 from the current texts of `state`.
std::vector<KeyLine> formKeyLines(int form, const screen::MainState& state, const FormExtras& extras);

// "200" and the first character of the limiter serial number; empty when
// the serial number is empty.
std::string limiterYearText(const std::string& limiterSerial);

// The form data file: every line "|0:" key ":" value, each ended by CR LF;
// line ends inside a value become spaces.
std::string formDataFileText(const std::vector<KeyLine>& lines);

}  // namespace nkp::forms
