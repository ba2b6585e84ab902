// nkp3-tool fleet DIR [--csv OUT]: the overview of every read-out below a
// folder, as CSV text on stdout or (with a BOM) in a file.
#include "ToolCommand.h"
#include "ToolSupport.h"

#include "args/ArgParser.h"
#include "fleet/FleetCsv.h"
#include "fleet/FleetScan.h"

#include <QThreadPool>

#include <iostream>
#include <optional>

namespace {

// A usage problem in the command's words.
std::string fleetProblem(const nkp::tool::ArgProblem& problem)
{
    using Kind = nkp::tool::ArgProblem::Kind;
    switch (problem.kind) {
    case Kind::UnknownOption:
        return "unknown option '" + problem.argument + "'";
    case Kind::Surplus:
        return "one folder only";
    default:
        return "--csv needs one file name";
    }
}

int runFleet(const std::vector<std::string>& args)
{
    using namespace nkp::tool;
    std::string folder;
    std::optional<std::string> csvPath;
    const ArgSyntax syntax {.options = {{"--csv", OptionKind::ValueOnce, keepIn(csvPath)}},
        .ordinary = keepIn(folder),
        .maxOrdinary = 1,
        .empty = EmptyArgument::FillsNothing};
    if (const auto problem = parseArgs(syntax, args))
        return usageError("fleet: " + fleetProblem(*problem));
    if (folder.empty())
        return usageError("fleet: folder missing");

    QThreadPool pool;
    const auto rows = nkp::fleet::scanFleet(folder, nkp::tool::localeDecimalSeparator(), pool);
    if (!rows) {
        nkp::tool::printError(rows.error());
        return nkp::tool::kExitFailure;
    }
    if (!csvPath) {
        std::cout << nkp::tool::visibleControls(nkp::fleet::fleetCsv(*rows, false), true);
        return nkp::tool::kExitOk;
    }
    if (const nkp::Done written = nkp::fleet::writeFleetCsv(*csvPath, *rows); !written) {
        nkp::tool::printError(written.error());
        return nkp::tool::kExitFailure;
    }
    return nkp::tool::kExitOk;
}

}  // namespace

nkp::tool::ToolCommand nkp::tool::fleetCommand()
{
    return {"fleet", "fleet DIR [--csv OUT]", runFleet};
}
