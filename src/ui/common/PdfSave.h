#pragma once

#include "base/Failure.h"
#include "base/UserPrompts.h"

#include <QString>

#include <functional>
#include <string>

namespace nkp::ui {

// Writes a document to the file at `path` (file-system bytes).
using PdfWrite = std::function<Done(const std::string& path)>;

// "PDF..." of a print preview: asks for a file, proposing `title`.pdf,
// refuses one of the program's inputs (and `shownInput`, a read-out the
// document shows), writes the document there with `write` and says where it
// went, or why it did not. True when the file was written.
bool savePdfAs(
    UserPrompts& prompts, const QString& title, const PdfWrite& write, const std::string& shownInput = {});

}  // namespace nkp::ui
