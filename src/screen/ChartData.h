#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The data of every chart series, computed at loading as plain vectors that
// a chart takes over in bulk. x is the chronological position of a frame.
namespace nkp::screen {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

inline constexpr Rgb kBlue {0, 0, 255};
inline constexpr Rgb kRed {255, 0, 0};
inline constexpr Rgb kGreen {0, 128, 0};
inline constexpr Rgb kBlack {0, 0, 0};
inline constexpr Rgb kMaroon {128, 0, 0};

struct SeriesData {
    std::string id;     // "Series4"
    std::string title;  // Windows-1251, "Груз Q (т.)"
    Rgb color;          // the series' colour
    std::vector<double> x, y;
    std::vector<Rgb> pointColors;     // one per point when points differ in colour, else empty
    std::vector<std::string> labels;  // one per point for "Дата" (Series3), else empty
    // The point colours from bottom to top: where points of two colours fall
    // on one spot, the later colour is drawn over the earlier one. Empty: in
    // the order the colours first appear among the points.
    std::vector<Rgb> colorLayers;

    void clear()
    {
        x.clear();
        y.clear();
        pointColors.clear();
        labels.clear();
    }
};

struct ChartsData {
    // Chart_Param: title line and bottom axis title set by loading.
    std::string paramTitle;
    std::string paramBottomAxisTitle;
    // Series of Chart_Param in the order Series1, Series2, Series4, Series5,
    // Series16, Series18, Series3; of Chart_KZ: Series6..Series9, Series10.
    std::vector<SeriesData> param;
    std::vector<SeriesData> kz;

    const SeriesData* find(const std::string& id) const;
};

// Indices of the series in ChartsData::param and ChartsData::kz.
enum ParamSeries : std::size_t { kSeries1, kSeries2, kSeries4, kSeries5, kSeries16, kSeries18, kSeries3 };
enum KzSeries : std::size_t { kSeries6, kSeries7, kSeries8, kSeries9, kSeries10 };

// The series of both charts with their ids, titles and colours, and no points.
ChartsData emptyCharts();

}  // namespace nkp::screen
