#pragma once

#include "recorder/Frame.h"

#include <string>
#include <string_view>

// The values of a frame as every view shows them: the frames table, the
// frames CSV, the events, the charts and the printed listing. Texts are
// Windows-1251 (in practice ASCII but for the status).
namespace nkp::analysis {

// Status texts.
inline constexpr std::string_view kStatusOk = "\xCD\xEE\xF0\xEC\xE0";  // "Норма"
inline constexpr std::string_view kStatusBroken = "\xC1\xF0\xE0\xEA";  // "Брак"

struct FrameNumberTexts {
    std::string boomAngle;   // "#0.0"
    std::string boomLength;  // "#0.00"
    std::string radius;      // "#0.00"
    std::string pressure;    // "#0.0"
    std::string loadMass;    // "#0.00"
    std::string azimuth;     // "#0.0"
};

FrameNumberTexts frameNumberTexts(const recorder::TFrameRecord& record, char decimalSeparator);

// One of those numbers alone, for views that show a few cells.
enum class FrameQuantity { BoomAngle, BoomLength, Radius, Pressure, LoadMass, Azimuth };
std::string frameNumberText(
    const recorder::TFrameRecord& record, FrameQuantity quantity, char decimalSeparator);

// "Норма", "Брак", or empty for a cleared record.
std::string_view statusText(recorder::FrameStatus status);
// "dd.mm." of the clock, a field three digits wide as the recorder's digits read.
std::string dayMonthText(const recorder::FrameClock& clock);
// "dd.mm.20yy"; empty when the year is not known; "01.01.1999" unless "Норма".
std::string frameDateText(const recorder::TFrameRecord& record);
// "hh:mm:ss"; "00:00:00" unless "Норма".
std::string frameTimeText(const recorder::TFrameRecord& record);
// The date and time with a space between them: "dd.mm.20yy hh:mm:ss".
std::string frameDateTimeText(const recorder::TFrameRecord& record);
// The 8-character bit text of a byte, bit 7 first.
std::string bitText(std::uint8_t byte);
// "<reeving> <mode>", each nibble in decimal; empty unless "Норма".
std::string reevingModeText(const recorder::TFrameRecord& record);
// "E" and each nibble of the code in decimal; "0" unless "Норма".
std::string faultCodeText(const recorder::TFrameRecord& record);
// The code of a "Норма" record without a fault.
inline constexpr std::uint8_t kNoFault = 0;

}  // namespace nkp::analysis
