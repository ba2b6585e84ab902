#pragma once

#include <QString>

#include <optional>

// The frame range of the operational information, typed into the frames
// tab's edits "с" and "по".
namespace nkp::print {

struct FrameRange {
    int first = 0;  // physical record index
    int last = -1;  // below `first`: the listing has no line
    bool empty() const { return last < first; }
    int count() const { return empty() ? 0 : last - first + 1; }
};

// The integer in an edit: blanks around it and one sign allowed, limited to
// the records 0..10999 (a number beyond any integer is limited as well).
// Nothing when the text is not an integer.
std::optional<int> parseFrameNumber(const QString& text);

// Both edits; nothing when either is not an integer.
std::optional<FrameRange> parseFrameRange(const QString& home, const QString& end);

}  // namespace nkp::print
