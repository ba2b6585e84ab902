#include "archive/CraneHistory.h"

#include "analysis/NumberFormat.h"

#include <algorithm>
#include <cmath>

namespace nkp::archive {
namespace {

using base::DateTime;

// One segment's state while walking the dated read-outs.
struct Chain {
    bool started = false;
    std::string serial;
    double last = 0;
    double offset = 0;
    int segment = 0;

    // Whether `p` starts a new segment after the chain's last read-out.
    bool restartsAt(const HistoryInput& p) const
    {
        return started && (p.limiterSerial != serial || p.characteristicNumber < last);
    }
};

void fitTrend(CraneTrend& t)
{
    const HistoryPoint& newest = t.points[t.newest];
    if (!newest.input.moment)
        return;
    const double end = dayNumber(*newest.input.moment);
    double first = end, sumX = 0, sumY = 0;
    int n = 0;
    for (HistoryPoint& p : t.points) {
        if (!p.input.moment || !std::isfinite(p.accumulated))
            continue;
        const double x = dayNumber(*p.input.moment);
        if (x < end - kTrendWindowDays || x > end)
            continue;
        p.inTrend = true;
        first = std::min(first, x);
        sumX += x - end;
        sumY += p.accumulated;
        ++n;
    }
    if (n < 2 || end - first < kMinTrendSpanDays)
        return;
    const double meanX = sumX / n, meanY = sumY / n;
    double sxy = 0, sxx = 0;
    for (const HistoryPoint& p : t.points) {
        if (!p.inTrend)
            continue;
        const double dx = dayNumber(*p.input.moment) - end - meanX;
        sxy += dx * (p.accumulated - meanY);
        sxx += dx * dx;
    }
    if (sxx <= 0)
        return;
    t.slopePerDay = sxy / sxx;
    t.growthPerYear = *t.slopePerDay * 365.25;
}

void forecast(CraneTrend& t)
{
    if (t.normativeNumber <= 0) {
        t.forecast = ForecastState::NoNormative;
        return;
    }
    if (!std::isfinite(t.accumulated)) {
        t.forecast = ForecastState::Damaged;
        return;
    }
    if (t.accumulated >= t.normativeNumber) {
        t.forecast = ForecastState::Exhausted;
        return;
    }
    if (!t.slopePerDay) {
        t.forecast = ForecastState::TooFewData;
        return;
    }
    if (*t.slopePerDay <= 0) {
        t.forecast = ForecastState::NoGrowth;
        return;
    }
    const DateTime newest = *t.points[t.newest].input.moment;
    const double start = dayNumber(newest);
    const double target = start + (t.normativeNumber - t.accumulated) / *t.slopePerDay;
    DateTime horizon = newest;
    horizon.year += kHorizonYears;
    if (horizon.month == 2 && horizon.day == 29)
        horizon.day = 28;  // the same day a century on need not be a leap day
    if (!std::isfinite(target) || target > dayNumber(horizon)) {
        t.forecast = ForecastState::BeyondHorizon;
        return;
    }
    t.forecast = ForecastState::Date;
    t.forecastDate = dateOfDay(static_cast<std::int64_t>(std::floor(target)));
}

}  // namespace

double dayNumber(const DateTime& m)
{
    return static_cast<double>(base::daysSinceEpoch(m))
        + (m.hour * 3600.0 + m.minute * 60.0 + m.second) / 86400.0;
}

CraneTrend craneTrend(std::vector<HistoryInput> readouts)
{
    CraneTrend t;
    if (readouts.empty())
        return t;
    // Dated read-outs by moment, then the undated ones; ties by the caller's key.
    std::sort(readouts.begin(), readouts.end(), [](const HistoryInput& a, const HistoryInput& b) {
        if (a.moment.has_value() != b.moment.has_value())
            return a.moment.has_value();
        if (a.moment && *a.moment != *b.moment)
            return *a.moment < *b.moment;
        return a.key < b.key;
    });

    Chain chain;
    std::size_t lastDated = 0;
    bool anyDated = false;
    for (std::size_t i = 0; i < readouts.size(); ++i) {
        HistoryPoint p;
        p.input = std::move(readouts[i]);
        if (!std::isfinite(p.input.characteristicNumber)) {
            // A damaged number is shown as such and leaves the chain as it was.
            p.segment = chain.segment;
            p.accumulated = p.input.characteristicNumber;
            if (p.input.moment) {
                lastDated = i;
                anyDated = true;
            } else {
                ++t.unrealDates;
            }
        } else if (p.input.moment) {
            if (chain.restartsAt(p.input)) {
                chain.offset += chain.last;
                ++chain.segment;
            }
            chain.started = true;
            chain.serial = p.input.limiterSerial;
            chain.last = p.input.characteristicNumber;
            p.segment = chain.segment;
            p.accumulated = chain.offset + p.input.characteristicNumber;
            lastDated = i;
            anyDated = true;
        } else {
            // Continues from the newest dated read-out on its own: an undated
            // read-out never shifts another one's number.
            ++t.unrealDates;
            const bool restart = chain.restartsAt(p.input);
            p.segment = chain.segment + (restart ? 1 : 0);
            p.accumulated = chain.offset + (restart ? chain.last : 0) + p.input.characteristicNumber;
        }
        t.segments = std::max(t.segments, p.segment + 1);
        t.points.push_back(std::move(p));
    }

    t.newest = anyDated ? lastDated : t.points.size() - 1;
    t.accumulated = t.points[t.newest].accumulated;
    t.normativeNumber = t.points[t.newest].input.normativeNumber;
    t.used = std::isfinite(t.accumulated)
        ? analysis::resourceUse(t.accumulated, t.normativeNumber)
        : analysis::ResourceUse {t.accumulated, analysis::ResourceLevel::Unknown};
    fitTrend(t);
    forecast(t);
    return t;
}

std::string dayText(const DateTime& day)
{
    return analysis::formatTwoDigits(day.day) + "." + analysis::formatTwoDigits(day.month) + "."
        + std::to_string(day.year);
}

std::string forecastText(const CraneTrend& trend)
{
    switch (trend.forecast) {
    case ForecastState::NoNormative:
        return "—";
    case ForecastState::Exhausted:
        return "исчерпан";
    case ForecastState::TooFewData:
        return "мало данных";
    case ForecastState::NoGrowth:
        return "нет роста";
    case ForecastState::BeyondHorizon:
        return "более 100 лет";
    case ForecastState::Date:
        return dayText(*trend.forecastDate);
    case ForecastState::Damaged:
        return damagedText();
    }
    return {};
}

std::string oneDecimal(std::optional<double> value, char decimalSeparator)
{
    if (value && !std::isfinite(*value))
        return damagedText();
    return value ? analysis::formatFixed(*value, 1, decimalSeparator) : std::string("—");
}

std::string damagedText()
{
    return "повреждено";
}

}  // namespace nkp::archive
