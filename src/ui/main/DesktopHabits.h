#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QAction;
class QMainWindow;
class QMenu;
class QMimeData;
class QSettings;

namespace nkp::ui {

// The program's own settings file (~/.config/nkp3/nkp3-analyzer.conf, below
// XDG_CONFIG_HOME when it is set).
std::unique_ptr<QSettings> programSettings();

// The read-outs among dropped or pasted data: local files ending in .nkp.
QStringList readoutPaths(const QMimeData& data);

// What a desktop program does beside its own work: the recent files under
// "Последние файлы", the window's size and place kept from one start to the
// next, read-outs dropped on the window, and menu shortcuts that work
// whatever has the focus (a text edit would take Ctrl+E as end of line).
class DesktopHabits : public QObject {
    Q_OBJECT
public:
    static constexpr int kRecentCount = 8;

    // `open` loads a read-out as "Открыть" does; its submenu goes into
    // `fileMenu` before `before`.
    DesktopHabits(
        QMainWindow& window, QMenu& fileMenu, QAction* before, std::function<bool(const QString&)> open);

    // A read-out was opened: first in the list.
    void remember(const QString& path);
    QStringList recentFiles() const;
    QMenu* recentMenu() const { return recent_; }
    // Puts the window where it was when the program last ended.
    void restorePlace();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showRecent();
    bool isMenuShortcut(const QKeySequence& keys) const;

    QMainWindow& window_;
    QMenu* recent_ = nullptr;
    std::function<bool(const QString&)> open_;
};

}  // namespace nkp::ui
