// nkp3-tool events FILE [--threshold P] [--csv OUT]: the episodes of
// overload, coordinate protection and faults of a read-out as CSV (UTF-8,
// ";", numbers as the frames table shows them).
#include "CsvOutput.h"
#include "ToolCommand.h"
#include "ToolSupport.h"

#include "analysis/Events.h"
#include "analysis/EventsCsv.h"

#include <charconv>
#include <optional>

namespace {

// A threshold in whole percent: digits only, within what a frame can hold and more.
std::optional<int> thresholdOf(const std::string& text)
{
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || text[0] == '-' || ec != std::errc {} || end != text.data() + text.size()
        || value > 100000)
        return std::nullopt;
    return value;
}

int runEvents(const std::vector<std::string>& args)
{
    nkp::tool::TableArgs a;
    if (const std::string problem = nkp::tool::parseTableArgs(args, {"--threshold"}, a); !problem.empty())
        return nkp::tool::usageError("events: " + problem);
    int threshold = nkp::analysis::kDefaultOverloadThreshold;
    for (const auto& [option, value] : a.options) {
        const std::optional<int> t = thresholdOf(value);
        if (!t)
            return nkp::tool::usageError("events: --threshold needs a whole percentage, not '" + value + "'");
        threshold = *t;
    }
    nkp::analysis::LoadedReadout state;
    if (!nkp::tool::loadForTool(a.input, state))
        return nkp::tool::kExitFailure;
    const auto episodes = nkp::analysis::findEpisodes(state.frames, state.RingStart, threshold);
    const char sep = nkp::tool::localeDecimalSeparator();
    return nkp::tool::emitTable(
        a, [&](bool bom) { return nkp::analysis::eventsCsv(episodes, state.frames, sep, bom); });
}

}  // namespace

nkp::tool::ToolCommand nkp::tool::eventsCommand()
{
    return {"events", "events FILE [--threshold P] [--csv OUT]", runEvents};
}
