#pragma once

#include "analysis/MainState.h"

// The information card (QuickRep_Main): one A4 page of the main window's
// texts, the load table with its bars, the stamps, the ISO 4301-1 block and
// the signature block.
namespace nkp::print {

class PageCanvas;

void drawInfoCard(PageCanvas& canvas, const analysis::MainState& state);

}  // namespace nkp::print
