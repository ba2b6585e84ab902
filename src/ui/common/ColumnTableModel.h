#pragma once

#include "base/ColumnTable.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace nkp::ui {

// The one table model of the windows: any table described by a column list
// (base/ColumnTable.h) in a QTableView. Qt::DisplayRole gives the cell's
// text, Qt::TextAlignmentRole the column's alignment, kSortRole the column's
// number where it has one (cells without one before every number) and the
// text where it has none, for a QSortFilterProxyModel with that sort role.
// The rows live in TableModel<Row> below; this base keeps Qt's side.
class ColumnTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kSortRole = Qt::UserRole;
    // Further roles of a cell (colours, hints); an invalid QVariant where it
    // has none.
    using CellRoles = std::function<QVariant(int row, int column, int role)>;

    explicit ColumnTableModel(char decimalSeparator, QObject* parent = nullptr);

    void setCellRoles(CellRoles roles) { cellRoles_ = std::move(roles); }
    // Headings shown instead of the columns' own (short ones, perhaps on two
    // lines, for narrow columns); the full heading becomes the hint.
    void setShownHeaders(QStringList headers) { shownHeaders_ = std::move(headers); }
    // Every heading longer than `longest` characters on two lines
    // (twoLineHeading), so that a column of short figures needs no more room
    // than they do.
    void setTwoLineHeaders(int longest);
    char decimalSeparator() const { return separator_; }
    // Shows the numbers with another decimal separator from now on.
    void setDecimalSeparator(char separator)
    {
        beginResetModel();
        separator_ = separator;
        endResetModel();
    }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

protected:
    virtual int tableRowCount() const = 0;
    virtual int tableColumnCount() const = 0;
    virtual const std::string& header(int column) const = 0;
    virtual table::Alignment alignment(int column) const = 0;
    virtual bool numeric(int column) const = 0;
    virtual std::string cellText(int row, int column) const = 0;
    virtual std::optional<double> cellNumber(int row, int column) const = 0;

private:
    char separator_;
    CellRoles cellRoles_;
    QStringList shownHeaders_;
};

// `heading` broken at the blank nearest its middle when it is longer than
// `longest` characters: "Перегрузок\n(эпизодов)".
QString twoLineHeading(const QString& heading, int longest);

// The rows of one table and its columns.
template <typename Row> class TableModel : public ColumnTableModel {
public:
    TableModel(table::Columns<Row> columns, char decimalSeparator, QObject* parent = nullptr)
        : ColumnTableModel(decimalSeparator, parent)
        , columns_(std::move(columns))
    {
    }

    void setRows(std::vector<Row> rows)
    {
        beginResetModel();
        rows_ = std::move(rows);
        endResetModel();
    }
    const std::vector<Row>& rows() const { return rows_; }
    const Row& row(int r) const { return rows_[static_cast<std::size_t>(r)]; }
    const table::Columns<Row>& tableColumns() const { return columns_; }

private:
    const table::Column<Row>& column(int c) const { return columns_[static_cast<std::size_t>(c)]; }
    int tableRowCount() const override { return static_cast<int>(rows_.size()); }
    int tableColumnCount() const override { return static_cast<int>(columns_.size()); }
    const std::string& header(int c) const override { return column(c).header; }
    table::Alignment alignment(int c) const override { return column(c).alignment; }
    bool numeric(int c) const override { return static_cast<bool>(column(c).number); }
    std::string cellText(int r, int c) const override { return column(c).text(row(r), decimalSeparator()); }
    std::optional<double> cellNumber(int r, int c) const override { return column(c).number(row(r)); }

    table::Columns<Row> columns_;
    std::vector<Row> rows_;
};

}  // namespace nkp::ui
