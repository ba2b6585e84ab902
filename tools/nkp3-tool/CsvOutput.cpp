#include "CsvOutput.h"

#include "ToolCommand.h"

#include "base/SafeFileWriter.h"

#include <algorithm>
#include <filesystem>
#include <iostream>

namespace nkp::tool {

std::string parseTableArgs(
    const std::vector<std::string>& args, const std::vector<std::string>& valueOptions, TableArgs& out)
{
    bool csv = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool known
            = a == "--csv" || std::find(valueOptions.begin(), valueOptions.end(), a) != valueOptions.end();
        if (known) {
            if (i + 1 >= args.size())
                return a + " needs a value";
            const std::string& value = args[++i];
            if (a == "--csv") {
                if (csv)
                    return "--csv given twice";
                csv = true;
                out.csvPath = value;
            } else {
                out.options.emplace_back(a, value);
            }
        } else if (!a.empty() && a[0] == '-') {
            return "unknown option '" + a + "'";
        } else if (out.input.empty() && !a.empty()) {
            out.input = a;
        } else {
            return "exactly one file expected";
        }
    }
    if (out.input.empty())
        return "file missing";
    if (csv && out.csvPath.empty())
        return "--csv needs a file name";
    return {};
}

int emitTable(const TableArgs& args, const std::function<std::string(bool)>& text)
{
    if (args.csvPath.empty()) {
        std::cout << text(false);
        std::cout.flush();
        return std::cout ? kExitOk : kExitFailure;
    }
    std::error_code ec;
    if (std::filesystem::equivalent(args.input, args.csvPath, ec)) {
        std::cerr << "nkp3-tool: " << args.csvPath << " is the read-out itself; not overwritten\n";
        return kExitFailure;
    }
    std::string error;
    if (!fileio::writeFileAtomically(args.csvPath, text(true), &error)) {
        std::cerr << "nkp3-tool: " << error << "\n";
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace nkp::tool
