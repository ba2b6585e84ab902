#include "CsvOutput.h"

#include "ToolCommand.h"
#include "ToolSupport.h"

#include "args/ArgParser.h"
#include "base/SafeFileWriter.h"

#include <iostream>
#include <optional>

namespace nkp::tool {

std::string parseTableArgs(
    const std::vector<std::string>& args, const std::vector<std::string>& valueOptions, TableArgs& out)
{
    std::optional<std::string> csv;
    ArgSyntax syntax {.options = {{"--csv", OptionKind::ValueOnce, keepIn(csv)}},
        .ordinary = keepIn(out.input),
        .maxOrdinary = 1,
        .empty = EmptyArgument::Surplus};
    for (const std::string& name : valueOptions)
        syntax.options.push_back({name, OptionKind::Value, [&out, name](const std::string& value) {
                                      out.options.emplace_back(name, value);
                                      return std::string();
                                  }});
    if (const auto problem = parseArgs(syntax, args)) {
        switch (problem->kind) {
        case ArgProblem::Kind::ValueMissing:
            return problem->argument + " needs a value";
        case ArgProblem::Kind::Repeated:
            return "--csv given twice";
        case ArgProblem::Kind::UnknownOption:
            return "unknown option '" + problem->argument + "'";
        default:
            return "exactly one file expected";
        }
    }
    if (out.input.empty())
        return "file missing";
    if (csv && csv->empty())
        return "--csv needs a file name";
    out.csvPath = csv.value_or(std::string());
    return {};
}

int emitTable(const TableArgs& args, const std::function<std::string(bool)>& text)
{
    if (args.csvPath.empty()) {
        std::cout << visibleControls(text(false), true);
        std::cout.flush();
        return std::cout ? kExitOk : kExitFailure;
    }
    if (const Done written = fileio::writeFileAtomically(args.csvPath, text(true)); !written) {
        printError(written.error());
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace nkp::tool
