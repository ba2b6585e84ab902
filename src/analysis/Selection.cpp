#include "analysis/Selection.h"

#include "analysis/FrameFieldTexts.h"

#include <algorithm>
#include <limits>

namespace nkp::analysis {
namespace {

constexpr long long kLastPosition = static_cast<long long>(recorder::kFrameCount) - 1;

// Empties the list; the caller appends from the first slot on.
void emptyOrder(FrameView& s)
{
    s.FrameOrder.assign(recorder::kFrameCount, -1);
}

int finish(FrameView& s, int count)
{
    s.selectionCountText = std::to_string(count);
    return count;
}

template <typename Keep> int selectFrames(FrameView& s, Keep keep)
{
    emptyOrder(s);
    int count = 0;
    const int scanned = std::clamp(s.loadedFrames, 0, static_cast<int>(recorder::kFrameCount));
    for (int p = 0; p < scanned; ++p) {
        const recorder::TFrameRecord& r = s.recordAt(p);
        if (!r.isBroken() && keep(r))
            s.FrameOrder[static_cast<std::size_t>(count++)] = p;
    }
    return finish(s, count);
}

}  // namespace

int selectByLoad(FrameView& state, long long threshold)
{
    return selectFrames(
        state, [threshold](const recorder::TFrameRecord& r) { return r.LoadPercent >= threshold; });
}

int selectByRange(FrameView& state, long long from, long long to)
{
    if (to < from)
        return -1;  // refused: the list stays as it was
    emptyOrder(state);
    int count = 0;
    if (from <= kLastPosition) {
        const long long last = std::min(to, kLastPosition);
        for (long long p = std::max(from, 0LL); p <= last; ++p)
            state.FrameOrder[static_cast<std::size_t>(count++)] = static_cast<int>(p);
    }
    return finish(state, count);
}

int selectByDate(FrameView& state, const std::string& dateText)
{
    return selectFrames(
        state, [&dateText](const recorder::TFrameRecord& r) { return frameDateText(r) == dateText; });
}

std::optional<long long> parseEditNumber(std::string_view text)
{
    if (text.empty())
        return std::nullopt;
    long long value = 0;
    constexpr long long kMax = std::numeric_limits<long long>::max();
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        const int digit = c - '0';
        value = value > (kMax - digit) / 10 ? kMax : value * 10 + digit;
    }
    return value;
}

}  // namespace nkp::analysis
