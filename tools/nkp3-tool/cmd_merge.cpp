// nkp3-tool merge DATA TEMPLATE REPORT: runs the template engine.
#include "ToolCommand.h"
#include "ToolSupport.h"

#include "report/Reportfm.h"

#include <iostream>

namespace {

int runMerge(const std::vector<std::string>& args)
{
    using namespace nkp::tool;
    if (args.size() != 3)
        return usageError("merge needs a data file, a template and a report file");
    try {
        nkp::report::GenerateReport(args[0], args[1], args[2]);
    } catch (const nkp::report::RepoRTF_Error& error) {
        std::cerr << visibleControls(error.utf8(), false) << "\n";
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace

nkp::tool::ToolCommand nkp::tool::mergeCommand()
{
    return {"merge", "merge DATA TEMPLATE REPORT   merge a keyed data file into an RTF or text template",
        runMerge};
}
