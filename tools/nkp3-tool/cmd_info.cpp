// nkp3-tool info [--keys] FILE: the summary of a read-out, or every value
// that loading puts into the main window, one "Name<TAB>text" line each.
#include "ToolCommand.h"
#include "ToolSupport.h"

#include "analysis/FileDamage.h"
#include "analysis/ReadoutTexts.h"
#include "args/ArgParser.h"
#include "screen/MainStateFields.h"
#include "screen/StateTexts.h"

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
    std::cout << "TotalCycles\t" << s.readout.totalCycles << '\n'
              << "OperatingMinutes\t" << s.readout.operatingMinutes << '\n'
              << "LiftedMassRaw\t" << s.readout.liftedMassRaw << '\n'
              << "NewestFrame\t" << s.newestFrame << '\n'
              << "NewestFrameTime\t" << terminalText(s.newestFrameTime) << '\n'
              << "RingStart\t" << s.RingStart << '\n'
              << "FrameYear\t" << s.frameYear << '\n';
}

void line(const char* caption, const std::string& cp1251)
{
    std::cout << "  " << caption << ' ' << terminalText(cp1251) << '\n';
}

void printSummary(const nkp::analysis::LoadedReadout& loaded)
{
    using nkp::recorder::IdField;
    const nkp::analysis::Readout& r = loaded.readout;
    const nkp::analysis::ReadoutTexts t = nkp::analysis::readoutTexts(r, nkp::tool::localeDecimalSeparator());
    std::cout << "Файл: " << terminalText(loaded.fileName) << " (" << r.diagnostics.fileSize << " байт)\n";
    std::cout << "Идентификация\n";
    line("Организация:", r.text(IdField::ServiceOrg));
    line("Информацию считал:", r.text(IdField::Operator));
    line("Удост. №", r.text(IdField::CertNumber) + " " + r.text(IdField::CertValidity));
    line("Дата считывания:", r.text(IdField::ReadingDate));
    line("Кран:",
        r.text(IdField::CraneModel) + " " + r.text(IdField::CraneNumber) + ", " + r.text(IdField::CraneYear));
    line("Завод-изготовитель крана:", r.text(IdField::CraneMaker));
    line("Владелец крана:", r.text(IdField::CraneOwner));
    line("Нормативная группа:", r.text(IdField::NormGroup));
    line("Ограничитель:", r.text(IdField::LimiterModel) + " " + r.text(IdField::LimiterNumber));
    line("Изготовитель ТРВ:", nkp::screen::texts::limiterMaker());
    line("Дата установки РП:", t.installationDate);
    std::cout << "Наработка\n";
    line("Общая наработка крана:", t.operatingTime);
    const char* bands[]
        = {"0% < M < 12.5%:", "12,5% < M < 25%:", "25% < M < 50%:", "50% < M < 100%:", "100% < M:"};
    for (std::size_t band = 0; band < t.cycles.size(); ++band)
        line(bands[band], t.cycles[band]);
    std::cout << "  Всего циклов: " << r.totalCycles << '\n';
    line("Суммарная масса поднятых грузов:", t.liftedMass);
    std::cout << "Классификация\n";
    line("Характеристическое число (текущее):", t.characteristicNumber);
    line("Характеристическое число (нормативное):", t.normativeNumber);
    line("Коэффициент распределения нагрузок:", t.loadSpectrumFactor);
    line("Класс использования:", t.utilisationClass);
    line("Режим нагружения:", t.loadMode);
    line("Текущая группа режима работы крана:", t.craneGroup);
    std::cout << "Перегрузки\n";
    for (std::size_t k = 0; k < t.overloads.size(); ++k)
        std::cout << "  Перегрузка №" << k + 1 << ": " << terminalText(t.overloads[k]) << '\n';
    std::cout << "Даты считывания\n";
    for (std::size_t k = 0; k < t.readings.size(); ++k)
        std::cout << "  Считывание №" << k + 1 << ": " << terminalText(t.readings[k]) << '\n';
    std::cout << "Кадры\n";
    std::cout << "  Последний кадр: №" << loaded.newestFrame << ", " << terminalText(loaded.newestFrameTime)
              << '\n';
    std::cout << "  Бракованных кадров: " << r.diagnostics.brokenFrames.size() << '\n';
    std::cout << "  Контрольная сумма образа: " << (r.diagnostics.checksumMatches ? "верна" : "не совпадает")
              << '\n';
}

// Loads `path` into `loaded`; the window's warning of a damaged file goes to
// stderr, the values follow as loaded.
template <typename Loaded> bool loadAndWarn(const std::string& path, Loaded& loaded)
{
    if (!nkp::tool::loadForTool(path, loaded))
        return false;
    if (const std::string warning = nkp::analysis::damageWarning(loaded.readout.diagnostics);
        !warning.empty())
        std::cerr << "nkp3-tool: " << terminalText(warning) << '\n';
    return true;
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
    // The keys are the window's: only they need its model.
    if (keys) {
        MainState state;
        if (!loadAndWarn(path, state))
            return nkp::tool::kExitFailure;
        printKeys(state);
    } else {
        nkp::analysis::LoadedReadout loaded;
        if (!loadAndWarn(path, loaded))
            return nkp::tool::kExitFailure;
        printSummary(loaded);
    }
    return nkp::tool::kExitOk;
}

}  // namespace

nkp::tool::ToolCommand nkp::tool::infoCommand()
{
    return {"info", "info [--keys] FILE", runInfo};
}
