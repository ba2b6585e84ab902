#pragma once

#include <string>
#include <string_view>

// CSV files for spreadsheet programs: UTF-8 that starts with the byte order
// mark (without it a spreadsheet takes the text for the system's code page
// and shows Cyrillic as garbage) and CR LF after every line.
namespace nkp::fileio {

inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
inline constexpr std::string_view kCsvLineEnd = "\r\n";

// Writes the BOM and `csv` (lines already ended by kCsvLineEnd) to `path`
// safely: the old file stays whole on failure. False with `error` naming the
// cause (English) when it fails.
bool writeSpreadsheetCsv(const std::string& path, std::string_view csv, std::string* error = nullptr);

}  // namespace nkp::fileio
