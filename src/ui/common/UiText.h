#pragma once

#include <QSize>
#include <QString>

#include <string>
#include <string_view>

// The code-page boundary of the windows: the core keeps Windows-1251 bytes,
// Qt shows QString.
class QDialog;
class QPlainTextEdit;

namespace nkp::ui {

// Gives a text window its caption and size and fills it with one text box
// named `memoName` with a vertical scroll bar.
QPlainTextEdit* setUpMemoWindow(QDialog* window, const QString& caption, QSize size, const QString& memoName);

// Windows-1251 bytes to a QString.
QString fromCp1251(std::string_view cp1251);
// A QString to Windows-1251 bytes ('?' for what the code page cannot hold).
std::string toCp1251(const QString& text);
// A UTF-8 literal of this source tree to Windows-1251 bytes.
std::string cp1251(const char* utf8);

// The decimal separator of the system's number format, as one byte; ','
// when the system uses a character outside ASCII.
char systemDecimalSeparator();

// "Desc|*.nkp|Все файлы (*.*)|*.*" (pairs of description and masks separated
// by '|', masks by ';') to Qt's "Desc (*.nkp);;Все файлы (*.*)": the masks
// are added in parentheses unless the description already ends with them.
QString qtFileFilter(const QString& delphiFilter);

}  // namespace nkp::ui
