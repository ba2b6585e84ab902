// nkp3-tool fleet DIR [--csv OUT]: the overview of every read-out below a
// folder, as CSV text on stdout or (with a BOM) in a file.
#include "ToolCommand.h"
#include "ToolSupport.h"

#include "fleet/FleetCsv.h"
#include "fleet/FleetScan.h"

#include <QThreadPool>

#include <iostream>

namespace {

int runFleet(const std::vector<std::string>& args)
{
    std::string folder, csvPath;
    bool csv = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--csv") {
            if (csv || i + 1 >= args.size())
                return nkp::tool::usageError("fleet: --csv needs one file name");
            csv = true;
            csvPath = args[++i];
        } else if (!a.empty() && a[0] == '-') {
            return nkp::tool::usageError("fleet: unknown option '" + a + "'");
        } else if (folder.empty()) {
            folder = a;
        } else {
            return nkp::tool::usageError("fleet: one folder only");
        }
    }
    if (folder.empty())
        return nkp::tool::usageError("fleet: folder missing");

    QThreadPool pool;
    std::string error;
    const auto rows = nkp::fleet::scanFleet(folder, nkp::tool::localeDecimalSeparator(), pool, &error);
    if (!rows) {
        std::cerr << "nkp3-tool: " << error << "\n";
        return nkp::tool::kExitFailure;
    }
    if (!csv) {
        std::cout << nkp::tool::visibleControls(nkp::fleet::fleetCsv(*rows, false), true);
        return nkp::tool::kExitOk;
    }
    if (!nkp::fleet::writeFleetCsv(csvPath, *rows, &error)) {
        std::cerr << "nkp3-tool: " << error << "\n";
        return nkp::tool::kExitFailure;
    }
    return nkp::tool::kExitOk;
}

}  // namespace

nkp::tool::ToolCommand nkp::tool::fleetCommand()
{
    return {"fleet", "fleet DIR [--csv OUT]", runFleet};
}
