#pragma once

#include "archive/CraneHistory.h"
#include "archive/CraneLog.h"
#include "base/DateTime.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// When each crane needs its next reading, examination and expert
// examination, and when its resource runs out. Pure functions of the log,
// the read-outs' figures and the crane's settings.
namespace nkp::archive {

enum class DueItem {
    Reading,  // "Считывание": newest reading + reading interval
    Partial,  // "Частичное освидетельствование": newest partial or full examination + partial interval
    Full,  // "Полное освидетельствование": newest full examination + full interval
    Expert,  // "ЭПБ (срок службы)": 1 January of (manufacture year + service life), with a service life
    Resource,  // "Ресурс": the forecast date; "исчерпан" is due at once
};
inline constexpr int kDueItemCount = 5;

enum class DueStatus {
    NoData,   // "нет данных": no date
    Overdue,  // "просрочено": the date is before today
    Soon,     // "скоро": today up to today + horizon
    Fine,     // "в порядке"
};

inline constexpr int kDefaultHorizonDays = 30;

std::string_view dueItemText(DueItem item);        // UTF-8
std::string_view dueStatusText(DueStatus status);  // UTF-8

// What the due dates of one crane are computed from.
struct DueFacts {
    std::vector<LogEntry> log {};  // corrected entries do not count
    // The newest real reading moment of the read-outs whose "Считывание"
    // entry is not corrected.
    std::optional<base::DateTime> newestReading {};
    std::optional<int> manufactureYear {};  // of the newest read-out
    ForecastState forecast = ForecastState::TooFewData;
    std::optional<base::DateTime> forecastDate {};
    CraneSettings settings {};
};

struct DueDate {
    DueItem item = DueItem::Reading;
    std::optional<base::DateTime> date;  // a day; nothing: "нет данных"
    DueStatus status = DueStatus::NoData;
    std::optional<std::int64_t> daysLeft;  // negative when overdue
};

// The status of a date against `today`: before today overdue, up to
// today + horizonDays (both included) soon, later fine; no date no data.
DueStatus dueStatus(const std::optional<base::DateTime>& date, const base::DateTime& today, int horizonDays);

// The crane's five items in DueItem order. An exhausted resource is due
// today and overdue.
std::vector<DueDate> dueDates(const DueFacts& facts, const base::DateTime& today, int horizonDays);

// One row of the due list of all cranes.
struct DueRow {
    std::int64_t craneId = 0;
    std::string model, number, owner;  // Windows-1251
    DueDate due;
};

// Sorts by date (undated last), then model, number and item.
void sortDueRows(std::vector<DueRow>& rows);

// "Марка крана;№ крана;Владелец;Срок;Дата;Осталось дней;Состояние", heading
// first, UTF-8; a row without a date has empty date and days.
std::vector<std::vector<std::string>> dueTableCells(const std::vector<DueRow>& rows);

}  // namespace nkp::archive
