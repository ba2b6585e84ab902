#include "analysis/FrameFieldTexts.h"

#include "analysis/NumberFormat.h"

namespace nkp::analysis {

FrameNumberTexts frameNumberTexts(const recorder::TFrameRecord& r, char sep)
{
    return {
        formatFixed(r.BoomAngle, 1, sep),
        formatFixed(r.BoomLength, 2, sep),
        formatFixed(r.Radius, 2, sep),
        formatFixed(r.Pressure, 1, sep),
        formatFixed(r.LoadMass, 2, sep),
        formatFixed(r.Azimuth, 1, sep),
    };
}

}  // namespace nkp::analysis
