#include "ui/service/Logloaderror.h"

#include "recorder/DataFileLayout.h"
#include "ui/common/UiText.h"

#include <QPlainTextEdit>

#include <algorithm>

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
    Memo_LogError->setPlainText(nkp::ui::loadErrorLogText(state.fileName, state.diagnostics));
}

namespace nkp::ui {

QString condensedIndices(const std::vector<int>& indices)
{
    std::vector<int> sorted = indices;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    QStringList parts;
    for (std::size_t i = 0; i < sorted.size();) {
        std::size_t j = i;
        while (j + 1 < sorted.size() && sorted[j + 1] == sorted[j] + 1)
            ++j;
        parts << (j == i ? QString::number(sorted[i])
                         : QString::number(sorted[i]) + QLatin1Char('-') + QString::number(sorted[j]));
        i = j + 1;
    }
    return parts.join(QStringLiteral(", "));
}

QString loadErrorLogText(const std::string& fileName, const analysis::LoadDiagnostics& d)
{
    QStringList lines;
    lines << QStringLiteral("Файл: ") + fromCp1251(fileName);
    bool problems = false;
    if (!d.fullLength) {
        problems = true;
        lines << QStringLiteral("Размер файла %1 байт, полный файл не короче %2 байт; недостающие данные "
                                "прочитаны как нули")
                     .arg(d.fileSize)
                     .arg(recorder::kIdentificationOffset);
    }
    if (d.checksumMatches) {
        lines << QStringLiteral("Контрольная сумма образа памяти совпадает");
    } else {
        problems = true;
        lines << QStringLiteral("Контрольная сумма образа памяти не совпадает: записана %1, вычислена %2")
                     .arg(d.storedChecksum)
                     .arg(d.computedChecksum);
    }
    if (!d.brokenFrames.empty()) {
        problems = true;
        lines << QStringLiteral("Кадров с ошибкой контрольной суммы: %1 (номера: %2)")
                     .arg(d.brokenFrames.size())
                     .arg(condensedIndices(d.brokenFrames));
    }
    if (!d.nonCalendarFrames.empty()) {
        problems = true;
        lines << QStringLiteral("Кадров с несуществующей датой или временем: %1 (номера: %2)")
                     .arg(d.nonCalendarFrames.size())
                     .arg(condensedIndices(d.nonCalendarFrames));
    }
    if (!problems)
        lines << QStringLiteral("Ошибок не обнаружено");
    return lines.join(QLatin1Char('\n'));
}

}  // namespace nkp::ui
