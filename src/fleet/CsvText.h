#pragma once

#include <string>
#include <string_view>
#include <vector>

// The project's CSV for spreadsheets: UTF-8, ";" between fields, CR LF after
// every line, a field in double quotes (inner quotes doubled) when it holds
// ";", a quote, CR or LF. The overview and the archive's tables use it.
namespace nkp::fleet {

void appendCsvField(std::string& out, std::string_view field);

// The lines of `rows` (UTF-8 cells), with the UTF-8 BOM first when asked.
std::string csvText(const std::vector<std::vector<std::string>>& rows, bool byteOrderMark);

// Writes csvText(rows, true) to `path` safely. False with `error` (English) on failure.
bool writeCsvFile(
    const std::string& path, const std::vector<std::vector<std::string>>& rows, std::string* error);

}  // namespace nkp::fleet
