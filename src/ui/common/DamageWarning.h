#pragma once

#include <QString>

#include <string>

class QLabel;

// How the windows show that the loaded file is damaged: a clearly coloured
// line with the warning of the core and a link to the load error log. No
// modal box: loading goes on and the user sees it at once.
namespace nkp::ui {

// The link target of the load error log in a warning line.
inline const QString kErrorLogLink = QStringLiteral("log");

// A hidden, word-wrapping warning line.
QLabel* damageBanner();

// Shows the warning (Windows-1251) in `line`, followed by the link to the
// load error log; an empty warning hides the line.
void showDamage(QLabel* line, const std::string& warning);

// The same in a status-bar panel of fixed width: colours, the warning cut to
// the panel with "…" (the whole of it in the tooltip) and the link; an empty
// warning empties the panel and takes the colours away.
void showDamageInPanel(QLabel* panel, const std::string& warning);

// The caption of a preview or message about a damaged file: `title`, then the
// warning; `title` alone for a sound file.
QString captionWithDamage(const QString& title, const std::string& warning);

}  // namespace nkp::ui
