#pragma once

#include <cstddef>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

// The one parser of the commands' arguments. A command declares its options
// and its other arguments in one ArgSyntax; the parser hands every argument
// to its handler in command-line order and stops at the first problem, which
// the command words in its own message. Options may stand before and after
// the other arguments; an option's value is always the next argument, taken
// as it stands (even "-x"). There is no "--name=value" and no "--" that ends
// the options. nkp3-tool and nkp3-sim both parse with it.
namespace nkp::tool {

// Takes one argument; returns an empty text, or why the argument is refused.
using ArgHandler = std::function<std::string(const std::string& argument)>;

enum class OptionKind {
    Flag,       // no value; the handler receives the option's name
    Value,      // the next argument is its value; a repeated one is handled again
    ValueOnce,  // as Value, but a second one is a problem
};

struct ArgOption {
    std::string name {};  // "--csv"
    OptionKind kind = OptionKind::Flag;
    ArgHandler take {};
};

// Which undeclared arguments are unknown options rather than other arguments.
enum class UnknownOptions {
    None,        // none: every undeclared argument is an ordinary one
    DoubleDash,  // those that begin with "--"
    Dash,        // those that begin with '-', "-" itself included
    AllOptions,  // every one after the leading arguments, as an option with a value
};

// What an empty ordinary argument ('') does.
enum class EmptyArgument {
    Counts,        // it is an argument like any other
    FillsNothing,  // passed over while a place is free, surplus once all are taken
    Surplus,       // it is a surplus argument
};

struct ArgSyntax {
    std::vector<ArgOption> options {};
    UnknownOptions unknown = UnknownOptions::Dash;
    // Arguments that come first, whatever they look like, all required.
    std::vector<ArgHandler> leading {};
    // The ordinary arguments after them, at most `maxOrdinary` (none without a handler).
    ArgHandler ordinary {};
    std::size_t maxOrdinary = std::numeric_limits<std::size_t>::max();
    EmptyArgument empty = EmptyArgument::Counts;
};

struct ArgProblem {
    enum class Kind {
        LeadingMissing,  // fewer arguments than the leading ones
        ValueMissing,    // an option that takes a value came last
        Repeated,        // a second option that may stand once
        UnknownOption,   // an undeclared option
        Surplus,         // an ordinary argument beyond the last place
        Refused,         // a handler refused its argument; `reason` says why
    };
    Kind kind;
    std::string argument;  // the option or argument concerned
    std::string reason;    // Refused: the handler's words
};

// Parses `args` by `syntax`; nothing, or the first problem.
std::optional<ArgProblem> parseArgs(const ArgSyntax& syntax, const std::vector<std::string>& args);

// Handlers that only keep what they are given.
ArgHandler keepIn(std::string& target);
ArgHandler keepIn(std::optional<std::string>& target);
ArgHandler appendTo(std::vector<std::string>& target);
ArgHandler setFlag(bool& target);

}  // namespace nkp::tool
