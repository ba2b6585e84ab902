#pragma once

#include "base/UserPrompts.h"

#include <QString>

#include <functional>
#include <string>
#include <vector>

class QPagedPaintDevice;
class QWidget;

// The archive window's printouts: a modal preview from which the user
// prints or saves a PDF file.
namespace nkp::ui {

// Draws a document on a paged device; false when the device failed.
using ArchiveRender = std::function<bool(QPagedPaintDevice&)>;
// Shows a document titled `title`. The program's is showArchivePreview();
// tests put one that renders without asking anybody.
using ArchivePreview = std::function<void(const QString& title, const ArchiveRender& render)>;

// The modal print preview over `parent`, with "PDF..." that asks for a file
// and writes the document there (and says where).
void showArchivePreview(
    QWidget* parent, UserPrompts& prompts, const QString& title, const ArchiveRender& render);

// A table printout: the title, a line under it, and the table (`cells`, the
// heading first, UTF-8) on as many pages as it takes; the rows listed in
// `red` (indices of `cells`) in red, those in `amber` in amber.
bool printTextTable(QPagedPaintDevice& device, const QString& title, const QString& subtitle,
    const std::vector<std::vector<std::string>>& cells, const std::vector<int>& red,
    const std::vector<int>& amber);

}  // namespace nkp::ui
