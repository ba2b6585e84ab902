#pragma once

#include "base/ColumnTable.h"
#include "fleet/FleetRow.h"

// The columns of the overview, shared by the window's table, the CSV text
// and nkp3-tool.
namespace nkp::fleet {

// File, crane model, number, owner, reading date, total cycles, the classes
// and groups, characteristic and normative numbers, resource share, the
// overload counts, the latest overload, broken frames, the signature status and the remark.
// Texts are UTF-8; a row that could not be loaded shows only its file and
// remark. Counts, numbers, classes and dates sort by number (dates as
// yyyymmddhhmm); counts and numbers stand right-aligned, classes and dates
// read as text.
const table::Columns<FleetRow>& fleetColumns();

}  // namespace nkp::fleet
