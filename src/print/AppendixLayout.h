#pragma once

#include "print/AppendixSeries.h"
#include "screen/MainState.h"

// The two appendix pages of the information card (QuickRep_GrfMQ and
// QuickRep_GrfLR): two charts each, drawn with the main window's chart
// library onto the page.
namespace nkp::print {

class PageCanvas;

enum class AppendixPage { LoadAndMass = 1, BoomAndRadius = 2 };

void drawAppendixPage(
    PageCanvas& canvas, const screen::MainState& state, const AppendixSeries& series, AppendixPage page);

}  // namespace nkp::print
