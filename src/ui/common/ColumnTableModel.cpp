#include "ui/common/ColumnTableModel.h"

#include <cstdlib>
#include <limits>

namespace nkp::ui {

ColumnTableModel::ColumnTableModel(char decimalSeparator, QObject* parent)
    : QAbstractTableModel(parent)
    , separator_(decimalSeparator)
{
}

int ColumnTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : tableRowCount();
}

int ColumnTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : tableColumnCount();
}

QVariant ColumnTableModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const int row = index.row(), column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromStdString(cellText(row, column));
    case kSortRole:
        if (numeric(column))
            return cellNumber(row, column).value_or(std::numeric_limits<double>::lowest());
        return QString::fromStdString(cellText(row, column));
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(
            Qt::Alignment((alignment(column) == table::Alignment::Right ? Qt::AlignRight : Qt::AlignLeft)
                | Qt::AlignVCenter));
    default:
        return cellRoles_ ? cellRoles_(row, column, role) : QVariant();
    }
}

void ColumnTableModel::setTwoLineHeaders(int longest)
{
    shownHeaders_.clear();
    for (int c = 0; c < tableColumnCount(); ++c)
        shownHeaders_ << twoLineHeading(QString::fromStdString(header(c)), longest);
}

QString twoLineHeading(const QString& heading, int longest)
{
    if (heading.size() <= longest)
        return heading;
    qsizetype best = -1;
    for (qsizetype i = 0; i < heading.size(); ++i)
        if (heading[i] == QLatin1Char(' ')
            && (best < 0 || std::abs(2 * i - heading.size()) < std::abs(2 * best - heading.size())))
            best = i;
    if (best < 0)
        return heading;
    QString broken = heading;
    broken[best] = QLatin1Char('\n');
    return broken;
}

QVariant ColumnTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= tableColumnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    const QString full = QString::fromStdString(header(section));
    const bool shortened = section < shownHeaders_.size();
    if (role == Qt::DisplayRole)
        return shortened ? shownHeaders_[section] : full;
    if (role == Qt::ToolTipRole && shortened)
        return full;
    return {};
}

}  // namespace nkp::ui
