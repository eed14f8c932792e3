#include "common/testutil.h"
#include "platform/clock.h"
#include "platform/random.h"
#include "records/resultsfile.h"
#include "recordstest.h"

#include <QFile>
#include <gtest/gtest.h>

namespace vc {
namespace {

using test::CourseFolderTest;
using test::encodeAll;
using test::makeRun;

constexpr double kToday = 45383;  // 2024-04-01, the fake clock's date

class ResultsFileTest : public CourseFolderTest {
protected:
    QString path() const { return resultsFilePath(folder()); }
    void write(const std::vector<ResultRecord>& records) { test::writeBytes(path(), encodeAll(records)); }
    ResultDestination student(qint16 number) const
    {
        ResultDestination d{folder(), QStringLiteral("12345"), number};
        d.tagSource = &tags;  // the same tag for the record stored and the one expected
        return d;
    }
    mutable ScriptedRandom tags{{0.5}};
    FakeClock clock{QDate(2024, 4, 1), QTime(10, 0, 0)};
    LoadedResults loaded;
};

TEST_F(ResultsFileTest, MissingFileLoadsEmptyAndTheFirstAppendCreatesIt)
{
    loadResults(folder(), loaded);
    EXPECT_EQ(loaded.recordCount(), 0);
    for (int level : {1, 50, 100}) {
        EXPECT_EQ(loaded.levelBestTime(level), kNoTime);
        EXPECT_EQ(loaded.bestTime(level, 1), kNoTime);
    }
    EXPECT_FALSE(QFile::exists(path()));

    appendResultRecord(student(12), 7, 85, clock);
    const QByteArray bytes = test::readBytes(path());
    ASSERT_EQ(bytes.size(), kResultRecordSize);
    EXPECT_EQ(decodeResultRecord(bytes.constData()), makeResultRecord(student(12), 7, 85, clock));
}

TEST_F(ResultsFileTest, IncompleteTailIsIgnoredThenOverwrittenByTheNextAppend)
{
    const std::vector<ResultRecord> two{makeRun(kToday, 1, 1, 30), makeRun(kToday, 2, 1, 40)};
    test::writeBytes(path(), encodeAll(two) + QByteArray(17, '\x7F'));

    EXPECT_EQ(openResultsFile(folder()).recordCount(), 2);
    loadResults(folder(), loaded);
    EXPECT_EQ(loaded.recordCount(), 2);

    appendResultRecord(student(3), 1, 50, clock);
    const QByteArray bytes = test::readBytes(path());
    ASSERT_EQ(bytes.size(), 3 * kResultRecordSize);
    EXPECT_EQ(bytes.left(2 * kResultRecordSize), encodeAll(two));
    EXPECT_EQ(decodeResultRecord(bytes.constData() + 2 * kResultRecordSize), makeResultRecord(student(3), 1, 50, clock));
}

TEST_F(ResultsFileTest, LoadsTheNewest20000Records)
{
    std::vector<ResultRecord> records;
    for (int i = 0; i < kLoadedRecordLimit + 5; ++i)
        records.push_back(makeRun(kToday, static_cast<qint16>(1 + i % 5000), static_cast<qint16>(1 + i % 99), i));
    write(records);

    loadResults(folder(), loaded);
    ASSERT_EQ(loaded.recordCount(), kLoadedRecordLimit);
    EXPECT_EQ(loaded.records().front().seconds, 5);
    EXPECT_EQ(loaded.records().back().seconds, kLoadedRecordLimit + 4);
    // Record 1 (student 1, level 1, 0 seconds, the pair's only run) lies before the window.
    EXPECT_EQ(loaded.bestTime(1, 1), kNoTime);
    EXPECT_EQ(loaded.bestTime(6, 6), 5);
}

TEST_F(ResultsFileTest, RecordsOutsideTheTablesOrUnusedSlotsJoinNoList)
{
    struct Case {
        const char* name;
        ResultRecord record;
        bool listed;
    };
    const Case cases[] = {
        {"ordinary", makeRun(kToday, 5, 2, 60), true},
        {"level 100, student 5000", makeRun(kToday, 5000, 100, 60), true},
        {"level 0", makeRun(kToday, 5, 0, 60), false},
        {"student 0", makeRun(kToday, 0, 2, 60), false},
        {"negative date", makeRun(-1, 6, 2, 60), false},
        {"level above 100", makeRun(kToday, 5, 101, 60), false},
        {"negative level", makeRun(kToday, 5, -3, 60), false},
        {"student above 5000", makeRun(kToday, 5001, 2, 60), false},
        {"negative student", makeRun(kToday, -7, 2, 60), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        write({c.record});
        loadResults(folder(), loaded);
        ASSERT_EQ(loaded.recordCount(), c.listed ? 1 : 0);
        if (c.listed) {
            EXPECT_EQ(loaded.records()[0].studentNumber, c.record.studentNumber);
        }
    }
    // A stored run with a broken date still is the student's best time.
    write({makeRun(-1, 6, 2, 60)});
    loadResults(folder(), loaded);
    EXPECT_EQ(loaded.bestTime(2, 6), 60);
}

TEST_F(ResultsFileTest, BestTimes)
{
    write({
        makeRun(kToday, 1, 1, kNoTime),  // a time-out alone is no best time
        makeRun(kToday, 2, 1, 50),
        makeRun(kToday, 2, 1, kNoTime),  // never raises or lowers the best
        makeRun(kToday, 2, 1, 45),
        makeRun(kToday, 2, 1, 47),
        makeRun(kToday, 1000, 2, 80),
        makeRun(kToday, 1001, 2, 20),    // above 1000: no part in the level's best
        makeRun(kToday, 1001, 3, 20),
    });
    loadResults(folder(), loaded);
    EXPECT_EQ(loaded.bestTime(1, 1), kNoTime);
    EXPECT_EQ(loaded.bestTime(1, 2), 45);
    EXPECT_EQ(loaded.bestTime(2, 1001), 20);
    EXPECT_EQ(loaded.levelBestTime(1), 45);
    EXPECT_EQ(loaded.levelBestTime(2), 80);
    EXPECT_EQ(loaded.levelBestTime(3), kNoTime);
    EXPECT_EQ(loaded.levelBestTime(4), kNoTime);
}

TEST_F(ResultsFileTest, EveryLoadStartsFromScratch)
{
    write({makeRun(kToday, 2, 1, 50), makeRun(kToday, 3, 4, 10)});
    loadResults(folder(), loaded);
    loaded.setBestTime(5, 9, 33);
    loaded.setLevelBestTime(5, 33);
    ASSERT_EQ(loaded.bestTime(5, 9), 33);

    write({makeRun(kToday, 3, 4, 70)});
    loadResults(folder(), loaded);
    EXPECT_EQ(loaded.recordCount(), 1);
    EXPECT_EQ(loaded.bestTime(1, 2), kNoTime);
    EXPECT_EQ(loaded.bestTime(4, 3), 70);
    EXPECT_EQ(loaded.bestTime(5, 9), kNoTime);
    EXPECT_EQ(loaded.levelBestTime(1), kNoTime);
    EXPECT_EQ(loaded.levelBestTime(5), kNoTime);
}

TEST_F(ResultsFileTest, ReadsRecordsByNumber)
{
    write({makeRun(kToday, 1, 1, 10), makeRun(kToday, 2, 1, 20), makeRun(kToday, 3, 1, 30)});
    ResultsFile file = openResultsFile(folder());
    ASSERT_EQ(file.recordCount(), 3);
    const std::vector<ResultRecord> middle = file.read(2, 5);
    ASSERT_EQ(middle.size(), 2u);
    EXPECT_EQ(middle[0].seconds, 20);
    EXPECT_EQ(middle[1].seconds, 30);
    EXPECT_EQ(file.readAll().size(), 3u);
    EXPECT_TRUE(file.read(4, 1).empty());
}

} // namespace
} // namespace vc
