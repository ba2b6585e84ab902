#pragma once

#include <string>
#include <vector>

// One sub-command of nkp3-tool. Each command file defines the function that
// describes its command; main.cpp lists them all in its command table and
// dispatches on the first argument.
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

// The commands, one per command file.
ToolCommand archiveCommand();
ToolCommand eventsCommand();
ToolCommand fleetCommand();
ToolCommand formCommand();
ToolCommand framesCommand();
ToolCommand generateCommand();
ToolCommand infoCommand();
ToolCommand mergeCommand();
ToolCommand printCommand();
ToolCommand readCommand();
ToolCommand spectrumCommand();

// Prints the usage text of every command to stderr and returns kExitUsage.
int usageError(const std::string& problem);

}  // namespace nkp::tool
