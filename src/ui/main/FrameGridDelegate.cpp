#include "ui/main/FrameGridDelegate.h"

#include "analysis/FrameTableText.h"
#include "ui/common/UiText.h"

#include <QPainter>

QColor FrameGridDelegate::highlightOf(const QString& text)
{
    switch (nkp::analysis::loadPercentHighlight(text.toStdString())) {
    case nkp::analysis::LoadHighlight::Yellow:
        return Qt::yellow;
    case nkp::analysis::LoadHighlight::Red:
        return Qt::red;
    case nkp::analysis::LoadHighlight::None:
        break;
    }
    return {};
}

void FrameGridDelegate::paint(
    QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyledItemDelegate::paint(painter, option, index);
    if (index.row() != nkp::analysis::kLoadPercentRow)
        return;
    const QString text = index.data(Qt::DisplayRole).toString();
    const QColor fill = highlightOf(text);
    if (!fill.isValid())
        return;
    painter->save();
    painter->fillRect(option.rect, fill);
    painter->setFont(option.font);
    painter->setPen(option.palette.color(QPalette::Text));
    painter->drawText(option.rect.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop, text);
    painter->restore();
}
