#pragma once

#include <QDateTime>

namespace nkp::device {

// Local time and waiting, injectable so that tests run on a virtual clock.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    virtual void sleepMs(int milliseconds) = 0;
};

class SystemClock : public Clock {
public:
    QDateTime now() const override;
    void sleepMs(int milliseconds) override;
};

}  // namespace nkp::device
