#pragma once

#include "base/DateTime.h"

// The one clock of the program: the local time that goes into file names,
// documents and identification blocks, and the waiting of the reading
// protocol. Injected wherever a time is written or waited for, so that tests
// run on a set moment and never wait.
namespace nkp::base {

class Clock {
public:
    virtual ~Clock() = default;
    // The local date and time, to the second.
    virtual DateTime now() const = 0;
    // Waits this long; a set clock moves on instead.
    virtual void sleepMs(int milliseconds) = 0;
};

// The system's local time and real waiting. Shared: it keeps no state.
Clock& systemClock();

// A clock that shows a set moment and moves on only when told or slept on;
// nothing waits.
class SettableClock : public Clock {
public:
    explicit SettableClock(const DateTime& moment = {2000, 1, 1, 0, 0, 0})
        : start_(moment)
    {
    }
    // The set moment plus the whole seconds of `ms`.
    DateTime now() const override;
    void sleepMs(int milliseconds) override;
    // Shows `moment` from now on.
    void set(const DateTime& moment)
    {
        start_ = moment;
        ms = 0;
    }

    long long ms = 0;  // milliseconds since the set moment

private:
    DateTime start_;
};

}  // namespace nkp::base
