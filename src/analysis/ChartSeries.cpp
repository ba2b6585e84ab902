#include "analysis/ChartSeries.h"

#include "analysis/StateTexts.h"

namespace nkp::analysis {
namespace {

void reset(SeriesData& s, std::size_t capacity)
{
    s.clear();
    s.x.reserve(capacity);
    s.y.reserve(capacity);
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

}  // namespace

void buildCharts(MainState& state)
{
    ChartsData& c = state.charts;
    if (c.param.size() != 7 || c.kz.size() != 5)
        c = emptyCharts();
    c.paramBottomAxisTitle = texts::framesAxisTitle();
    c.paramTitle = texts::paramTitleStart() + state.Edit_MKran + texts::paramTitleNumber() + state.Edit_NKran
        + texts::paramTitleLimiter() + state.Edit_NTRV + texts::paramTitleEnd();

    constexpr std::size_t n = recorder::kFrameCount;
    for (SeriesData& s : c.param)
        reset(s, n);
    for (SeriesData& s : c.kz)
        s.clear();
    reset(c.kz[kSeries10], n);
    c.param[kSeries3].x.reserve(64);

    SeriesData& load = c.param[kSeries4];
    SeriesData& limit = c.param[kSeries1];
    SeriesData& percent = c.param[kSeries2];
    SeriesData& boom = c.param[kSeries5];
    SeriesData& radius = c.param[kSeries16];
    SeriesData& axis = c.param[kSeries18];
    SeriesData& dates = c.param[kSeries3];
    SeriesData& kzAxis = c.kz[kSeries10];

    // Character 8 of the limits text is the wall entered, 4 the wall
    // tripped; 7 and 3 the ceiling, 6 and 2 turn left, 5 and 1 turn right.
    static constexpr std::size_t enteredChar[4] = {7, 6, 5, 4};  // 0-based
    static constexpr std::size_t trippedChar[4] = {3, 2, 1, 0};

    const std::string* lastDate = &state.frames[0].Date;
    for (std::size_t p = 0; p < n; ++p) {
        const recorder::TFrameRecord& r = state.recordAt(static_cast<int>(p));
        const double x = static_cast<double>(p);
        const bool ok = r.isOk();
        add(load, x, ok ? r.LoadMass : 10.0);
        add(limit, x, 100);
        add(percent, x, ok ? r.LoadPercent : 0);
        add(boom, x, ok ? r.BoomLength : 0.0);
        add(radius, x, ok ? r.Radius : 0.0);
        add(axis, x, 0);
        add(kzAxis, x, 0);
        if (ok && r.Date != *lastDate) {
            add(dates, x, 0);
            dates.labels.push_back(r.Date);
            lastDate = &r.Date;
        }
        if (r.Limits.size() == 8 && r.Limits != "00000000") {
            for (std::size_t k = 0; k < 4; ++k) {
                const double level = static_cast<double>(k + 1);
                if (r.Limits[enteredChar[k]] == '1')
                    addColored(c.kz[k], x, level, kGreen);
                if (r.Limits[trippedChar[k]] == '1')
                    addColored(c.kz[k], x, level, kRed);
            }
        }
    }
}

}  // namespace nkp::analysis
