#include "screen/ChartSeries.h"

#include "analysis/Events.h"
#include "analysis/FrameFieldTexts.h"
#include "screen/StateTexts.h"

#include <algorithm>

namespace nkp::screen {

using analysis::frameDateText;
using analysis::kLimitCount;
using analysis::Limit;
using analysis::limitEntered;
using analysis::limitTripped;
namespace {

// A series with one point per position, written by index below. (Points
// kept from the load before are overwritten, not cleared first.)
void resizeFull(SeriesData& s, std::size_t n)
{
    s.pointColors.clear();
    s.labels.clear();
    s.x.resize(n);
    s.y.resize(n);
}

void add(SeriesData& s, double x, double y)
{
    s.x.push_back(x);
    s.y.push_back(y);
}

void addColored(SeriesData& s, double x, double y, Rgb color)
{
    add(s, x, y);
    s.pointColors.push_back(color);
}

// Equal for two records exactly when their date texts are equal.
std::int64_t dateKey(const recorder::TFrameRecord& r)
{
    if (!r.isOk())
        return -1;
    if (r.Year == 0)
        return -2;
    const recorder::FrameClock c = r.clock();
    return ((std::int64_t {r.Year} * 2048 + c.day.value * 2 + c.day.wide) * 2048) + c.month.value * 2
        + c.month.wide;
}

}  // namespace

void buildCharts(MainState& state)
{
    ChartsData& c = state.charts;
    if (c.param.size() != 7 || c.kz.size() != 5)
        c = emptyCharts();
    c.paramBottomAxisTitle = texts::framesAxisTitle();
    c.paramTitle = texts::paramTitleStart() + state.texts.craneModel + texts::paramTitleNumber()
        + state.texts.craneNumber + texts::paramTitleLimiter() + state.texts.limiterNumber
        + texts::paramTitleEnd();

    constexpr std::size_t n = recorder::kFrameCount;
    for (SeriesData& s : c.kz)
        s.clear();
    // A tripped limit (red) is the news: it is never hidden under the entered
    // one (green) at the same frame, whichever colour a series starts with.
    for (std::size_t k = 0; k < 4; ++k)
        c.kz[k].colorLayers = {kGreen, kRed};
    c.param[kSeries3].clear();
    for (SeriesData* s : {&c.param[kSeries1], &c.param[kSeries2], &c.param[kSeries4], &c.param[kSeries5],
             &c.param[kSeries16], &c.param[kSeries18], &c.kz[kSeries10]})
        resizeFull(*s, n);

    SeriesData& load = c.param[kSeries4];
    SeriesData& limit = c.param[kSeries1];
    SeriesData& percent = c.param[kSeries2];
    SeriesData& boom = c.param[kSeries5];
    SeriesData& radius = c.param[kSeries16];
    SeriesData& axis = c.param[kSeries18];
    SeriesData& dates = c.param[kSeries3];
    SeriesData& kzAxis = c.kz[kSeries10];

    // The positions, and the constant lines, in bulk.
    for (std::size_t p = 0; p < n; ++p)
        load.x[p] = static_cast<double>(p);
    for (SeriesData* s : {&limit, &percent, &boom, &radius, &axis, &kzAxis})
        std::copy(load.x.begin(), load.x.end(), s->x.begin());
    std::fill(limit.y.begin(), limit.y.end(), 100.0);
    std::fill(axis.y.begin(), axis.y.end(), 0.0);
    std::fill(kzAxis.y.begin(), kzAxis.y.end(), 0.0);

    // The values in one pass over the store in chronological order.
    std::int64_t lastDate = dateKey(state.frames[0]);
    // The date bytes of the last good frame, when lastDate is its date.
    int lastDay = -1, lastMonth = -1;
    // (The four value series keep their size in the loop: their points are
    // written through plain pointers, not reloaded after every point added.)
    double* const loadY = load.y.data();
    double* const percentY = percent.y.data();
    double* const boomY = boom.y.data();
    double* const radiusY = radius.y.data();
    std::size_t index = static_cast<std::size_t>(state.recordIndexAt(0));
    for (std::size_t p = 0; p < n; ++p, index = index + 1 == n ? 0 : index + 1) {
        const recorder::TFrameRecord& r = state.frames[index];
        const double x = static_cast<double>(p);
        const bool ok = r.isOk();
        loadY[p] = ok ? r.LoadMass : 10.0;
        percentY[p] = ok ? r.LoadPercent : 0;
        boomY[p] = ok ? r.BoomLength : 0.0;
        radiusY[p] = ok ? r.Radius : 0.0;
        // A frame whose date is unknown (no year in the file) marks no day.
        // Most frames share the day of the one before: the same date bytes.
        const bool sameBytes = ok && r.ClockBytes[3] == lastDay && r.ClockBytes[4] == lastMonth;
        const std::int64_t date = ok && r.Year != 0 && !sameBytes ? dateKey(r) : lastDate;
        if (ok) {
            lastDay = r.ClockBytes[3];
            lastMonth = r.ClockBytes[4];
        }
        if (date != lastDate) {
            add(dates, x, 0);
            dates.labels.push_back(frameDateText(r));
            lastDate = date;
        }
        if (r.Limits != 0) {
            for (int k = 0; k < kLimitCount; ++k) {
                const double level = static_cast<double>(k + 1);
                if (limitEntered(r, static_cast<Limit>(k)))
                    addColored(c.kz[static_cast<std::size_t>(k)], x, level, kGreen);
                if (limitTripped(r, static_cast<Limit>(k)))
                    addColored(c.kz[static_cast<std::size_t>(k)], x, level, kRed);
            }
        }
    }
}

}  // namespace nkp::screen
