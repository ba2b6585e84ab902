#pragma once

#include "fleet/FleetRow.h"

#include <QAbstractTableModel>

#include <vector>

namespace nkp::ui {

// The rows of the fleet overview for a table view. Qt::DisplayRole gives the
// cell's text; kSortRole gives the number of a numeric column (text columns:
// their text), so that a proxy model sorts numbers as numbers.
class FleetTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kSortRole = Qt::UserRole;

    using QAbstractTableModel::QAbstractTableModel;

    void setRows(std::vector<fleet::FleetRow> rows);
    const std::vector<fleet::FleetRow>& rows() const { return rows_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<fleet::FleetRow> rows_;
};

}  // namespace nkp::ui
