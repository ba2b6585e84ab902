// nkp3-tool print: the printouts of a read-out as a PDF file, without a display.
#include "ToolCommand.h"
#include "ToolSupport.h"

#include "analysis/Events.h"
#include "analysis/MainState.h"
#include "analysis/ReadoutLoader.h"
#include "base/RegularFile.h"
#include "print/FrameRange.h"
#include "print/PrintDocuments.h"

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

// Fills `out`; returns an empty text or the problem with the command line.
std::string parseArgs(const std::vector<std::string>& args, PrintArgs& out)
{
    if (args.size() < 2)
        return "print needs a layout and a data file";
    if (args[0] == "card")
        out.document = print::PdfDocument::CardWithAppendix;
    else if (args[0] == "oper")
        out.document = print::PdfDocument::OperationalInfo;
    else if (args[0] == "events")
        out.events = true;
    else
        return "unknown layout '" + args[0] + "' (card, oper or events)";
    out.input = args[1];
    for (std::size_t i = 2; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (i + 1 >= args.size())
            return "option " + option + " needs a value";
        const std::string& value = args[++i];
        if (option == "--pdf") {
            out.output = value;
        } else if (option == "--from" || option == "--to") {
            const auto number = frameNumber(value);
            if (!number)
                return option + " needs an integer, not '" + value + "'";
            (option == "--from" ? out.from : out.to) = number;
        } else if (option == "--threshold") {
            int percent = 0;
            const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), percent);
            if (value.empty() || value[0] == '-' || ec != std::errc {} || end != value.data() + value.size())
                return "--threshold needs a whole percentage, not '" + value + "'";
            out.threshold = percent;
        } else {
            return "unknown option " + option;
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
    if (const std::string problem = parseArgs(args, a); !problem.empty())
        return usageError(problem);

    // The charts are widgets: a display-less platform serves them.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "nkp3-tool";
    static char* argv[] = {name, nullptr};
    QApplication app(argc, argv);

    if (fileio::sameFile(a.input, a.output)) {
        std::cerr << "nkp3-tool: " << a.output << " is the read-out itself; not replaced\n";
        return kExitFailure;
    }
    const char separator = localeDecimalSeparator();
    analysis::MainState state;
    std::string error;
    if (!analysis::loadReadout(a.input, separator, state, &error)) {
        std::cerr << "nkp3-tool: cannot read " << a.input << ": " << error << "\n";
        return kExitFailure;
    }
    if (a.events) {
        if (!print::writeEventsPdf(a.output, state, a.threshold.value_or(analysis::kDefaultOverloadThreshold),
                separator, &error)) {
            std::cerr << "nkp3-tool: " << error << "\n";
            return kExitFailure;
        }
        return kExitOk;
    }
    const print::FrameRange range {
        a.from.value_or(0), a.to.value_or(static_cast<int>(state.frames.size()) - 1)};
    if (!print::writePdf(a.output, a.document, state, range, separator, &error)) {
        std::cerr << "nkp3-tool: " << error << "\n";
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
