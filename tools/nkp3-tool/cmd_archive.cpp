// nkp3-tool archive ...: the crane archive from the command line. ARCHIVE is
// an SQLite file or a postgresql:// address.
//   archive import ARCHIVE PATH...        adds files and folders (recursively)
//   archive cranes ARCHIVE [--csv OUT]     one row per crane
//   archive history ARCHIVE MODEL NUMBER [--sha SHA256] [--csv OUT]
//   archive export ARCHIVE SHA256 OUT.nkp  the stored data file, byte for byte
#include "ArchiveCommon.h"
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
using tool::ambiguousCrane;
using tool::loadRows;
using tool::openArchive;
using tool::putTable;
using tool::trimmedCp1251;

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
              << "не прочитано: " << report.unreadable << "\n"
              << "под другим краном: " << report.otherCrane << "\n";
    for (const auto& p : report.problems)
        std::cout << "  " << tool::visibleControls(p.path + ": " + p.reason, false) << "\n";
    for (const auto& p : report.sameImages)
        std::cout << "  " << tool::visibleControls(p.path + ": " + p.reason, false) << "\n";
    if (report.writeFailure) {
        tool::printError(report.writeFailure->text());
        return tool::kExitFailure;
    }
    // Read-outs already in the archive are a success; none readable is not.
    if (report.unreadable > 0 && report.added + report.alreadyThere + report.otherCrane == 0) {
        tool::printError("none of the read-outs could be read");
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
