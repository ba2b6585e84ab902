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

}  // namespace nkp::report::messages
