#include "ui/service/Logloaderror.h"

#include "analysis/LoadLogText.h"
#include "ui/common/UiText.h"

#include <QPlainTextEdit>

TForm_LogError::TForm_LogError(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Form_LogError"));
    Memo_LogError = nkp::ui::setUpMemoWindow(this, QStringLiteral("Лог ошибок загрузки файла данных"),
        QSize(475, 460), QStringLiteral("Memo_LogError"));
    Memo_LogError->setPlainText(QStringLiteral("Memo_LogError"));
}

void TForm_LogError::showLoad(const nkp::analysis::MainState& state)
{
    Memo_LogError->setPlainText(nkp::ui::fromCp1251(
        nkp::analysis::loadErrorLogText(state.fileName, state.diagnostics, state.RingStart)));
}
