#include "forms/FormTexts.h"

#include "base/Codec.h"

// The texts are written here in UTF-8 and turned into Windows-1251 once.
namespace nkp::forms::text {

#define NKP_FORM_TEXT(name, literal)                                                                         \
    const std::string& name()                                                                                \
    {                                                                                                        \
        static const std::string text = codec::utf8ToCp1251(literal);                                        \
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
NKP_FORM_TEXT(numberSign, "№")

#undef NKP_FORM_TEXT

std::string formTitle(int form)
{
    return codec::utf8ToCp1251("Форма ") + std::to_string(form);
}

std::string folderMissing(const std::string& folderPath)
{
    return codec::utf8ToCp1251("Не найдена папка \"" + folderPath + "\".\nДокумент не создан.");
}

std::string dataFileNotWritten(const std::string& filePath, const std::string& cause)
{
    return codec::utf8ToCp1251("Не удалось записать файл данных формы \"" + filePath + "\".\n") + cause;
}

std::string damagedFileQuestion(const std::string& fileName, const std::string& warning)
{
    return fileName + "\n\n" + warning + "\n\n"
        + codec::utf8ToCp1251("Документ будет составлен по данным этого файла. Продолжить?");
}

namespace {

// A crane as the documents name it: model and number.
std::string craneText(const std::string& model, const std::string& number)
{
    return model + ' ' + codec::utf8ToCp1251("№") + number;
}

}  // namespace

std::string otherCrane(const std::string& latestModel, const std::string& latestNumber,
    const std::string& previousModel, const std::string& previousNumber)
{
    return codec::utf8ToCp1251("Считывания относятся к разным кранам: последнее — ")
        + craneText(latestModel, latestNumber) + codec::utf8ToCp1251(", предыдущее — ")
        + craneText(previousModel, previousNumber) + '.';
}

std::string otherLimiter(const std::string& latestSerial, const std::string& previousSerial)
{
    return codec::utf8ToCp1251("Считывания сделаны с разных ограничителей: последнее — зав. №") + latestSerial
        + codec::utf8ToCp1251(", предыдущее — зав. №") + previousSerial + '.';
}

std::string previousReadingNewer(const std::string& latestDate, const std::string& previousDate)
{
    return codec::utf8ToCp1251("Предыдущее считывание (") + previousDate
        + codec::utf8ToCp1251(") сделано позже последнего (") + latestDate
        + codec::utf8ToCp1251("): похоже, файлы выбраны в обратном порядке.");
}

std::string previousCountersHigher()
{
    return codec::utf8ToCp1251(
        "Счётчики предыдущего считывания больше, чем последнего: похоже, файлы выбраны в обратном порядке.");
}

std::string countersFell()
{
    return codec::utf8ToCp1251(
        "Часть счётчиков последнего считывания меньше, чем предыдущего, хотя оно сделано "
        "позже: регистратор мог быть заменён или обнулён.");
}

std::string swapQuestion(const std::string& reason)
{
    return reason + codec::utf8ToCp1251("\n\nПоменять их местами?");
}

std::string mismatchQuestion(const std::string& reason)
{
    return reason
        + codec::utf8ToCp1251(
            "\n\nЗначения за период между ними будут неверны. Составить документ всё равно?");
}

std::string documentSaved(const std::string& documentPath, bool opened)
{
    std::string text = codec::utf8ToCp1251("Документ сохранён: " + documentPath);
    if (!opened)
        text += codec::utf8ToCp1251(
            "\n\nНе найдена программа для открытия документов RTF. Откройте документ вручную, например в "
            "LibreOffice Writer.");
    return text;
}

}  // namespace nkp::forms::text
