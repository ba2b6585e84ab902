// nkp3-tool archive trust and archive verify: the archive's own trusted keys,
// and the check that nothing in the archive was changed, removed or put in
// out of turn.
//   archive trust ARCHIVE KEY.pub    trusts the key for everyone sharing the archive
//   archive verify ARCHIVE           walks the ledger and checks every stored file
#include "ArchiveCommon.h"
#include "ToolCommand.h"
#include "ToolSupport.h"

#include "args/ArgParser.h"
#include "signing/Keys.h"

#include <iostream>

namespace {

using namespace nkp;

// The archive shows a change (or a read-out it cannot prove).
constexpr int kExitChanged = 4;

int runTrust(const std::vector<std::string>& args)
{
    std::string location, keyPath;
    const tool::ArgSyntax syntax {
        .unknown = tool::UnknownOptions::None, .leading = {tool::keepIn(location), tool::keepIn(keyPath)}};
    if (tool::parseArgs(syntax, args) || location.empty() || keyPath.empty())
        return tool::usageError("archive trust: ARCHIVE KEY.pub");
    const auto key = signing::readPublicKey(keyPath);
    if (!key) {
        tool::printError(key.error());
        return tool::kExitFailure;
    }
    auto a = tool::openArchive(location, archive::OpenMode::Existing);
    if (!a)
        return tool::kExitFailure;
    const auto outcome = a->trustKey(*key);
    if (!outcome) {
        tool::printError(outcome.error());
        return tool::kExitFailure;
    }
    for (const std::string& line : archive::trustOutcomeLines(*key, *outcome))
        std::cout << tool::visibleControls(line, false) << "\n";
    return tool::kExitOk;
}

int runVerify(const std::vector<std::string>& args)
{
    std::string location;
    const tool::ArgSyntax syntax {.unknown = tool::UnknownOptions::None, .leading = {tool::keepIn(location)}};
    if (tool::parseArgs(syntax, args) || location.empty())
        return tool::usageError("archive verify: ARCHIVE");
    auto a = tool::openArchive(location, archive::OpenMode::Existing);
    if (!a)
        return tool::kExitFailure;
    const auto report = a->verify();
    if (!report) {
        tool::printError(report.error());
        return tool::kExitFailure;
    }
    if (report->problem) {
        std::cout << tool::visibleControls(*report->problem, false) << "\n";
        return kExitChanged;
    }
    std::cout << archive::verifySummaryText(*report) << "\n"
              << archive::signatureCountsText(*report) << "\n"
              << archive::headHashText(*report) << "\n";
    return tool::kExitOk;
}

}  // namespace

std::vector<nkp::tool::ToolCommand> nkp::tool::archiveLedgerCommands()
{
    return {
        {"archive", "archive trust ARCHIVE KEY.pub", runTrust, "trust"},
        {"archive", "archive verify ARCHIVE", runVerify, "verify"},
    };
}
