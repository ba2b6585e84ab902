#pragma once

#include "base/Failure.h"

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// CSV for spreadsheet programs: UTF-8 that starts with the byte order mark
// in files (without it a spreadsheet takes the text for the system's code
// page and shows Cyrillic as garbage), ";" between fields, CR LF after every
// line, a field in double quotes (inner quotes doubled) when it holds ";", a
// quote, CR or LF. Every table the programs export is written this way.
namespace nkp::fileio {

inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
inline constexpr std::string_view kCsvLineEnd = "\r\n";

// Appends one field (UTF-8). A text that a spreadsheet would run as a
// formula (first character "=", "+", "-", "@", tab or CR, and not a plain
// number) gets a leading apostrophe: texts of a read-out come from a device
// in the field.
void appendCsvField(std::string& out, std::string_view field);

// The fields joined by ";", then CR LF.
template <typename Fields> void appendCsvLine(std::string& out, const Fields& fields)
{
    bool first = true;
    for (const auto& field : fields) {
        if (!first)
            out += ';';
        first = false;
        appendCsvField(out, field);
    }
    out += kCsvLineEnd;
}

inline void appendCsvLine(std::string& out, std::initializer_list<std::string_view> fields)
{
    appendCsvLine<std::initializer_list<std::string_view>>(out, fields);
}

// The lines of `rows` (UTF-8 cells), with the BOM first when asked.
std::string csvText(const std::vector<std::vector<std::string>>& rows, bool byteOrderMark);

// Writes the BOM and `csv` (lines already ended by kCsvLineEnd) to `path`
// safely: the old file stays whole on failure, whose cause (English) names
// the file.
Done writeSpreadsheetCsv(const std::string& path, std::string_view csv);

// csvText(rows) written as by writeSpreadsheetCsv().
Done writeCsvFile(const std::string& path, const std::vector<std::vector<std::string>>& rows);

}  // namespace nkp::fileio
