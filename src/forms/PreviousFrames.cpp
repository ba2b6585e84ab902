#include "forms/PreviousFrames.h"

#include "recorder/Bcd.h"
#include "recorder/Frame.h"

namespace nkp::forms {
namespace {

constexpr analysis::DateTime kNoFrameMoment {1999, 1, 1, 0, 0, 0};
constexpr int kNewestPosition = static_cast<int>(recorder::kFrameCount) - 1;  // 10999

}  // namespace

void decodePreviousFrames(const recorder::DataFileReader& file, recorder::FrameStore& store)
{
    store.clear();
    for (std::size_t i = 0; i < recorder::kFrameCount; ++i) {
        const recorder::FrameBytes frame = file.frame(i);
        if (recorder::frameValid(frame))
            recorder::decodeFrame(frame, static_cast<std::int32_t>(i), store[i]);
        else
            store[i].Status = recorder::kStatusBroken;
    }
    store.completeDates(recorder::frameYearText(file.byte(recorder::kFrameYearOffset)));
}

PreviousRing findNewestFrame(const recorder::FrameStore& store)
{
    PreviousRing ring;
    ring.newest = kNoFrameMoment;
    int newestIndex = 0;
    for (std::size_t i = 0; i < store.size(); ++i) {
        const recorder::TFrameRecord& record = store[i];
        if (!record.isOk())
            continue;
        const auto moment = analysis::parseDateTime(record.Date, record.Time);
        if (moment && ring.newest < *moment) {
            ring.newest = *moment;
            newestIndex = static_cast<int>(i);
        }
    }
    ring.ringStart = newestIndex + 1;
    return ring;
}

void applyPreviousRing(analysis::MainState& state, const PreviousRing& ring)
{
    state.previousNewestFrameTime = analysis::dateTimeText(ring.newest);
    // The previous newest frame's position in the latest reading's chronological
    // numbering. When the ring has passed its end since the previous reading the
    // plain difference runs past 10999; it is taken round the ring.
    const int position = ring.ringStart - state.newestFrame + kNewestPosition - 1;
    const int count = static_cast<int>(recorder::kFrameCount);
    state.firstTestPosition = ((position % count) + count) % count;

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

std::string testSpanText(const analysis::MainState& state)
{
    return state.previousNewestFrameTime + " - " + state.newestFrameTime;
}

std::string frameRangeText(const analysis::MainState& state)
{
    return std::to_string(state.firstTestPosition) + " - " + std::to_string(kNewestPosition);
}

}  // namespace nkp::forms
