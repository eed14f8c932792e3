#include "common/testutil.h"
#include "platform/clock.h"
#include "platform/errors.h"
#include "records/logs.h"
#include "recordstest.h"

#include <QFile>
#include <gmock/gmock.h>

namespace vc {
namespace {

using test::CourseFolderTest;

class LogsTest : public CourseFolderTest {
protected:
    FakeClock clock{QDate(2024, 4, 1), QTime(9, 5, 7)};
};

TEST_F(LogsTest, AnswerLogLinesAreCp932WithCrLf)
{
    appendAnswerLog(folder(), 12, clock, QStringLiteral("p1_A"), QStringLiteral("りんご"), QStringLiteral("apple"),
                    kCorrectAnswerMark.toString());
    clock.set(QDate(2024, 4, 2), QTime(23, 59, 59));
    appendAnswerLog(folder(), 12, clock, QStringLiteral("p1_A"), QStringLiteral("りんご"), QStringLiteral("apple"),
                    QStringLiteral("ｽﾀｰﾄ"));

    EXPECT_EQ(answerLogPath(folder(), 12), file(QStringLiteral("結果12.csv")));
    const QByteArray expected = test::fromHex(
        // #2024-04-01#,#09:05:07#,"p1_A","りんご","apple","○"
        "23 32 30 32 34 2D 30 34 2D 30 31 23 2C 23 30 39 3A 30 35 3A 30 37 23 2C"
        "22 70 31 5F 41 22 2C 22 82 E8 82 F1 82 B2 22 2C 22 61 70 70 6C 65 22 2C 22 81 9B 22 0D 0A"
        // #2024-04-02#,#23:59:59#,"p1_A","りんご","apple","ｽﾀｰﾄ"
        "23 32 30 32 34 2D 30 34 2D 30 32 23 2C 23 32 33 3A 35 39 3A 35 39 23 2C"
        "22 70 31 5F 41 22 2C 22 82 E8 82 F1 82 B2 22 2C 22 61 70 70 6C 65 22 2C 22 BD C0 B0 C4 22 0D 0A");
    EXPECT_EQ(test::hex(test::readBytes(file(QStringLiteral("結果12.csv")))), test::hex(expected));
}

TEST_F(LogsTest, GiveUpLogHoldsOneDatePerLineAndCountsToday)
{
    EXPECT_EQ(giveUpLogPath(folder(), 7), file(QStringLiteral("ギブ7.csv")));
    // Counting creates the missing log, empty.
    EXPECT_EQ(countGiveUpsToday(folder(), 7, clock), 0);
    EXPECT_TRUE(QFile::exists(giveUpLogPath(folder(), 7)));
    EXPECT_EQ(test::readBytes(giveUpLogPath(folder(), 7)).size(), 0);

    clock.set(QDate(2024, 3, 31), QTime(23, 0, 0));
    appendGiveUp(folder(), 7, clock);
    clock.set(QDate(2024, 4, 1), QTime(8, 0, 0));
    appendGiveUp(folder(), 7, clock);
    appendGiveUp(folder(), 7, clock);
    EXPECT_EQ(test::readBytes(giveUpLogPath(folder(), 7)),
              QByteArray("#2024-03-31#\r\n#2024-04-01#\r\n#2024-04-01#\r\n"));
    EXPECT_EQ(countGiveUpsToday(folder(), 7, clock), 2);
    clock.set(QDate(2024, 4, 2), QTime(8, 0, 0));
    EXPECT_EQ(countGiveUpsToday(folder(), 7, clock), 0);
    EXPECT_EQ(countGiveUpsToday(folder(), 8, clock), 0);  // another student's log
}

TEST_F(LogsTest, DamagedGiveUpLogIsReportedByName)
{
    test::writeBytes(giveUpLogPath(folder(), 7), "#2024-04-01#\r\nabc\r\n");
    try {
        countGiveUpsToday(folder(), 7, clock);
        FAIL() << "no error";
    } catch (const DataError& e) {
        EXPECT_THAT(e.message().toStdString(), ::testing::HasSubstr("ギブ7.csv"));
    }
}

} // namespace
} // namespace vc
