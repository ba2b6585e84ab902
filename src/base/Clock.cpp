#include "base/Clock.h"

#include <chrono>
#include <ctime>
#include <thread>

namespace nkp::base {
namespace {

class SystemClock final : public Clock {
public:
    DateTime now() const override
    {
        const std::time_t t = std::time(nullptr);
        std::tm local {};
        localtime_r(&t, &local);
        return {
            local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
    }
    void sleepMs(int milliseconds) override
    {
        if (milliseconds > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
};

}  // namespace

Clock& systemClock()
{
    static SystemClock clock;
    return clock;
}

DateTime SettableClock::now() const
{
    // Whole seconds passed, rounded down as a wall clock shows them.
    const long long seconds = ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000);
    return addSeconds(start_, seconds);
}

void SettableClock::sleepMs(int milliseconds)
{
    if (milliseconds > 0)
        ms += milliseconds;
}

}  // namespace nkp::base
