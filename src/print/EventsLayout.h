#pragma once

#include "analysis/Events.h"
#include "analysis/LoadBands.h"
#include "screen/MainState.h"

#include <vector>

// The events printout: the list of episodes (overloads, coordinate
// protection, faults) as a table over as many pages as it needs, then the
// load spectrum of the valid frames and the recorder's own cycle counters.
// Every page names the crane, the recorder and the read-out in its heading
// and carries "Страница N" in its footer.
namespace nkp::print {

class PageCanvas;

struct EventsReport {
    std::vector<analysis::Episode> episodes;
    analysis::LoadSpectrum spectrum;
    int overloadThreshold = analysis::kDefaultOverloadThreshold;
};

// The episodes and spectrum of the state's read-out at `overloadThreshold`.
EventsReport eventsReport(const screen::MainState& state, int overloadThreshold);

// Draws every page; returns the number of pages.
int drawEventsReport(
    PageCanvas& canvas, const screen::MainState& state, const EventsReport& report, char decimalSeparator);

}  // namespace nkp::print
