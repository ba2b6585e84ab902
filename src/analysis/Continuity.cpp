#include "analysis/Continuity.h"

#include "base/CalendarMonths.h"

#include <cmath>

namespace nkp::analysis {
namespace {

using base::DateTime;

std::string momentText(const DateTime& m)
{
    return base::dateText(m) + " " + base::timeText(m);
}

std::int64_t dayDistance(const DateTime& a, const DateTime& b)
{
    return std::llabs(base::daysSinceEpoch(a) - base::daysSinceEpoch(b));
}

// The counters that fell from `older` to `newer`, named.
std::string fallenCounters(const ContinuityFacts& older, const ContinuityFacts& newer)
{
    std::string names;
    const auto check = [&names](bool fell, const std::string& name) {
        if (fell)
            names += (names.empty() ? "" : ", ") + name;
    };
    check(newer.totalCycles < older.totalCycles, "циклов всего");
    for (std::size_t b = 0; b < newer.cycleCounts.size(); ++b)
        check(newer.cycleCounts[b] < older.cycleCounts[b], "циклов в диапазоне " + std::to_string(b + 1));
    check(newer.operatingMinutes < older.operatingMinutes, "наработка");
    check(newer.liftedMassRaw < older.liftedMassRaw, "поднятая масса");
    check(newer.characteristicNumber < older.characteristicNumber, "характеристическое число");
    return names;
}

}  // namespace

std::vector<ContinuityRemark> continuityRemarks(
    const ContinuityFacts* older, const ContinuityFacts& newer, int readingMonths)
{
    std::vector<ContinuityRemark> out;
    if (!older)
        return out;
    // The recorder's newest reading stamp cannot go back from one read-out to the next.
    if (!older->recorderReadings.empty() && !newer.recorderReadings.empty()
        && base::daysSinceEpoch(newer.recorderReadings.front()) + kReadingStampToleranceDays
            < base::daysSinceEpoch(older->recorderReadings.front()))
        out.push_back({RemarkKind::ReadingDateBackwards,
            "отметки считывания регистратора идут назад: " + momentText(newer.recorderReadings.front())
                + " после " + momentText(older->recorderReadings.front())});
    if (older->limiterSerial == newer.limiterSerial) {
        const std::string fallen = fallenCounters(*older, newer);
        if (!fallen.empty())
            out.push_back({RemarkKind::CounterFell, "счётчик уменьшился без замены ограничителя: " + fallen});
    }
    if (older->newestFrame && newer.newestFrame && *newer.newestFrame < *older->newestFrame)
        out.push_back({RemarkKind::NewestFrameOlder,
            "последний кадр (" + momentText(*newer.newestFrame)
                + ") старше последнего кадра предыдущего считывания (" + momentText(*older->newestFrame)
                + ")"});
    if (older->readingMoment && !newer.recorderReadings.empty()) {
        bool recorded = false;
        for (const DateTime& stamp : newer.recorderReadings)
            recorded = recorded || dayDistance(stamp, *older->readingMoment) <= kReadingStampToleranceDays;
        if (!recorded)
            out.push_back({RemarkKind::ReadingDateMismatch,
                "дата предыдущего считывания " + base::dateText(*older->readingMoment)
                    + " не совпадает с отметками считывания регистратора (последняя "
                    + momentText(newer.recorderReadings.front()) + ")"});
    }
    if (older->readingMoment && newer.readingMoment
        && base::addMonths(*older->readingMoment, readingMonths) < *newer.readingMoment)
        out.push_back({RemarkKind::ReadingGap,
            "перерыв " + std::to_string(dayDistance(*newer.readingMoment, *older->readingMoment)) + " дней"});
    return out;
}

}  // namespace nkp::analysis
