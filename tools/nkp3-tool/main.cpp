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

// Every command, in the order of the usage text (by name).
const std::vector<ToolCommand>& commands()
{
    static const std::vector<ToolCommand> table = {
        archiveCommand(),
        eventsCommand(),
        fleetCommand(),
        formCommand(),
        framesCommand(),
        generateCommand(),
        infoCommand(),
        mergeCommand(),
        printCommand(),
        readCommand(),
        spectrumCommand(),
    };
    return table;
}

const ToolCommand* findCommand(const std::string& name)
{
    for (const ToolCommand& command : commands())
        if (command.name == name)
            return &command;
    return nullptr;
}

// Qt's own warnings may quote a file name or a database text.
void printQtMessage(QtMsgType, const QMessageLogContext&, const QString& message)
{
    std::cerr << visibleControls(message.toStdString(), false) << "\n";
}

}  // namespace

int usageError(const std::string& problem)
{
    if (!problem.empty())
        printError(problem);
    std::cerr << "usage:\n";
    for (const ToolCommand& command : commands())
        std::cerr << "  nkp3-tool " << command.usage << "\n";
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
        usageError("");
        return kExitOk;
    }
    const ToolCommand* command = findCommand(name);
    if (!command)
        return usageError("unknown command '" + name + "'");
    std::vector<std::string> args(argv + 2, argv + argc);
    int status = kExitFailure;
    try {
        status = command->run(args);
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
