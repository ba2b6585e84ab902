#include "print/AppendixSeries.h"

#include <algorithm>

namespace nkp::print {

AppendixSeries appendixSeries(const screen::MainState& state)
{
    const int frameCount = static_cast<int>(state.frames.size());
    const int count = std::clamp(state.loadedFrames, 0, frameCount);
    // A ring start of 11000 (newest frame last in the file) means no wrap.
    const int ringStart = frameCount > 0 ? ((state.RingStart % frameCount) + frameCount) % frameCount : 0;

    AppendixSeries s;
    for (auto* v : {&s.x, &s.limit, &s.load, &s.mass, &s.boom, &s.radius})
        v->reserve(static_cast<std::size_t>(count));
    for (int c = 0; c < count; ++c) {
        const int index = c >= frameCount - ringStart ? ringStart + c - frameCount : ringStart + c;
        const recorder::TFrameRecord& r = state.frames[static_cast<std::size_t>(index)];
        const bool ok = r.isOk();
        s.x.push_back(c);
        s.limit.push_back(100);
        s.load.push_back(ok ? r.LoadPercent : 0);
        s.mass.push_back(ok ? r.LoadMass : 0);
        s.boom.push_back(ok ? r.BoomLength : 0);
        s.radius.push_back(ok ? r.Radius : 0);
    }
    return s;
}

}  // namespace nkp::print
