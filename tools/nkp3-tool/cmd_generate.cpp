// nkp3-tool generate [--seed N] OUT.nkp: writes a synthetic read-out.
// nkp3-tool generate --history N [--seed S] [--replace-limiter-at K] DIR:
// writes N read-outs of one crane into DIR.
#include "ToolCommand.h"

#include "base/SafeFileWriter.h"
#include "generator/HistoryGenerator.h"
#include "generator/ReadoutGenerator.h"
#include "recorder/DataFileWriter.h"

#include <charconv>
#include <filesystem>
#include <iostream>

namespace {

bool parseCount(const std::string& text, int& out)
{
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && end == text.data() + text.size() && out >= 0;
}

int writeHistory(const nkp::generator::HistoryOptions& options, const std::string& dir)
{
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) {
        std::cerr << "nkp3-tool: cannot create " << dir << ": " << ec.message() << "\n";
        return nkp::tool::kExitFailure;
    }
    for (const auto& r : nkp::generator::generateHistory(options)) {
        std::string error;
        const std::string path = (std::filesystem::path(dir) / r.fileName).string();
        if (!nkp::fileio::writeFileAtomically(path,
                std::string_view(reinterpret_cast<const char*>(r.bytes.data()), r.bytes.size()), &error)) {
            std::cerr << "nkp3-tool: " << error << "\n";
            return nkp::tool::kExitFailure;
        }
    }
    return nkp::tool::kExitOk;
}

int runGenerate(const std::vector<std::string>& args)
{
    using namespace nkp;
    generator::GeneratorOptions options;
    std::string out;
    int history = -1, replaceAt = 0;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--history" || args[i] == "--replace-limiter-at") {
            int& target = args[i] == "--history" ? history : replaceAt;
            if (++i >= args.size() || !parseCount(args[i], target))
                return tool::usageError("generate: " + args[i - 1] + " needs a count");
        } else if (args[i] == "--seed") {
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
    if (history >= 0) {
        generator::HistoryOptions h;
        h.seed = options.seed;
        h.count = history;
        h.replaceLimiterAt = replaceAt;
        return writeHistory(h, out);
    }
    if (replaceAt != 0)
        return tool::usageError("generate: --replace-limiter-at needs --history");
    std::string error;
    if (!recorder::writeDataFile(
            out, generator::generateImage(options), generator::generateIdentification(options), &error)) {
        std::cerr << "nkp3-tool: " << error << "\n";
        return tool::kExitFailure;
    }
    return tool::kExitOk;
}

}  // namespace

nkp::tool::ToolCommand nkp::tool::generateCommand()
{
    return {"generate",
        "generate [--seed N] OUT.nkp\n  nkp3-tool generate --history N [--seed S] [--replace-limiter-at K] "
        "DIR",
        runGenerate};
}
