#include "ui/archive/ArchiveMenu.h"

#include "archive/Archive.h"
#include "ui/archive/Archive.h"

#include <QMenu>
#include <QSettings>

namespace nkp::ui {

QString archiveLocation(const QString& startFolder)
{
    const QString configured = qEnvironmentVariable("NKP_ARCHIVE");
    if (!configured.isEmpty())
        return configured;
    const QString set = QSettings().value(QStringLiteral("archive/location")).toString().trimmed();
    if (!set.isEmpty())
        return set;
    return QString::fromStdString(archive::Archive::defaultLocation(startFolder.toStdString()));
}

bool archiveLocationFromEnvironment()
{
    return !qEnvironmentVariable("NKP_ARCHIVE").isEmpty();
}

void setArchiveLocationSetting(const QString& location)
{
    QSettings settings;
    if (location.trimmed().isEmpty())
        settings.remove(QStringLiteral("archive/location"));
    else
        settings.setValue(QStringLiteral("archive/location"), location.trimmed());
}

TForm_Archive* showArchiveWindow(QWidget& window, UserPrompts& prompts, const QString& startFolder,
    char decimalSeparator, const std::function<bool(const QString&)>& openReadout)
{
    auto* form = window.findChild<TForm_Archive*>(QStringLiteral("Form_Archive"), Qt::FindDirectChildrenOnly);
    if (!form) {
        form = new TForm_Archive(prompts, archiveLocation(startFolder), startFolder, &window);
        form->setObjectName(QStringLiteral("Form_Archive"));
        form->setDecimalSeparator(decimalSeparator);
        QObject::connect(
            form, &TForm_Archive::readoutActivated, &window, [&window, openReadout](const QString& path) {
                if (openReadout(path)) {
                    window.raise();
                    window.activateWindow();
                }
            });
    }
    form->show();
    form->raise();
    form->activateWindow();
    return form;
}

QAction* installArchiveMenu(QWidget& window, QMenu& fileMenu, QAction* before, UserPrompts& prompts,
    const QString& startFolder, char decimalSeparator, std::function<bool(const QString&)> openReadout)
{
    auto* action = new QAction(QStringLiteral("Архив кранов..."), &window);
    action->setObjectName(QStringLiteral("Menu_Archive"));
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A));
    fileMenu.insertAction(before, action);
    QObject::connect(action, &QAction::triggered, &window,
        [&window, &prompts, startFolder, decimalSeparator, openReadout] {
            showArchiveWindow(window, prompts, startFolder, decimalSeparator, openReadout);
        });
    return action;
}

bool addSavedReadingsToArchive()
{
    return QSettings().value(QStringLiteral("archive/addSavedReadings"), true).toBool();
}

QString addSavedReading(const QString& startFolder, const QString& path)
{
    std::string error;
    const auto prepared = archive::prepareReadout(path.toStdString(), &error);
    const auto store = prepared ? archive::Archive::open(archiveLocation(startFolder).toStdString(),
                           archive::OpenMode::CreateIfMissing, &error)
                                : nullptr;
    if (!store)
        return QStringLiteral("в архив не добавлено: ") + QString::fromStdString(error);
    switch (store->add(*prepared, &error)) {
    case archive::AddOutcome::Added:
        return QStringLiteral("добавлено в архив");
    case archive::AddOutcome::AlreadyThere:
        return QStringLiteral("уже в архиве");
    case archive::AddOutcome::Failed:
        break;
    }
    return QStringLiteral("в архив не добавлено: ") + QString::fromStdString(error);
}

}  // namespace nkp::ui
