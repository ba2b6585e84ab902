#pragma once

#include "screen/MainState.h"

#include <QAbstractTableModel>

// The cells of the frames table: one column for each of the frames at list
// slots first .. first + 4 of the window's FrameOrder, sixteen rows. A cell's
// text is made when the view asks for it, so a load or a page costs only
// the cells on screen.
class FrameTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    FrameTableModel(const nkp::screen::MainState& state, char decimalSeparator, QObject* parent = nullptr);

    // Shows the frames from list slot `first` on; every cell changes, the
    // view's current cell and selection stay.
    void showFrom(int first);
    int first() const { return first_; }
    // The chronological position of the frame in `column`, or -1 when the
    // column shows none.
    int positionAt(int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    const nkp::screen::MainState& state_;
    char decimalSeparator_;
    int first_ = 0;
};
