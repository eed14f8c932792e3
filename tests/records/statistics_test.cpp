#include "common/testutil.h"
#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/fieldlist.h"
#include "platform/lockedfile.h"
#include "records/statistics.h"
#include "recordstest.h"

#include <gtest/gtest.h>

namespace vc {
namespace {

using test::CourseFolderTest;
using test::encodeAll;
using test::makeRun;

constexpr double kToday = 45383;  // 2024-04-01

OptionalNumber number(const char* text)
{
    OptionalNumber n;
    n.text = QString::fromUtf8(text);
    parseNumber(n.text, &n.value);
    return n;
}

StandardsRow row(qint32 targetTime, float multiplier = 1)
{
    StandardsRow r;
    r.targetTime = targetTime;
    r.minimumTime = targetTime * 3 / 2;
    r.pointMultiplier = multiplier;
    return r;
}

TEST(RunPoints, TiersByTimeAgainstTheTarget)
{
    const StandardsRow thirty = row(30);
    const StandardsRow thirtyOne = row(31);
    struct Case {
        const StandardsRow& standards;
        qint32 seconds;
        int points;
    };
    const Case cases[] = {
        {thirty, 0, 20},   {thirty, 15, 20},    {thirty, 16, 10},  {thirty, 30, 10},   {thirty, 31, 5},
        {thirty, 59, 5},   {thirty, 60, 3},     {thirty, 149, 3},  {thirty, 150, 1},   {thirty, 299, 1},
        {thirty, 300, 0},  {thirty, 99998, 0},  {thirty, 99999, 0},
        // The first tier is the exact half: 15.5 for a target of 31.
        {thirtyOne, 15, 20}, {thirtyOne, 16, 10},
        // A huge target still gives nothing to a time-out.
        {row(50000), 99998, 0}, {row(50000), 99997, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "target " << c.standards.targetTime << ", " << c.seconds << " s");
        EXPECT_EQ(runPoints(c.standards, c.seconds), c.points);
    }
}

TEST(RunPoints, MultiplierThenIntegerPart)
{
    struct Case {
        float multiplier;
        qint32 seconds;  // against a target of 30
        int points;
    };
    const Case cases[] = {
        {1.5f, 31, 7},   // 7.5
        {1.5f, 20, 15},  // 10 × 1.5
        {0.7f, 20, 7},   // typed 0.7 is not 6.999…
        {1.1f, 60, 3},   // 3.3
        {1.15f, 10, 23},
        {2.0f, 10, 40},
        {0.0f, 10, 0},
        {1e30f, 10, std::numeric_limits<qint32>::max()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.multiplier << " × run of " << c.seconds << " s");
        EXPECT_EQ(runPoints(row(30, c.multiplier), c.seconds), c.points);
    }
    StandardsTable table;
    table.rows[1] = row(30, 2);
    EXPECT_EQ(runPoints(table, 1, 10), 40);
    EXPECT_EQ(runPoints(table, 0, 10), 0);    // level 0 and levels above 100 have no standards
    EXPECT_EQ(runPoints(table, 101, 10), 0);
}

class StatisticsTest : public CourseFolderTest {
protected:
    void write(const std::vector<ResultRecord>& records) { test::writeBytes(resultsFilePath(folder()), encodeAll(records)); }
    void compute() { computeStatistics(folder(), standards, clock, results, statistics); }
    ResultDestination student(qint16 number) const { return {folder(), QString(), number}; }

