#include "ui/common/PdfSave.h"

#include "ui/common/WriteFailure.h"

#include <QFile>

namespace nkp::ui {

bool savePdfAs(
    UserPrompts& prompts, const QString& title, const PdfWrite& write, const std::string& shownInput)
{
    const QString caption = QStringLiteral("Сохранить в PDF");
    UserPrompts::FileDialog dialog;
    dialog.title = caption.toStdString();
    dialog.filter = "Документ PDF (*.pdf)|*.pdf|Все файлы (*.*)|*.*";
    dialog.fileName = QFile::encodeName(title + QStringLiteral(".pdf")).toStdString();
    dialog.defaultExtension = "pdf";
    const auto path = prompts.saveFile(dialog);
    if (!path || refusedAsInput(prompts, caption, *path, shownInput))
        return false;
    const Done written = write(*path);
    if (!written)
        prompts.error(caption.toStdString(),
            QStringLiteral("Файл \"%1\" не удалось записать.\n%2")
                .arg(QFile::decodeName(QByteArray::fromStdString(*path)),
                    QString::fromLocal8Bit(written.error().c_str()))
                .toStdString());
    else
        showWritten(prompts, caption, *path);
    return written.ok();
}

}  // namespace nkp::ui
