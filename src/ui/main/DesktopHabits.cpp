#include "ui/main/DesktopHabits.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>

namespace nkp::ui {
namespace {

const QString kRecentKey = QStringLiteral("recentFiles");
const QString kGeometryKey = QStringLiteral("mainWindow/geometry");

// Every action of the menu bar, submenus included.
void collectActions(const QList<QAction*>& actions, QList<QAction*>& out)
{
    for (QAction* action : actions) {
        out.append(action);
        if (QMenu* menu = action->menu())
            collectActions(menu->actions(), out);
    }
}

}  // namespace

std::unique_ptr<QSettings> programSettings()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return std::make_unique<QSettings>(
        folder + QStringLiteral("/nkp3/nkp3-analyzer.conf"), QSettings::IniFormat);
}

QStringList readoutPaths(const QMimeData& data)
{
    QStringList out;
    for (const QUrl& url : data.urls())
        if (url.isLocalFile() && url.toLocalFile().endsWith(QStringLiteral(".nkp"), Qt::CaseInsensitive))
            out.append(url.toLocalFile());
    return out;
}

DesktopHabits::DesktopHabits(
    QMainWindow& window, QMenu& fileMenu, QAction* before, std::function<bool(const QString&)> open)
    : QObject(&window)
    , window_(window)
    , open_(std::move(open))
{
    recent_ = new QMenu(QStringLiteral("Последние &файлы"), &window);
    recent_->setObjectName(QStringLiteral("Menu_Recent"));
    recent_->menuAction()->setObjectName(QStringLiteral("Menu_Recent"));
    fileMenu.insertMenu(before, recent_);
    connect(recent_, &QMenu::aboutToShow, this, &DesktopHabits::showRecent);
    showRecent();
    window.setAcceptDrops(true);
    // The application's filter: it sees the window's own events first, and
    // a focused edit's shortcut questions.
    qApp->installEventFilter(this);
}

QStringList DesktopHabits::recentFiles() const
{
    return programSettings()->value(kRecentKey).toStringList();
}

void DesktopHabits::remember(const QString& path)
{
    QStringList list = recentFiles();
    const QString absolute = QFileInfo(path).absoluteFilePath();
    list.removeAll(absolute);
    list.prepend(absolute);
    while (list.size() > kRecentCount)
        list.removeLast();
    programSettings()->setValue(kRecentKey, list);
    showRecent();
}

void DesktopHabits::showRecent()
{
    recent_->clear();
    const QStringList list = recentFiles();
    for (int i = 0; i < list.size(); ++i) {
        const QString path = list[i];
        // "&1 name" opens by its digit; the full path is the hint.
        QAction* action = recent_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(
            QFileInfo(path).fileName().replace(u'&', QStringLiteral("&&"))));
        action->setStatusTip(QDir::toNativeSeparators(path));
        action->setToolTip(QDir::toNativeSeparators(path));
        connect(action, &QAction::triggered, this, [this, path] { open_(path); });
    }
    recent_->setEnabled(!list.isEmpty());
}

void DesktopHabits::restorePlace()
{
    const QByteArray geometry = programSettings()->value(kGeometryKey).toByteArray();
    if (!geometry.isEmpty())
        window_.restoreGeometry(geometry);  // kept on a screen that is there now
}

bool DesktopHabits::isMenuShortcut(const QKeySequence& keys) const
{
    QList<QAction*> actions;
    collectActions(window_.menuBar()->actions(), actions);
    collectActions(window_.actions(), actions);
    for (const QAction* action : actions)
        if (action->isEnabled() && !action->shortcut().isEmpty() && action->shortcut() == keys)
            return true;
    return false;
}

bool DesktopHabits::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride: {
        // A focused edit would keep the key for itself; the menu's own
        // shortcuts go to the menu while this window is the active one.
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || widget->window() != &window_)
            break;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (isMenuShortcut(QKeySequence(key->keyCombination()))) {
            event->ignore();
            return true;
        }
        break;
    }
    case QEvent::DragEnter:
    case QEvent::DragMove:
        if (watched == &window_) {
            auto* drag = static_cast<QDropEvent*>(event);
            if (drag->mimeData() && !readoutPaths(*drag->mimeData()).isEmpty()) {
                drag->acceptProposedAction();
                return true;
            }
        }
        break;
    case QEvent::Drop:
        if (watched == &window_) {
            auto* drop = static_cast<QDropEvent*>(event);
            const QStringList paths = drop->mimeData() ? readoutPaths(*drop->mimeData()) : QStringList();
            if (!paths.isEmpty()) {
                drop->acceptProposedAction();
                open_(paths.constFirst());  // one read-out is shown at a time
                return true;
            }
        }
        break;
    case QEvent::Close:
        if (watched == &window_)
            programSettings()->setValue(kGeometryKey, window_.saveGeometry());
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace nkp::ui
