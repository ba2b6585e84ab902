#pragma once

#include <functional>
#include <string>
#include <vector>

// The output side of the commands that print a table: the text on stdout, or
// (with --csv OUT) in a file written safely.
namespace nkp::tool {

// The arguments of a command of the form "NAME FILE [--OPTION VALUE]... [--csv OUT]".
struct TableArgs {
    std::string input;
    std::string csvPath;  // empty: stdout
    std::vector<std::pair<std::string, std::string>> options;
};

// Parses `args`; `valueOptions` are the options besides --csv that take a
// value. An empty text, or the problem with the command line.
std::string parseTableArgs(
    const std::vector<std::string>& args, const std::vector<std::string>& valueOptions, TableArgs& out);

// Prints text(false) on stdout, or writes text(true), the text with a UTF-8
// byte order mark, to `csvPath` (refusing the input file itself). Returns
// the command's exit status; a failure is named on stderr.
int emitTable(const TableArgs& args, const std::function<std::string(bool byteOrderMark)>& text);

}  // namespace nkp::tool
