#pragma once

#include "base/UserPrompts.h"

#include <QString>

#include <functional>

class QAction;
class QMenu;
class QObject;
class QWidget;
class TForm_Archive;

namespace nkp::ui {

// Where the program keeps its archive: the address in NKP_ARCHIVE (an SQLite
// file or a postgresql:// address shared by a team), else the one set in the
// archive window (setting "archive/location"), else "Архив/archive.sqlite"
// below the start folder.
QString archiveLocation(const QString& startFolder);
// Whether NKP_ARCHIVE fixes the address (the window's field is then read-only).
bool archiveLocationFromEnvironment();
// Stores the address set in the archive window; an empty one returns to the default.
void setArchiveLocationSetting(const QString& location);

// "Файл" → "Архив кранов..." (Ctrl+Shift+A) on `window`'s menu `fileMenu`,
// placed before `before`: opens the archive window, made on first use; a
// read-out double-clicked there goes to `openReadout` (the window's loading,
// false when the file could not be opened), and `window` comes to the front
// when it opened.
QAction* installArchiveMenu(QWidget& window, QMenu& fileMenu, QAction* before, UserPrompts& prompts,
    const QString& startFolder, char decimalSeparator, std::function<bool(const QString&)> openReadout);

// The main window's archive window, made on first use, shown and raised.
TForm_Archive* showArchiveWindow(QWidget& window, UserPrompts& prompts, const QString& startFolder,
    char decimalSeparator, const std::function<bool(const QString&)>& openReadout);

// Whether a reading saved in the reading window goes into the archive too
// (setting "archive/addSavedReadings", on unless set to false).
bool addSavedReadingsToArchive();

// Adds a data file just saved to the archive in the background; `done` gets
// the words for the status line ("добавлено в архив", "уже в архиве" or why
// it failed), in the thread of `context`, unless `context` is gone by then.
// The saved file is never touched.
void addSavedReading(const QString& startFolder, const QString& path, QObject& context,
    std::function<void(const QString&)> done);

}  // namespace nkp::ui
