// A run is never lost to another computer's lock: the append waits and says
// so, past the limit the run waits in this computer's pending file, and the
// next append or start stores it exactly once.
#include "lockholder.h"
#include "recordstest.h"

#include "common/testutil.h"
#include "platform/clock.h"
#include "platform/durable.h"
#include "platform/errors.h"
#include "platform/sharedread.h"
#include "records/pendingresults.h"
#include "records/resultsfile.h"

#include <QDate>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTime>

using namespace vc;
using namespace std::chrono_literals;

namespace {

class PendingResultsTest : public test::CourseFolderTest {
protected:
    QString results() const { return resultsFilePath(folder()); }
    QString pending() const { return pendingResultsPath(folder() + QStringLiteral("local"), results()); }
    ResultDestination destination(qint16 student, std::chrono::milliseconds wait) const
    {
        ResultDestination d{folder(), QStringLiteral("12345"), student};
        d.lockWait = wait;
        d.pendingFile = pending();
        return d;
    }
    std::vector<ResultRecord> stored() const { return openResultsFile(folder()).readAll(); }
    FakeClock clock{QDate(2024, 6, 3), QTime(15, 30, 0)};
};

TEST_F(PendingResultsTest, WaitsForAnotherComputerAndSaysHowLong)
{
    test::writeBytes(results(), encodeResultRecord(test::makeRun(45000, 1, 1, 30)));
    auto holder = test::holdLockElsewhere(QStringLiteral(VC_LOCK_HOLDER), results(), 1500);
    std::vector<qint64> waits;
    ResultDestination d = destination(7, 10s);
    d.whileWaiting = [&](std::chrono::milliseconds waited) { waits.push_back(waited.count()); };
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(appendResultRecord(d, 2, 41, clock), StoredIn::ResultsFile);
    EXPECT_GE(timer.elapsed(), 1000);
    ASSERT_TRUE(holder->waitForFinished(10000));
    ASSERT_GE(waits.size(), 3u);
    EXPECT_TRUE(std::is_sorted(waits.begin(), waits.end()));
    EXPECT_GE(waits.back(), 1000);
    ASSERT_EQ(stored().size(), 2u);
    EXPECT_EQ(stored()[1].seconds, 41);
    EXPECT_FALSE(QFile::exists(pending()));
}

TEST_F(PendingResultsTest, PastTheLimitTheRunWaitsHereAndIsStoredOnceLater)
{
    test::writeBytes(results(), encodeResultRecord(test::makeRun(45000, 1, 1, 30)));
    auto holder = test::holdLockElsewhere(QStringLiteral(VC_LOCK_HOLDER), results(), 2500);
    EXPECT_EQ(appendResultRecord(destination(7, 300ms), 2, 41, clock), StoredIn::PendingFile);
    clock.advanceMs(60000);
    EXPECT_EQ(appendResultRecord(destination(8, 300ms), 3, 52, clock), StoredIn::PendingFile);
    EXPECT_EQ(stored().size(), 1u);
    EXPECT_EQ(readPendingRecords(pending()).size(), 2u);

    // Meanwhile the runs count for this computer's statistics.
    LoadedResults loaded;
    loaded.setPendingFile(pending());
    loadResults(folder(), loaded);
    EXPECT_EQ(loaded.recordCount(), 3);
    EXPECT_EQ(loaded.bestTime(2, 7), 41);
    EXPECT_EQ(loaded.bestTime(3, 8), 52);

    ASSERT_TRUE(holder->waitForFinished(10000));
    // The next append stores the waiting runs first, in their order.
    clock.advanceMs(60000);
    EXPECT_EQ(appendResultRecord(destination(9, 300ms), 4, 63, clock), StoredIn::ResultsFile);
    std::vector<qint32> seconds;
    for (const ResultRecord& r : stored())
        seconds.push_back(r.seconds);
    EXPECT_EQ(seconds, (std::vector<qint32>{30, 41, 52, 63}));
    EXPECT_FALSE(QFile::exists(pending()));

    // Nothing is left to store again, at the next start or the next append.
    EXPECT_EQ(deliverPendingRecords(results(), pending(), 300ms), 0);
    loadResults(folder(), loaded);
    EXPECT_EQ(loaded.recordCount(), 4);
}

TEST_F(PendingResultsTest, DeliveryCutShortByACrashStoresNothingTwice)
{
    const QByteArray a = encodeResultRecord(test::makeRun(45000, 1, 1, 30));
    const QByteArray b = encodeResultRecord(test::makeRun(45000, 2, 1, 31));
    const QByteArray c = encodeResultRecord(test::makeRun(45000, 3, 1, 32));
    // The crash came after a and b reached the results file, before the
    // pending file went; another computer has appended since.
    const QByteArray other = encodeResultRecord(test::makeRun(45001, 4, 1, 33));
    test::writeBytes(results(), a + b + other + other.left(10));
    addPendingRecord(pending(), a);
    addPendingRecord(pending(), b);
    addPendingRecord(pending(), c);
    EXPECT_EQ(deliverPendingRecords(results(), pending(), 300ms), 1);
    EXPECT_EQ(test::readBytes(results()), a + b + other + c);
    EXPECT_FALSE(QFile::exists(pending()));
}

TEST_F(PendingResultsTest, StartUpDeliveryLeavesTheRunsWaitingWhileTheFileIsLocked)
{
    addPendingRecord(pending(), encodeResultRecord(test::makeRun(45000, 2, 1, 31)));
    auto holder = test::holdLockElsewhere(QStringLiteral(VC_LOCK_HOLDER), results(), 1500);
    EXPECT_THROW(deliverPendingRecords(results(), pending(), 200ms), LockTimeout);
    EXPECT_EQ(readPendingRecords(pending()).size(), 1u);
    ASSERT_TRUE(holder->waitForFinished(10000));
    EXPECT_EQ(deliverPendingRecords(results(), pending(), 200ms), 1);
    EXPECT_EQ(stored().size(), 1u);
}

TEST_F(PendingResultsTest, WithoutAPendingFileAStuckLockIsStillAnError)
{
    auto holder = test::holdLockElsewhere(QStringLiteral(VC_LOCK_HOLDER), results(), 1500);
    ResultDestination d = destination(7, 200ms);
    d.pendingFile.clear();
    EXPECT_THROW(appendResultRecord(d, 2, 41, clock), LockTimeout);
    ASSERT_TRUE(holder->waitForFinished(10000));
}



// The same student on two computers, the same level, seconds and second of
// the day: two genuine runs. One waited here while the other was stored;
// delivery, which skips records already in the file, must not take the
// waiting one for the stored one.
TEST_F(PendingResultsTest, TwoRunsAlikeInEveryFieldAreBothStored)
{
    auto holder = test::holdLockElsewhere(QStringLiteral(VC_LOCK_HOLDER), results(), 1200);
    EXPECT_EQ(appendResultRecord(destination(7, 200ms), 2, 41, clock), StoredIn::PendingFile);
    ASSERT_TRUE(holder->waitForFinished(10000));
    ResultDestination otherComputer = destination(7, 1s);
    otherComputer.pendingFile.clear();
    EXPECT_EQ(appendResultRecord(otherComputer, 2, 41, clock), StoredIn::ResultsFile);
    EXPECT_EQ(deliverPendingRecords(results(), pending(), 1s), 1);
    const std::vector<ResultRecord> runs = stored();
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_NE(runs[0].reserved3, runs[1].reserved3);
    ResultRecord first = runs[0];
    first.reserved3 = runs[1].reserved3;
    EXPECT_EQ(first, runs[1]);
}

// The pending file's removal reaches the disk (its folder is synced) before
// delivery returns and the lock is released: a pending file that came back
// after a power cut would be stored again.
TEST_F(PendingResultsTest, RemovingThePendingFileIsMadeDurable)
{
    addPendingRecord(pending(), encodeResultRecord(test::makeRun(45000, 2, 1, 31)));
    QStringList synced;
    setFolderSyncObserver([&](const QString& folder) {
        // Only a sync after the removal counts.
        if (!QFile::exists(pending()))
            synced.push_back(folder);
    });
    EXPECT_EQ(deliverPendingRecords(results(), pending(), 1s), 1);
    setFolderSyncObserver({});
    EXPECT_TRUE(synced.contains(QFileInfo(pending()).absolutePath()));
}

// A read of the results file that fails or stops short while delivering
// must not be taken for "none of these runs is there yet": the runs keep
// waiting and nothing is stored twice.
TEST_F(PendingResultsTest, AFailedReadDuringDeliveryStoresNothing)
{
    const QByteArray a = encodeResultRecord(test::makeRun(45000, 1, 1, 30));
    test::writeBytes(results(), a);
    addPendingRecord(pending(), a);
    for (PreadFunction broken : std::initializer_list<PreadFunction>{
             [](int, void*, size_t, off_t) -> ssize_t { errno = EIO; return -1; },
             [](int, void*, size_t, off_t) -> ssize_t { return 0; }}) {
        setSharedPreadForTests(broken);
        EXPECT_THROW(deliverPendingRecords(results(), pending(), 1s), DataError);
        setSharedPreadForTests(nullptr);
        EXPECT_EQ(test::readBytes(results()), a);
        EXPECT_EQ(readPendingRecords(pending()).size(), 1u);
    }
    EXPECT_EQ(deliverPendingRecords(results(), pending(), 1s), 0);
    EXPECT_EQ(test::readBytes(results()), a);
}

} // namespace
