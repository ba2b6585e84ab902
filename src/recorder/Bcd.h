#pragma once

#include <cstdint>
#include <string>

// BCD digits as the recorder stores them: a byte's low nibble is the units
// digit and some of its high bits the tens digit. Digits are shown as the
// decimal text of each nibble without validation, so a nibble of 10 to 15
// shows as two characters.
namespace nkp::recorder {

// Tens digit (the `tensBits` bits above bit 3) followed by the units digit.
std::string bcdPairText(std::uint8_t byte, unsigned tensBits);
// The number bcdPairText() shows; -1 when a digit is above 9 (the text is wider than two digits).
int bcdPairValue(std::uint8_t byte, unsigned tensBits);

// "dd.mm.20yy" from a 3-byte BCD date (day, month, year within the century).
std::string bcdDateText(const std::uint8_t* date3);

// "hh:mm dd.mm.20yy" from a 5-byte BCD stamp (minute, hour, day, month, year).
std::string bcdStampText(const std::uint8_t* stamp5);

// The two-character year of the frames: high nibble tens, low nibble units,
// a digit above 9 reads as 0.
std::string frameYearText(std::uint8_t yearByte);

}  // namespace nkp::recorder
