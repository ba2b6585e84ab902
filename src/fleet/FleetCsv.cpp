#include "fleet/FleetCsv.h"

#include "base/SpreadsheetCsv.h"
#include "fleet/FleetColumns.h"

namespace nkp::fleet {
namespace {

template <typename CellText> void appendLine(std::string& out, CellText cell)
{
    for (int c = 0; c < kFleetColumnCount; ++c) {
        if (c > 0)
            out += ';';
        fileio::appendCsvField(out, cell(static_cast<FleetColumn>(c)));
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

Done writeFleetCsv(const std::string& path, const std::vector<FleetRow>& rows)
{
    return fileio::writeSpreadsheetCsv(path, fleetCsv(rows, false));
}

}  // namespace nkp::fleet
