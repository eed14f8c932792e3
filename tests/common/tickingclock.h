#pragma once
#include "platform/clock.h"

#include <QElapsedTimer>

namespace vc::test {

// A fake calendar whose tick count runs in real time, so waits built on the
// tick counter (the drill's pause before the result) end in a test.
class TickingClock : public FakeClock {
public:
    using FakeClock::FakeClock;
    quint32 tickCount() const override { return static_cast<quint32>(elapsed_.elapsed()); }

private:
    QElapsedTimer elapsed_ = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
};

} // namespace vc::test
