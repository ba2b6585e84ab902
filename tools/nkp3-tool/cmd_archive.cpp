// nkp3-tool archive ...: the crane archive from the command line. ARCHIVE is
// an SQLite file or a postgresql:// address.
//   archive import ARCHIVE PATH...        adds files and folders (recursively)
//   archive cranes ARCHIVE [--csv OUT]     one row per crane
//   archive history ARCHIVE MODEL NUMBER [--csv OUT]
//   archive export ARCHIVE SHA256 OUT.nkp  the stored data file, byte for byte
#include "ArgParser.h"
#include "ToolCommand.h"
#include "ToolSupport.h"

#include "archive/ArchiveImport.h"
#include "archive/CraneTable.h"
#include "base/Codec.h"
#include "base/SafeFileWriter.h"
#include "base/SpreadsheetCsv.h"

#include <iostream>

namespace {

using namespace nkp;

// Only an import may make a new archive; the other commands read one that exists.
std::unique_ptr<archive::Archive> openArchive(const std::string& location, archive::OpenMode mode)
{
    std::string error;
    auto a = archive::Archive::open(location, mode, &error);
    if (!a)
        std::cerr << "nkp3-tool: " << error << "\n";
    return a;
}

int runImport(const std::vector<std::string>& args)
{
    if (args.size() < 2)
        return tool::usageError("archive import: archive and at least one file or folder needed");
    auto a = openArchive(args[0], archive::OpenMode::CreateIfMissing);
    if (!a)
        return tool::kExitFailure;
    std::vector<archive::ImportProblem> missing;
    const auto files = archive::collectImportFiles({args.begin() + 1, args.end()}, &missing);
    archive::ImportReport report = archive::importFiles(*a, files);
    report.unreadable += static_cast<int>(missing.size());
    report.problems.insert(report.problems.begin(), missing.begin(), missing.end());
    std::cout << "добавлено: " << report.added << "\n"
              << "уже в архиве: " << report.alreadyThere << "\n"
              << "не прочитано: " << report.unreadable << "\n";
    for (const auto& p : report.problems)
        std::cout << "  " << p.path << ": " << p.reason << "\n";
    if (report.writeFailed) {
        std::cerr << "nkp3-tool: " << report.writeError << "\n";
        return tool::kExitFailure;
    }
    return tool::kExitOk;
}

// Prints the table on stdout, or writes it (with a BOM) to `csvPath`.
int putTable(const std::vector<std::vector<std::string>>& cells, const std::optional<std::string>& csvPath)
{
    if (!csvPath) {
        std::cout << fileio::csvText(cells, false);
        return tool::kExitOk;
    }
    std::string error;
    if (!fileio::writeCsvFile(*csvPath, cells, &error)) {
        std::cerr << "nkp3-tool: " << error << "\n";
        return tool::kExitFailure;
    }
    return tool::kExitOk;
}

// The arguments of cranes and history: any number of plain ones (even
// "-x") and "--csv OUT" once; false on a usage error.
bool craneTableArgs(const std::vector<std::string>& args, std::vector<std::string>& plain,
    std::optional<std::string>& csvPath)
{
    const tool::ArgSyntax syntax {.options = {{"--csv", tool::OptionKind::ValueOnce, tool::keepIn(csvPath)}},
        .unknown = tool::UnknownOptions::None,
        .ordinary = tool::appendTo(plain)};
    return !tool::parseArgs(syntax, args);
}

// The crane rows of the archive at `location`; nothing (the cause on
// stderr) when it cannot be opened or read.
std::optional<std::vector<archive::CraneRow>> loadRows(const std::string& location)
{
    const auto a = openArchive(location, archive::OpenMode::Existing);
    if (!a)
        return std::nullopt;
    std::string error;
    auto readouts = a->readouts(&error);
    if (!readouts) {
        std::cerr << "nkp3-tool: " << error << "\n";
        return std::nullopt;
    }
    return archive::craneRows(std::move(*readouts));
}

int runCranes(const std::vector<std::string>& given)
{
    std::vector<std::string> args;
    std::optional<std::string> csvPath;
    if (!craneTableArgs(given, args, csvPath) || args.size() != 1)
        return tool::usageError("archive cranes: ARCHIVE [--csv OUT]");
    const auto rows = loadRows(args[0]);
    if (!rows)
        return tool::kExitFailure;
    return putTable(archive::craneTableCells(*rows, tool::localeDecimalSeparator()), csvPath);
}

std::string trimmedCp1251(const std::string& utf8)
{
    const std::string text = codec::utf8ToCp1251(utf8);
    const auto first = text.find_first_not_of(" \t");
    return first == std::string::npos ? std::string()
                                      : text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

int runHistory(const std::vector<std::string>& given)
{
    std::vector<std::string> args;
    std::optional<std::string> csvPath;
    if (!craneTableArgs(given, args, csvPath) || args.size() != 3)
        return tool::usageError("archive history: ARCHIVE MODEL NUMBER [--csv OUT]");
    const auto rows = loadRows(args[0]);
    if (!rows)
        return tool::kExitFailure;
    const archive::CraneRow* row = archive::findCrane(*rows, trimmedCp1251(args[1]), trimmedCp1251(args[2]));
    if (!row) {
        std::cerr << "nkp3-tool: no crane " << args[1] << " " << args[2] << " in the archive\n";
        return tool::kExitFailure;
    }
    return putTable(archive::historyTableCells(*row, tool::localeDecimalSeparator()), csvPath);
}

int runExport(const std::vector<std::string>& args)
{
    if (args.size() != 3)
        return tool::usageError("archive export: ARCHIVE SHA256 OUT.nkp");
    auto a = openArchive(args[0], archive::OpenMode::Existing);
    if (!a)
        return tool::kExitFailure;
    std::string error;
    const auto bytes = a->dataFile(args[1], &error);
    if (!bytes
        || !fileio::writeFileAtomically(
            args[2], std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()), &error)) {
        std::cerr << "nkp3-tool: " << error << "\n";
        return tool::kExitFailure;
    }
    return tool::kExitOk;
}

int runArchive(const std::vector<std::string>& args)
{
    if (args.empty())
        return tool::usageError("archive: import, cranes, history or export");
    const std::string& sub = args[0];
    std::vector<std::string> rest(args.begin() + 1, args.end());
    if (sub == "import")
        return runImport(rest);
    if (sub == "cranes")
        return runCranes(rest);
    if (sub == "history")
        return runHistory(rest);
    if (sub == "export")
        return runExport(rest);
    return tool::usageError("archive: unknown sub-command '" + sub + "'");
}

}  // namespace

nkp::tool::ToolCommand nkp::tool::archiveCommand()
{
    return {"archive",
        "archive import ARCHIVE PATH...\n"
        "  nkp3-tool archive cranes ARCHIVE [--csv OUT]\n"
        "  nkp3-tool archive history ARCHIVE MODEL NUMBER [--csv OUT]\n"
        "  nkp3-tool archive export ARCHIVE SHA256 OUT.nkp",
        runArchive};
}
