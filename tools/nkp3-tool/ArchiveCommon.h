#pragma once

#include "archive/Archive.h"
#include "archive/CraneTable.h"
#include "base/DateTime.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

// What the archive commands share: opening the archive, finding a crane by
// MODEL NUMBER, dates and counts of the command line, and table output.
namespace nkp::tool {

// Opens the archive; nothing (the cause on stderr) when it cannot. Only an
// import may make a new archive.
std::unique_ptr<archive::Archive> openArchive(const std::string& location, archive::OpenMode mode);

// Prints the table on stdout, or writes it (with a BOM) to `csvPath`; the exit status.
int putTable(const std::vector<std::vector<std::string>>& cells, const std::optional<std::string>& csvPath);

// The crane rows of the archive at `location`; nothing (the cause on
// stderr) when it cannot be opened or read.
std::optional<std::vector<archive::CraneRow>> loadRows(const std::string& location);
std::optional<std::vector<archive::CraneRow>> loadRows(const archive::Archive& archive);

// A command-line text (UTF-8) as the archive's Windows-1251, blanks trimmed.
std::string trimmedCp1251(const std::string& utf8);

// Names the cranes that MODEL NUMBER (`args[1]`, `args[2]`) leaves to
// choose from, one line each with the SHA-256 that --sha takes; kExitFailure.
int ambiguousCrane(const std::vector<std::string>& args, const std::vector<const archive::CraneRow*>& found);

// The one crane of the open archive that MODEL NUMBER names; nothing (the
// cause on stderr) when none or several match.
std::optional<archive::CraneRow> oneCrane(
    const archive::Archive& archive, const std::string& model, const std::string& number);

// "DD.MM.YYYY" naming a day of the calendar.
std::optional<base::DateTime> parseDay(const std::string& text);
// A whole number from `min` to `max`, digits only.
std::optional<int> parseCount(const std::string& text, int min, int max);

}  // namespace nkp::tool
