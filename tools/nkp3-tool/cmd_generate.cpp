// nkp3-tool generate [--seed N] OUT.nkp: writes a synthetic read-out.
// nkp3-tool generate --history N [--seed S] [--replace-limiter-at K] DIR:
// writes N read-outs of one crane into DIR.
#include "ToolCommand.h"
#include "ToolSupport.h"

#include "args/ArgParser.h"
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
        nkp::tool::printError("cannot create " + dir + ": " + ec.message());
        return nkp::tool::kExitFailure;
    }
    // Each read-out is written as soon as it is made: a long history is
    // never held in memory.
    const bool written = nkp::generator::generateHistory(options, [&dir](nkp::generator::HistoryReadout&& r) {
        const std::string path = (std::filesystem::path(dir) / r.fileName).string();
        const nkp::Done written = nkp::fileio::writeFileAtomically(
            path, std::string_view(reinterpret_cast<const char*>(r.bytes.data()), r.bytes.size()));
        if (!written)
            nkp::tool::printError(written.error());
        return written.ok();
    });
    return written ? nkp::tool::kExitOk : nkp::tool::kExitFailure;
}

// A usage problem in the command's words.
std::string generateProblem(const nkp::tool::ArgProblem& problem)
{
    using Kind = nkp::tool::ArgProblem::Kind;
    switch (problem.kind) {
    case Kind::ValueMissing:
        return problem.argument == "--seed" ? "--seed needs a number" : problem.argument + " needs a count";
    case Kind::Refused:
        return problem.reason;
    case Kind::UnknownOption:
        return "unknown option '" + problem.argument + "'";
    default:
        return "one output file only";
    }
}

int runGenerate(const std::vector<std::string>& args)
{
    using namespace nkp;
    generator::GeneratorOptions options;
    std::string out;
    int history = -1, replaceAt = 0;
    auto count = [](const char* name, int& target) {
        return tool::ArgOption {name, tool::OptionKind::Value, [name, &target](const std::string& text) {
                                    return parseCount(text, target) ? std::string()
                                                                    : std::string(name) + " needs a count";
                                }};
    };
    auto seed = [&options](const std::string& text) {
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), options.seed);
        return ec == std::errc() && end == text.data() + text.size() ? std::string()
                                                                     : "bad seed '" + text + "'";
    };
    const tool::ArgSyntax syntax {
        .options = {count("--history", history), count("--replace-limiter-at", replaceAt),
            {"--seed", tool::OptionKind::Value, seed}},
        .ordinary = tool::keepIn(out),
        .maxOrdinary = 1,
        .empty = tool::EmptyArgument::FillsNothing};
    if (const auto problem = tool::parseArgs(syntax, args))
        return tool::usageError("generate: " + generateProblem(*problem));
    if (out.empty())
        return tool::usageError("generate: output file missing");
    if (history >= 0) {
        if (history < 1 || history > generator::kMaxHistoryCount)
            return tool::usageError("generate: --history takes 1 to "
                + std::to_string(generator::kMaxHistoryCount)
                + " read-outs (a reading a week for a century: the recorder's years are 2000-2099)");
        generator::HistoryOptions h;
        h.seed = options.seed;
        h.count = history;
        h.replaceLimiterAt = replaceAt;
        return writeHistory(h, out);
    }
    if (replaceAt != 0)
        return tool::usageError("generate: --replace-limiter-at needs --history");
    if (const Done written = recorder::writeDataFile(
            out, generator::generateImage(options), generator::generateIdentification(options));
        !written) {
        tool::printError(written.error());
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
