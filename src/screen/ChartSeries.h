#pragma once

#include "screen/MainState.h"

namespace nkp::screen {

// Fills the points of every series of both charts, and the title of the
// parameter chart, from the loaded frames in chronological order.
void buildCharts(MainState& state);

}  // namespace nkp::screen
