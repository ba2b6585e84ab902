#pragma once

#include "prompts/UserPrompts.h"

#include <QString>

class QAction;
class TForm_TPB140CMain;

namespace nkp::ui {

// Where the program keeps its archive: the address in NKP_ARCHIVE (an SQLite
// file or a postgresql:// address shared by a team), else
// "Архив/archive.sqlite" below the start folder.
QString archiveLocation(const QString& startFolder);

// "Файл" → "Архив кранов..." (Ctrl+Shift+A) on the main window, placed after
// "Обзор парка...": opens the archive window, made on first use; a read-out
// double-clicked there opens in the main window.
QAction* installArchiveMenu(TForm_TPB140CMain& window, UserPrompts& prompts);

}  // namespace nkp::ui
