#pragma once

#include "screen/MainState.h"

#include <vector>

// The data of the appendix charts: for every chronological position C of the
// loaded frames (0 the oldest), the 100 % line and the frame's load
// percentage, load mass, boom length and radius. A frame that failed its
// check is charted at 0 while the 100 % line goes on through it.
namespace nkp::print {

struct AppendixSeries {
    std::vector<double> x;       // C
    std::vector<double> limit;   // Series1: 100
    std::vector<double> load;    // Series2: M, %
    std::vector<double> mass;    // Series3: Q, t
    std::vector<double> boom;    // Series4: L, m
    std::vector<double> radius;  // Series5: R, m
};

// Reads the frames of `state` in chronological order from its ring start for
// its number of loaded frames (both limited to the store).
AppendixSeries appendixSeries(const screen::MainState& state);

}  // namespace nkp::print
