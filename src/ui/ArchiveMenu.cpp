#include "ui/ArchiveMenu.h"

#include "archive/Archive.h"
#include "ui/Archive.h"
#include "ui/Tpb140_nkp3_main.h"

#include <QMenu>

namespace nkp::ui {

QString archiveLocation(const QString& startFolder)
{
    const QString configured = qEnvironmentVariable("NKP_ARCHIVE");
    if (!configured.isEmpty())
        return configured;
    return QString::fromStdString(archive::Archive::defaultLocation(startFolder.toStdString()));
}

QAction* installArchiveMenu(TForm_TPB140CMain& window, UserPrompts& prompts)
{
    auto* action = new QAction(QStringLiteral("Архив кранов..."), &window);
    action->setObjectName(QStringLiteral("Menu_Archive"));
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A));
    window.Menu_File->insertAction(window.Menu_Print->menuAction(), action);
    TForm_Archive* form = nullptr;
    QObject::connect(action, &QAction::triggered, &window, [&window, &prompts, form]() mutable {
        if (!form) {
            form = new TForm_Archive(
                prompts, archiveLocation(window.startDirectory()), window.startDirectory(), &window);
            form->setObjectName(QStringLiteral("Form_Archive"));
            form->setDecimalSeparator(window.decimalSeparator());
            QObject::connect(form, &TForm_Archive::readoutActivated, &window, [&window](const QString& path) {
                if (window.loadFile(path)) {
                    window.raise();
                    window.activateWindow();
                }
            });
        }
        form->show();
        form->raise();
        form->activateWindow();
    });
    return action;
}

}  // namespace nkp::ui
