#pragma once
#include <QDate>
#include <QString>
#include <QTime>

namespace vc {

// The time source of the program, injected so tests can drive the calendar and
// the drill's clock.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDate today() const = 0;
    virtual QTime timeOfDay() const = 0;            // whole seconds
    virtual double secondsSinceMidnight() const = 0; // with fractions
    virtual quint32 tickCount() const = 0;           // milliseconds, wraps
};

class SystemClock : public Clock {
public:
    QDate today() const override;
    QTime timeOfDay() const override;
    double secondsSinceMidnight() const override;
    quint32 tickCount() const override;
};

// A clock that stands still until a test moves it.
class FakeClock : public Clock {
public:
    FakeClock(QDate date = QDate(2024, 4, 1), QTime time = QTime(10, 0, 0)) : date_(date), msecs_(time.msecsSinceStartOfDay()) {}
    QDate today() const override { return date_; }
    QTime timeOfDay() const override { return QTime::fromMSecsSinceStartOfDay(static_cast<int>(msecs_ / 1000 * 1000)); }
    double secondsSinceMidnight() const override { return msecs_ / 1000.0; }
    quint32 tickCount() const override { return ticks_; }
    void set(QDate date, QTime time) { date_ = date; msecs_ = time.msecsSinceStartOfDay(); }
    // Moves date, time of day and tick count together; the time of day wraps at midnight.
    void advanceMs(qint64 ms);

private:
    QDate date_;
    qint64 msecs_;
    quint32 ticks_ = 1000000;
};

// Dates and times as the files store them: day numbers counted from 1899-12-30,
// times of day as fractions of a day.
double dayNumber(const QDate& date);
QDate dateFromDayNumber(double day);
double dayFraction(const QTime& time);
QTime timeFromDayFraction(double fraction);

// The date in the Japanese era form, e.g. "令和8年 12月 09日（水）".
QString japaneseEraDate(const QDate& date);

} // namespace vc
