#pragma once

#include "forms/Createforms.h"
#include "prompts/UserPrompts.h"

#include <string>

// What the menu items "Форма 1", "Форма 2" and "Форма 3" need beyond the
// forms themselves: the application's general error display and the
// desktop's document opener.
namespace nkp::ui {

// The application's general error display: an error box with the message
// (Windows-1251).
void showGeneralError(UserPrompts& prompts, const std::string& message);

// Opens a finished document with the desktop's application for RTF files.
// The result is not examined.
void openDocumentWithDesktop(const std::string& path);

// The settings the window's forms run with: folders below the start
// directory, the system's decimal separator, the system clock, the desktop's
// document opener.
forms::FormSettings windowFormSettings(const std::string& startDirectory);

// Runs one form as its menu item does (N_CreateForma1Click etc. call this).
// A form or engine failure reaches the general error display; the document
// is then not opened. The window refreshes its controls from the state
// afterwards in every case, since the form may have changed them.
forms::FormOutcome runFormCommand(forms::Createforms& forms, int form, UserPrompts& prompts);

}  // namespace nkp::ui
