#include "platform/clock.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace vc;

TEST(Clock, DayNumbersCountFrom18991230)
{
    EXPECT_EQ(dayNumber(QDate(1899, 12, 30)), 0);
    EXPECT_EQ(dayNumber(QDate(1900, 1, 1)), 2);
    EXPECT_EQ(dayNumber(QDate(2024, 3, 15)), 45366);
    EXPECT_EQ(dateFromDayNumber(45366), QDate(2024, 3, 15));
    EXPECT_DOUBLE_EQ(dayFraction(QTime(12, 0, 0)), 0.5);
    EXPECT_EQ(timeFromDayFraction(dayFraction(QTime(23, 59, 59))), QTime(23, 59, 59));
    // Day numbers from damaged records are no dates, and no crash.
    for (double bad : {std::nan(""), HUGE_VAL, -HUGE_VAL, 1e300, -1e19})
        EXPECT_FALSE(dateFromDayNumber(bad).isValid()) << bad;
}

TEST(Clock, JapaneseEraDate)
{
    const struct { QDate date; const char16_t* text; } cases[] = {
        {QDate(2026, 12, 9), u"令和8年 12月 09日（水）"},
        {QDate(2019, 5, 1), u"令和1年 5月 01日（水）"},
        {QDate(2019, 4, 30), u"平成31年 4月 30日（火）"},
        {QDate(1989, 1, 7), u"昭和64年 1月 07日（土）"},
        {QDate(2024, 2, 4), u"令和6年 2月 04日（日）"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(japaneseEraDate(c.date), QString::fromUtf16(c.text));
}

TEST(Clock, FakeClockWrapsAtMidnight)
{
    FakeClock clock(QDate(2024, 3, 31), QTime(23, 59, 59));
    const quint32 ticks = clock.tickCount();
    clock.advanceMs(1500);
    EXPECT_EQ(clock.today(), QDate(2024, 4, 1));
    EXPECT_EQ(clock.timeOfDay(), QTime(0, 0, 0));
    EXPECT_DOUBLE_EQ(clock.secondsSinceMidnight(), 0.5);
    EXPECT_EQ(clock.tickCount() - ticks, 1500u);
}
