#include "archive/CraneHistory.h"

#include "analysis/NumberFormat.h"

#include <algorithm>
#include <cmath>

namespace nkp::archive {
namespace {

using analysis::DateTime;

// Days from 1970-01-01 of a proleptic Gregorian date.
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

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
        if (!p.input.moment)
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
    return static_cast<double>(
               daysFromCivil(m.year, static_cast<unsigned>(m.month), static_cast<unsigned>(m.day)))
        + (m.hour * 3600.0 + m.minute * 60.0 + m.second) / 86400.0;
}

DateTime dateOfDay(std::int64_t z)
{
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    DateTime out;
    out.year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2));
    out.month = static_cast<int>(m);
    out.day = static_cast<int>(d);
    return out;
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
        if (p.input.moment) {
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
    t.used = analysis::resourceUse(t.accumulated, t.normativeNumber);
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
    }
    return {};
}

std::string oneDecimal(std::optional<double> value, char decimalSeparator)
{
    return value ? analysis::formatFixed(*value, 1, decimalSeparator) : std::string("—");
}

}  // namespace nkp::archive
