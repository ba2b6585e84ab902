// nkp3-tool merge DATA TEMPLATE REPORT: runs the template engine.
#include "ToolCommand.h"
#include "ToolSupport.h"

#include "base/Codec.h"
#include "report/Reportfm.h"

#include <iostream>

namespace {

int runMerge(const std::vector<std::string>& args)
{
    using namespace nkp::tool;
    if (args.size() != 3)
        return usageError("merge needs a data file, a template and a report file");
    if (const nkp::Done merged = nkp::report::GenerateReport(args[0], args[1], args[2]); !merged) {
        std::cerr << visibleControls(nkp::codec::cp1251ToUtf8(merged.failure().reason), false) << "\n";
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
