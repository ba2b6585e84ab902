#pragma once

#include <string>
#include <vector>

// One sub-command of nkp3-tool. A command file registers itself with
// NKP_TOOL_COMMAND; main() dispatches on the first argument.
namespace nkp::tool {

// Exit statuses shared by every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

struct ToolCommand {
    std::string name;
    std::string usage;                                 // one or more lines, without the program name
    int (*run)(const std::vector<std::string>& args);  // args after the command name
};

// Adds a command; returns true so that it can initialise a static.
bool registerCommand(ToolCommand command);

// Prints the usage text of every command to stderr and returns kExitUsage.
int usageError(const std::string& problem);

}  // namespace nkp::tool

#define NKP_TOOL_CONCAT2(a, b) a##b
#define NKP_TOOL_CONCAT(a, b) NKP_TOOL_CONCAT2(a, b)
#define NKP_TOOL_COMMAND(name, usage, fn)                                                                    \
    namespace {                                                                                              \
    [[maybe_unused]] const bool NKP_TOOL_CONCAT(registered_, __LINE__)                                       \
        = ::nkp::tool::registerCommand(::nkp::tool::ToolCommand {name, usage, fn});                          \
    }
