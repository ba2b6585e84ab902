#include "ui/service/Logloaderror.h"

#include "screen/LoadLogText.h"
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

void TForm_LogError::showLoad(const nkp::screen::MainState& state)
{
    Memo_LogError->setPlainText(nkp::ui::fromCp1251(
        nkp::screen::loadErrorLogText(state.fileName, state.readout.diagnostics, state.RingStart)));
}
