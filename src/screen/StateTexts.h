#pragma once

#include <string>

// Fixed texts of the main window in Windows-1251, converted once from the
// UTF-8 source text.
namespace nkp::screen::texts {

const std::string& limiterMaker();       // "ОАО \"ПЗЛ\", г. Энск", written by loading
const std::string& paramTitleStart();    // "График параметров работы крана "
const std::string& paramTitleNumber();   // " №"
const std::string& paramTitleLimiter();  // " по данным РП ТРВ-160 №"
const std::string& paramTitleEnd();      // " (по кадрам)"
const std::string& framesAxisTitle();    // "Кадры"
// What the boxes and dialogs say, in UTF-8 as UserPrompts takes it:
// "\n Файл не удальсь открыть!": a read-out that cannot be opened.
const std::string& fileNotOpened();
// "Файлы РП ТРВ-160С (*.nkp)|*.nkp|Все файлы (*.*)|*.*": the open dialog's filter for read-outs.
const std::string& readoutFileFilter();

// "Файл «…» — один из открытых входных файлов ...": an output the user
// named is a read-out, template, identification file or archive in use
// (`path` in file-system bytes, UTF-8).
std::string outputIsInput(const std::string& path);

// Converts a UTF-8 literal of this source tree to Windows-1251.
std::string cp1251(const char* utf8);

}  // namespace nkp::screen::texts
