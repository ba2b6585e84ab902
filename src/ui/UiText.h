#pragma once

#include <QString>

#include <string>
#include <string_view>

// The code-page boundary of the windows: the core keeps Windows-1251 bytes,
// Qt shows QString.
namespace nkp::ui {

// Windows-1251 bytes to a QString.
QString fromCp1251(std::string_view cp1251);
// A QString to Windows-1251 bytes ('?' for what the code page cannot hold).
std::string toCp1251(const QString& text);

// The decimal separator of the system's number format, as one byte; ','
// when the system uses a character outside ASCII.
char systemDecimalSeparator();

// "Desc|*.nkp|Все файлы (*.*)|*.*" (pairs of description and masks separated
// by '|', masks by ';') to Qt's "Desc (*.nkp);;Все файлы (*.*) (*.*)".
QString qtFileFilter(const QString& delphiFilter);

}  // namespace nkp::ui
