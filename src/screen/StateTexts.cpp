#include "screen/StateTexts.h"

#include "base/Codec.h"

namespace nkp::screen::texts {

std::string cp1251(const char* utf8)
{
    return codec::utf8ToCp1251(utf8);
}

#define NKP_FIXED_TEXT(fn, utf8)                                                                             \
    const std::string& fn()                                                                                  \
    {                                                                                                        \
        static const std::string text = cp1251(utf8);                                                        \
        return text;                                                                                         \
    }

NKP_FIXED_TEXT(limiterMaker, "ОАО \"ПЗЛ\", г. Энск")
NKP_FIXED_TEXT(paramTitleStart, "График параметров работы крана ")
NKP_FIXED_TEXT(paramTitleNumber, " №")
NKP_FIXED_TEXT(paramTitleLimiter, " по данным РП ТРВ-160 №")
NKP_FIXED_TEXT(paramTitleEnd, " (по кадрам)")
NKP_FIXED_TEXT(framesAxisTitle, "Кадры")

#undef NKP_FIXED_TEXT

const std::string& fileNotOpened()
{
    static const std::string text = "\n Файл не удальсь открыть!";
    return text;
}

const std::string& readoutFileFilter()
{
    static const std::string text = "Файлы РП ТРВ-160С (*.nkp)|*.nkp|Все файлы (*.*)|*.*";
    return text;
}

std::string outputIsInput(const std::string& path)
{
    return "Файл «" + path
        + "» — один из открытых входных файлов (считывание, шаблон, файл идентификации или архив), "
          "он не перезаписан. Выберите другое имя.";
}

}  // namespace nkp::screen::texts
