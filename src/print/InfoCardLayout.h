#pragma once

#include "screen/MainState.h"

// The information card (QuickRep_Main): one A4 page of the main window's
// texts, the load table with its bars, the stamps, the ISO 4301-1 block and
// the signature block.
namespace nkp::print {

class PageCanvas;

void drawInfoCard(PageCanvas& canvas, const screen::MainState& state);

}  // namespace nkp::print
