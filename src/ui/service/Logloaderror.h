#pragma once

#include "screen/MainState.h"

#include <QDialog>

class QPlainTextEdit;

// The load error log: a window with one text box that lists what the last
// loading met. Shown modally from the main menu and only hidden when closed.
class TForm_LogError : public QDialog {
    Q_OBJECT
public:
    explicit TForm_LogError(QWidget* parent = nullptr);

    // Rewrites the text box from the diagnostics of the last loading.
    void showLoad(const nkp::screen::MainState& state);

private:
    QPlainTextEdit* Memo_LogError = nullptr;
};
