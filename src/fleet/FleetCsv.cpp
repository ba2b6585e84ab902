#include "fleet/FleetCsv.h"

#include "base/ColumnTable.h"
#include "base/SpreadsheetCsv.h"
#include "fleet/FleetColumns.h"

namespace nkp::fleet {

std::string fleetCsv(const std::vector<FleetRow>& rows, bool byteOrderMark)
{
    // The overview's texts hold no decimal separator of their own.
    return table::csvText(fleetColumns(), rows, '.', byteOrderMark);
}

bool writeFleetCsv(const std::string& path, const std::vector<FleetRow>& rows, std::string* error)
{
    return fileio::writeSpreadsheetCsv(path, fleetCsv(rows, false), error);
}

}  // namespace nkp::fleet
