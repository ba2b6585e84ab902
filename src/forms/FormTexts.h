#pragma once

#include <string>

// The texts the forms show (UTF-8, as UserPrompts takes them; texts of a
// read-out are passed in Windows-1251 and converted here) and the parts of a
// document's name (Windows-1251).
namespace nkp::forms::text {

const std::string& promptSingleReading();  // "Выберите файл данных РП ТРВ-140 для обработки!"
const std::string& promptLatestReading();    // "... с последнего считывания!"
const std::string& promptPreviousReading();  // "... с предыдущего считывания!"
const std::string& openDialogTitle();        // "Открыть"
const std::string& informationCaption();     // caption of the prompt boxes
const std::string& errorCaption();           // caption of the error boxes
const std::string& warningCaption();         // "Предупреждение"
const std::string& openFolderButton();       // "Открыть папку"
const std::string& numberSign();             // "№", Windows-1251

// "Форма N" in Windows-1251.
std::string formTitle(int form);

// The message of a form that cannot go on, naming a path (file-system bytes)
// and the cause (UTF-8).
std::string folderMissing(const std::string& folderPath);
std::string dataFileNotWritten(const std::string& filePath, const std::string& cause);

// The question before a form is made from a damaged file: its name
// (Windows-1251), the damage warning and whether to go on.
std::string damagedFileQuestion(const std::string& fileName, const std::string& warning);

// Why two read-outs make no period (read-out texts are Windows-1251), and
// the questions the window asks about it.
std::string otherCrane(const std::string& latestModel, const std::string& latestNumber,
    const std::string& previousModel, const std::string& previousNumber);
std::string otherLimiter(const std::string& latestSerial, const std::string& previousSerial);
std::string previousReadingNewer(const std::string& latestDate, const std::string& previousDate);
std::string previousCountersHigher();
std::string countersFell();
std::string swapQuestion(const std::string& reason);  // "... Поменять их местами?"
std::string mismatchQuestion(const std::string& reason);  // "... Составить документ всё равно?"

// Where the finished document was written (a file-system path), and, when no
// application opened it, that the user has to open it.
std::string documentSaved(const std::string& documentPath, bool opened);

}  // namespace nkp::forms::text
