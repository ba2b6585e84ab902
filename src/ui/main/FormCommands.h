#pragma once

#include "analysis/MainState.h"
#include "base/UserPrompts.h"
#include "forms/Createforms.h"

#include <functional>
#include <string>

// What the menu items "Форма 1", "Форма 2" and "Форма 3" need beyond the
// forms themselves: the application's general error display and the
// desktop's document opener.
namespace nkp::ui {

// The application's general error display: an error box with the message
// (Windows-1251).
void showGeneralError(UserPrompts& prompts, const std::string& message);

// Opens a finished document with the desktop's application for RTF files;
// false when the desktop names none or the opener could not be started.
bool openDocumentWithDesktop(const std::string& path);

// What the desktop does with a finished document and its folder.
struct Desktop {
    std::function<bool(const std::string&)> openDocument;  // false: no application opened it
    std::function<bool(const std::string&)> openFolder;    // shows a folder; false: no file manager answered
};
// The real desktop: openDocumentWithDesktop() and the file manager.
Desktop systemDesktop();

// Tells the user where the document was written ("Документ сохранён: ..."),
// and that no application opened it when `opened` is false; its button
// "Открыть папку" shows the document's folder, or says that no file manager
// could show it.
void reportDocument(
    UserPrompts& prompts, const std::string& documentPath, bool opened, const Desktop& desktop);

// The settings the window's forms run with: folders below the start
// directory (file-system bytes; the installed templates when the start
// directory has no "Шаблоны форм"), the window's decimal separator, the
// system clock, the desktop's document opener.
forms::FormSettings windowFormSettings(const std::string& startDirectory, char decimalSeparator);

// Runs one form (1, 2, 3). A form or engine failure reaches the general
// error display; the document is then not opened.
forms::FormOutcome runFormCommand(forms::Createforms& forms, int form, UserPrompts& prompts);

// What a form command needs of the window it runs from.
struct FormWindow {
    analysis::MainState& state;
    std::string startDirectory;  // file-system bytes
    char decimalSeparator = ',';
    std::function<bool()> openDataFile;                // the window's "Открыть"; false when cancelled
    std::function<bool(const std::string&)> loadFile;  // loads a path as "Открыть" does; false when not
    std::function<void()> showState;                   // every tab shows the state anew
};

// The whole menu command of the window: the window's own open operation
// loads the latest reading, the form runs, every tab shows the state
// afterwards, also after a failure (the form may have changed it), and a
// finished document is handed to `desktop` and reported.
forms::FormOutcome runWindowForm(
    const FormWindow& window, UserPrompts& prompts, int form, const Desktop& desktop = systemDesktop());

}  // namespace nkp::ui
