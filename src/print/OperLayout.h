#pragma once

#include "screen/MainState.h"

#include <QString>

#include <vector>

// The operational information (QuickRep_Cikl): the listing lines in Courier
// New 8 pt over as many pages as they need, every page with the two head
// lines, the line naming the page's records in memory and in the frames
// table, and the footer with the crane text and "Страница N".
namespace nkp::print {

class PageCanvas;

// Draws every page; returns the number of pages. `lines` are those of the
// records from memory index `firstRecord` on.
int drawOperationalInfo(
    PageCanvas& canvas, const screen::MainState& state, const std::vector<QString>& lines, int firstRecord);

// Lines of the listing that fit on one page.
int listingLinesPerPage(const PageCanvas& canvas);

}  // namespace nkp::print
