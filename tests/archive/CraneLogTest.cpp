#include "analysis/Continuity.h"
#include "archive/DueDates.h"
#include "base/CalendarMonths.h"

#include <gtest/gtest.h>

namespace {

using namespace nkp;
using namespace nkp::archive;
using base::DateTime;

DateTime day(int d, int m, int y)
{
    return {y, m, d, 0, 0, 0};
}

LogEntry entry(int number, LogKind kind, DateTime date, std::optional<int> correctedBy = {})
{
    LogEntry e;
    e.number = number;
    e.kind = kind;
    e.date = date;
    e.correctedBy = correctedBy;
    return e;
}

TEST(CalendarMonths, AddsWholeMonthsWithTheDayClampedToTheMonthsEnd)
{
    const struct {
        DateTime from;
        int months;
        DateTime to;
    } cases[] = {
        {day(31, 1, 2023), 1, day(28, 2, 2023)},
        {day(31, 1, 2024), 1, day(29, 2, 2024)},   // leap year
        {day(29, 2, 2024), 12, day(28, 2, 2025)},  // leap day, common year
        {day(29, 2, 2024), 48, day(29, 2, 2028)},
        {day(31, 8, 2023), 1, day(30, 9, 2023)},
        {day(15, 11, 2023), 3, day(15, 2, 2024)},  // across the year
        {day(31, 3, 2024), -1, day(29, 2, 2024)},
        {day(10, 1, 2024), -13, day(10, 12, 2022)},
        {day(28, 2, 1900), 12, day(28, 2, 1901)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(base::addMonths(c.from, c.months), c.to) << base::dateText(c.from) << " + " << c.months;
}

TEST(DueDates, HandComputedDatesAndStatuses)
{
    const DateTime today = day(1, 3, 2023);
    const struct {
        const char* name;
        DueFacts facts;
        DueItem item;
        std::optional<DateTime> date;
        DueStatus status;
        std::optional<std::int64_t> days;
        int horizon = kDefaultHorizonDays;
    } cases[] = {
        {"no entries", {}, DueItem::Partial, std::nullopt, DueStatus::NoData, std::nullopt},
        {"no read-outs", {}, DueItem::Reading, std::nullopt, DueStatus::NoData, std::nullopt},
        {"reading, month-end clamped",
            {.newestReading = DateTime {2023, 1, 31, 14, 5, 0}, .settings = {.readingMonths = 1}},
            DueItem::Reading, day(28, 2, 2023), DueStatus::Overdue, -1},
        {"leap day plus a year", {.log = {entry(1, LogKind::PartialExamination, day(29, 2, 2024))}},
            DueItem::Partial, day(28, 2, 2025), DueStatus::Fine, 730},
        {"full satisfies partial",
            {.log = {entry(1, LogKind::PartialExamination, day(1, 6, 2022)),
                 entry(2, LogKind::FullExamination, day(10, 3, 2022))}},
            DueItem::Partial, day(1, 6, 2023), DueStatus::Fine, 92},
        {"the newer full one counts for partial",
            {.log = {entry(1, LogKind::PartialExamination, day(1, 6, 2021)),
                 entry(2, LogKind::FullExamination, day(20, 3, 2022))}},
            DueItem::Partial, day(20, 3, 2023), DueStatus::Soon, 19},
        {"partial does not satisfy full", {.log = {entry(1, LogKind::PartialExamination, day(1, 6, 2022))}},
            DueItem::Full, std::nullopt, DueStatus::NoData, std::nullopt},
        {"full, 36 months", {.log = {entry(1, LogKind::FullExamination, day(31, 3, 2020))}}, DueItem::Full,
            day(31, 3, 2023), DueStatus::Soon, 30},
        {"a corrected entry no longer counts",
            {.log = {entry(1, LogKind::PartialExamination, day(1, 6, 2021)),
                 entry(2, LogKind::FullExamination, day(20, 3, 2022), 3),
                 entry(3, LogKind::Note, day(21, 3, 2022))}},
            DueItem::Partial, day(1, 6, 2022), DueStatus::Overdue, -273},
        {"due today is soon", {.log = {entry(1, LogKind::PartialExamination, day(1, 3, 2022))}},
            DueItem::Partial, today, DueStatus::Soon, 0},
        {"horizon's last day", {.log = {entry(1, LogKind::PartialExamination, day(31, 3, 2022))}},
            DueItem::Partial, day(31, 3, 2023), DueStatus::Soon, 30},
        {"a day beyond the horizon", {.log = {entry(1, LogKind::PartialExamination, day(1, 4, 2022))}},
            DueItem::Partial, day(1, 4, 2023), DueStatus::Fine, 31},
        {"a day beyond a horizon of 7", {.log = {entry(1, LogKind::PartialExamination, day(9, 3, 2022))}},
            DueItem::Partial, day(9, 3, 2023), DueStatus::Fine, 8, 7},
        {"yesterday is overdue", {.log = {entry(1, LogKind::PartialExamination, day(28, 2, 2022))}},
            DueItem::Partial, day(28, 2, 2023), DueStatus::Overdue, -1},
        {"service life", {.manufactureYear = 2003, .settings = {.serviceLifeYears = 20}}, DueItem::Expert,
            day(1, 1, 2023), DueStatus::Overdue, -59},
        {"no service life", {.manufactureYear = 2003}, DueItem::Expert, std::nullopt, DueStatus::NoData,
            std::nullopt},
        {"exhausted resource is due now", {.forecast = ForecastState::Exhausted}, DueItem::Resource, today,
            DueStatus::Overdue, 0},
        {"resource forecast",
            {.forecast = ForecastState::Date, .forecastDate = DateTime {2024, 3, 1, 6, 0, 0}},
            DueItem::Resource, day(1, 3, 2024), DueStatus::Fine, 366},
        {"too few data", {.forecast = ForecastState::TooFewData}, DueItem::Resource, std::nullopt,
            DueStatus::NoData, std::nullopt},
    };
    for (const auto& c : cases) {
        const auto due = dueDates(c.facts, today, c.horizon);
        ASSERT_EQ(due.size(), static_cast<std::size_t>(kDueItemCount)) << c.name;
        const DueDate& d = due[static_cast<std::size_t>(c.item)];
        EXPECT_EQ(d.item, c.item) << c.name;
        EXPECT_EQ(d.date, c.date) << c.name;
        EXPECT_EQ(d.status, c.status) << c.name << ": " << dueStatusText(d.status);
        EXPECT_EQ(d.daysLeft, c.days) << c.name;
    }
}

TEST(Continuity, EachRemarkOnConsecutiveReadouts)
{
    using analysis::ContinuityFacts;
    using analysis::RemarkKind;
    ContinuityFacts older;
    older.readingMoment = DateTime {2022, 1, 10, 10, 0, 0};
    older.recorderReadings = {DateTime {2021, 9, 1, 9, 0, 0}};
    older.newestFrame = DateTime {2022, 1, 10, 9, 30, 0};
    older.limiterSerial = "1111";
    older.totalCycles = 500;
    older.cycleCounts = {100, 100, 100, 100, 100};
    older.operatingMinutes = 9000;
    older.liftedMassRaw = 70000;
    older.characteristicNumber = 321.5;
    ContinuityFacts newer = older;
    newer.readingMoment = DateTime {2022, 6, 1, 10, 0, 0};
    newer.recorderReadings = {DateTime {2022, 1, 10, 15, 0, 0}, DateTime {2021, 9, 1, 9, 0, 0}};
    newer.newestFrame = DateTime {2022, 6, 1, 9, 0, 0};
    newer.totalCycles = 600;
    newer.cycleCounts = {120, 120, 120, 120, 120};
    newer.operatingMinutes = 9900;
    newer.liftedMassRaw = 80000;
    newer.characteristicNumber = 400;

    const struct {
        const char* name;
        void (*change)(ContinuityFacts&);
        std::vector<std::pair<RemarkKind, std::string>> remarks;
    } cases[] = {
        {"continuous", [](ContinuityFacts&) {}, {}},
        {"counters fell",
            [](ContinuityFacts& f) {
                f.totalCycles = 499;
                f.cycleCounts[1] = 99;
                f.characteristicNumber = 300;
            },
            {{RemarkKind::CounterFell,
                "счётчик уменьшился без замены ограничителя: циклов всего, циклов в диапазоне 2, "
                "характеристическое число"}}},
        {"minutes and mass fell",
            [](ContinuityFacts& f) {
                f.operatingMinutes = 10;
                f.liftedMassRaw = 0;
            },
            {{RemarkKind::CounterFell,
                "счётчик уменьшился без замены ограничителя: наработка, поднятая масса"}}},
        {"counters start again with a new limiter",
            [](ContinuityFacts& f) {
                f.limiterSerial = "2222";
                f.totalCycles = 3;
                f.characteristicNumber = 1;
            },
            {}},
        {"newest frame older",
            [](ContinuityFacts& f) {
                f.newestFrame = DateTime {2022, 1, 10, 9, 29, 59};
            },
            {{RemarkKind::NewestFrameOlder,
                "последний кадр (10.01.2022 09:29) старше последнего кадра предыдущего считывания "
                "(10.01.2022 "
                "09:30)"}}},
        {"reading date not among the recorder's stamps",
            [](ContinuityFacts& f) {
                f.recorderReadings = {DateTime {2022, 1, 12, 10, 0, 0}, DateTime {2021, 9, 1, 9, 0, 0}};
            },
            {{RemarkKind::ReadingDateMismatch,
                "дата предыдущего считывания 10.01.2022 не совпадает с отметками считывания регистратора "
                "(последняя 12.01.2022 10:00)"}}},
        {"a stamp a day off agrees",
            [](ContinuityFacts& f) {
                f.recorderReadings = {DateTime {2022, 1, 11, 23, 0, 0}};
            },
            {}},
        {"recorder's stamps go backwards",
            [](ContinuityFacts& f) {
                f.recorderReadings = {DateTime {2021, 8, 1, 9, 0, 0}, DateTime {2022, 1, 10, 10, 0, 0}};
            },
            {{RemarkKind::ReadingDateBackwards,
                "отметки считывания регистратора идут назад: 01.08.2021 09:00 после 01.09.2021 09:00"}}},
        {"gap longer than the interval",
            [](ContinuityFacts& f) {
                f.readingMoment = DateTime {2023, 1, 10, 10, 0, 1};
            },
            {{RemarkKind::ReadingGap, "перерыв 365 дней"}}},
        {"exactly the interval is no gap",
            [](ContinuityFacts& f) {
                f.readingMoment = DateTime {2023, 1, 10, 10, 0, 0};
            },
            {}},
    };
    for (const auto& c : cases) {
        ContinuityFacts changed = newer;
        c.change(changed);
        const auto remarks = analysis::continuityRemarks(&older, changed, 12);
        ASSERT_EQ(remarks.size(), c.remarks.size()) << c.name;
        for (std::size_t i = 0; i < remarks.size(); ++i) {
            EXPECT_EQ(remarks[i].kind, c.remarks[i].first) << c.name;
            EXPECT_EQ(remarks[i].text, c.remarks[i].second) << c.name;
        }
    }
    // The first read-out of a crane has nothing to continue.
    EXPECT_TRUE(analysis::continuityRemarks(nullptr, newer, 12).empty());
}

}  // namespace
