#pragma once

#include "base/UserPrompts.h"
#include "screen/MainState.h"

#include <QWidget>

class QDateEdit;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QTableView;
class FrameTableModel;

// The tab "Циклическая информация (таблицы)": five frames at a time, one
// column each, scrolled over FrameOrder (the wheel and PageUp/PageDown page,
// Ctrl+Home and Ctrl+End go to the first and the last frame), and the three
// selections that narrow FrameOrder.
class FramesTab : public QWidget {
    Q_OBJECT
public:
    FramesTab(nkp::screen::MainState& state, nkp::UserPrompts& prompts, char decimalSeparator,
        QWidget* parent = nullptr);

    // After loading: the full list, scrolled to the five newest frames, and
    // the date picker at the newest frame's day.
    void showLoaded();
    // Moves the table to list index `position`, limited to the scroll bar's range.
    void scrollTo(int position);

    // The key filter of the number edits: digits and backspace pass.
    static bool Edit_KeyPress(QChar key);

    // The frame range typed under "с" and "по" (the listing prints it).
    QString firstFrameText() const;
    QString lastFrameText() const;

public slots:
    // Shows the five frames from the scroll bar's position on.
    void ScrollBar_CiklChange();
    // The three "Вывести" buttons; the button's tag chooses the selection.
    void BitBtn_OtborClick();
    void runSelection(int tag);
    // A click on cell (`row`, `column`): the code it holds decoded, as its
    // tooltip and by codeDecoded().
    void decodeCell(int row, int column);

signals:
    // `brief` for the status line, `full` (one fact a line) for the panel's tooltip.
    void codeDecoded(const QString& brief, const QString& full);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QFrame* Panel7 = nullptr;
    QLabel* Label72 = nullptr;
    QLabel* Label_O_OtbZap = nullptr;
    QTableView* StringGrid_O_Otb = nullptr;
    FrameTableModel* frameModel_ = nullptr;
    QScrollBar* ScrollBar_Cikl = nullptr;
    QGroupBox *GroupBox2 = nullptr, *GroupBox8 = nullptr, *GroupBox9 = nullptr;
    QLineEdit *Edit_Mmax = nullptr, *Edit_KHome = nullptr, *Edit_KEnd = nullptr;
    QPushButton *BitBtn_MaxM = nullptr, *BitBtn_DKadr = nullptr, *BitBtn_DataSel = nullptr;
    QDateEdit* DateTimePicker_Data = nullptr;

    QFrame* buildCaptions();
    QWidget* buildSelections();
    QLineEdit* numberEdit(const char* name, const QString& text);
    QPushButton* button(const char* name, int tag);
    void setScroll(int maximum, int position);
    // Moves the table by whole pages of five frames, within the scroll bar's range.
    void pageBy(int pages);
    std::optional<long long> numberOf(QLineEdit* edit);

    nkp::screen::MainState& state_;
    nkp::UserPrompts& prompts_;
    char decimalSeparator_;
    int wheelDelta_ = 0;  // wheel movement not yet worth a page
};
