// nkp3-tool info [--keys] FILE: the summary of a read-out, or every value
// that loading puts into the main window, one "Name<TAB>text" line each.
#include "ToolCommand.h"
#include "ToolSupport.h"

#include "analysis/FileDamage.h"
#include "analysis/MainStateFields.h"

#include <iostream>

namespace {

using nkp::analysis::MainState;
using nkp::tool::terminalText;

void printKeys(const MainState& s)
{
    for (const nkp::analysis::TextField& f : nkp::analysis::mainStateTextFields()) {
        if (!f.loaded)
            continue;
        std::cout << f.name << '\t' << terminalText(s.*f.member) << '\n';
        if (f.name == "Label_100")
            for (const nkp::analysis::GaugeField& g : nkp::analysis::mainStateGaugeFields())
                std::cout << g.name << '\t' << s.*g.member << '\n';
    }
    std::cout << "TotalCycles\t" << s.totalCycles << '\n'
              << "OperatingMinutes\t" << s.operatingMinutes << '\n'
              << "LiftedMassRaw\t" << s.liftedMassRaw << '\n'
              << "NewestFrame\t" << s.newestFrame << '\n'
              << "NewestFrameTime\t" << s.newestFrameTime << '\n'
              << "RingStart\t" << s.RingStart << '\n'
              << "FrameYear\t" << s.frameYear << '\n';
}

void line(const char* caption, const std::string& cp1251)
{
    std::cout << "  " << caption << ' ' << terminalText(cp1251) << '\n';
}

void printSummary(const MainState& s)
{
    std::cout << "Файл: " << terminalText(s.fileName) << " (" << s.diagnostics.fileSize << " байт)\n";
    std::cout << "Идентификация\n";
    line("Организация:", s.Edit_Org);
    line("Информацию считал:", s.Edit_Name);
    line("Удост. №", s.Edit_NUd + " " + s.Edit_DateUd);
    line("Дата считывания:", s.Edit_DataSch);
    line("Кран:", s.Edit_MKran + " " + s.Edit_NKran + ", " + s.Edit_GodIzgot);
    line("Завод-изготовитель крана:", s.Edit_IzgotKran);
    line("Владелец крана:", s.Edit_Vlad);
    line("Нормативная группа:", s.Edit_GrRegNag);
    line("Ограничитель:", s.Edit_ModTRV + " " + s.Edit_NTRV);
    line("Изготовитель ТРВ:", s.Edit_IzgotTRV);
    line("Дата установки РП:", s.Edit_DataUst);
    std::cout << "Наработка\n";
    line("Общая наработка крана:", s.L_TimeAll);
    line("0% < M < 12.5%:", s.Label_0);
    line("12,5% < M < 25%:", s.Label_12);
    line("25% < M < 50%:", s.Label_25);
    line("50% < M < 100%:", s.Label_50);
    line("100% < M:", s.Label_100);
    std::cout << "  Всего циклов: " << s.totalCycles << '\n';
    line("Суммарная масса поднятых грузов:", s.Label_QSum);
    std::cout << "Классификация\n";
    line("Характеристическое число (текущее):", s.Edit_HarCh);
    line("Характеристическое число (нормативное):", s.Label_NHarch);
    line("Коэффициент распределения нагрузок:", s.Label_KNag);
    line("Класс использования:", s.Label_KIspU);
    line("Режим нагружения:", s.Label_RezhQ);
    line("Текущая группа режима работы крана:", s.Label_RezhA);
    std::cout << "Перегрузки\n";
    const std::string* overloads[]
        = {&s.Label_Per1, &s.Label_Per2, &s.Label_Per3, &s.Label_Per4, &s.Label_Per5};
    for (int k = 0; k < 5; ++k)
        std::cout << "  Перегрузка №" << k + 1 << ": " << *overloads[k] << '\n';
    std::cout << "Даты считывания\n";
    const std::string* readings[] = {&s.Label_Read1, &s.Label_Read2, &s.Label_Read3};
    for (int k = 0; k < 3; ++k)
        std::cout << "  Считывание №" << k + 1 << ": " << *readings[k] << '\n';
    std::cout << "Кадры\n";
    std::cout << "  Последний кадр: №" << s.newestFrame << ", " << s.newestFrameTime << '\n';
    std::cout << "  Бракованных кадров: " << s.diagnostics.brokenFrames.size() << '\n';
    std::cout << "  Контрольная сумма образа: " << (s.diagnostics.checksumMatches ? "верна" : "не совпадает")
              << '\n';
}

int runInfo(const std::vector<std::string>& args)
{
    bool keys = false;
    std::string path;
    for (const std::string& a : args) {
        if (a == "--keys")
            keys = true;
        else if (!a.empty() && a[0] == '-')
            return nkp::tool::usageError("info: unknown option '" + a + "'");
        else if (path.empty())
            path = a;
        else
            return nkp::tool::usageError("info: one file only");
    }
    if (path.empty())
        return nkp::tool::usageError("info: file missing");
    MainState state;
    if (!nkp::tool::loadForTool(path, state))
        return nkp::tool::kExitFailure;
    // The window's warning of a damaged file; the values follow as loaded.
    if (const std::string warning = nkp::analysis::damageWarning(state.diagnostics); !warning.empty())
        std::cerr << "nkp3-tool: " << terminalText(warning) << '\n';
    if (keys)
        printKeys(state);
    else
        printSummary(state);
    return nkp::tool::kExitOk;
}

}  // namespace

NKP_TOOL_COMMAND("info", "info [--keys] FILE", runInfo)
