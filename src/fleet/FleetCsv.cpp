#include "fleet/FleetCsv.h"

#include "fileio/SpreadsheetCsv.h"
#include "fleet/FleetColumns.h"

namespace nkp::fleet {
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

void appendField(std::string& out, std::string_view text)
{
    // A text that a spreadsheet would run as a formula gets an apostrophe,
    // the usual guard: texts of a read-out come from a device in the field.
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

template <typename CellText> void appendLine(std::string& out, CellText cell)
{
    for (int c = 0; c < kFleetColumnCount; ++c) {
        if (c > 0)
            out += ';';
        appendField(out, cell(static_cast<FleetColumn>(c)));
    }
    out += fileio::kCsvLineEnd;
}

}  // namespace

std::string fleetCsv(const std::vector<FleetRow>& rows, bool byteOrderMark)
{
    std::string out;
    if (byteOrderMark)
        out += kUtf8Bom;
    appendLine(out, [](FleetColumn c) { return std::string(fleetColumnHeader(c)); });
    for (const FleetRow& row : rows)
        appendLine(out, [&row](FleetColumn c) { return fleetCellText(row, c); });
    return out;
}

bool writeFleetCsv(const std::string& path, const std::vector<FleetRow>& rows, std::string* error)
{
    return fileio::writeSpreadsheetCsv(path, fleetCsv(rows, false), error);
}

}  // namespace nkp::fleet
