#pragma once

#include <string>

// The texts the forms show or write, as Windows-1251 bytes.
namespace nkp::forms::text {

const std::string& promptSingleReading();  // "Выберите файл данных РП ТРВ-140 для обработки!"
const std::string& promptLatestReading();    // "... с последнего считывания!"
const std::string& promptPreviousReading();  // "... с предыдущего считывания!"
const std::string& openDialogTitle();        // "Открыть"
const std::string& informationCaption();     // caption of the prompt boxes
const std::string& errorCaption();           // caption of the error boxes
const std::string& numberSign();             // "№"

// "Форма N" in Windows-1251.
std::string formTitle(int form);

// The message of a form that cannot go on, naming a path (file-system bytes).
std::string folderMissing(const std::string& folderPath);
std::string dataFileNotWritten(const std::string& filePath, const std::string& cause);

}  // namespace nkp::forms::text
