#pragma once

#include "archive/CraneTable.h"
#include "base/ColumnTable.h"

#include <QColor>

class QLayout;
class QTableView;
class QWidget;

#include <cstddef>
#include <string>
#include <vector>

// The tables of the archive window on the column table: the cranes, a
// crane's read-outs, and the tables the archive gives as rows of texts (log,
// remarks, due dates).
namespace nkp::ui {

// The crane table's columns, in the order of archive::CraneColumn.
table::Columns<archive::CraneRow> craneColumns();
// The columns a user needs most ("Ресурс", "Рост в год", "Прогноз"), shown
// right after the crane's model and number.
std::vector<int> importantCraneColumns();

// One read-out of the crane shown.
struct HistoryLine {
    const archive::CraneRow* crane = nullptr;
    std::size_t point = 0;
};
table::Columns<HistoryLine> historyColumns();

// A row of a table that the archive gives as texts, with a mark for its colour.
struct TextRow {
    std::vector<std::string> cells;  // UTF-8
    int mark = 0;
};
// Columns over `heading` (UTF-8); the columns listed in `numeric` stand
// right-aligned and sort by their number.
table::Columns<TextRow> textColumns(const std::vector<std::string>& heading, const std::vector<int>& numeric);
// The rows of `cells` after its heading, unmarked.
std::vector<TextRow> textRows(const std::vector<std::vector<std::string>>& cells);

// A page of the archive window: a bar of controls (or none) over its table.
void layOutPage(QWidget* page, QLayout* bar, QWidget* table);

class ColumnTableModel;
// The archive window's tables: rows as high as the text needs, long headings
// on two lines, so that more of the figures fit without scrolling.
void compactTable(QTableView& table, ColumnTableModel& model);

// Background colours of marked rows: overdue and soon.
inline const QColor kOverdueBackground(255, 200, 200);
inline const QColor kSoonBackground(255, 226, 160);

}  // namespace nkp::ui
