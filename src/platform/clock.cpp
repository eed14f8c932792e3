#include "clock.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <cmath>

namespace vc {
namespace {
const QDate kDayZero(1899, 12, 30);
}

QDate SystemClock::today() const { return QDate::currentDate(); }

QTime SystemClock::timeOfDay() const
{
    const QTime t = QTime::currentTime();
    return QTime(t.hour(), t.minute(), t.second());
}

double SystemClock::secondsSinceMidnight() const
{
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

quint32 SystemClock::tickCount() const
{
    static QElapsedTimer started = [] { QElapsedTimer t; t.start(); return t; }();
    return static_cast<quint32>(started.elapsed());
}

void FakeClock::advanceMs(qint64 ms)
{
    ticks_ += static_cast<quint32>(ms);
    msecs_ += ms;
    constexpr qint64 day = 86400000;
    while (msecs_ >= day) {
        msecs_ -= day;
        date_ = date_.addDays(1);
    }
}

double dayNumber(const QDate& date) { return static_cast<double>(kDayZero.daysTo(date)); }

QDate dateFromDayNumber(double day)
{
    // A damaged record may hold any double: beyond a few million years (or
    // NaN) there is no date, and the conversion to a whole number would be
    // undefined.
    if (!std::isfinite(day) || std::fabs(day) > 1e9)
        return QDate();
    return kDayZero.addDays(static_cast<qint64>(std::floor(day)));
}

double dayFraction(const QTime& time)
{
    return (time.hour() * 3600 + time.minute() * 60 + time.second()) / 86400.0;
}

QTime timeFromDayFraction(double fraction)
{
    const double f = fraction - std::floor(fraction);
    int secs = static_cast<int>(std::lround(f * 86400.0));
    if (secs >= 86400)
        secs = 86399;
    return QTime(0, 0).addSecs(secs);
}

QString japaneseEraDate(const QDate& date)
{
    struct Era { QDate start; const char16_t* name; };
    static const Era eras[] = {
        {QDate(2019, 5, 1), u"令和"},
        {QDate(1989, 1, 8), u"平成"},
        {QDate(1926, 12, 25), u"昭和"},
        {QDate(1912, 7, 30), u"大正"},
        {QDate(1868, 1, 25), u"明治"},
    };
    static const char16_t* weekdays[] = {u"月", u"火", u"水", u"木", u"金", u"土", u"日"};
    QString era = QStringLiteral("西暦");
    int year = date.year();
    for (const Era& e : eras) {
        if (date >= e.start) {
            era = QString::fromUtf16(e.name);
            year = date.year() - e.start.year() + 1;
            break;
        }
    }
    return QStringLiteral("%1%2年 %3月 %4日（%5）")
        .arg(era)
        .arg(year)
        .arg(date.month())
        .arg(date.day(), 2, 10, QLatin1Char('0'))
        .arg(QString::fromUtf16(weekdays[date.dayOfWeek() - 1]));
}

} // namespace vc
