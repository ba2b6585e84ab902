#include "archive/DueDates.h"

#include "base/CalendarMonths.h"
#include "base/Codec.h"

#include <algorithm>
#include <tuple>

namespace nkp::archive {
namespace {

using base::DateTime;

DateTime dayOf(const DateTime& m)
{
    return {m.year, m.month, m.day, 0, 0, 0};
}

// The newest counting entry of any of `kinds`.
std::optional<DateTime> newestEntry(const std::vector<LogEntry>& log, std::initializer_list<LogKind> kinds)
{
    std::optional<DateTime> newest;
    for (const LogEntry& e : log)
        if (e.counts() && std::find(kinds.begin(), kinds.end(), e.kind) != kinds.end()
            && (!newest || *newest < e.date))
            newest = dayOf(e.date);
    return newest;
}

std::optional<DateTime> plusMonths(const std::optional<DateTime>& day, int months)
{
    return day ? std::optional(base::addMonths(dayOf(*day), months)) : std::nullopt;
}

}  // namespace

std::string_view dueItemText(DueItem item)
{
    static constexpr std::string_view texts[] = {"Считывание", "Частичное освидетельствование",
        "Полное освидетельствование", "ЭПБ (срок службы)", "Ресурс"};
    return texts[static_cast<int>(item)];
}

std::string_view dueStatusText(DueStatus status)
{
    static constexpr std::string_view texts[] = {"нет данных", "просрочено", "скоро", "в порядке"};
    return texts[static_cast<int>(status)];
}

DueStatus dueStatus(const std::optional<DateTime>& date, const DateTime& today, int horizonDays)
{
    if (!date)
        return DueStatus::NoData;
    const std::int64_t left = base::daysSinceEpoch(*date) - base::daysSinceEpoch(today);
    return left < 0 ? DueStatus::Overdue : left <= horizonDays ? DueStatus::Soon : DueStatus::Fine;
}

std::vector<DueDate> dueDates(const DueFacts& f, const DateTime& today, int horizonDays)
{
    const CraneSettings& s = f.settings;
    const std::optional<DateTime> reading = f.newestReading;
    std::optional<DateTime> expert;
    if (s.serviceLifeYears && f.manufactureYear)
        expert = DateTime {*f.manufactureYear + *s.serviceLifeYears, 1, 1, 0, 0, 0};
    std::optional<DateTime> resource;
    if (f.forecast == ForecastState::Exhausted)
        resource = dayOf(today);
    else if (f.forecast == ForecastState::Date && f.forecastDate)
        resource = dayOf(*f.forecastDate);
    const std::optional<DateTime> dates[kDueItemCount] = {
        plusMonths(reading, s.readingMonths),
        plusMonths(
            newestEntry(f.log, {LogKind::PartialExamination, LogKind::FullExamination}), s.partialMonths),
        plusMonths(newestEntry(f.log, {LogKind::FullExamination}), s.fullMonths),
        expert,
        resource,
    };
    std::vector<DueDate> out;
    for (int i = 0; i < kDueItemCount; ++i) {
        DueDate d;
        d.item = static_cast<DueItem>(i);
        d.date = dates[i];
        d.status = dueStatus(d.date, today, horizonDays);
        if (d.date)
            d.daysLeft = base::daysSinceEpoch(*d.date) - base::daysSinceEpoch(today);
        out.push_back(d);
    }
    // A resource used up is due now, whatever the horizon.
    if (f.forecast == ForecastState::Exhausted)
        out[static_cast<int>(DueItem::Resource)].status = DueStatus::Overdue;
    return out;
}

void sortDueRows(std::vector<DueRow>& rows)
{
    std::stable_sort(rows.begin(), rows.end(), [](const DueRow& a, const DueRow& b) {
        const auto key
            = [](const DueRow& r) { return std::make_tuple(!r.due.date, r.due.date.value_or(DateTime {})); };
        if (key(a) != key(b))
            return key(a) < key(b);
        return std::tie(a.model, a.number, a.craneId, a.due.item)
            < std::tie(b.model, b.number, b.craneId, b.due.item);
    });
}

std::vector<std::vector<std::string>> dueTableCells(const std::vector<DueRow>& rows)
{
    std::vector<std::vector<std::string>> cells;
    cells.reserve(rows.size() + 1);
    cells.push_back({"Марка крана", "№ крана", "Владелец", "Срок", "Дата", "Осталось дней", "Состояние"});
    for (const DueRow& r : rows)
        cells.push_back({codec::cp1251ToUtf8(r.model), codec::cp1251ToUtf8(r.number),
            codec::cp1251ToUtf8(r.owner), std::string(dueItemText(r.due.item)),
            r.due.date ? base::dateText(*r.due.date) : std::string(),
            r.due.daysLeft ? std::to_string(*r.due.daysLeft) : std::string(),
            std::string(dueStatusText(r.due.status))});
    return cells;
}

}  // namespace nkp::archive
