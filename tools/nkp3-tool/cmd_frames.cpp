// nkp3-tool frames FILE: the 11000 decoded records in chronological order as
// CSV (UTF-8, ";" between fields, numbers as the frames table shows them).
#include "ToolCommand.h"
#include "ToolSupport.h"

#include "analysis/FramesCsv.h"
#include "args/ArgParser.h"

#include <iostream>

namespace {

int runFrames(const std::vector<std::string>& args)
{
    using namespace nkp::tool;
    std::string path;
    const ArgSyntax syntax {.ordinary = keepIn(path), .maxOrdinary = 1, .empty = EmptyArgument::Surplus};
    if (parseArgs(syntax, args) || path.empty())
        return usageError("frames: exactly one file expected");
    nkp::analysis::LoadedReadout state;
    if (!nkp::tool::loadForTool(path, state))
        return nkp::tool::kExitFailure;
    std::cout << nkp::tool::visibleControls(
        nkp::analysis::framesCsv(
            state, nkp::analysis::allFramePositions(), nkp::tool::localeDecimalSeparator()),
        true);
    // main() checks that the output reached its file.
    return nkp::tool::kExitOk;
}

}  // namespace

nkp::tool::ToolCommand nkp::tool::framesCommand()
{
    return {"frames", "frames FILE", runFrames};
}
