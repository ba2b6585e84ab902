#include "ui/archive/ArchiveMenu.h"

#include "archive/ArchiveAddress.h"
#include "archive/ArchiveSession.h"
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
    return QString::fromStdString(archive::defaultLocation(startFolder.toStdString()));
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

void addSavedReading(const QString& startFolder, const QString& path, QObject& context,
    std::function<void(const QString&)> done)
{
    // A session of its own for the one call; it goes when it has answered.
    auto* session = new archive::ArchiveSession(archiveLocation(startFolder).toStdString(), &context);
    QObject::connect(session, &archive::ArchiveSession::savedAdded, session,
        [session, done](std::uint64_t, archive::AddOutcome outcome) {
            done(outcome == archive::AddOutcome::Added ? QStringLiteral("добавлено в архив")
                                                       : QStringLiteral("уже в архиве"));
            session->deleteLater();
        });
    QObject::connect(session, &archive::ArchiveSession::failed, session,
        [session, done](std::uint64_t, const nkp::Failure& failure) {
            done(QStringLiteral("в архив не добавлено: ") + QString::fromStdString(failure.text()));
            session->deleteLater();
        });
    session->addSaved(path.toStdString());
}

}  // namespace nkp::ui
