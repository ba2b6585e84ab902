#include "ui/fleet/FleetTableModel.h"

#include "base/Codec.h"
#include "fleet/FleetColumns.h"
#include "ui/common/ResourceColor.h"

#include <QBrush>

namespace nkp::ui {

namespace {

const QColor kDamagedBackground(255, 214, 214);
const QColor kRemarkBackground(255, 243, 205);
const QColor kUnreadForeground(160, 0, 0);

// The column the main window's resource colours mark.
int resourceColumn()
{
    static const int column = [] {
        const auto& columns = fleet::fleetColumns();
        for (std::size_t c = 0; c < columns.size(); ++c)
            if (columns[c].header == "Ресурс, %")
                return static_cast<int>(c);
        return -1;
    }();
    return column;
}

QVariant cellRole(const fleet::FleetRow& row, int column, int role)
{
    switch (role) {
    case Qt::BackgroundRole:
        if (row.loaded && column == resourceColumn()) {
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
            return QString::fromStdString(codec::cp1251ToUtf8(row.remark));
        return {};
    default:
        return {};
    }
}

}  // namespace

FleetTableModel::FleetTableModel(QObject* parent)
    : TableModel(fleet::fleetColumns(), '.', parent)
{
    setCellRoles([this](int r, int column, int role) { return cellRole(row(r), column, role); });
}

}  // namespace nkp::ui
