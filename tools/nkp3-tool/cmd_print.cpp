// nkp3-tool print: the printouts of a read-out as a PDF file, without a display.
#include "ToolCommand.h"
#include "ToolSupport.h"

#include "analysis/Events.h"
#include "args/ArgParser.h"
#include "base/Codec.h"
#include "print/FrameRange.h"
#include "print/PrintDocuments.h"
#include "screen/MainStateLoad.h"
#include "signing/Verification.h"

#include <QApplication>

#include <charconv>
#include <iostream>
#include <optional>

namespace nkp::tool {
namespace {

struct PrintArgs {
    print::PdfDocument document = print::PdfDocument::CardWithAppendix;
    bool events = false;  // the events list and load spectrum
    std::string input, output;
    std::optional<int> from, to, threshold;
};

std::optional<int> frameNumber(const std::string& text)
{
    return print::parseFrameNumber(QString::fromLocal8Bit(text.c_str()));
}

// A whole percentage for --threshold.
std::optional<int> percentage(const std::string& value)
{
    int percent = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), percent);
    if (value.empty() || value[0] == '-' || ec != std::errc {} || end != value.data() + value.size())
        return std::nullopt;
    return percent;
}

// Fills `out`; returns an empty text or the problem with the command line.
std::string printArgs(const std::vector<std::string>& args, PrintArgs& out)
{
    auto layout = [&out](const std::string& name) {
        if (name == "card")
            out.document = print::PdfDocument::CardWithAppendix;
        else if (name == "oper")
            out.document = print::PdfDocument::OperationalInfo;
        else if (name == "events")
            out.events = true;
        else
            return "unknown layout '" + name + "' (card, oper or events)";
        return std::string();
    };
    auto frame = [](const char* option, std::optional<int>& target) {
        return ArgOption {option, OptionKind::Value, [option, &target](const std::string& value) {
                              target = frameNumber(value);
                              return target ? std::string()
                                            : std::string(option) + " needs an integer, not '" + value + "'";
                          }};
    };
    auto threshold = [&out](const std::string& value) {
        out.threshold = percentage(value);
        return out.threshold ? std::string() : "--threshold needs a whole percentage, not '" + value + "'";
    };
    // The layout and the file come first; after them every argument is an
    // option with its value.
    const ArgSyntax syntax {
        .options = {{"--pdf", OptionKind::Value, keepIn(out.output)}, frame("--from", out.from),
            frame("--to", out.to), {"--threshold", OptionKind::Value, threshold}},
        .unknown = UnknownOptions::AllOptions,
        .leading = {layout, keepIn(out.input)}};
    if (const auto problem = parseArgs(syntax, args)) {
        switch (problem->kind) {
        case ArgProblem::Kind::LeadingMissing:
            return "print needs a layout and a data file";
        case ArgProblem::Kind::ValueMissing:
            return "option " + problem->argument + " needs a value";
        case ArgProblem::Kind::Refused:
            return problem->reason;
        default:
            return "unknown option " + problem->argument;
        }
    }
    if (out.output.empty())
        return "--pdf OUT.pdf is required";
    if ((out.from || out.to) && (out.events || out.document != print::PdfDocument::OperationalInfo))
        return "--from and --to belong to the oper layout";
    if (out.threshold && !out.events)
        return "--threshold belongs to the events layout";
    return {};
}

int runPrint(const std::vector<std::string>& args)
{
    PrintArgs a;
    if (const std::string problem = printArgs(args, a); !problem.empty())
        return usageError(problem);

    // The charts are widgets: a display-less platform serves them.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "nkp3-tool";
    static char* argv[] = {name, nullptr};
    QApplication app(argc, argv);

    const char separator = localeDecimalSeparator();
    screen::MainState state;
    if (const Done loaded = screen::loadReadout(a.input, separator, state); !loaded) {
        printError("cannot read " + a.input + ": " + loaded.failure().reason);
        return kExitFailure;
    }
    // The card's footer: the file's signature against the start folder's keys.
    if (const auto verification
        = signing::verifyFile(a.input, signing::trustedKeysOfFolder(signing::trustedKeyFolder("."))))
        state.fileSignature = codec::utf8ToCp1251(signing::footerText(*verification));
    if (a.events) {
        if (const Done written = print::writeEventsPdf(
                a.output, state, a.threshold.value_or(analysis::kDefaultOverloadThreshold), separator);
            !written) {
            printError(written.error());
            return kExitFailure;
        }
        return kExitOk;
    }
    const print::FrameRange range {
        a.from.value_or(0), a.to.value_or(static_cast<int>(state.frames.size()) - 1)};
    if (const Done written = print::writePdf(a.output, a.document, state, range, separator); !written) {
        printError(written.error());
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace
}  // namespace nkp::tool

nkp::tool::ToolCommand nkp::tool::printCommand()
{
    return {"print", "print card|oper|events FILE.nkp --pdf OUT.pdf [--from N --to M] [--threshold P]",
        nkp::tool::runPrint};
}
