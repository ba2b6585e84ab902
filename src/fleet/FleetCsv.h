#pragma once

#include "base/Failure.h"

#include "base/SpreadsheetCsv.h"
#include "fleet/FleetRow.h"

#include <string>
#include <vector>

// The overview as CSV for spreadsheets: UTF-8, ";" between fields, CR LF
// after every line (the header first, with the column headings), a field in
// double quotes (inner quotes doubled) when it holds ";", a quote, CR or LF.
namespace nkp::fleet {

using fileio::kUtf8Bom;

// The CSV text; with `byteOrderMark` it starts with the UTF-8 BOM, which
// spreadsheet programs need to take the text as UTF-8.
std::string fleetCsv(const std::vector<FleetRow>& rows, bool byteOrderMark);

// Writes fleetCsv(rows, true) to `path` safely, as every spreadsheet CSV (the old file stays whole on
// failure, whose cause is English).
Done writeFleetCsv(const std::string& path, const std::vector<FleetRow>& rows);

}  // namespace nkp::fleet
