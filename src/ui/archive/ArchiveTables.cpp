#include "ui/archive/ArchiveTables.h"

#include "ui/common/ColumnTableModel.h"

#include <QHeaderView>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <charconv>

namespace nkp::ui {

using archive::CraneColumn;
using archive::HistoryColumn;

table::Columns<archive::CraneRow> craneColumns()
{
    table::Columns<archive::CraneRow> columns;
    for (int c = 0; c < archive::kCraneColumnCount; ++c) {
        const auto column = static_cast<CraneColumn>(c);
        const bool text = column == CraneColumn::Model || column == CraneColumn::Number
            || column == CraneColumn::Owner || column == CraneColumn::Signature
            || column == CraneColumn::Remark;
        table::Column<archive::CraneRow>::Number number;
        if (!text)
            number = [column](const archive::CraneRow& row) { return archive::craneCellNumber(row, column); };
        columns.emplace_back(
            std::string(archive::craneColumnHeader(column)),
            [column](const archive::CraneRow& row, char separator) {
                return archive::craneCellText(row, column, separator);
            },
            number, text ? table::Alignment::Left : table::Alignment::Right);
    }
    return columns;
}

std::vector<int> importantCraneColumns()
{
    return {static_cast<int>(CraneColumn::ResourcePercent), static_cast<int>(CraneColumn::GrowthPerYear),
        static_cast<int>(CraneColumn::Forecast)};
}

table::Columns<HistoryLine> historyColumns()
{
    table::Columns<HistoryLine> columns;
    for (int c = 0; c < archive::kHistoryColumnCount; ++c) {
        const auto column = static_cast<HistoryColumn>(c);
        const bool text = column == HistoryColumn::ReadingMoment || column == HistoryColumn::LimiterSerial
            || column == HistoryColumn::File || column == HistoryColumn::Signature;
        columns.emplace_back(
            std::string(archive::historyColumnHeader(column)),
            [column](const HistoryLine& line, char separator) {
                return archive::historyCellText(*line.crane, line.point, column, separator);
            },
            nullptr, text ? table::Alignment::Left : table::Alignment::Right);
    }
    return columns;
}

namespace {

// The leading whole number of a cell ("-12", "7"), if any.
std::optional<double> leadingNumber(const std::string& text)
{
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end == text.data())
        return std::nullopt;
    return static_cast<double>(value);
}

}  // namespace

table::Columns<TextRow> textColumns(const std::vector<std::string>& heading, const std::vector<int>& numeric)
{
    table::Columns<TextRow> columns;
    for (std::size_t c = 0; c < heading.size(); ++c) {
        const bool number = std::find(numeric.begin(), numeric.end(), static_cast<int>(c)) != numeric.end();
        table::Column<TextRow>::Number sortNumber;
        if (number)
            sortNumber = [c](const TextRow& row) {
                return c < row.cells.size() ? leadingNumber(row.cells[c]) : std::nullopt;
            };
        columns.emplace_back(
            heading[c],
            [c](const TextRow& row, char) { return c < row.cells.size() ? row.cells[c] : std::string(); },
            sortNumber, number ? table::Alignment::Right : table::Alignment::Left);
    }
    return columns;
}

void layOutPage(QWidget* page, QLayout* bar, QWidget* table)
{
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    if (bar)
        layout->addLayout(bar);
    layout->addWidget(table, 1);
}

void compactTable(QTableView& table, ColumnTableModel& model)
{
    table.verticalHeader()->setDefaultSectionSize(table.fontMetrics().height() + 6);
    model.setTwoLineHeaders(10);
}

std::vector<TextRow> textRows(const std::vector<std::vector<std::string>>& cells)
{
    std::vector<TextRow> rows;
    for (std::size_t r = 1; r < cells.size(); ++r)
        rows.push_back({cells[r], 0});
    return rows;
}

}  // namespace nkp::ui
