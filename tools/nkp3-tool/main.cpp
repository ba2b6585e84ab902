#include "ToolCommand.h"
#include "ToolSupport.h"

#include <QString>
#include <QtGlobal>

#include "base/InputFiles.h"

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <vector>

namespace nkp::tool {
namespace {

// Every command, in the order of the usage text (by name; the sub-commands
// of one command in the order they are used).
const std::vector<ToolCommand>& commands()
{
    static const std::vector<ToolCommand> table = [] {
        std::vector<ToolCommand> rows = archiveCommands();
        const std::vector<ToolCommand> log = archiveLogCommands();
        rows.insert(rows.end(), log.begin(), log.end());
        const std::vector<ToolCommand> ledger = archiveLedgerCommands();
        rows.insert(rows.end(), ledger.begin(), ledger.end());
        rows.insert(rows.end(),
            {
                eventsCommand(),
                fleetCommand(),
                formCommand(),
                framesCommand(),
                generateCommand(),
                infoCommand(),
                keyCommand(),
                mergeCommand(),
                printCommand(),
                readCommand(),
                signCommand(),
                spectrumCommand(),
                verifyCommand(),
            });
        return rows;
    }();
    return table;
}

// The rows of the command `name`: one, or one for each sub-command.
std::vector<const ToolCommand*> rowsOf(const std::string& name)
{
    std::vector<const ToolCommand*> rows;
    for (const ToolCommand& command : commands())
        if (command.name == name)
            rows.push_back(&command);
    return rows;
}

// "import, cranes, history or export"
std::string subCommandList(const std::vector<const ToolCommand*>& rows)
{
    std::string list;
    for (std::size_t i = 0; i < rows.size(); ++i)
        list += (i == 0 ? "" : i + 1 == rows.size() ? " or " : ", ") + rows[i]->sub;
    return list;
}

// Runs the command `name` (its sub-command named first among `args`).
int runCommand(const std::string& name, const std::vector<std::string>& args)
{
    const std::vector<const ToolCommand*> rows = rowsOf(name);
    if (rows.empty())
        return usageError("unknown command '" + name + "'");
    if (rows.front()->sub.empty())
        return rows.front()->run(args);
    if (args.empty())
        return usageError(name + ": " + subCommandList(rows));
    for (const ToolCommand* row : rows)
        if (row->sub == args[0])
            return row->run({args.begin() + 1, args.end()});
    return usageError(name + ": unknown sub-command '" + args[0] + "'");
}

// Qt's own warnings may quote a file name or a database text.
void printQtMessage(QtMsgType, const QMessageLogContext&, const QString& message)
{
    std::cerr << visibleControls(message.toStdString(), false) << "\n";
}

}  // namespace

namespace {

void printUsage(std::ostream& out)
{
    out << "usage:\n";
    for (const ToolCommand& command : commands())
        out << "  nkp3-tool " << command.usage << "\n";
}

}  // namespace

int usageError(const std::string& problem)
{
    if (!problem.empty())
        printError(problem);
    printUsage(std::cerr);
    return kExitUsage;
}

}  // namespace nkp::tool

int main(int argc, char** argv)
{
    // Numbers follow the user's locale (its decimal separator); text is UTF-8.
    std::setlocale(LC_ALL, "");
    // Whatever a command reads stays an input for the whole run: the safe
    // writer refuses to replace it, so no command can forget the rule.
    nkp::fileio::recordOpenedInputs(true);
    using namespace nkp::tool;
    qInstallMessageHandler(printQtMessage);
    if (argc < 2)
        return usageError("");
    const std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        printUsage(std::cout);
        return kExitOk;
    }
    if (name == "--version") {
        std::cout << "nkp3-tool " NKP_VERSION "\n";
        return kExitOk;
    }
    int status = kExitFailure;
    try {
        status = runCommand(name, {argv + 2, argv + argc});
    } catch (const std::exception& e) {
        printError(e.what());
    }
    // Output that never reached its file (a full disk, a closed pipe) is a failure.
    // A write that failed earlier left its cause in errno.
    const int earlier = std::cout ? 0 : errno;
    errno = 0;
    std::cout.flush();
    const bool written = std::cout && std::fflush(stdout) == 0 && !std::ferror(stdout);
    if (!written) {
        const int err = errno ? errno : earlier;
        std::cerr << "nkp3-tool: cannot write the standard output" << (err ? ": " : "")
                  << (err ? std::strerror(err) : "") << "\n";
        return kExitFailure;
    }
    return status;
}
