#pragma once

#include "base/DateTime.h"

#include <string>

// The name of a form's finished document.
namespace nkp::forms {

// A text as it may stand in a file name: every character a file name cannot
// hold ("/", "\", ":", "*", "?", "\"", "<", ">", "|" and control characters)
// becomes "_", so that no value can lead the document out of its folder.
std::string fileNameSafe(const std::string& cp1251);

// "dd.mm.yy hh-mm" of the moment, to the minute: two-digit day, month, year,
// 24-hour hour and minutes.
std::string documentStamp(const base::DateTime& moment);

// "Форма N (" model " №" number " " stamp ").rtf" in Windows-1251.
std::string documentName(
    int form, const std::string& craneModel, const std::string& craneNumber, const base::DateTime& moment);

}  // namespace nkp::forms
