#pragma once

#include "base/DateTime.h"
#include "recorder/DataFileReader.h"
#include "recorder/FrameStore.h"

#include <string>
#include <vector>

// The frames of a read-out decoded into a store: the main window's, or Form
// 1's separate store for the previous reading.
namespace nkp::analysis {

// Where the ring of frames stands, and what decoding met.
struct RingFacts {
    int newestFrame = 0;                          // the valid frame with the latest moment; 0 without one
    int ringStart = 1;                            // the index after it: the oldest frame
    base::DateTime newest {1999, 1, 1, 0, 0, 0};  // its moment; 01.01.1999 00:00:00 without one
    bool yearKnown = true;                        // the file holds the year byte of the frames
    std::string frameYear;                        // the two-digit year of the frames; empty when unknown
    std::vector<int> brokenFrames;                // frames that fail their check
    std::vector<int> nonCalendarFrames;           // valid frames whose date and time are no real moment
};

// Decodes every frame of `file` into `store`: valid frames are dated with the
// file's year byte (their date left empty when the file ends before it),
// broken ones and those the file does not hold whole are cleared and marked
// "Брак". The moments of a file without the year byte are only good for
// ordering the ring. On equal
// moments the lower index stays the newest.
RingFacts decodeFrames(const recorder::DataFileReader& file, recorder::FrameStore& store);

// The year the frames of `file` are ordered in: their year, or a leap year
// when the file ends before the year byte.
int frameOrderYear(const recorder::DataFileReader& file);

// The store index of the frame at chronological position `position` (0 = the
// oldest) of a ring that starts at `ringStart`.
int ringIndex(int position, int ringStart);

// The chronological position of the store index `index`, taken round the ring.
int ringPosition(int index, int ringStart);

}  // namespace nkp::analysis
