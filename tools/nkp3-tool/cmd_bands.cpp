// nkp3-tool spectrum FILE [--csv OUT]: the valid frames per 10 % band of the
// load percentage with their shares, then the recorder's five band counters
// with theirs, as CSV.
#include "CsvOutput.h"
#include "ToolCommand.h"
#include "ToolSupport.h"

#include "analysis/EventsCsv.h"
#include "analysis/LoadBands.h"

namespace {

int runSpectrum(const std::vector<std::string>& args)
{
    nkp::tool::TableArgs a;
    if (const std::string problem = nkp::tool::parseTableArgs(args, {}, a); !problem.empty())
        return nkp::tool::usageError("spectrum: " + problem);
    nkp::analysis::LoadedReadout state;
    if (!nkp::tool::loadForTool(a.input, state))
        return nkp::tool::kExitFailure;
    const nkp::analysis::LoadSpectrum spectrum
        = nkp::analysis::loadSpectrum(state.frames, state.readout.cycleCounts);
    const char sep = nkp::tool::localeDecimalSeparator();
    return nkp::tool::emitTable(a, [&](bool bom) { return nkp::analysis::spectrumCsv(spectrum, sep, bom); });
}

}  // namespace

nkp::tool::ToolCommand nkp::tool::spectrumCommand()
{
    return {"spectrum", "spectrum FILE [--csv OUT]", runSpectrum};
}
