#pragma once

#include <QStyledItemDelegate>

// Draws the load percentage cells of the frames table: from 90 % on yellow,
// from 100 % red, the text 2 pixels from the cell's left and top edges.
class FrameGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(
        QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // The colour of a load percentage cell's text, or an invalid colour when
    // the cell is drawn normally.
    static QColor highlightOf(const QString& text);
};
