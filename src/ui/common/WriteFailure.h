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

}  // namespace nkp::ui
