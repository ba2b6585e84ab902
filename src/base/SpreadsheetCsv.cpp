#include "base/SpreadsheetCsv.h"

#include "base/SafeFileWriter.h"

namespace nkp::fileio {
namespace {

// A sign, digits and at most one decimal separator: a spreadsheet reads it
// as the number it is.
bool isPlainNumber(std::string_view field)
{
    if (!field.empty() && (field.front() == '-' || field.front() == '+'))
        field.remove_prefix(1);
    bool digit = false, separator = false;
    for (const char c : field) {
        if (c >= '0' && c <= '9') {
            digit = true;
        } else if ((c == '.' || c == ',') && !separator) {
            separator = true;
        } else {
            return false;
        }
    }
    return digit;
}

}  // namespace

void appendCsvField(std::string& out, std::string_view text)
{
    std::string guarded;
    std::string_view field = text;
    if (!text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos
        && !isPlainNumber(text)) {
        guarded = "'" + std::string(text);
        field = guarded;
    }
    if (field.find_first_of(";\"\r\n") == std::string_view::npos) {
        out += field;
        return;
    }
    out += '"';
    for (char c : field) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

std::string csvText(const std::vector<std::vector<std::string>>& rows, bool byteOrderMark)
{
    std::string out;
    if (byteOrderMark)
        out += kUtf8Bom;
    for (const auto& row : rows)
        appendCsvLine(out, row);
    return out;
}

Done writeSpreadsheetCsv(const std::string& path, std::string_view csv)
{
    std::string bytes;
    bytes.reserve(kUtf8Bom.size() + csv.size());
    bytes += kUtf8Bom;
    bytes += csv;
    return writeFileAtomically(path, bytes);
}

Done writeCsvFile(const std::string& path, const std::vector<std::vector<std::string>>& rows)
{
    return writeSpreadsheetCsv(path, csvText(rows, false));
}

}  // namespace nkp::fileio
