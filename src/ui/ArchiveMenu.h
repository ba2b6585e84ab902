#pragma once

#include "prompts/UserPrompts.h"

#include <QString>

#include <functional>

class QAction;
class QMenu;
class QWidget;

namespace nkp::ui {

// Where the program keeps its archive: the address in NKP_ARCHIVE (an SQLite
// file or a postgresql:// address shared by a team), else
// "Архив/archive.sqlite" below the start folder.
QString archiveLocation(const QString& startFolder);

// "Файл" → "Архив кранов..." (Ctrl+Shift+A) on `window`'s menu `fileMenu`,
// placed before `before`: opens the archive window, made on first use; a
// read-out double-clicked there goes to `openReadout` (the window's loading,
// false when the file could not be opened), and `window` comes to the front
// when it opened.
QAction* installArchiveMenu(QWidget& window, QMenu& fileMenu, QAction* before, UserPrompts& prompts,
    const QString& startFolder, char decimalSeparator, std::function<bool(const QString&)> openReadout);

// Whether a reading saved in the reading window goes into the archive too
// (setting "archive/addSavedReadings", on unless set to false).
bool addSavedReadingsToArchive();

// Adds a data file just saved to the archive; the words for the status line
// ("добавлено в архив", "уже в архиве" or why it failed). The saved file is
// never touched.
QString addSavedReading(const QString& startFolder, const QString& path);

}  // namespace nkp::ui
