#include "ui/main/FrameTableModel.h"

#include "analysis/FrameCodeText.h"
#include "analysis/FrameTableText.h"
#include "ui/common/UiText.h"

FrameTableModel::FrameTableModel(const nkp::screen::MainState& state, char decimalSeparator, QObject* parent)
    : QAbstractTableModel(parent)
    , state_(state)
    , decimalSeparator_(decimalSeparator)
{
}

void FrameTableModel::showFrom(int first)
{
    first_ = first;
    emit dataChanged(
        index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::DisplayRole, Qt::ToolTipRole});
}

int FrameTableModel::positionAt(int column) const
{
    const int slot = first_ + column;
    if (slot < 0 || slot >= static_cast<int>(state_.FrameOrder.size()))
        return -1;
    const int position = state_.FrameOrder[static_cast<std::size_t>(slot)];
    return position >= 0 && position < static_cast<int>(state_.frames.size()) ? position : -1;
}

int FrameTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : nkp::analysis::kFrameTableRows;
}

int FrameTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : nkp::analysis::kFrameTableColumns;
}

QVariant FrameTableModel::data(const QModelIndex& index, int role) const
{
    if ((role != Qt::DisplayRole && role != Qt::ToolTipRole)
        || !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const int position = positionAt(index.column());
    if (position < 0)
        return QString();
    if (role == Qt::ToolTipRole) {
        // A coded cell says what its code means.
        const nkp::analysis::FrameCodeText text
            = nkp::analysis::frameCodeText(state_.recordAt(position), index.row());
        return text.empty() ? QVariant() : QVariant(nkp::ui::fromCp1251(text.full));
    }
    return nkp::ui::fromCp1251(
        nkp::analysis::frameCellText(state_.recordAt(position), position, index.row(), decimalSeparator_));
}
