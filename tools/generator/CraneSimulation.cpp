#include "generator/CraneSimulation.h"

#include <algorithm>
#include <cmath>

namespace nkp::generator {

std::uint64_t Rng::next()
{
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

int Rng::uniform(int lo, int hi)
{
    const auto range = static_cast<std::uint64_t>(hi - lo) + 1;
    return lo + static_cast<int>(next() % range);
}

namespace {

int daysInMonth(int year, int month)
{
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

// Safe working load at a radius: a typical truck crane chart, 25 t up to 4 m.
double capacityTonnes(double radiusM)
{
    return 25.0 * 4.0 / std::max(radiusM, 4.0);
}

// The state of the crane that carries over from one cycle to the next.
struct Crane {
    int boomLength = 1500;  // 0.01 m
    int azimuth = 0;        // 0.1 degree
    std::uint8_t reeving = 4, mode = 1;
};

}  // namespace

CalendarDay nextDay(CalendarDay d)
{
    if (++d.day > daysInMonth(d.year, d.month)) {
        d.day = 1;
        if (++d.month > 12) {
            d.month = 1;
            ++d.year;
        }
    }
    return d;
}

CalendarDay previousDays(CalendarDay d, int days)
{
    for (int i = 0; i < days; ++i) {
        if (--d.day < 1) {
            if (--d.month < 1) {
                d.month = 12;
                --d.year;
            }
            d.day = daysInMonth(d.year, d.month);
        }
    }
    return d;
}

SimulatedRing simulateRing(Rng& rng, int days, int year)
{
    constexpr int total = static_cast<int>(recorder::kFrameCount);
    days = std::clamp(days, 1, total);
    const int perDay = (total + days - 1) / days;
    // A working day of at most 15 hours from about 7:30 on.
    const int maxStep = std::clamp(54000 / perDay, 1, 14);
    const int minStep = std::max(1, maxStep / 3);

    SimulatedRing ring;
    ring.frames.reserve(recorder::kFrameCount);
    // The frames carry no year: the whole ring stays within one calendar year.
    ring.firstDay = CalendarDay {year, 1, 1};
    for (int skip = rng.uniform(0, std::max(0, 364 - days)); skip > 0; --skip)
        ring.firstDay = nextDay(ring.firstDay);
    CalendarDay day = ring.firstDay;
    int secondOfDay = 0;
    int framesToday = perDay;  // start a new day at the first frame
    Crane crane;

    while (static_cast<int>(ring.frames.size()) < total) {
        // One lifting cycle: approach, hook on, lift, slew, lower, release.
        if (rng.chance(15))
            crane.boomLength = rng.uniform(970, 3100);
        if (rng.chance(5)) {
            crane.reeving = static_cast<std::uint8_t>(rng.uniform(1, 4) * 2);
            crane.mode = static_cast<std::uint8_t>(rng.uniform(1, 3));
        }
        const int angle = rng.uniform(250, 780);  // 0.1 degree
        const double radiusM
            = crane.boomLength / 100.0 * std::cos(angle / 10.0 * 3.14159265358979 / 180.0) + 1.0;
        int peakPercent = rng.uniform(3, 80);
        if (rng.chance(8))
            peakPercent = rng.uniform(85, 99);
        if (rng.chance(3))
            peakPercent = rng.uniform(100, 125);
        const double peakMass = capacityTonnes(radiusM) * peakPercent / 100.0;
        const int slew = rng.uniform(-900, 900);
        const bool nearWall = rng.chance(4);
        const bool nearCeiling = rng.chance(3);
        const bool slewLimit = rng.chance(3);
        const int length = rng.uniform(12, 36);

        CycleSummary summary;
        summary.peakPercent = peakPercent;
        summary.peakMass = static_cast<int>(peakMass * 100);
        for (int k = 0; k < length && static_cast<int>(ring.frames.size()) < total; ++k) {
            if (framesToday >= perDay) {
                if (!ring.frames.empty())
                    day = nextDay(day);
                framesToday = 0;
                secondOfDay = 7 * 3600 + 1800 + rng.uniform(0, 1800);
            }
            ++framesToday;
            secondOfDay += rng.uniform(minStep, maxStep);
            ring.workedMinutes = static_cast<int>(ring.frames.size()) * (minStep + maxStep) / 120;

            // Load on the hook in the middle two thirds of the cycle.
            const bool loaded = k > length / 6 && k < length - length / 6;
            const double jitter = 1.0 + rng.uniform(-20, 20) / 1000.0;
            const double mass = loaded ? peakMass * jitter : 0.0;
            const int percent
                = loaded ? static_cast<int>(std::lround(peakPercent * jitter)) : rng.uniform(0, 2);
            const double phase = static_cast<double>(k) / length;
            crane.azimuth = (crane.azimuth + slew / length + 3600) % 3600;

            FrameFields f;
            f.hour = secondOfDay / 3600;
            f.minute = secondOfDay / 60 % 60;
            f.second = secondOfDay % 60;
            f.day = day.day;
            f.month = day.month;
            f.boomLength = static_cast<std::uint16_t>(crane.boomLength);
            f.boomAngle = static_cast<std::uint16_t>(std::clamp(angle + rng.uniform(-5, 5), 0, 1023));
            f.radius = static_cast<std::uint16_t>(std::lround(radiusM * 100 * (1.0 + 0.02 * phase)));
            f.loadMass = static_cast<std::uint16_t>(std::lround(mass * 100));
            f.pressure = static_cast<std::uint16_t>(std::lround((40.0 + percent * 1.6) * 10 * jitter));
            f.azimuth = static_cast<std::uint16_t>(crane.azimuth);
            f.loadPercent = static_cast<std::uint8_t>(std::clamp(percent, 0, 255));
            f.discreteInputs
                = static_cast<std::uint8_t>(0x01 | (loaded ? 0x04 : 0) | (k % 9 == 0 ? 0x10 : 0));
            f.outputRelays
                = static_cast<std::uint8_t>(0x01 | (percent >= 90 ? 0x02 : 0) | (percent >= 100 ? 0x04 : 0));
            f.reeving = crane.reeving;
            f.mode = crane.mode;
            const bool inZone = k > length / 3 && k < 2 * length / 3;
            if (inZone) {
                // Entered bits 0..3 (wall, ceiling, left, right), tripped bits 4..7.
                f.limits |= nearWall ? 0x01 : 0;
                f.limits |= nearCeiling ? 0x02 : 0;
                f.limits |= slewLimit ? (slew < 0 ? 0x04 : 0x08) : 0;
                if (k == length / 2 && (f.limits & 0x0F) != 0 && rng.chance(30))
                    f.limits |= static_cast<std::uint8_t>((f.limits & 0x0F) << 4);
            }
            if (rng.chance(1) && rng.chance(20))
                f.faultCode = static_cast<std::uint8_t>(rng.uniform(1, 4) << 4 | rng.uniform(0, 9));
            if (loaded && k == length / 2) {
                summary.at = f;
                summary.stamped = true;
            }
            ring.frames.push_back(f);
        }
        ring.cycles.push_back(summary);
    }
    return ring;
}

}  // namespace nkp::generator
