#include "ui/common/WriteFailure.h"

#include "ui/common/UiText.h"

#include <QFile>

namespace nkp::ui {

void showWriteFailure(
    UserPrompts& prompts, const QString& caption, const std::string& path, const std::string& cause)
{
    // Paths are UTF-8 on Linux: they pass through QString to reach Windows-1251.
    prompts.error(toCp1251(caption),
        toCp1251(QStringLiteral("Не удалось записать файл ") + QFile::decodeName(path.c_str())
            + QStringLiteral("\r\n") + QFile::decodeName(cause.c_str())));
}

}  // namespace nkp::ui
