#include "ui/fleet/FleetTableModel.h"

#include "fleet/FleetColumns.h"
#include "ui/common/ResourceColor.h"

#include <QBrush>

#include <limits>

namespace nkp::ui {

using fleet::FleetColumn;

namespace {

const QColor kDamagedBackground(255, 214, 214);
const QColor kRemarkBackground(255, 243, 205);
const QColor kUnreadForeground(160, 0, 0);

// Counts and numbers stand right-aligned; classes and dates read as text.
bool rightAligned(FleetColumn column)
{
    switch (column) {
    case FleetColumn::TotalCycles:
    case FleetColumn::Characteristic:
    case FleetColumn::Normative:
    case FleetColumn::ResourcePercent:
    case FleetColumn::OverloadCount:
    case FleetColumn::BrokenFrames:
        return true;
    default:
        return false;
    }
}

}  // namespace

void FleetTableModel::setRows(std::vector<fleet::FleetRow> rows)
{
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

int FleetTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int FleetTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : fleet::kFleetColumnCount;
}

QVariant FleetTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const fleet::FleetRow& row = rows_[static_cast<std::size_t>(index.row())];
    const auto column = static_cast<FleetColumn>(index.column());
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromStdString(fleet::fleetCellText(row, column));
    case kSortRole:
        // Numeric columns put cells without a number first.
        if (fleet::fleetColumnNumeric(column))
            return fleet::fleetCellNumber(row, column).value_or(std::numeric_limits<double>::lowest());
        return QString::fromStdString(fleet::fleetCellText(row, column));
    case Qt::BackgroundRole:
        // The resource share is marked as in the main window.
        if (column == FleetColumn::ResourcePercent && row.loaded) {
            const QColor colour = resourceColor(row.resource.level);
            if (colour.isValid())
                return QBrush(colour);
        }
        // A damaged read-out stands out across the row; one that only lacks
        // its identification less so.
        if (row.loaded && !row.remark.empty())
            return QBrush(row.damaged ? kDamagedBackground : kRemarkBackground);
        return {};
    case Qt::ForegroundRole:
        // A file that could not be read at all shows its file and remark in red.
        if (!row.loaded)
            return QBrush(kUnreadForeground);
        return {};
    case Qt::ToolTipRole:
        // The remark stands at the far right; every cell of the row tells it.
        if (!row.remark.empty())
            return QString::fromStdString(fleet::fleetCellText(row, FleetColumn::Remark));
        return {};
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(
            rightAligned(column) ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant FleetTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0
        || section >= fleet::kFleetColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    const std::string_view header = fleet::fleetColumnHeader(static_cast<FleetColumn>(section));
    return QString::fromUtf8(header.data(), static_cast<qsizetype>(header.size()));
}

}  // namespace nkp::ui
