#pragma once

#include "recorder/Frame.h"

#include <string>

// The texts of the frames table: one column per frame, sixteen rows.
namespace nkp::analysis {

inline constexpr int kFrameTableRows = 16;
inline constexpr int kFrameTableColumns = 5;
inline constexpr int kLoadPercentRow = 9;

// The text (Windows-1251) of row `row` of the frame at chronological
// `position`: number, date, time, the six quantities, load percentage,
// reeving and mode, the three bit bytes, fault code, status. Empty when the
// frame is not "Норма" (broken, or cleared and never loaded) and for rows
// outside the table.
std::string frameCellText(const recorder::TFrameRecord& record, int position, int row, char decimalSeparator);

// The highlight of a load percentage cell: yellow from 90 to 99, red from
// 100; nothing for other and empty texts.
enum class LoadHighlight { None, Yellow, Red };
LoadHighlight loadPercentHighlight(const std::string& cellText);

}  // namespace nkp::analysis
