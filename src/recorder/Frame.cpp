#include "recorder/Frame.h"

namespace nkp::recorder {

FrameClock TFrameRecord::clock() const
{
    return frameClock(ClockBytes.data());
}

std::optional<base::DateTime> TFrameRecord::moment() const
{
    if (Year == 0)
        return std::nullopt;
    return frameMoment(clock(), Year);
}

int frameYear(std::uint8_t yearByte)
{
    const unsigned tens = yearByte >> 4;
    const unsigned units = yearByte & 0x0Fu;
    return 2000 + static_cast<int>((tens > 9 ? 0 : tens) * 10 + (units > 9 ? 0 : units));
}

std::optional<base::DateTime> frameMoment(const FrameClock& c, int year)
{
    if (!c.real(year))
        return std::nullopt;
    return base::DateTime {year, c.month.value, c.day.value, c.hour.value, c.minute.value, c.second.value};
}

void clearRecord(TFrameRecord& r, std::int32_t index)
{
    r = TFrameRecord {};
    r.Number = index;
}

}  // namespace nkp::recorder
