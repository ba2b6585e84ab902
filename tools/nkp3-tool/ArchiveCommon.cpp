#include "ArchiveCommon.h"

#include "ToolCommand.h"
#include "ToolSupport.h"

#include "analysis/Readout.h"
#include "base/Codec.h"
#include "base/SpreadsheetCsv.h"

#include <charconv>
#include <iostream>

namespace nkp::tool {

std::unique_ptr<archive::Archive> openArchive(const std::string& location, archive::OpenMode mode)
{
    auto a = archive::Archive::open(location, mode);
    if (!a) {
        printError(a.error());
        return nullptr;
    }
    return std::move(*a);
}

int putTable(const std::vector<std::vector<std::string>>& cells, const std::optional<std::string>& csvPath)
{
    if (!csvPath) {
        std::cout << visibleControls(fileio::csvText(cells, false), true);
        return kExitOk;
    }
    if (const Done written = fileio::writeCsvFile(*csvPath, cells); !written) {
        printError(written.error());
        return kExitFailure;
    }
    return kExitOk;
}

std::optional<std::vector<archive::CraneRow>> loadRows(const std::string& location)
{
    const auto a = openArchive(location, archive::OpenMode::Existing);
    if (!a)
        return std::nullopt;
    return loadRows(*a);
}

std::optional<std::vector<archive::CraneRow>> loadRows(const archive::Archive& a)
{
    auto readouts = a.readouts();
    if (!readouts) {
        printError(readouts.error());
        return std::nullopt;
    }
    return archive::craneRows(std::move(*readouts));
}

std::string trimmedCp1251(const std::string& utf8)
{
    const std::string text = codec::utf8ToCp1251(utf8);
    const auto first = text.find_first_not_of(" \t");
    return first == std::string::npos ? std::string()
                                      : text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

int ambiguousCrane(const std::vector<std::string>& args, const std::vector<const archive::CraneRow*>& found)
{
    printError("crane " + args[1] + " \"" + args[2] + "\" is ambiguous: " + std::to_string(found.size())
        + " cranes match; choose one with --sha SHA256:");
    const char sep = localeDecimalSeparator();
    for (const archive::CraneRow* row : found) {
        const std::size_t newest = row->trend.newest;
        std::cerr << "  "
                  << visibleControls(row->newest().sha256 + "  "
                             + archive::historyCellText(
                                 *row, newest, archive::HistoryColumn::ReadingMoment, sep)
                             + "  " + row->newest().fileName,
                         false)
                  << "\n";
    }
    return kExitFailure;
}

std::optional<archive::CraneRow> oneCrane(
    const archive::Archive& archive, const std::string& model, const std::string& number)
{
    auto rows = loadRows(archive);
    if (!rows)
        return std::nullopt;
    const auto found = archive::findCranes(*rows, trimmedCp1251(model), trimmedCp1251(number));
    if (found.empty()) {
        printError("no crane " + model + " \"" + number + "\" in the archive");
        return std::nullopt;
    }
    if (found.size() > 1) {
        ambiguousCrane({"", model, number}, found);
        return std::nullopt;
    }
    return *found.front();
}

std::optional<base::DateTime> parseDay(const std::string& text)
{
    if (text.size() != 10)
        return std::nullopt;
    return analysis::readingMomentOf(text);
}

std::optional<int> parseCount(const std::string& text, int min, int max)
{
    int value = 0;
    const char* end = text.data() + text.size();
    if (text.empty() || text[0] == '-' || text[0] == '+')
        return std::nullopt;
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || value < min || value > max)
        return std::nullopt;
    return value;
}

}  // namespace nkp::tool
