#pragma once

#include "analysis/MainState.h"

#include <QDialog>

#include <vector>

class QPlainTextEdit;

// The load error log: a window with one text box that lists what the last
// loading met. Shown modally from the main menu and only hidden when closed.
class TForm_LogError : public QDialog {
    Q_OBJECT
public:
    explicit TForm_LogError(QWidget* parent = nullptr);

    // Rewrites the text box from the diagnostics of the last loading.
    void showLoad(const nkp::analysis::MainState& state);

    QPlainTextEdit* Memo_LogError = nullptr;
};

namespace nkp::ui {

// The log's lines for what loading met in file `fileName`.
QString loadErrorLogText(const std::string& fileName, const analysis::LoadDiagnostics& diagnostics);

// Indices as a list of ranges: "0-5, 17, 200-210".
QString condensedIndices(const std::vector<int>& indices);

}  // namespace nkp::ui
