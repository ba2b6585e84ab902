#include "forms/FormTexts.h"

#include "base/Codec.h"

// What the forms show is UTF-8; what goes into a document's name Windows-1251.
namespace nkp::forms::text {

#define NKP_FORM_TEXT(name, literal)                                                                         \
    const std::string& name()                                                                                \
    {                                                                                                        \
        static const std::string text = literal;                                                             \
        return text;                                                                                         \
    }

NKP_FORM_TEXT(promptSingleReading, "Выберите файл данных РП ТРВ-140 для обработки!")
NKP_FORM_TEXT(promptLatestReading, "Выберите файл данных РП ТРВ-140 с последнего считывания!")
NKP_FORM_TEXT(promptPreviousReading, "Выберите файл данных РП ТРВ-140 с предыдущего считывания!")
NKP_FORM_TEXT(openDialogTitle, "Открыть")
NKP_FORM_TEXT(informationCaption, "Информация")
NKP_FORM_TEXT(errorCaption, "Ошибка")
NKP_FORM_TEXT(warningCaption, "Предупреждение")
NKP_FORM_TEXT(openFolderButton, "Открыть папку")

#undef NKP_FORM_TEXT

const std::string& numberSign()
{
    static const std::string text = codec::utf8ToCp1251("№");
    return text;
}

std::string formTitle(int form)
{
    return codec::utf8ToCp1251("Форма ") + std::to_string(form);
}

std::string folderMissing(const std::string& folderPath)
{
    return "Не найдена папка \"" + folderPath + "\".\nДокумент не создан.";
}

std::string dataFileNotWritten(const std::string& filePath, const std::string& cause)
{
    return "Не удалось записать файл данных формы \"" + filePath + "\".\n" + cause;
}

std::string damagedFileQuestion(const std::string& fileName, const std::string& warning)
{
    return codec::cp1251ToUtf8(fileName) + "\n\n" + codec::cp1251ToUtf8(warning) + "\n\n"
        + "Документ будет составлен по данным этого файла. Продолжить?";
}

namespace {

// A crane as the documents name it: model and number (Windows-1251) in UTF-8.
std::string craneText(const std::string& model, const std::string& number)
{
    return codec::cp1251ToUtf8(model) + " №" + codec::cp1251ToUtf8(number);
}

}  // namespace

std::string otherCrane(const std::string& latestModel, const std::string& latestNumber,
    const std::string& previousModel, const std::string& previousNumber)
{
    return "Считывания относятся к разным кранам: последнее — " + craneText(latestModel, latestNumber)
        + ", предыдущее — " + craneText(previousModel, previousNumber) + '.';
}

std::string otherLimiter(const std::string& latestSerial, const std::string& previousSerial)
{
    return "Считывания сделаны с разных ограничителей: последнее — зав. №" + codec::cp1251ToUtf8(latestSerial)
        + ", предыдущее — зав. №" + codec::cp1251ToUtf8(previousSerial) + '.';
}

std::string previousReadingNewer(const std::string& latestDate, const std::string& previousDate)
{
    return "Предыдущее считывание (" + codec::cp1251ToUtf8(previousDate) + ") сделано позже последнего ("
        + codec::cp1251ToUtf8(latestDate) + "): похоже, файлы выбраны в обратном порядке.";
}

std::string previousCountersHigher()
{
    return "Счётчики предыдущего считывания больше, чем последнего: похоже, файлы выбраны в обратном "
           "порядке.";
}

std::string countersFell()
{
    return "Часть счётчиков последнего считывания меньше, чем предыдущего, хотя оно сделано "
           "позже: регистратор мог быть заменён или обнулён.";
}

std::string swapQuestion(const std::string& reason)
{
    return reason + "\n\nПоменять их местами?";
}

std::string mismatchQuestion(const std::string& reason)
{
    return reason + "\n\nЗначения за период между ними будут неверны. Составить документ всё равно?";
}

std::string documentSaved(const std::string& documentPath, bool opened)
{
    std::string text = "Документ сохранён: " + documentPath;
    if (!opened)
        text += "\n\nНе найдена программа для открытия документов RTF. Откройте документ вручную, например в "
                "LibreOffice Writer.";
    return text;
}

}  // namespace nkp::forms::text
