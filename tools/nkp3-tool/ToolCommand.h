#pragma once

#include <string>
#include <vector>

// The commands of nkp3-tool. Each command file defines the function that
// describes its command; main.cpp lists them all in its command table and
// dispatches on the first argument (and on the second for a sub-command).
namespace nkp::tool {

// Exit statuses shared by every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// A row of the command table. A command with sub-commands ("archive import",
// "archive cranes", ...) has one row for each, all with the same name.
struct ToolCommand {
    std::string name;                                  // "info", "archive"
    std::string usage;                                 // one line, without the program name
    int (*run)(const std::vector<std::string>& args);  // args after the command's words
    std::string sub {};                                // "import"; empty for a command without sub-commands
};

// The commands, one per command file.
std::vector<ToolCommand> archiveCommands();
// The crane log, due dates, remarks and report (rows of the same "archive" command).
std::vector<ToolCommand> archiveLogCommands();
// The archive's trusted keys and the check of the whole archive.
std::vector<ToolCommand> archiveLedgerCommands();
ToolCommand eventsCommand();
ToolCommand fleetCommand();
ToolCommand formCommand();
ToolCommand framesCommand();
ToolCommand generateCommand();
ToolCommand infoCommand();
ToolCommand keyCommand();
ToolCommand mergeCommand();
ToolCommand printCommand();
ToolCommand readCommand();
ToolCommand signCommand();
ToolCommand spectrumCommand();
ToolCommand verifyCommand();

// Prints the usage text of every command to stderr and returns kExitUsage.
int usageError(const std::string& problem);

}  // namespace nkp::tool
