#include "forms/ReadingPair.h"

#include "forms/FormTexts.h"

#include <compare>

namespace nkp::forms {
namespace {

// Identification texts are compared without the blanks a hand-typed field may carry.
std::string trimmed(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Whether some counter of one reading is lower, or higher, than the other's.
struct CounterOrder {
    bool lower = false, higher = false;
    void compare(double a, double b)
    {
        lower = lower || a < b;
        higher = higher || a > b;
    }
};

CounterOrder compareCounters(const ReadingFacts& a, const ReadingFacts& b)
{
    CounterOrder order;
    for (std::size_t band = 0; band < a.cycleCounts.size(); ++band)
        order.compare(a.cycleCounts[band], b.cycleCounts[band]);
    order.compare(static_cast<double>(a.operatingMinutes), static_cast<double>(b.operatingMinutes));
    order.compare(static_cast<double>(a.liftedMassRaw), static_cast<double>(b.liftedMassRaw));
    order.compare(a.characteristicNumber, b.characteristicNumber);
    return order;
}

}  // namespace

ReadingFacts readingFacts(const analysis::Readout& r)
{
    using recorder::IdField;
    return {r.text(IdField::CraneModel), r.text(IdField::CraneNumber), r.text(IdField::LimiterNumber),
        r.text(IdField::ReadingDate), r.readingMoment(), r.cycleCounts, r.operatingMinutes, r.liftedMassRaw,
        r.characteristicNumber};
}

ReadingFacts readingFacts(const screen::MainState& s)
{
    return {s.texts.craneModel, s.texts.craneNumber, s.texts.limiterNumber, s.texts.readingDate,
        analysis::readingMomentOf(s.texts.readingDate), s.readout.cycleCounts, s.readout.operatingMinutes,
        s.readout.liftedMassRaw, s.readout.characteristicNumber};
}

PairCheck checkReadingPair(const ReadingFacts& latest, const ReadingFacts& previous)
{
    if (trimmed(latest.craneModel) != trimmed(previous.craneModel)
        || trimmed(latest.craneNumber) != trimmed(previous.craneNumber))
        return {PairVerdict::OtherCrane,
            text::otherCrane(
                latest.craneModel, latest.craneNumber, previous.craneModel, previous.craneNumber)};
    if (trimmed(latest.limiterNumber) != trimmed(previous.limiterNumber))
        return {PairVerdict::OtherLimiter, text::otherLimiter(latest.limiterNumber, previous.limiterNumber)};

    // The reading dates decide the order; the counters when the dates cannot.
    const CounterOrder counters = compareCounters(latest, previous);
    std::partial_ordering byDate = std::partial_ordering::unordered;
    if (latest.readingMoment && previous.readingMoment)
        byDate = *latest.readingMoment <=> *previous.readingMoment;
    if (byDate < 0)
        return {PairVerdict::Swapped, text::previousReadingNewer(latest.readingDate, previous.readingDate)};
    if (byDate > 0)
        return counters.lower ? PairCheck {PairVerdict::CountersFell, text::countersFell()} : PairCheck {};
    if (counters.lower && !counters.higher)
        return {PairVerdict::Swapped, text::previousCountersHigher()};
    if (counters.lower)
        return {PairVerdict::CountersFell, text::countersFell()};
    return {};
}

}  // namespace nkp::forms
