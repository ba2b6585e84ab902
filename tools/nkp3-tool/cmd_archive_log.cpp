// nkp3-tool archive note/log/set/due/check/report: the crane log, the due
// dates, the remarks on the read-outs and the crane report.
//   archive note ARCHIVE MODEL NUMBER --kind KIND --date DD.MM.YYYY --text TEXT [--author NAME] [--corrects
//   N] archive log ARCHIVE MODEL NUMBER [--csv OUT] archive set ARCHIVE MODEL NUMBER [--reading-months N]
//   [--partial-months N] [--full-months N]
//                                    [--service-life-years N]
//   archive due ARCHIVE [--within DAYS] [--today DD.MM.YYYY] [--csv OUT]
//   archive check ARCHIVE [MODEL NUMBER] [--csv OUT]
//   archive report ARCHIVE MODEL NUMBER --pdf OUT [--today DD.MM.YYYY]
#include "ArchiveCommon.h"
#include "ToolCommand.h"
#include "ToolSupport.h"

#include "archive/ArchiveOverview.h"
#include "args/ArgParser.h"
#include "base/Clock.h"
#include "print/CraneReportLayout.h"

#include <QGuiApplication>

#include <iostream>
#include <map>

namespace {

using namespace nkp;

// The arguments every command here shares: the plain ones (archive, model,
// number), whatever they look like, and the options given.
struct Given {
    std::vector<std::string> plain;
    std::map<std::string, std::string> values;
};

// Parses `args` with the options `names` (each once, each with a value);
// false on a usage error or an empty value.
bool parse(const std::vector<std::string>& args, const std::vector<std::string>& names, Given& out)
{
    tool::ArgSyntax syntax {
        .unknown = tool::UnknownOptions::DoubleDash, .ordinary = tool::appendTo(out.plain)};
    for (const std::string& name : names)
        syntax.options.push_back({name, tool::OptionKind::ValueOnce, [&out, name](const std::string& value) {
                                      out.values[name] = value;
                                      return value.empty() ? std::string("empty") : std::string();
                                  }});
    return !tool::parseArgs(syntax, args) && !out.plain.empty() && !out.plain[0].empty();
}

std::optional<std::string> valueOf(const Given& g, const std::string& name)
{
    const auto it = g.values.find(name);
    return it == g.values.end() ? std::nullopt : std::optional(it->second);
}

// --today, or the clock's day; nothing on a bad date.
std::optional<base::DateTime> today(const Given& g)
{
    if (const auto text = valueOf(g, "--today"))
        return tool::parseDay(*text);
    const base::DateTime now = base::systemClock().now();
    return base::DateTime {now.year, now.month, now.day, 0, 0, 0};
}

int failure(const Failure& f)
{
    tool::printError(f.text());
    return tool::kExitFailure;
}

int runNote(const std::vector<std::string>& args)
{
    static const char* usage = "archive note: ARCHIVE MODEL NUMBER --kind "
                               "partial|full|expert|repair|limiter|note --date DD.MM.YYYY "
                               "--text TEXT [--author NAME] [--corrects N]";
    Given g;
    if (!parse(args, {"--kind", "--date", "--text", "--author", "--corrects"}, g) || g.plain.size() != 3)
        return tool::usageError(usage);
    const auto kind = archive::logKindOfWord(valueOf(g, "--kind").value_or(""));
    const auto date = tool::parseDay(valueOf(g, "--date").value_or(""));
    const auto text = valueOf(g, "--text");
    const auto corrects = valueOf(g, "--corrects");
    const auto correctsNumber = corrects ? tool::parseCount(*corrects, 1, 1'000'000'000) : std::nullopt;
    if (!kind || !date || !text || (corrects && !correctsNumber))
        return tool::usageError(usage);
    const auto a = tool::openArchive(g.plain[0], archive::OpenMode::Existing);
    if (!a)
        return tool::kExitFailure;
    const auto crane = tool::oneCrane(*a, g.plain[1], g.plain[2]);
    if (!crane)
        return tool::kExitFailure;
    archive::NewLogEntry entry {
        crane->craneId, *date, *kind, *text, {valueOf(g, "--author").value_or(""), {}}, correctsNumber};
    const auto added = a->addLogEntry(entry);
    if (!added)
        return failure(added.failure());
    std::cout << "запись №" << added->number << " добавлена\n";
    return tool::kExitOk;
}

int runLog(const std::vector<std::string>& args)
{
    Given g;
    if (!parse(args, {"--csv"}, g) || g.plain.size() != 3)
        return tool::usageError("archive log: ARCHIVE MODEL NUMBER [--csv OUT]");
    const auto a = tool::openArchive(g.plain[0], archive::OpenMode::Existing);
    const auto crane = a ? tool::oneCrane(*a, g.plain[1], g.plain[2]) : std::nullopt;
    if (!crane)
        return tool::kExitFailure;
    const auto log = a->log(crane->craneId);
    if (!log)
        return failure(log.failure());
    return tool::putTable(archive::logTableCells(*log), valueOf(g, "--csv"));
}

int runSet(const std::vector<std::string>& args)
{
    static const char* usage = "archive set: ARCHIVE MODEL NUMBER [--reading-months N] [--partial-months N] "
                               "[--full-months N] [--service-life-years N]";
    Given g;
    if (!parse(args, {"--reading-months", "--partial-months", "--full-months", "--service-life-years"}, g)
        || g.plain.size() != 3)
        return tool::usageError(usage);
    std::map<std::string, int> numbers;
    for (const auto& [name, text] : g.values) {
        // Months from 1 to 100 years; a service life of 0 years is none.
        const auto value = tool::parseCount(text, name == "--service-life-years" ? 0 : 1, 1200);
        if (!value)
            return tool::usageError(usage);
        numbers[name] = *value;
    }
    const auto a = tool::openArchive(g.plain[0], archive::OpenMode::Existing);
    const auto crane = a ? tool::oneCrane(*a, g.plain[1], g.plain[2]) : std::nullopt;
    if (!crane)
        return tool::kExitFailure;
    auto settings = a->craneSettings(crane->craneId);
    if (!settings)
        return failure(settings.failure());
    archive::CraneSettings s = *settings;
    const auto take = [&numbers](const char* name, int& target) {
        if (numbers.count(name))
            target = numbers[name];
    };
    take("--reading-months", s.readingMonths);
    take("--partial-months", s.partialMonths);
    take("--full-months", s.fullMonths);
    if (numbers.count("--service-life-years"))
        s.serviceLifeYears = numbers["--service-life-years"] > 0
            ? std::optional(numbers["--service-life-years"])
            : std::nullopt;
    if (const auto saved = a->setCraneSettings(crane->craneId, s); !saved)
        return failure(saved.failure());
    std::cout << "считывание: " << s.readingMonths << " мес.\n"
              << "частичное освидетельствование: " << s.partialMonths << " мес.\n"
              << "полное освидетельствование: " << s.fullMonths << " мес.\n"
              << "срок службы: "
              << (s.serviceLifeYears ? std::to_string(*s.serviceLifeYears) + " лет" : std::string("не задан"))
              << "\n";
    return tool::kExitOk;
}

int runDue(const std::vector<std::string>& args)
{
    static const char* usage = "archive due: ARCHIVE [--within DAYS] [--today DD.MM.YYYY] [--csv OUT]";
    Given g;
    if (!parse(args, {"--within", "--today", "--csv"}, g) || g.plain.size() != 1)
        return tool::usageError(usage);
    const auto within = valueOf(g, "--within");
    const auto days
        = within ? tool::parseCount(*within, 0, 36500) : std::optional(archive::kDefaultHorizonDays);
    const auto day = today(g);
    if (!days || !day)
        return tool::usageError(usage);
    const auto a = tool::openArchive(g.plain[0], archive::OpenMode::Existing);
    if (!a)
        return tool::kExitFailure;
    auto rows = archive::dueList(*a, *day, *days);
    if (!rows)
        return failure(rows.failure());
    // --within keeps the items due within that many days, the overdue ones among them.
    if (within)
        std::erase_if(*rows, [](const archive::DueRow& r) {
            return r.due.status != archive::DueStatus::Overdue && r.due.status != archive::DueStatus::Soon;
        });
    return tool::putTable(archive::dueTableCells(*rows), valueOf(g, "--csv"));
}

int runCheck(const std::vector<std::string>& args)
{
    Given g;
    if (!parse(args, {"--csv"}, g) || (g.plain.size() != 1 && g.plain.size() != 3))
        return tool::usageError("archive check: ARCHIVE [MODEL NUMBER] [--csv OUT]");
    const auto a = tool::openArchive(g.plain[0], archive::OpenMode::Existing);
    if (!a)
        return tool::kExitFailure;
    std::optional<std::int64_t> craneId;
    if (g.plain.size() == 3) {
        const auto crane = tool::oneCrane(*a, g.plain[1], g.plain[2]);
        if (!crane)
            return tool::kExitFailure;
        craneId = crane->craneId;
    }
    const auto remarks = archive::remarkList(*a, craneId);
    if (!remarks)
        return failure(remarks.failure());
    return tool::putTable(archive::remarkTableCells(*remarks), valueOf(g, "--csv"));
}

int runReport(const std::vector<std::string>& args)
{
    static const char* usage = "archive report: ARCHIVE MODEL NUMBER --pdf OUT [--today DD.MM.YYYY]";
    Given g;
    if (!parse(args, {"--pdf", "--today"}, g) || g.plain.size() != 3 || !valueOf(g, "--pdf"))
        return tool::usageError(usage);
    const auto day = today(g);
    if (!day)
        return tool::usageError(usage);
    const auto a = tool::openArchive(g.plain[0], archive::OpenMode::Existing);
    const auto crane = a ? tool::oneCrane(*a, g.plain[1], g.plain[2]) : std::nullopt;
    if (!crane)
        return tool::kExitFailure;
    const auto report = archive::craneReport(*a, crane->craneId, *day, archive::kDefaultHorizonDays);
    if (!report)
        return failure(report.failure());
    // Fonts need a GUI application; a display-less platform serves.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "nkp3-tool";
    static char* argv[] = {name, nullptr};
    const QGuiApplication app(argc, argv);
    if (const Done written = print::writeCraneReportPdf(
            *valueOf(g, "--pdf"), archive::craneReportContent(*report, tool::localeDecimalSeparator()));
        !written)
        return failure(written.failure());
    return tool::kExitOk;
}

}  // namespace

std::vector<nkp::tool::ToolCommand> nkp::tool::archiveLogCommands()
{
    return {
        {"archive",
            "archive note ARCHIVE MODEL NUMBER --kind partial|full|expert|repair|limiter|note --date "
            "DD.MM.YYYY "
            "--text TEXT [--author NAME] [--corrects N]",
            runNote, "note"},
        {"archive", "archive log ARCHIVE MODEL NUMBER [--csv OUT]", runLog, "log"},
        {"archive",
            "archive set ARCHIVE MODEL NUMBER [--reading-months N] [--partial-months N] [--full-months N] "
            "[--service-life-years N]",
            runSet, "set"},
        {"archive", "archive due ARCHIVE [--within DAYS] [--today DD.MM.YYYY] [--csv OUT]", runDue, "due"},
        {"archive", "archive check ARCHIVE [MODEL NUMBER] [--csv OUT]", runCheck, "check"},
        {"archive", "archive report ARCHIVE MODEL NUMBER --pdf OUT [--today DD.MM.YYYY]", runReport,
            "report"},
    };
}
