#pragma once

#include "print/FrameRange.h"
#include "recorder/Frame.h"
#include "recorder/FrameStore.h"

#include <QString>

#include <string>
#include <vector>

// The lines of the operational information: one per frame record, by the
// record's physical index, its fields joined by tabs and blanks.
namespace nkp::print {

// The two head lines of every page (tab-separated columns).
QString listingHeadColumns();
QString listingHeadUnits();

// Angle, length, radius, pressure and mass with their number pictures, the
// relay, limit, input and reeving texts, load percentage, fault code, date and
// time; Windows-1251 like the record's texts.
std::string listingLine(const recorder::TFrameRecord& record, char decimalSeparator);

// The records of `range` that a store of `storeSize` records holds.
FrameRange listedRange(std::size_t storeSize, FrameRange range);

// The lines of the records range.first..range.last; none for an empty range.
// The range is limited to the store (listedRange).
std::vector<QString> listingLines(
    const recorder::FrameStore& frames, FrameRange range, char decimalSeparator);

// The listing takes its records by their index in the recorder's memory; the
// line under each page's head names them so, and by their numbers in the
// frames table, where a user looks them up ("Кадры памяти РП: 0-80, в
// таблице кадров: 5000-5080"). `ringStart`: the memory index of the oldest frame.
QString listingFramesNote(FrameRange records, int ringStart);

}  // namespace nkp::print
