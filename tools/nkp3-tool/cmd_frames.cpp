// nkp3-tool frames FILE: the 11000 decoded records in chronological order as
// CSV (UTF-8, ";" between fields, numbers as the frames table shows them).
#include "ToolCommand.h"
#include "ToolSupport.h"

#include "analysis/NumberFormat.h"

#include <iostream>

namespace {

using nkp::analysis::formatFixed;

int runFrames(const std::vector<std::string>& args)
{
    if (args.size() != 1 || args[0].empty() || args[0][0] == '-')
        return nkp::tool::usageError("frames: exactly one file expected");
    nkp::analysis::MainState state;
    if (!nkp::tool::loadForTool(args[0], state))
        return nkp::tool::kExitFailure;
    const char sep = nkp::tool::localeDecimalSeparator();
    std::string out;
    out.reserve(state.frames.size() * 128);
    out += "Position;Number;Date;Time;BoomLength;BoomAngle;Pressure;Azimuth;Radius;LoadMass;DiscreteInputs;"
           "OutputRelays;ReevingMode;Limits;LoadPercent;FaultCode;Status\n";
    for (int p = 0; p < static_cast<int>(state.frames.size()); ++p) {
        const nkp::recorder::TFrameRecord& r = state.recordAt(p);
        out += std::to_string(p) + ';' + std::to_string(r.Number) + ';' + r.Date + ';' + r.Time + ';'
            + formatFixed(r.BoomLength, 2, sep) + ';' + formatFixed(r.BoomAngle, 1, sep) + ';'
            + formatFixed(r.Pressure, 1, sep) + ';' + formatFixed(r.Azimuth, 1, sep) + ';'
            + formatFixed(r.Radius, 2, sep) + ';' + formatFixed(r.LoadMass, 2, sep) + ';' + r.DiscreteInputs + ';'
            + r.OutputRelays + ';' + r.ReevingMode + ';' + r.Limits + ';' + std::to_string(r.LoadPercent) + ';'
            + r.FaultCode + ';' + nkp::tool::terminalText(r.Status) + '\n';
    }
    std::cout << out;
    std::cout.flush();
    return std::cout ? nkp::tool::kExitOk : nkp::tool::kExitFailure;
}

}  // namespace

NKP_TOOL_COMMAND("frames", "frames FILE", runFrames)
