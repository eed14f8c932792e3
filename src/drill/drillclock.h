#pragma once
#include <QtGlobal>

namespace vc {

class Clock;

// The nearest whole number, halves going to the even neighbour (2.5 → 2, 3.5 → 4, −0.5 → 0).
qint64 roundHalfEven(double value);

// One reading of the calendar and the time of day that belong together.
struct ClockReading {
    qint64 day = 0;       // days since 1899-12-30
    double seconds = 0;   // seconds since midnight, with fractions
};
// Reads the date on both sides of the time of day, so a reading taken right at
// midnight never pairs one day's date with the next day's time.
ClockReading readClock(const Clock& clock);

// Whole seconds from the run's start to `now`, rounded halves to even. The
// days between the two readings count in full, so a run across midnight gets
// its true length; a clock set back before the start gives 0, never a
// negative time.
qint32 elapsedSecondsAt(float runStartTime, qint64 runStartDay, const ClockReading& now);

// The run times out after five times the level's minimumTime.
inline constexpr qint32 timeLimitFor(qint32 minimumTime) { return 5 * minimumTime; }

// Width units of the time bar per second: the frame stands for the whole time
// limit. A level without a time limit gets no bar (0).
double barScaleFor(double frameWidth, qint32 timeLimit);

// Whole minutes since the login: the seconds since the login, rounded halves
// to even, integer-divided by 60. The login time is a time of day; a login
// before midnight still counts forward into the next day.
int minutesSinceLogin(qint32 loginTime, double secondsSinceMidnight);
// The level screen's count: whole minutes since the login, truncated (59.5 s
// is still minute 0), also counting forward across midnight.
int wholeMinutesSinceLogin(qint32 loginTime, double secondsSinceMidnight);

} // namespace vc
