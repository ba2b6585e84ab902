#include "archive/ArchiveOverview.h"

#include "archive/ArchiveText.h"
#include "base/Codec.h"

#include <cmath>
#include <map>
#include <set>

namespace nkp::archive {
namespace {

// The facts of one crane's due dates.
DueFacts dueFacts(const CraneRow& row, std::vector<LogEntry> log, const CraneSettings& settings)
{
    DueFacts f;
    // A reading whose log entry was corrected no longer counts.
    std::set<std::string> corrected;
    for (const LogEntry& e : log)
        if (e.kind == LogKind::Reading && !e.counts())
            corrected.insert(e.readoutSha256);
    for (const ArchivedReadout& r : row.readouts)
        if (r.readingMoment && !corrected.count(r.sha256)
            && (!f.newestReading || *f.newestReading < *r.readingMoment))
            f.newestReading = r.readingMoment;
    if (!row.readouts.empty())
        f.manufactureYear = row.newest().figures.manufactureYear;
    f.forecast = row.trend.forecast;
    f.forecastDate = row.trend.forecastDate;
    f.settings = settings;
    f.log = std::move(log);
    return f;
}

}  // namespace

Result<std::vector<DueRow>> dueList(const Archive& archive, const base::DateTime& today, int horizonDays)
{
    using R = std::vector<DueRow>;
    auto readouts = archive.readouts();
    if (!readouts)
        return readouts.failure();
    auto logs = archive.logs();
    if (!logs)
        return Failure(logs.failure());
    auto settings = archive.allCraneSettings();
    if (!settings)
        return Failure(settings.failure());
    std::map<std::int64_t, std::vector<LogEntry>> logOf;
    for (LogEntry& e : *logs)
        logOf[e.craneId].push_back(std::move(e));
    const std::map<std::int64_t, CraneSettings> settingsOf(settings->begin(), settings->end());
    R rows;
    for (const CraneRow& row : craneRows(std::move(*readouts))) {
        const auto s = settingsOf.find(row.craneId);
        const DueFacts facts = dueFacts(
            row, std::move(logOf[row.craneId]), s == settingsOf.end() ? CraneSettings {} : s->second);
        for (const DueDate& due : dueDates(facts, today, horizonDays))
            rows.push_back({row.craneId, row.model, row.number, row.newest().owner, due});
    }
    sortDueRows(rows);
    return rows;
}

Result<std::vector<CraneRemark>> remarkList(const Archive& archive, std::optional<std::int64_t> craneId)
{
    using R = std::vector<CraneRemark>;
    auto readouts = craneId ? archive.readoutsOfCrane(*craneId) : archive.readouts();
    if (!readouts)
        return readouts.failure();
    auto settings = archive.allCraneSettings();
    if (!settings)
        return Failure(settings.failure());
    auto aliases = archive.imageAliases();
    if (!aliases)
        return Failure(aliases.failure());
    const std::map<std::int64_t, CraneSettings> settingsOf(settings->begin(), settings->end());
    R out;
    std::set<std::pair<std::string, std::string>> names;
    for (const CraneRow& row : craneRows(std::move(*readouts))) {
        const auto s = settingsOf.find(row.craneId);
        for (CraneRemark& r : craneRemarks(row, s == settingsOf.end() ? CraneSettings {} : s->second))
            out.push_back(std::move(r));
        names.insert({row.model, row.number});
    }
    // An image given again stays listed under the crane that holds it and
    // under the identification it was given.
    for (const ImageAlias& a : *aliases)
        if (!craneId || a.craneId == *craneId || names.count({a.model, a.number}))
            out.push_back(sameImageRemark(a));
    return out;
}

Result<CraneReport> craneReport(
    const Archive& archive, std::int64_t craneId, const base::DateTime& today, int horizonDays)
{
    auto readouts = archive.readoutsOfCrane(craneId);
    if (!readouts)
        return readouts.failure();
    auto rows = craneRows(std::move(*readouts));
    if (rows.empty())
        return nkp::failed(text::craneVanished());
    CraneReport report;
    report.row = std::move(rows.front());
    report.today = today;
    auto settings = archive.craneSettings(craneId);
    if (!settings)
        return Failure(settings.failure());
    report.settings = *settings;
    auto log = archive.log(craneId);
    if (!log)
        return Failure(log.failure());
    report.log = *log;
    report.due = dueDates(dueFacts(report.row, std::move(*log), report.settings), today, horizonDays);
    auto remarks = remarkList(archive, craneId);
    if (!remarks)
        return Failure(remarks.failure());
    report.remarks = std::move(*remarks);
    return report;
}

analysis::CraneReportContent craneReportContent(const CraneReport& report, char sep)
{
    using analysis::ReportTable;
    const CraneRow& row = report.row;
    const auto u = [](const std::string& cp1251) { return codec::cp1251ToUtf8(cp1251); };
    analysis::CraneReportContent c;
    c.title = "Отчёт по крану " + u(row.model) + " № " + u(row.number);
    c.madeOn = base::dateText(report.today);
    const auto cell = [&](CraneColumn column) { return craneCellText(row, column, sep); };
    c.identification
        = {{"Марка крана", u(row.model)}, {"№ крана", u(row.number)}, {"Владелец", cell(CraneColumn::Owner)},
            {"Год выпуска",
                !row.readouts.empty() && row.newest().figures.manufactureYear
                    ? std::to_string(*row.newest().figures.manufactureYear)
                    : std::string("—")},
            {"№ ограничителя", row.readouts.empty() ? std::string() : u(row.newest().limiterSerial)},
            {"Считываний", cell(CraneColumn::Readouts)}, {"Накоплено", cell(CraneColumn::Accumulated)},
            {"Нормативное число", cell(CraneColumn::Normative)},
            {"Ресурс, %", cell(CraneColumn::ResourcePercent)},
            {"Рост в год", cell(CraneColumn::GrowthPerYear)}, {"Прогноз", cell(CraneColumn::Forecast)}};

    ReportTable due {"Сроки", {{"Срок", "Дата", "Осталось дней", "Состояние"}}, {}};
    for (const DueDate& d : report.due) {
        if (d.status == DueStatus::Overdue)
            due.highlightedRows.push_back(static_cast<int>(due.cells.size()));
        due.cells.push_back({std::string(dueItemText(d.item)),
            d.date ? base::dateText(*d.date) : std::string(),
            d.daysLeft ? std::to_string(*d.daysLeft) : std::string(), std::string(dueStatusText(d.status))});
    }
    c.tablesBeforeChart = {due, {"История считываний", historyTableCells(row, sep), {}}};

    analysis::ReportChart& chart = c.chart;
    chart.title = "Накопленное характеристическое число";
    for (const HistoryPoint& p : row.trend.points)
        if (p.input.moment && std::isfinite(p.accumulated)) {
            chart.days.push_back(dayNumber(*p.input.moment));
            chart.accumulated.push_back(p.accumulated);
        }
    chart.trendSlopePerDay = row.trend.slopePerDay;
    if (row.trend.normativeNumber > 0)
        chart.normative = row.trend.normativeNumber;
    if (row.trend.forecastDate)
        chart.forecastDay = dayNumber(*row.trend.forecastDate);
    chart.forecastLabel = "прогноз: " + forecastText(row.trend);

    ReportTable overloads {"Перегрузки по считываниям", {{"Дата считывания", "Перегрузок (эпизодов)"}}, {}};
    ReportTable hashes {"SHA-256 считываний", {{"Дата считывания", "Файл", "SHA-256"}}, {}};
    for (const ArchivedReadout& r : row.readouts) {
        overloads.cells.push_back({u(r.readingText), std::to_string(r.overloadEpisodes)});
        hashes.cells.push_back({u(r.readingText), r.fileName, r.sha256});
    }
    ReportTable remarks {"Замечания", {{"Дата считывания", "SHA-256", "Замечание"}}, {}};
    for (const CraneRemark& r : report.remarks)
        remarks.cells.push_back({u(r.readingText), r.sha256.substr(0, 12), r.text});
    c.tablesAfterChart = {overloads, remarks, {"Журнал крана", logTableCells(report.log), {}}, hashes};
    return c;
}

}  // namespace nkp::archive
