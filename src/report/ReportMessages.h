#pragma once

#include <string_view>

// The engine's failure messages, as the user reads them. RepoRTF_Error
// carries them in Windows-1251.
namespace nkp::report::messages {

inline constexpr std::string_view kSameNames = "Имена файлов шаблона и отчета совпадают.";
inline constexpr std::string_view kNoTemplate = "Не открыт файл шаблона";
inline constexpr std::string_view kNoReport = "Не открыт файл отчета.\nВОЗМОЖНО НЕ ЗАКРЫТ СТАРЫЙ ОТЧЕТ.";
inline constexpr std::string_view kNoData = "Не открыт файл данных";
inline constexpr std::string_view kStructure = "Ошибка в структуре файла шаблона и/или данных";
inline constexpr std::string_view kStopped = "Создание отчета прервано";
inline constexpr std::string_view kWriteFailed = "Ошибка записи в файл отчета";
// The data file and the report are one file (also through a link).
inline constexpr std::string_view kSameDataNames = "Имена файлов данных и отчета совпадают.";
// A line longer than LineReader's bound: such a file is not a template or
// a data file, and holding it whole could exhaust the memory.
inline constexpr std::string_view kTemplateLineTooLong = "Слишком длинная строка в файле шаблона";
inline constexpr std::string_view kDataLineTooLong = "Слишком длинная строка в файле данных";

}  // namespace nkp::report::messages
