#include "analysis/Events.h"

#include "analysis/FrameFieldTexts.h"
#include "base/Codec.h"

#include <algorithm>
#include <optional>

namespace nkp::analysis {
namespace {

constexpr int kFrames = static_cast<int>(recorder::kFrameCount);

// One condition followed along the frames: overload, each limit entered and
// tripped, and the fault (whose code must also stay the same).
constexpr int kChannelCount = 1 + 2 * kLimitCount + 1;
constexpr int kFaultChannel = kChannelCount - 1;

Episode channelEpisode(int channel)
{
    Episode e;
    if (channel == 0) {
        e.kind = EventKind::Overload;
    } else if (channel <= kLimitCount) {
        e.kind = EventKind::LimitEntered;
        e.limit = static_cast<Limit>(channel - 1);
    } else if (channel <= 2 * kLimitCount) {
        e.kind = EventKind::LimitTripped;
        e.limit = static_cast<Limit>(channel - 1 - kLimitCount);
    } else {
        e.kind = EventKind::Fault;
    }
    return e;
}

// Whether the frame meets the condition of a channel (the fault channel:
// any code but "E00").
bool meets(const recorder::TFrameRecord& r, int channel, int threshold)
{
    if (channel == 0)
        return r.LoadPercent >= threshold;
    if (channel <= kLimitCount)
        return limitEntered(r, static_cast<Limit>(channel - 1));
    if (channel <= 2 * kLimitCount)
        return limitTripped(r, static_cast<Limit>(channel - 1 - kLimitCount));
    return r.FaultCode != kNoFault;
}

bool limitBit(const recorder::TFrameRecord& r, int bit)
{
    return (r.Limits >> bit & 1u) != 0;
}

const std::string& limitName(Limit limit)
{
    static const std::array<std::string, kLimitCount> names
        = {codec::utf8ToCp1251("стена"), codec::utf8ToCp1251("потолок"), codec::utf8ToCp1251("поворот влево"),
            codec::utf8ToCp1251("поворот вправо")};
    return names[static_cast<std::size_t>(limit)];
}

int sortRank(const Episode& e)
{
    switch (e.kind) {
    case EventKind::Overload:
        return 0;
    case EventKind::LimitEntered:
        return 1 + static_cast<int>(e.limit);
    case EventKind::LimitTripped:
        return 1 + kLimitCount + static_cast<int>(e.limit);
    case EventKind::Fault:
        break;
    }
    return kFaultChannel;
}

}  // namespace

std::string eventKindName(EventKind kind)
{
    switch (kind) {
    case EventKind::Overload:
        return codec::utf8ToCp1251("Перегрузка");
    case EventKind::LimitEntered:
        return codec::utf8ToCp1251("Вход в зону");
    case EventKind::LimitTripped:
        return codec::utf8ToCp1251("Срабатывание");
    case EventKind::Fault:
        break;
    }
    return codec::utf8ToCp1251("Отказ");
}

std::string episodeKindText(const Episode& e)
{
    switch (e.kind) {
    case EventKind::Overload:
        return eventKindName(e.kind);
    case EventKind::LimitEntered:
    case EventKind::LimitTripped:
        return eventKindName(e.kind) + ": " + limitName(e.limit);
    case EventKind::Fault:
        break;
    }
    return eventKindName(e.kind) + ' ' + e.faultCode;
}

bool limitEntered(const recorder::TFrameRecord& r, Limit limit)
{
    return limitBit(r, static_cast<int>(limit));
}

bool limitTripped(const recorder::TFrameRecord& r, Limit limit)
{
    return limitBit(r, 4 + static_cast<int>(limit));
}

std::vector<Episode> findEpisodes(const recorder::FrameStore& frames, int ringStart, int threshold)
{
    std::vector<Episode> done;
    std::array<std::optional<Episode>, kChannelCount> open;
    const auto close = [&](int channel) {
        if (open[static_cast<std::size_t>(channel)]) {
            done.push_back(std::move(*open[static_cast<std::size_t>(channel)]));
            open[static_cast<std::size_t>(channel)].reset();
        }
    };
    const int start = ((ringStart % kFrames) + kFrames) % kFrames;

    for (int p = 0; p < kFrames; ++p) {
        const int index = p + start < kFrames ? p + start : p + start - kFrames;
        const recorder::TFrameRecord& r = frames[static_cast<std::size_t>(index)];
        if (!r.isOk()) {
            for (int c = 0; c < kChannelCount; ++c)
                close(c);
            continue;
        }
        // Most frames meet no condition: skip the channels at once.
        const bool quiet = r.LoadPercent < threshold && r.Limits == 0 && r.FaultCode == kNoFault;
        for (int c = 0; c < kChannelCount; ++c) {
            std::optional<Episode>& e = open[static_cast<std::size_t>(c)];
            if (quiet || !meets(r, c, threshold)) {
                close(c);
                continue;
            }
            if (e && c == kFaultChannel && e->faultCode != faultCodeText(r))
                close(c);  // another code: another episode
            if (!e) {
                e = channelEpisode(c);
                e->firstPosition = p;
                e->firstRecord = index;
                e->peakPercent = r.LoadPercent;
                e->peakRecord = index;
                if (c == kFaultChannel)
                    e->faultCode = faultCodeText(r);
            } else if (r.LoadPercent > e->peakPercent) {
                e->peakPercent = r.LoadPercent;
                e->peakRecord = index;
            }
            e->lastPosition = p;
            e->lastRecord = index;
        }
    }
    for (int c = 0; c < kChannelCount; ++c)
        close(c);

    std::sort(done.begin(), done.end(), [](const Episode& a, const Episode& b) {
        if (a.firstPosition != b.firstPosition)
            return a.firstPosition < b.firstPosition;
        return sortRank(a) < sortRank(b);
    });
    return done;
}

std::array<int, kEventKindCount> countByKind(const std::vector<Episode>& episodes)
{
    std::array<int, kEventKindCount> counts {};
    for (const Episode& e : episodes)
        ++counts[static_cast<std::size_t>(e.kind)];
    return counts;
}

}  // namespace nkp::analysis
