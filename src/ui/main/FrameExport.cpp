#include "ui/main/FrameExport.h"

#include "analysis/FramesCsv.h"
#include "base/Codec.h"
#include "base/SpreadsheetCsv.h"
#include "ui/common/UiText.h"
#include "ui/common/WriteFailure.h"
#include "ui/main/Tpb140_nkp3_main.h"

#include <QFile>
#include <QFileInfo>

namespace nkp::ui {

bool exportFramesCsv(const screen::MainState& state, const QString& startDirectory, char decimalSeparator,
    UserPrompts& prompts)
{
    UserPrompts::FileDialog dialog;
    dialog.title = "Экспорт кадров в CSV";
    dialog.filter = "Файлы CSV (*.csv)|*.csv|Все файлы (*.*)|*.*";
    dialog.defaultExtension = "csv";
    const QString loaded = QFile::decodeName(state.filePath.c_str());
    dialog.initialDir
        = QFile::encodeName(loaded.isEmpty() ? startDirectory : QFileInfo(loaded).absolutePath())
              .toStdString();
    dialog.fileName = QFile::encodeName(
        (loaded.isEmpty() ? QStringLiteral("Кадры") : QFileInfo(loaded).completeBaseName())
        + QStringLiteral(".csv"))
                          .toStdString();
    const std::optional<std::string> path = prompts.saveFile(dialog);
    if (!path || refusedAsInput(prompts, QStringLiteral("Ошибка"), *path, state.filePath))
        return false;
    // A spreadsheet file: UTF-8 with its BOM and CR LF, as the fleet CSV.
    const std::vector<int> positions = analysis::currentFramePositions(state);
    const std::string csv = analysis::framesCsv(
        state, positions, decimalSeparator, fileio::kCsvLineEnd, analysis::FramesCsvHeader::TableCaptions);
    if (const Done written = fileio::writeSpreadsheetCsv(*path, csv); !written) {
        showWriteFailure(prompts, QStringLiteral("Ошибка"), *path, written.error());
        return false;
    }
    showWritten(prompts, QString::fromStdString(dialog.title), *path,
        QStringLiteral("Кадров записано: %1").arg(positions.size()));
    return true;
}

}  // namespace nkp::ui
