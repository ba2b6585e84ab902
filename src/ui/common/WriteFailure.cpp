#include "ui/common/WriteFailure.h"

#include "base/InputFiles.h"
#include "screen/StateTexts.h"
#include "ui/common/UiText.h"

#include <QFile>

namespace nkp::ui {

bool refusedAsInput(
    UserPrompts& prompts, const QString& caption, const std::string& path, const std::string& shown)
{
    const fileio::InputScope shownReadout({shown});
    if (!fileio::isInput(path))
        return false;
    prompts.error(caption.toStdString(), screen::texts::outputIsInput(path));
    return true;
}

void showWritten(
    UserPrompts& prompts, const QString& caption, const std::string& path, const QString& firstLine)
{
    const QString where = QStringLiteral("Файл: ") + QFile::decodeName(QByteArray::fromStdString(path));
    prompts.information(
        caption.toStdString(), (firstLine.isEmpty() ? where : firstLine + u'\n' + where).toStdString());
}

void showWriteFailure(
    UserPrompts& prompts, const QString& caption, const std::string& path, const std::string& cause)
{
    // The safe writer refused an input: the window says so in its own words.
    if (refusedAsInput(prompts, caption, path))
        return;
    // Paths are UTF-8 on Linux: they pass through QString to reach Windows-1251.
    prompts.error(caption.toStdString(),
        (QStringLiteral("Не удалось записать файл ") + QFile::decodeName(path.c_str())
            + QStringLiteral("\r\n") + QFile::decodeName(cause.c_str()))
            .toStdString());
}

}  // namespace nkp::ui
