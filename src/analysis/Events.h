#pragma once

#include "recorder/FrameStore.h"

#include <array>
#include <string>
#include <vector>

// Events of a read-out: overloads, coordinate-protection limits entered and
// tripped, and reported faults, each as an episode, a maximal run of
// consecutive chronological positions whose frames all meet one condition.
// Only valid frames ("Норма") take part; any other frame ends every episode
// that is open.
namespace nkp::analysis {

// The kinds in the order the list sorts them.
enum class EventKind { Overload, LimitEntered, LimitTripped, Fault };
inline constexpr int kEventKindCount = 4;

// The coordinate-protection limits in the order of their bits in byte 20.
enum class Limit { Wall, Ceiling, TurnLeft, TurnRight };
inline constexpr int kLimitCount = 4;

inline constexpr int kDefaultOverloadThreshold = 100;  // %

struct Episode {
    EventKind kind = EventKind::Overload;
    Limit limit = Limit::Wall;  // the limit kinds only
    std::string faultCode;      // the fault kind only: "E12"
    int firstPosition = 0;      // chronological, 0 = oldest frame
    int lastPosition = 0;
    int firstRecord = 0;  // index in the file of the first and last frame
    int lastRecord = 0;
    int peakPercent = 0;  // the highest LoadPercent within the episode
    int peakRecord = 0;   // the first frame, in time, with that peak

    int frameCount() const { return lastPosition - firstPosition + 1; }
    bool operator==(const Episode&) const = default;
};

// The kind's text, Windows-1251: "Перегрузка", "Вход в зону: стена",
// "Срабатывание: поворот влево", "Отказ E12".
std::string episodeKindText(const Episode& episode);
// The name of a kind as a whole: "Перегрузка", "Вход в зону", "Срабатывание", "Отказ".
std::string eventKindName(EventKind kind);

// Whether the frame's limit is entered or tripped, read from its `Limits`
// bit text (character 8 is bit 0): entered are bits 0 to 3, tripped bits 4
// to 7, each in the order of Limit.
bool limitEntered(const recorder::TFrameRecord& record, Limit limit);
bool limitTripped(const recorder::TFrameRecord& record, Limit limit);

// Every episode over the 11000 chronological positions (position p is the
// record (p + ringStart) mod 11000), sorted by first position, then by kind
// in the order of EventKind and the limits in the order of Limit. An
// overload is a LoadPercent at or above `overloadThreshold`.
std::vector<Episode> findEpisodes(
    const recorder::FrameStore& frames, int ringStart, int overloadThreshold = kDefaultOverloadThreshold);

// How many episodes of each kind, in the order of EventKind.
std::array<int, kEventKindCount> countByKind(const std::vector<Episode>& episodes);

}  // namespace nkp::analysis
