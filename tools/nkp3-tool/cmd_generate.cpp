// nkp3-tool generate [--seed N] OUT.nkp: writes a synthetic read-out.
#include "ToolCommand.h"

#include "readout_generator/ReadoutGenerator.h"
#include "recorder/DataFileWriter.h"

#include <charconv>
#include <iostream>

namespace {

int runGenerate(const std::vector<std::string>& args)
{
    using namespace nkp;
    generator::GeneratorOptions options;
    std::string out;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--seed") {
            if (++i >= args.size())
                return tool::usageError("generate: --seed needs a number");
            const std::string& text = args[i];
            const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), options.seed);
            if (ec != std::errc() || end != text.data() + text.size())
                return tool::usageError("generate: bad seed '" + text + "'");
        } else if (!args[i].empty() && args[i][0] == '-') {
            return tool::usageError("generate: unknown option '" + args[i] + "'");
        } else if (out.empty()) {
            out = args[i];
        } else {
            return tool::usageError("generate: one output file only");
        }
    }
    if (out.empty())
        return tool::usageError("generate: output file missing");
    std::string error;
    if (!recorder::writeDataFile(
            out, generator::generateImage(options), generator::generateIdentification(options), &error)) {
        std::cerr << "nkp3-tool: " << error << "\n";
        return tool::kExitFailure;
    }
    return tool::kExitOk;
}

}  // namespace

NKP_TOOL_COMMAND("generate", "generate [--seed N] OUT.nkp", runGenerate)
