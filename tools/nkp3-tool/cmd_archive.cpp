// nkp3-tool archive ...: the crane archive from the command line. ARCHIVE is
// an SQLite file or a postgresql:// address.
//   archive import ARCHIVE PATH...        adds files and folders (recursively)
//   archive cranes ARCHIVE [--csv OUT]     one row per crane
//   archive history ARCHIVE MODEL NUMBER [--sha SHA256] [--csv OUT]
//   archive export ARCHIVE SHA256 OUT.nkp  the stored data file, byte for byte
#include "ToolCommand.h"
#include "ToolSupport.h"

#include "archive/ArchiveImport.h"
#include "archive/CraneTable.h"
#include "args/ArgParser.h"
#include "base/Codec.h"
#include "base/SafeFileWriter.h"
#include "base/SpreadsheetCsv.h"

#include <algorithm>
#include <iostream>

namespace {

using namespace nkp;

// Only an import may make a new archive; the other commands read one that exists.
std::unique_ptr<archive::Archive> openArchive(const std::string& location, archive::OpenMode mode)
{
    auto a = archive::Archive::open(location, mode);
    if (!a) {
        tool::printError(a.error());
        return nullptr;
    }
    return std::move(*a);
}

// ARCHIVE PATH...: every argument is a name, even "-x".
int runImport(const std::vector<std::string>& args)
{
    std::string location;
    std::vector<std::string> paths;
    const tool::ArgSyntax syntax {.unknown = tool::UnknownOptions::None,
        .leading = {tool::keepIn(location)},
        .ordinary = tool::appendTo(paths)};
    if (tool::parseArgs(syntax, args) || paths.empty())
        return tool::usageError("archive import: archive and at least one file or folder needed");
    if (location.empty() || std::find(paths.begin(), paths.end(), std::string()) != paths.end())
        return tool::usageError("archive import: an empty archive, file or folder name");
    std::vector<Failure> missing;
    const auto files = archive::collectImportFiles(paths, &missing);
    // Names that lead to no read-out at all make no new archive.
    std::unique_ptr<archive::Archive> a;
    if (!files.empty() || missing.empty()) {
        a = openArchive(location, archive::OpenMode::CreateIfMissing);
        if (!a)
            return tool::kExitFailure;
    }
    archive::ImportReport report = a ? archive::importFiles(*a, files) : archive::ImportReport {};
    report.unreadable += static_cast<int>(missing.size());
    report.problems.insert(report.problems.begin(), missing.begin(), missing.end());
    std::cout << "добавлено: " << report.added << "\n"
              << "уже в архиве: " << report.alreadyThere << "\n"
              << "не прочитано: " << report.unreadable << "\n";
    for (const auto& p : report.problems)
        std::cout << "  " << tool::visibleControls(p.path + ": " + p.reason, false) << "\n";
    if (report.writeFailure) {
        tool::printError(report.writeFailure->text());
        return tool::kExitFailure;
    }
    // Read-outs already in the archive are a success; none readable is not.
    if (report.unreadable > 0 && report.added + report.alreadyThere == 0) {
        tool::printError("none of the read-outs could be read");
        return tool::kExitFailure;
    }
    return tool::kExitOk;
}

// Prints the table on stdout, or writes it (with a BOM) to `csvPath`.
int putTable(const std::vector<std::vector<std::string>>& cells, const std::optional<std::string>& csvPath)
{
    if (!csvPath) {
        std::cout << tool::visibleControls(fileio::csvText(cells, false), true);
        return tool::kExitOk;
    }
    if (const Done written = fileio::writeCsvFile(*csvPath, cells); !written) {
        tool::printError(written.error());
        return tool::kExitFailure;
    }
    return tool::kExitOk;
}

// The arguments of cranes and history: any number of plain ones (even
// "-x"), "--csv OUT" once and, given `sha`, "--sha SHA256" once; false on a
// usage error, an empty archive name, output or SHA-256 among them.
bool craneTableArgs(const std::vector<std::string>& args, std::vector<std::string>& plain,
    std::optional<std::string>& csvPath, std::optional<std::string>* sha = nullptr)
{
    tool::ArgSyntax syntax {.options = {{"--csv", tool::OptionKind::ValueOnce, tool::keepIn(csvPath)}},
        .unknown = tool::UnknownOptions::None,
        .ordinary = tool::appendTo(plain)};
    if (sha)
        syntax.options.push_back({"--sha", tool::OptionKind::ValueOnce, tool::keepIn(*sha)});
    return !tool::parseArgs(syntax, args) && !plain.empty() && !plain[0].empty()
        && !(csvPath && csvPath->empty()) && !(sha && *sha && (*sha)->empty());
}

// The crane rows of the archive at `location`; nothing (the cause on
// stderr) when it cannot be opened or read.
std::optional<std::vector<archive::CraneRow>> loadRows(const std::string& location)
{
    const auto a = openArchive(location, archive::OpenMode::Existing);
    if (!a)
        return std::nullopt;
    auto readouts = a->readouts();
    if (!readouts) {
        tool::printError(readouts.error());
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

// Names the cranes that MODEL NUMBER leaves to choose from, one line each
// with the SHA-256 that --sha takes.
int ambiguousCrane(const std::vector<std::string>& args, const std::vector<const archive::CraneRow*>& found)
{
    tool::printError("crane " + args[1] + " \"" + args[2] + "\" is ambiguous: " + std::to_string(found.size())
        + " cranes match; choose one with --sha SHA256:");
    const char sep = tool::localeDecimalSeparator();
    for (const archive::CraneRow* row : found) {
        const std::size_t newest = row->trend.newest;
        std::cerr << "  "
                  << tool::visibleControls(row->newest().sha256 + "  "
                             + archive::historyCellText(
                                 *row, newest, archive::HistoryColumn::ReadingMoment, sep)
                             + "  " + row->newest().fileName,
                         false)
                  << "\n";
    }
    return tool::kExitFailure;
}

int runHistory(const std::vector<std::string>& given)
{
    std::vector<std::string> args;
    std::optional<std::string> csvPath, sha;
    if (!craneTableArgs(given, args, csvPath, &sha) || args.size() != 3)
        return tool::usageError("archive history: ARCHIVE MODEL NUMBER [--sha SHA256] [--csv OUT]");
    const auto rows = loadRows(args[0]);
    if (!rows)
        return tool::kExitFailure;
    const auto found
        = archive::findCranes(*rows, trimmedCp1251(args[1]), trimmedCp1251(args[2]), sha.value_or(""));
    if (found.empty()) {
        tool::printError("no crane " + args[1] + " \"" + args[2] + "\""
            + (sha ? " with the read-out " + *sha : std::string()) + " in the archive");
        return tool::kExitFailure;
    }
    if (found.size() > 1)
        return ambiguousCrane(args, found);
    return putTable(archive::historyTableCells(*found.front(), tool::localeDecimalSeparator()), csvPath);
}

// ARCHIVE SHA256 OUT.nkp, exactly these three, whatever they look like.
int runExport(const std::vector<std::string>& args)
{
    std::string location, sha, outPath;
    const tool::ArgSyntax syntax {.unknown = tool::UnknownOptions::None,
        .leading = {tool::keepIn(location), tool::keepIn(sha), tool::keepIn(outPath)}};
    if (tool::parseArgs(syntax, args) || location.empty() || outPath.empty())
        return tool::usageError("archive export: ARCHIVE SHA256 OUT.nkp");
    auto a = openArchive(location, archive::OpenMode::Existing);
    if (!a)
        return tool::kExitFailure;
    const auto bytes = a->dataFile(sha);
    if (!bytes) {
        tool::printError(bytes.error());
        return tool::kExitFailure;
    }
    if (const Done written = fileio::writeFileAtomically(
            outPath, std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
        !written) {
        tool::printError(written.error());
        return tool::kExitFailure;
    }
    return tool::kExitOk;
}

}  // namespace

std::vector<nkp::tool::ToolCommand> nkp::tool::archiveCommands()
{
    return {
        {"archive", "archive import ARCHIVE PATH...", runImport, "import"},
        {"archive", "archive cranes ARCHIVE [--csv OUT]", runCranes, "cranes"},
        {"archive", "archive history ARCHIVE MODEL NUMBER [--sha SHA256] [--csv OUT]", runHistory, "history"},
        {"archive", "archive export ARCHIVE SHA256 OUT.nkp", runExport, "export"},
    };
}
