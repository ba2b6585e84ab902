#include "recorder/Frame.h"

namespace nkp::recorder {
namespace {

std::uint16_t word(const FrameBytes& f, std::size_t at)
{
    return static_cast<std::uint16_t>(f[at] | f[at + 1] << 8);
}

}  // namespace

FrameClock TFrameRecord::clock() const
{
    return frameClock(ClockBytes.data());
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

void decodeFrame(const FrameBytes& f, std::int32_t index, int year, TFrameRecord& r)
{
    r.Number = index;
    r.Status = FrameStatus::Ok;
    for (std::size_t i = 0; i < r.ClockBytes.size(); ++i)
        r.ClockBytes[i] = f[i];
    r.Year = static_cast<std::int16_t>(year);
    r.Moment = year == 0 ? std::nullopt : frameMoment(frameClock(f.data()), year);
    r.BoomLength = static_cast<float>(word(f, 5) * 0.01);
    r.BoomAngle = static_cast<float>((f[7] | (f[8] & 0x03) << 8) * 0.1);
    r.Pressure = static_cast<float>(word(f, 9) * 0.1);
    r.Azimuth = static_cast<float>(word(f, 11) * 0.1);
    r.Radius = static_cast<float>(word(f, 13) * 0.01);
    r.LoadMass = static_cast<float>(word(f, 15) * 0.01);
    r.DiscreteInputs = f[17];
    r.OutputRelays = f[18];
    r.ReevingMode = f[19];
    r.Limits = f[20];
    r.LoadPercent = FrameView(f).loadPercent();
    r.FaultCode = f[22];
}

}  // namespace nkp::recorder
