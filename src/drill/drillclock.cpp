#include "drillclock.h"

#include "platform/clock.h"

#include <cmath>
#include <limits>

namespace vc {

namespace {
constexpr double kSecondsPerDay = 86400.0;
}

qint64 roundHalfEven(double value)
{
    double whole = std::floor(value);
    const double fraction = value - whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0))
        whole += 1.0;
    return static_cast<qint64>(whole);
}

ClockReading readClock(const Clock& clock)
{
    for (;;) {
        const QDate before = clock.today();
        const double seconds = clock.secondsSinceMidnight();
        const QDate after = clock.today();
        if (before == after)
            return {static_cast<qint64>(dayNumber(before)), seconds};
    }
}

qint32 elapsedSecondsAt(float runStartTime, qint64 runStartDay, const ClockReading& now)
{
    const double elapsed = static_cast<double>(now.day - runStartDay) * kSecondsPerDay + now.seconds
                           - static_cast<double>(runStartTime);
    const qint64 whole = roundHalfEven(elapsed);
    if (whole < 0)
        return 0;
    if (whole > std::numeric_limits<qint32>::max())
        return std::numeric_limits<qint32>::max();
    return static_cast<qint32>(whole);
}

double barScaleFor(double frameWidth, qint32 timeLimit)
{
    return timeLimit > 0 ? frameWidth / timeLimit : 0.0;
}

int minutesSinceLogin(qint32 loginTime, double secondsSinceMidnight)
{
    // Rounded before wrapping: the login time itself is rounded, so a moment
    // after login the clock may still read a fraction of a second earlier.
    double since = roundHalfEven(secondsSinceMidnight - loginTime);
    if (since < 0)
        since += kSecondsPerDay;
    return static_cast<int>(since / 60);
}

int wholeMinutesSinceLogin(qint32 loginTime, double secondsSinceMidnight)
{
    double since = secondsSinceMidnight - loginTime;
    // The stored login time is rounded, so just after a login the clock can
    // read up to half a second before it: that is still minute 0, not a day.
    if (since < 0)
        since = since > -1 ? 0 : since + kSecondsPerDay;
    return static_cast<int>(since / 60);
}

} // namespace vc
