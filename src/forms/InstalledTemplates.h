#pragma once

#include "forms/Createforms.h"

#include <string>

// Where an installed program finds the form templates: the templates folder
// of its installation (beside bin/, so that a package or a prefix install
// can be moved), else the data folder it was configured for.
namespace nkp::forms {

// The installed templates folder, or an empty text when none exists.
std::string installedTemplatesDir();

// The folders of the window's forms below `startDirectory`. A start folder
// without "Шаблоны форм" takes the templates from `installedTemplates`
// (when not empty), and its form data files go to the documents folder.
FormFolders formFoldersFor(const std::string& startDirectory, const std::string& installedTemplates);

}  // namespace nkp::forms
