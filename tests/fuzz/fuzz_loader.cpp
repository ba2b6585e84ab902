// Any bytes as a data file: loading must neither crash nor read out of bounds,
// and the overview's summary load must show the same values as the full one,
// its one pass over the frames the same broken frames and overload episodes.
#include "analysis/FrameFieldTexts.h"
#include "analysis/OverloadEpisodes.h"
#include "analysis/ReadoutLoader.h"
#include "analysis/Selection.h"
#include "screen/MainStateFields.h"
#include "screen/MainStateLoad.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static nkp::screen::MainState state;  // reused as the window reuses its own
    nkp::recorder::DataFileReader file(std::vector<std::uint8_t>(data, data + size));
    nkp::screen::loadReadout(file, ',', state);
    // The chronological view must stay inside the store.
    if (state.RingStart < 1 || state.RingStart > 11000)
        __builtin_trap();
    static nkp::screen::MainState summary;
    nkp::screen::loadReadoutSummary(file, ',', summary);
    for (const nkp::screen::TextField& field : nkp::screen::mainStateTextFields())
        if (field.loaded && summary.texts.*field.member != state.texts.*field.member)
            __builtin_trap();
    if (summary.readout.totalCycles != state.readout.totalCycles
        || summary.readout.normativeNumber != state.readout.normativeNumber
        || summary.readout.diagnostics.brokenFrames != state.readout.diagnostics.brokenFrames
        || summary.readout.diagnostics.checksumMatches != state.readout.diagnostics.checksumMatches)
        __builtin_trap();
    std::vector<int> broken;
    const nkp::analysis::FrameOverview overview = nkp::analysis::overviewFrames(file, broken);
    if (broken != state.readout.diagnostics.brokenFrames
        || overview.overloadEpisodes != nkp::analysis::countOverloadEpisodes(state.frames, state.RingStart))
        __builtin_trap();
    nkp::analysis::selectByLoad(state, size > 0 ? data[0] : 0);
    nkp::analysis::selectByDate(state, nkp::analysis::frameDateText(state.recordAt(10999)));
    return 0;
}
