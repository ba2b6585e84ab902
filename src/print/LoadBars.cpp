#include "print/LoadBars.h"

#include <algorithm>

namespace nkp::print {

int loadBarWidth(int position, int maximum)
{
    if (maximum < 1)
        return 0;
    const long long p = std::clamp(position, 0, maximum);
    return static_cast<int>(p * kLoadBarFullWidth / maximum);
}

LoadBarRects loadBarRects(double left, double top, int position, int maximum)
{
    return {QRectF(left, top, kLoadBarFrameWidth, kLoadBarHeight),
        QRectF(left, top, loadBarWidth(position, maximum), kLoadBarHeight)};
}

}  // namespace nkp::print
