#include "forms/PreviousFrames.h"

#include "base/DateTime.h"
#include "recorder/DataFileLayout.h"

namespace nkp::forms {
namespace {

constexpr int kNewestPosition = static_cast<int>(recorder::kFrameCount) - 1;  // 10999

}  // namespace

PreviousRing previousRing(const analysis::RingFacts& facts)
{
    return PreviousRing {facts.ringStart, facts.newest};
}

void applyPreviousRing(screen::MainState& state, const PreviousRing& ring)
{
    state.previousNewestFrameTime = base::dateTimeText(ring.newest);
    // The previous newest frame's position in the latest reading's chronological
    // numbering. When the ring has passed its end since the previous reading the
    // plain difference runs past 10999; it is taken round the ring.
    state.firstTestPosition = analysis::ringPosition(ring.ringStart - 1, state.newestFrame + 1);

    state.previousNewestFrameTime = shortenedDateTimeText(state.previousNewestFrameTime);
    state.newestFrameTime = shortenedDateTimeText(state.newestFrameTime);
}

std::string shortenedDateTimeText(const std::string& text)
{
    if (text.size() <= 16)
        return text;
    std::string shortened = text.substr(0, 16);
    if (text.size() > 19)
        shortened += text.substr(19);
    return shortened;
}

std::string testSpanText(const screen::MainState& state)
{
    return state.previousNewestFrameTime + " - " + state.newestFrameTime;
}

std::string frameRangeText(const screen::MainState& state)
{
    return std::to_string(state.firstTestPosition) + " - " + std::to_string(kNewestPosition);
}

}  // namespace nkp::forms
