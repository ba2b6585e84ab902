#include "analysis/FrameDecoding.h"

#include "recorder/Bcd.h"
#include "recorder/Frame.h"

#include <algorithm>
#include <span>

namespace nkp::analysis {

RingFacts decodeFrames(const recorder::DataFileReader& file, recorder::FrameStore& store)
{
    RingFacts ring;
    // The frames carry no year: a file that ends before the year byte leaves
    // their dates unknown. They are still ordered within a leap year, so that
    // the ring stands as the recorder wrote it and 29 February counts.
    ring.yearKnown = recorder::kFrameYearOffset < file.size();
    const int year = ring.yearKnown ? recorder::frameYear(file.byte(recorder::kFrameYearOffset)) : 0;
    if (ring.yearKnown)
        ring.frameYear = recorder::frameYearText(file.byte(recorder::kFrameYearOffset));
    const int orderYear = frameOrderYear(file);
    // The frames of one read-out share their year: the order key of their
    // clocks orders them as their moments, without making a date-time of each.
    std::int64_t latest = -1;
    // The frames the file holds whole, read in place.
    const std::span<const std::uint8_t> bytes(file.bytes());
    const std::size_t held = std::min(recorder::kFrameCount, bytes.size() / recorder::kFrameSize);
    // Decodes, dates and weighs every frame in one pass over the store (the
    // store is megabytes: one pass instead of three).
    for (std::size_t i = 0; i < recorder::kFrameCount; ++i) {
        recorder::TFrameRecord& r = store[i];
        // Every record is either decoded whole or cleared: the same result as
        // clearing the store first, without writing the valid ones twice. A
        // frame the file does not hold whole is broken, whatever its zeros say.
        const auto frame
            = [&bytes, i] { return bytes.subspan(i * recorder::kFrameSize).first<recorder::kFrameSize>(); };
        if (i >= held || !recorder::frameValid(frame())) {
            recorder::clearRecord(r, static_cast<std::int32_t>(i));
            r.Status = recorder::FrameStatus::Broken;
            ring.brokenFrames.push_back(static_cast<int>(i));
            continue;
        }
        recorder::decodeFrame(frame(), static_cast<std::int32_t>(i), year, r);
        const std::int64_t key = recorder::realOrderKey(frame().data(), orderYear);
        if (key < 0) {
            ring.nonCalendarFrames.push_back(static_cast<int>(i));
        } else if (key > latest) {
            // Every real moment is later than the starting point, 01.01.1999.
            latest = key;
            ring.newestFrame = static_cast<int>(i);
        }
    }
    if (latest >= 0)
        ring.newest
            = *recorder::frameMoment(store[static_cast<std::size_t>(ring.newestFrame)].clock(), orderYear);
    ring.ringStart = ring.newestFrame + 1;
    return ring;
}

int frameOrderYear(const recorder::DataFileReader& file)
{
    return recorder::kFrameYearOffset < file.size()
        ? recorder::frameYear(file.byte(recorder::kFrameYearOffset))
        : 2000;
}

int ringIndex(int position, int ringStart)
{
    // Positions and ring starts never exceed the store: one turn back suffices.
    const int count = static_cast<int>(recorder::kFrameCount);
    const int index = position + ringStart;
    return index >= count ? index - count : index;
}

int ringPosition(int index, int ringStart)
{
    const int count = static_cast<int>(recorder::kFrameCount);
    const int position = (index - ringStart) % count;
    return position < 0 ? position + count : position;
}

}  // namespace nkp::analysis
