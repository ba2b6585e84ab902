#pragma once

#include <QRectF>

// The bars of the load table on the information card: each band's gauge
// (0..100, the busiest band 100) drawn as a filled bar at the left end of an
// empty frame 400 long.
namespace nkp::print {

inline constexpr int kLoadBarFrameWidth = 400;
inline constexpr int kLoadBarHeight = 15;
inline constexpr int kLoadBarFullWidth = 281;  // the busiest band's bar

// (position × 281) div maximum in integer arithmetic; a position outside
// 0..maximum is limited to it, a maximum below 1 gives no bar.
int loadBarWidth(int position, int maximum = 100);

struct LoadBarRects {
    QRectF frame;  // 400 × 15, empty
    QRectF bar;    // loadBarWidth × 15, filled; empty width for a band without cycles
};

// The frame and the bar of a band whose frame starts at (left, top).
LoadBarRects loadBarRects(double left, double top, int position, int maximum = 100);

}  // namespace nkp::print
