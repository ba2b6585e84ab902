// nkp3-tool info [--keys] FILE: the summary of a read-out, or every value
// that loading puts into the main window, one "Name<TAB>text" line each.
#include "ToolCommand.h"
#include "ToolSupport.h"

#include "analysis/FileDamage.h"
#include "screen/MainStateFields.h"
#include "args/ArgParser.h"

#include <iostream>

namespace {

using nkp::screen::MainState;
using nkp::tool::terminalText;

void printKeys(const MainState& s)
{
    for (const nkp::screen::TextField& f : nkp::screen::mainStateTextFields()) {
        if (!f.loaded)
            continue;
        std::cout << f.name << '\t' << terminalText(s.texts.*f.member) << '\n';
        // The gauges follow the last band counter.
        if (f.member == &nkp::screen::MainTexts::cycles100)
            for (const nkp::screen::GaugeField& g : nkp::screen::mainStateGaugeFields())
                std::cout << g.name << '\t' << s.gauges.*g.member << '\n';
    }
    std::cout << "TotalCycles\t" << s.totalCycles << '\n'
              << "OperatingMinutes\t" << s.operatingMinutes << '\n'
              << "LiftedMassRaw\t" << s.liftedMassRaw << '\n'
              << "NewestFrame\t" << s.newestFrame << '\n'
              << "NewestFrameTime\t" << terminalText(s.newestFrameTime) << '\n'
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
    line("Организация:", s.texts.serviceOrganisation);
    line("Информацию считал:", s.texts.engineerName);
    line("Удост. №", s.texts.certificateNumber + " " + s.texts.certificateDate);
    line("Дата считывания:", s.texts.readingDate);
    line("Кран:", s.texts.craneModel + " " + s.texts.craneNumber + ", " + s.texts.craneYear);
    line("Завод-изготовитель крана:", s.texts.craneMaker);
    line("Владелец крана:", s.texts.craneOwner);
    line("Нормативная группа:", s.texts.craneClassGroup);
    line("Ограничитель:", s.texts.limiterModel + " " + s.texts.limiterNumber);
    line("Изготовитель ТРВ:", s.texts.limiterMaker);
    line("Дата установки РП:", s.texts.installationDate);
    std::cout << "Наработка\n";
    line("Общая наработка крана:", s.texts.operatingTime);
    line("0% < M < 12.5%:", s.texts.cycles0);
    line("12,5% < M < 25%:", s.texts.cycles12);
    line("25% < M < 50%:", s.texts.cycles25);
    line("50% < M < 100%:", s.texts.cycles50);
    line("100% < M:", s.texts.cycles100);
    std::cout << "  Всего циклов: " << s.totalCycles << '\n';
    line("Суммарная масса поднятых грузов:", s.texts.liftedMass);
    std::cout << "Классификация\n";
    line("Характеристическое число (текущее):", s.texts.characteristicNumber);
    line("Характеристическое число (нормативное):", s.texts.normativeNumber);
    line("Коэффициент распределения нагрузок:", s.texts.loadSpectrumFactor);
    line("Класс использования:", s.texts.utilisationClass);
    line("Режим нагружения:", s.texts.loadMode);
    line("Текущая группа режима работы крана:", s.texts.craneGroup);
    std::cout << "Перегрузки\n";
    const std::string* overloads[] = {
        &s.texts.overload1, &s.texts.overload2, &s.texts.overload3, &s.texts.overload4, &s.texts.overload5};
    for (int k = 0; k < 5; ++k)
        std::cout << "  Перегрузка №" << k + 1 << ": " << terminalText(*overloads[k]) << '\n';
    std::cout << "Даты считывания\n";
    const std::string* readings[] = {&s.texts.readingStamp1, &s.texts.readingStamp2, &s.texts.readingStamp3};
    for (int k = 0; k < 3; ++k)
        std::cout << "  Считывание №" << k + 1 << ": " << terminalText(*readings[k]) << '\n';
    std::cout << "Кадры\n";
    std::cout << "  Последний кадр: №" << s.newestFrame << ", " << terminalText(s.newestFrameTime) << '\n';
    std::cout << "  Бракованных кадров: " << s.diagnostics.brokenFrames.size() << '\n';
    std::cout << "  Контрольная сумма образа: " << (s.diagnostics.checksumMatches ? "верна" : "не совпадает")
              << '\n';
}

int runInfo(const std::vector<std::string>& args)
{
    using namespace nkp::tool;
    bool keys = false;
    std::string path;
    const ArgSyntax syntax {.options = {{"--keys", OptionKind::Flag, setFlag(keys)}},
        .ordinary = keepIn(path),
        .maxOrdinary = 1,
        .empty = EmptyArgument::FillsNothing};
    if (const auto problem = parseArgs(syntax, args))
        return usageError(problem->kind == ArgProblem::Kind::Surplus
                ? "info: one file only"
                : "info: unknown option '" + problem->argument + "'");
    if (path.empty())
        return usageError("info: file missing");
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

nkp::tool::ToolCommand nkp::tool::infoCommand()
{
    return {"info", "info [--keys] FILE", runInfo};
}
