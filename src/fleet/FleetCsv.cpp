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

Done writeFleetCsv(const std::string& path, const std::vector<FleetRow>& rows)
{
    return fileio::writeSpreadsheetCsv(path, fleetCsv(rows, false));
}

}  // namespace nkp::fleet
