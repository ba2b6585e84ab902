#pragma once

#include "base/UserPrompts.h"

#include <QString>

#include <string>

namespace nkp::ui {

// The error box, with `caption`, of a file the user asked for that could not
// be written: the file's path (file-system bytes) and the cause (English,
// from the safe writer; it may name the path too, in file-system bytes).
void showWriteFailure(
    UserPrompts& prompts, const QString& caption, const std::string& path, const std::string& cause);

// Tells the user where a file they asked for was written: `firstLine`
// (what was written, may be empty), then "Файл: " and the path.
void showWritten(
    UserPrompts& prompts, const QString& caption, const std::string& path, const QString& firstLine = {});

// Whether `path` (file-system bytes) is one of the files the program has
// open as input (the loaded read-out, a form's read-outs and template, the
// fleet's read-outs, the archive, the identification file); if so, the
// error box with `caption` says so and the caller writes nothing. `shown`
// names a read-out the caller shows, an input as well (may be empty).
bool refusedAsInput(
    UserPrompts& prompts, const QString& caption, const std::string& path, const std::string& shown = {});

}  // namespace nkp::ui
