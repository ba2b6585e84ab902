#pragma once

#include "recorder/Frame.h"

#include <array>
#include <string>

// The texts of one column of the frames table: the sixteen rows of a frame.
namespace nkp::analysis {

inline constexpr int kFrameTableRows = 16;
inline constexpr int kFrameTableColumns = 5;
inline constexpr int kLoadPercentRow = 9;

// Row texts (Windows-1251) of the frame at chronological `position`; all
// empty when the frame is not "Норма" (broken, or cleared and never loaded).
std::array<std::string, kFrameTableRows> frameColumnTexts(
    const recorder::TFrameRecord& record, int position, char decimalSeparator);

// The highlight of a load percentage cell: yellow from 90 to 99, red from
// 100; nothing for other and empty texts.
enum class LoadHighlight { None, Yellow, Red };
LoadHighlight loadPercentHighlight(const std::string& cellText);

}  // namespace nkp::analysis