    FakeClock clock{QDate(2024, 4, 1), QTime(10, 0, 0)};
    StandardsTable standards;
    LoadedResults results;
    Statistics statistics;
};

TEST_F(StatisticsTest, PeriodsHoldTodayAndTheDaysBefore)
{
    struct Case {
        const char* period;
        int age;  // days before today
        bool counted;
    };
    const Case cases[] = {
        {"7", 0, true}, {"7", 6, true}, {"7", 7, false}, {"7", 30, false},
        {"1", 0, true}, {"1", 1, false},
        {"0", 0, false}, {"", 0, false},
        {"2.5", 2, true}, {"2.5", 3, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "period " << c.period << ", " << c.age << " days old");
        standards.rows[1] = row(30);
        standards.rows[1].judgePeriod = number(c.period);
        standards.rows[2] = row(30);
        standards.rows[2].banPeriod = number(c.period);
        write({makeRun(kToday - c.age, 5, 1, 20), makeRun(kToday - c.age, 5, 2, 20)});
        compute();
        const LevelFigures& judged = statistics.at(1, 5);
        EXPECT_EQ(judged.judgeRuns, c.counted ? 1 : 0);
        EXPECT_EQ(judged.judgePoints, c.counted ? 10 : 0);
        EXPECT_EQ(judged.banRuns, 0);
        const LevelFigures& banned = statistics.at(2, 5);
        EXPECT_EQ(banned.banRuns, c.counted ? 1 : 0);
        EXPECT_EQ(banned.banPoints, c.counted ? 10 : 0);
        EXPECT_EQ(banned.judgeRuns, 0);
        for (const LevelFigures* f : {&judged, &banned}) {
            EXPECT_EQ(f->validRuns, 1);
            EXPECT_EQ(f->totalPoints, 10);
            EXPECT_EQ(f->todayRuns, c.age == 0 ? 1.0f : 0.0f);
            EXPECT_EQ(f->todayPoints, c.age == 0 ? 10 : 0);
        }
    }
}

TEST_F(StatisticsTest, OnlyRunsBelow5000SecondsAreValidButAllEarnTheirPoints)
{
    standards.rows[3] = row(1000);
    standards.rows[3].judgePeriod = number("7");
    standards.rows[3].banPeriod = number("7");
    struct Case {
        qint32 seconds;
        bool valid;
        int points;
    };
    const Case cases[] = {{4999, true, 3}, {5000, false, 1}, {6000, false, 1}, {10000, false, 0}, {99999, false, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seconds);
        write({makeRun(kToday, 9, 3, c.seconds)});
        compute();
        const LevelFigures& f = statistics.at(3, 9);
        const int runs = c.valid ? 1 : 0;
        EXPECT_EQ(f.validRuns, runs);
        EXPECT_EQ(f.judgeRuns, runs);
        EXPECT_EQ(f.banRuns, runs);
        EXPECT_EQ(f.todayRuns, runs);
        EXPECT_EQ(f.totalPoints, c.points);
        EXPECT_EQ(f.judgePoints, c.points);
        EXPECT_EQ(f.banPoints, c.points);
        EXPECT_EQ(f.todayPoints, c.points);
    }
}

TEST_F(StatisticsTest, FiguresAddUpPerLevelAndStudentAndAreRebuiltEachPass)
{
    standards.rows[1] = row(30, 1.5f);
    standards.rows[1].judgePeriod = number("7");
    write({makeRun(kToday, 5, 1, 10), makeRun(kToday - 1, 5, 1, 31), makeRun(kToday - 10, 5, 1, 20),
           makeRun(kToday, 6, 1, 10), makeRun(kToday, 5, 2, 10)});
    compute();
    const LevelFigures& f = statistics.at(1, 5);
    EXPECT_EQ(f.validRuns, 3);
    EXPECT_EQ(f.totalPoints, 30 + 7 + 15);
    EXPECT_EQ(f.judgeRuns, 2);
    EXPECT_EQ(f.judgePoints, 30 + 7);
    EXPECT_EQ(f.todayRuns, 1);
    EXPECT_EQ(f.todayPoints, 30);
    EXPECT_EQ(statistics.at(1, 6).validRuns, 1);
    EXPECT_EQ(statistics.at(2, 5).validRuns, 1);
    EXPECT_EQ(statistics.at(2, 5).totalPoints, 0);  // level 2 has no target: no points
    EXPECT_EQ(statistics.at(0, 5).validRuns, 0);
    EXPECT_EQ(statistics.at(1, 5001).validRuns, 0);

    // The file changed between passes (a teacher deleted runs): nothing of the
    // old figures survives.
    write({makeRun(kToday, 6, 1, 10)});
    compute();
    EXPECT_EQ(statistics.at(1, 5).validRuns, 0);
    EXPECT_EQ(statistics.at(1, 5).totalPoints, 0);
    EXPECT_EQ(statistics.at(2, 5).validRuns, 0);
    EXPECT_EQ(statistics.at(1, 6).validRuns, 1);
    EXPECT_EQ(statistics.at(1, 6).todayPoints, 30);
    EXPECT_EQ(results.recordCount(), 1);
}

TEST_F(StatisticsTest, ClearedAndOverPractised)
{
    standards.rows[1] = row(30);
    standards.rows[1].clearPoints = 30;
    standards.rows[1].clearCount = 3;
    standards.rows[1].judgePeriod = number("7");
    standards.rows[1].banPeriod = number("7");
    struct Case {
        const char* name;
        int runs;           // today, 10 points each
        const char* banCount;
        const char* banPoints;
        bool cleared;
        bool overPractised;
    };
    const Case cases[] = {
        {"too few runs", 2, "3", "", false, false},
        {"enough runs and points", 3, "", "", true, false},
        {"ban count reached", 3, "3", "", true, true},
        {"ban count not reached", 3, "4", "0", true, false},
        {"ban points reached", 3, "", "30", true, true},
        {"ban points not reached", 3, "0", "31", true, false},
        {"both tests off", 50, "0", "", true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        standards.rows[1].banCount = number(c.banCount);
        standards.rows[1].banPoints = number(c.banPoints);
        write(std::vector<ResultRecord>(static_cast<size_t>(c.runs), makeRun(kToday, 4, 1, 20)));
        compute();
        EXPECT_EQ(isLevelCleared(standards, statistics, 1, 4), c.cleared);
        EXPECT_EQ(isOverPractised(standards, statistics, 1, 4), c.overPractised);
    }
    // Runs outside the judgement period clear nothing.
    write(std::vector<ResultRecord>(5, makeRun(kToday - 7, 4, 1, 20)));
    compute();
    EXPECT_FALSE(isLevelCleared(standards, statistics, 1, 4));
    EXPECT_FALSE(isLevelCleared(standards, statistics, 101, 4));
    EXPECT_FALSE(isOverPractised(standards, statistics, 0, 4));
}

TEST_F(StatisticsTest, RecordResultRaisesRecordFlagsAndStoresTheRun)
{
    standards.rows[1] = row(30);
    standards.rows[1].clearPoints = 20;
    standards.rows[1].clearCount = 2;
    standards.rows[1].judgePeriod = number("7");
    write({makeRun(kToday, 2, 1, 40)});
    compute();

    struct Step {
        qint16 student;
        qint32 seconds;
        bool personalBest;
        bool levelRecord;
    };
    const Step steps[] = {
        {1, kNoTime, false, false},  // a time-out never is a record
        {1, 60, true, false},        // first run: beats the initial 99999, not the level's 40
        {1, 61, false, false},
        {1, 35, true, true},
        {3, 35, true, false},        // equal is no record
        {2, 30, true, true},
    };
    qint64 stored = 1;
    for (const Step& s : steps) {
        SCOPED_TRACE(testing::Message() << "student " << s.student << ", " << s.seconds << " s");
        RunOutcomeFlags flags;
        recordResult(student(s.student), 1, s.seconds, clock, standards, statistics, results, flags);
        EXPECT_EQ(flags.personalBest, s.personalBest);
        EXPECT_EQ(flags.levelRecord, s.levelRecord);
        EXPECT_EQ(openResultsFile(folder()).recordCount(), ++stored);
    }
    EXPECT_EQ(results.bestTime(1, 1), 35);
    EXPECT_EQ(results.levelBestTime(1), 30);
    const std::vector<ResultRecord> last = openResultsFile(folder()).read(stored, 1);
    ASSERT_EQ(last.size(), 1u);
    ResultRecord expected = makeResultRecord(student(2), 1, 30, clock);
    expected.reserved3 = last[0].reserved3;  // the run's own random tag
    EXPECT_EQ(last[0], expected);

    // Flags an earlier run left up describe nothing about this one.
    RunOutcomeFlags flags{true, true, false};
    recordResult(student(1), 1, 500, clock, standards, statistics, results, flags);
    EXPECT_FALSE(flags.personalBest);
    EXPECT_FALSE(flags.levelRecord);
}

TEST_F(StatisticsTest, WasClearedBeforeUsesAllTimeFiguresOfThePreviousPass)
{
    standards.rows[1] = row(30);
    standards.rows[1].clearPoints = 20;
    standards.rows[1].clearCount = 2;
    standards.rows[1].judgePeriod = number("7");
    struct Case {
        const char* name;
        std::vector<ResultRecord> before;
        bool clearedBefore;
    };
    const Case cases[] = {
        {"no runs", {}, false},
        {"one run", {makeRun(kToday, 1, 1, 20)}, false},
        {"cleared long ago", {makeRun(kToday - 100, 1, 1, 20), makeRun(kToday - 90, 1, 1, 20)}, true},
        {"enough runs, too few points", {makeRun(kToday, 1, 1, 100), makeRun(kToday, 1, 1, 100)}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        write(c.before);
        compute();
        RunOutcomeFlags flags{false, false, !c.clearedBefore};
        recordResult(student(1), 1, 20, clock, standards, statistics, results, flags);
        EXPECT_EQ(flags.wasClearedBefore, c.clearedBefore);
    }
}

TEST_F(StatisticsTest, FailedAppendChangesNoFlagsOrBestTimes)
{
    standards.rows[1] = row(30);
    standards.rows[1].clearCount = 1;
    compute();
    ResultDestination impatient = student(1);
    impatient.lockWait = std::chrono::milliseconds(100);
    RunOutcomeFlags flags{false, false, true};
    {
        LockedFile otherComputer(resultsFilePath(folder()));
        EXPECT_THROW(recordResult(impatient, 1, 25, clock, standards, statistics, results, flags), DataError);
    }
    EXPECT_FALSE(flags.personalBest);
    EXPECT_FALSE(flags.levelRecord);
    EXPECT_TRUE(flags.wasClearedBefore);
    EXPECT_EQ(results.bestTime(1, 1), kNoTime);
    EXPECT_EQ(results.levelBestTime(1), kNoTime);
    EXPECT_EQ(openResultsFile(folder()).recordCount(), 0);

    // Once the other computer is done the same run is stored and flagged.
    recordResult(impatient, 1, 25, clock, standards, statistics, results, flags);
    EXPECT_TRUE(flags.personalBest);
    EXPECT_TRUE(flags.levelRecord);
    EXPECT_FALSE(flags.wasClearedBefore);
    EXPECT_EQ(results.bestTime(1, 1), 25);
    EXPECT_EQ(openResultsFile(folder()).recordCount(), 1);
}

} // namespace
} // namespace vc
