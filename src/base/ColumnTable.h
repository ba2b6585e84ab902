#pragma once

#include "base/SpreadsheetCsv.h"

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// A table described once, as a list of columns: each column has its heading,
// the text of a row's cell, the number the column sorts by and its
// alignment. The window's table model (ui/common/ColumnTableModel.h), its
// sorting and the CSV files all read the same list, so a column added or
// moved shows everywhere alike. It lives here, below every library, because
// the CSV writers of fleet/ and analysis/ use it as the windows do.
namespace nkp::table {

enum class Alignment { Left, Right };

template <typename Row> struct Column {
    using Text = std::function<std::string(const Row& row, char separator)>;
    using Number = std::function<std::optional<double>(const Row& row)>;

    Column(std::string header, Text text, Number number = nullptr, Alignment alignment = Alignment::Left)
        : header(std::move(header))
        , text(std::move(text))
        , number(std::move(number))
        , alignment(alignment)
    {
    }

    std::string header;  // UTF-8
    // The cell's text, UTF-8; numbers with the given decimal separator.
    Text text;
    // The number the column sorts by, where it has one: a column without it
    // sorts by its text; a cell without a number sorts before every number.
    Number number;
    Alignment alignment;
};

template <typename Row> using Columns = std::vector<Column<Row>>;

// The headings of the columns, and the texts of one row's cells.
template <typename Row> std::vector<std::string> headers(const Columns<Row>& columns)
{
    std::vector<std::string> out;
    out.reserve(columns.size());
    for (const Column<Row>& column : columns)
        out.push_back(column.header);
    return out;
}

template <typename Row>
std::vector<std::string> rowTexts(const Columns<Row>& columns, const Row& row, char separator)
{
    std::vector<std::string> out;
    out.reserve(columns.size());
    for (const Column<Row>& column : columns)
        out.push_back(column.text(row, separator));
    return out;
}

// The table as CSV for spreadsheets (base/SpreadsheetCsv.h): the headings,
// then one line per row; the UTF-8 byte order mark first when asked.
template <typename Row, typename Rows>
std::string csvText(const Columns<Row>& columns, const Rows& rows, char separator, bool byteOrderMark)
{
    std::string out;
    if (byteOrderMark)
        out += fileio::kUtf8Bom;
    fileio::appendCsvLine(out, headers(columns));
    for (const Row& row : rows)
        fileio::appendCsvLine(out, rowTexts(columns, row, separator));
    return out;
}

}  // namespace nkp::table
