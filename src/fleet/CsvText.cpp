#include "fleet/CsvText.h"

#include "fileio/SafeFileWriter.h"
#include "fleet/FleetCsv.h"

namespace nkp::fleet {

void appendCsvField(std::string& out, std::string_view field)
{
    if (field.find_first_of(";\"\r\n") == std::string_view::npos) {
        out += field;
        return;
    }
    out += '"';
    for (char c : field) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

std::string csvText(const std::vector<std::vector<std::string>>& rows, bool byteOrderMark)
{
    std::string out;
    if (byteOrderMark)
        out += kUtf8Bom;
    for (const auto& row : rows) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (c > 0)
                out += ';';
            appendCsvField(out, row[c]);
        }
        out += "\r\n";
    }
    return out;
}

bool writeCsvFile(
    const std::string& path, const std::vector<std::vector<std::string>>& rows, std::string* error)
{
    return fileio::writeFileAtomically(path, csvText(rows, true), error);
}

}  // namespace nkp::fleet
