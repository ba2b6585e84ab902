#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// CSV text for spreadsheets: ";" between fields, CR LF after every line, a
// field in double quotes (inner quotes doubled) when it holds ";", a quote,
// CR or LF. The caller gives the fields in the file's encoding (UTF-8).
namespace nkp::analysis {

// Spreadsheet programs need it to take the text as UTF-8.
inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

void appendCsvField(std::string& out, std::string_view field);

// The fields joined by ";", then CR LF.
template <typename Fields> void appendCsvLine(std::string& out, const Fields& fields)
{
    bool first = true;
    for (const auto& field : fields) {
        if (!first)
            out += ';';
        first = false;
        appendCsvField(out, field);
    }
    out += "\r\n";
}

inline void appendCsvLine(std::string& out, std::initializer_list<std::string_view> fields)
{
    appendCsvLine<std::initializer_list<std::string_view>>(out, fields);
}

}  // namespace nkp::analysis
