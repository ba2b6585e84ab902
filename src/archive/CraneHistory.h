#pragma once

#include "analysis/ResourceUse.h"
#include "base/DateTime.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A crane's story from its archived read-outs: the accumulated characteristic
// number across limiter replacements, the growth rate and the date when the
// normative number will be reached. Pure functions of the values.
namespace nkp::archive {

// What the history needs of one archived read-out (texts Windows-1251).
struct HistoryInput {
    std::optional<base::DateTime> moment;  // nothing when the reading date is not a real one
    std::string limiterSerial;
    double characteristicNumber = 0;  // NaN when damaged: the point is shown, never chained
    int normativeNumber = 0;
    std::int64_t key = 0;  // caller's identity of the read-out, ties broken by it
};

struct HistoryPoint {
    HistoryInput input;
    int segment = 0;         // 0 for the first limiter/recorder, counting up at each restart
    double accumulated = 0;  // own number + last number of every earlier segment
    bool inTrend = false;    // took part in the growth rate's fit
};

enum class ForecastState {
    NoNormative,    // the newest read-out has no normative number
    Exhausted,      // "исчерпан"
    TooFewData,     // "мало данных"
    NoGrowth,       // "нет роста"
    BeyondHorizon,  // "более 100 лет"
    Date,           // `date` holds the day
    Damaged,        // the newest read-out's stored number is damaged: "повреждено"
};

struct CraneTrend {
    std::vector<HistoryPoint> points;   // in reading order; unreal dates after the real ones
    std::size_t newest = 0;             // index of the read-out the crane's figures come from
    double accumulated = 0;             // at the newest read-out
    int normativeNumber = 0;            // of the newest read-out
    analysis::ResourceUse used;         // accumulated ÷ normative
    std::optional<double> slopePerDay;  // least-squares growth; only with enough data
    std::optional<double> growthPerYear;
    ForecastState forecast = ForecastState::TooFewData;
    std::optional<base::DateTime> forecastDate;
    int unrealDates = 0;  // read-outs without a real reading moment
    int segments = 1;
};

// Days since 1 January 1970 with the time of day as a fraction.
double dayNumber(const base::DateTime& moment);
// The calendar day of a whole day number.
using base::dateOfDay;

// The trend window and the forecast horizon.
inline constexpr double kTrendWindowDays = 365;
inline constexpr double kMinTrendSpanDays = 30;
inline constexpr int kHorizonYears = 100;

// Orders, segments and accumulates the read-outs and forecasts the day the
// normative number is reached. Read-outs without a real moment come after
// the dated ones; each of them continues from the newest dated read-out on
// its own and none takes part in the trend.
CraneTrend craneTrend(std::vector<HistoryInput> readouts);

// "dd.mm.yyyy".
std::string dayText(const base::DateTime& day);

// The forecast cell: the date, "исчерпан", "мало данных", "нет роста",
// "более 100 лет", or "—" without a normative number. UTF-8.
std::string forecastText(const CraneTrend& trend);

// The number with one decimal and the given separator ("1234,5"), "—" for
// none, "повреждено" for one that is not finite.
std::string oneDecimal(std::optional<double> value, char decimalSeparator);

// How a damaged stored value is shown: "повреждено". UTF-8.
std::string damagedText();

}  // namespace nkp::archive
