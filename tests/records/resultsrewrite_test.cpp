// Deleting and changing records of the shared results file: the locked,
// journalled rewrite, its recovery after a crash at every step, and appends
// of other processes running meanwhile.
#include "common/testutil.h"
#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/random.h"
#include "records/pendingresults.h"
#include "records/resultsfile.h"
#include "records/resultsrewrite.h"
#include "recordstest.h"

#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <gmock/gmock.h>
#include <map>
#include <set>
#include <memory>
#include <thread>

namespace vc {
namespace {

using namespace std::chrono_literals;
using test::CourseFolderTest;

constexpr qint16 kDoomed = 900;  // seeded records the deleting process removes
constexpr qint16 kKept = 901;    // seeded records nobody removes

QByteArray recordBytes(const QByteArray& file, qint64 number)
{
    return file.mid((number - 1) * kResultRecordSize, kResultRecordSize);
}

class ResultsRewriteTest : public CourseFolderTest {
protected:
    QString path() const { return resultsFilePath(folder()); }
    QString journal() const { return rewriteJournalPath(path()); }
    // Records whose seconds are their seed numbers 0, 1, 2, …, alternately
    // of the doomed and the kept student.
    QByteArray seed(int count)
    {
        std::vector<ResultRecord> records;
        for (int i = 0; i < count; ++i)
            records.push_back(test::makeRun(45383 + i, i % 2 == 0 ? kDoomed : kKept, 1 + i % 5, i));
        const QByteArray bytes = test::encodeAll(records);
        test::writeBytes(path(), bytes);
        return bytes;
    }
    // The child of the concurrent tests (see rewrite_child.cpp).
    std::unique_ptr<QProcess> start(const QString& mode, qint16 student, int count, int extra, qint64 at)
    {
        auto child = std::make_unique<QProcess>();
        child->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child->start(QStringLiteral(VC_REWRITE_CHILD), {mode, folder(), QString::number(student), QString::number(count),
                                                        QString::number(extra), QString::number(at)});
        EXPECT_TRUE(child->waitForStarted(10000));
        return child;
    }

    // What must hold after any mix of appends and (possibly interrupted,
    // then recovered) deletions: no incomplete record, every kept seed and
    // every append exactly once and in order, and of the doomed seeds a
    // run of the last ones in order, between `minLeft` and `maxLeft` of them.
    void expectIntact(int seeds, const std::map<qint16, int>& appended, int minLeft, int maxLeft)
    {
        const QByteArray bytes = test::readBytes(path());
        ASSERT_EQ(bytes.size() % kResultRecordSize, 0);
        EXPECT_FALSE(QFile::exists(journal()));
        EXPECT_FALSE(QFile::exists(rewriteWorkPath(journal())));
        EXPECT_TRUE(setAsideCopies(path()).isEmpty());
        std::vector<int> kept, doomed;
        std::map<qint16, int> next;
        for (qsizetype at = 0; at < bytes.size(); at += kResultRecordSize) {
            const ResultRecord r = decodeResultRecord(bytes.constData() + at);
            SCOPED_TRACE(at / kResultRecordSize + 1);
            if (r.studentNumber == kKept || r.studentNumber == kDoomed) {
                ASSERT_EQ(r.runDate, 45383 + r.seconds);
                (r.studentNumber == kKept ? kept : doomed).push_back(r.seconds);
                continue;
            }
            ASSERT_TRUE(appended.contains(r.studentNumber)) << r.studentNumber;
            ASSERT_EQ(r.level, 3);
            ASSERT_EQ(r.seconds, next[r.studentNumber]++);
        }
        for (const auto& [student, count] : appended)
            EXPECT_EQ(next[student], count) << student;
        std::vector<int> allKept;
        for (int i = 1; i < seeds; i += 2)
            allKept.push_back(i);
        EXPECT_EQ(kept, allKept);
        const int doomedSeeds = (seeds + 1) / 2;
        ASSERT_GE(static_cast<int>(doomed.size()), minLeft);
        ASSERT_LE(static_cast<int>(doomed.size()), maxLeft);
        for (size_t i = 0; i < doomed.size(); ++i)
            EXPECT_EQ(doomed[i], 2 * (doomedSeeds - static_cast<int>(doomed.size()) + static_cast<int>(i)));
    }
};

TEST_F(ResultsRewriteTest, ScratchCopyIsNamedAfterTheResultsFile)
{
    EXPECT_EQ(rewriteJournalPath(path()), folder() + QStringLiteral("成績累積データtemp.dat"));
}

TEST_F(ResultsRewriteTest, DeletingRecordThreeOfFiveKeepsTheOthersInOrder)
{
    const QByteArray before = seed(5);
    ASSERT_EQ(deleteResultRecord(path(), 3, recordBytes(before, 3)), RewriteOutcome::Done);
    EXPECT_EQ(test::readBytes(path()), before.left(2 * kResultRecordSize) + before.mid(3 * kResultRecordSize));
    EXPECT_FALSE(QFile::exists(journal()));
    // The last record, and the only one.
    const QByteArray four = test::readBytes(path());
    ASSERT_EQ(deleteResultRecord(path(), 4, recordBytes(four, 4)), RewriteOutcome::Done);
    EXPECT_EQ(test::readBytes(path()), four.left(3 * kResultRecordSize));
    seed(1);
    ASSERT_EQ(deleteResultRecord(path(), 1, recordBytes(before, 1)), RewriteOutcome::Done);
    EXPECT_EQ(test::readBytes(path()).size(), 0);
}

TEST_F(ResultsRewriteTest, DeletionDropsAnIncompleteTail)
{
    const QByteArray before = seed(3);
    test::writeBytes(path(), before + QByteArray(20, 'x'));
    ASSERT_EQ(deleteResultRecord(path(), 2, recordBytes(before, 2)), RewriteOutcome::Done);
    EXPECT_EQ(test::readBytes(path()), before.left(kResultRecordSize) + before.mid(2 * kResultRecordSize));
}

TEST_F(ResultsRewriteTest, ChangingARecordTouchesOnlyItsBytes)
{
    const QByteArray before = seed(4);
    QByteArray changed = recordBytes(before, 2);
    changed[16] = 7;  // the student number's low byte
    ASSERT_EQ(replaceResultRecord(path(), 2, recordBytes(before, 2), changed), RewriteOutcome::Done);
    QByteArray expected = before;
    expected.replace(kResultRecordSize, kResultRecordSize, changed);
    EXPECT_EQ(test::readBytes(path()), expected);
    EXPECT_FALSE(QFile::exists(journal()));
}

TEST_F(ResultsRewriteTest, ARecordThatNoLongerHoldsTheListedRunIsLeftAlone)
{
    const QByteArray before = seed(5);
    const QByteArray listed = recordBytes(before, 3);
    // Another computer deleted record 1 meanwhile: record 3 is now the former 4.
    ASSERT_EQ(deleteResultRecord(path(), 1, recordBytes(before, 1)), RewriteOutcome::Done);
    const QByteArray now = test::readBytes(path());
    EXPECT_EQ(deleteResultRecord(path(), 3, listed), RewriteOutcome::Stale);
    EXPECT_EQ(replaceResultRecord(path(), 3, listed, recordBytes(before, 5)), RewriteOutcome::Stale);
    // A number beyond the end, as after deletions that shortened the file.
    EXPECT_EQ(deleteResultRecord(path(), 5, recordBytes(before, 5)), RewriteOutcome::Stale);
    EXPECT_EQ(test::readBytes(path()), now);
    EXPECT_FALSE(QFile::exists(journal()));
}

TEST_F(ResultsRewriteTest, TheLockIsHeldForTheWholeRewrite)
{
    const QByteArray before = seed(6);
    RewriteOptions options;
    bool refused = true;
    options.afterStep = [&](RewriteStep) {
        // An append from anywhere must wait while any step runs.
        try {
            LockedFile other(path(), 1ms);
            refused = false;
        } catch (const DataError&) {
        }
    };
    ASSERT_EQ(deleteResultRecord(path(), 2, recordBytes(before, 2), options), RewriteOutcome::Done);
    EXPECT_TRUE(refused);
    const QByteArray now = test::readBytes(path());
    ASSERT_EQ(replaceResultRecord(path(), 2, recordBytes(now, 2), recordBytes(now, 1), options), RewriteOutcome::Done);
    EXPECT_TRUE(refused);
}

// A scratch copy that does not read as ours may be the only full copy of
// the results, left by another program's deletion: it is renamed aside with
// its bytes, never deleted, and the results file is left as it is. Our own
// copy never completed (under its work name) is simply dropped.
TEST_F(ResultsRewriteTest, AScratchCopyNotOursIsSetAsideAndOneNeverCompletedDropped)
{
    const QByteArray before = seed(4);
    const std::vector<QByteArray> foreign{QByteArray(), QByteArray(30, 'j'), before.left(100), before + QByteArray(64, '\0')};
    for (const QByteArray& junk : foreign) {
        test::writeBytes(journal(), junk);
        EXPECT_EQ(recoverResultsFile(path()), Recovery::SetAside);
        EXPECT_EQ(test::readBytes(path()), before);
        EXPECT_FALSE(QFile::exists(journal()));
    }
    const QStringList aside = setAsideCopies(path());
    std::multiset<QByteArray> kept;
    for (const QString& name : aside) {
        EXPECT_THAT(name.toStdString(), ::testing::HasSubstr("成績累積データtemp-退避-"));
        kept.insert(test::readBytes(name));
    }
    EXPECT_EQ(kept, std::multiset<QByteArray>(foreign.begin(), foreign.end()));
    test::writeBytes(rewriteWorkPath(journal()), before.left(50));
    EXPECT_EQ(recoverResultsFile(path()), Recovery::Dropped);
    EXPECT_FALSE(QFile::exists(rewriteWorkPath(journal())));
    EXPECT_EQ(test::readBytes(path()), before);
    EXPECT_EQ(recoverResultsFile(path()), Recovery::Nothing);
    EXPECT_EQ(setAsideCopies(path()).size(), aside.size());
}

// A complete scratch copy that no longer describes the file (an old copy
// brought back by a restore or a folder sync after the deletion finished and
// runs were stored) is not replayed: replaying it would delete those runs.
TEST_F(ResultsRewriteTest, AStaleScratchCopyIsSetAsideNotReplayed)
{
    const QByteArray before = seed(5);
    QByteArray savedCopy;
    RewriteOptions options;
    options.afterStep = [&](RewriteStep s) {
        if (s == RewriteStep::JournalWritten)
            savedCopy = test::readBytes(journal());
    };
    ASSERT_EQ(deleteResultRecord(path(), 2, recordBytes(before, 2), options), RewriteOutcome::Done);
    ASSERT_FALSE(savedCopy.isEmpty());
    FakeClock clock;
    appendResultRecord({folder(), QStringLiteral("RACE"), 300}, 3, 7, clock);
    const QByteArray stored = test::readBytes(path());
    ASSERT_EQ(stored.size(), 5 * kResultRecordSize);

    test::writeBytes(journal(), savedCopy);  // the old copy comes back
    appendResultRecord({folder(), QStringLiteral("RACE"), 301}, 3, 8, clock);
    const QByteArray after = test::readBytes(path());
    EXPECT_EQ(after.left(stored.size()), stored);
    EXPECT_EQ(decodeResultRecord(after.constData() + stored.size()).studentNumber, 301);
    EXPECT_EQ(setAsideCopies(path()).size(), 1);
    EXPECT_FALSE(QFile::exists(journal()));

    // A change's copy whose record now holds something else entirely.
    QByteArray changed = recordBytes(after, 1);
    changed[20] = 77;
    QByteArray changeCopy;
    options.afterStep = [&](RewriteStep s) {
        if (s == RewriteStep::JournalWritten)
            changeCopy = test::readBytes(journal());
    };
    ASSERT_EQ(replaceResultRecord(path(), 1, recordBytes(after, 1), changed, options), RewriteOutcome::Done);
    ASSERT_EQ(deleteResultRecord(path(), 1, changed), RewriteOutcome::Done);
    const QByteArray now = test::readBytes(path());
    test::writeBytes(journal(), changeCopy);
    EXPECT_EQ(recoverResultsFile(path()), Recovery::SetAside);
    EXPECT_EQ(test::readBytes(path()), now);
}

// The process dies (kill -9) right after each step of a deletion and of a
// change; a later append, which finishes the rewrite under the lock before
// writing, finds the deletion done or not begun, and lands after it.
TEST_F(ResultsRewriteTest, AnAppendAfterACrashFinishesTheRewriteFirst)
{
    FakeClock clock;
    for (int stop = static_cast<int>(RewriteStep::JournalPartlyWritten); stop <= static_cast<int>(RewriteStep::JournalRemoved); ++stop) {
        SCOPED_TRACE(stop);
        for (qint64 number : {1, 3, 7}) {
            SCOPED_TRACE(number);
            const QByteArray before = seed(7);
            auto child = start(QStringLiteral("delete"), kDoomed, (static_cast<int>(number) + 1) / 2, stop, 0);
            ASSERT_TRUE(child->waitForFinished(30000));
            EXPECT_EQ(child->exitStatus(), QProcess::CrashExit);
            ScriptedRandom tags{{0.25}};
            ResultDestination destination{folder(), QStringLiteral("RACE"), 300};
            destination.tagSource = &tags;
            appendResultRecord(destination, 3, 0, clock);
            const QByteArray appended = encodeResultRecord(makeResultRecord(destination, 3, 0, clock));
            // Deleting doomed records 1, 3, …, `number` one after another.
            QByteArray deleted;
            for (int i = 0; i < 7; ++i)
                if (i % 2 == 1 || i + 1 > number)
                    deleted += recordBytes(before, i + 1);
            QByteArray notYet = deleted;
            notYet.insert((number - 1) / 2 * kResultRecordSize, recordBytes(before, number));
            const QByteArray expected = (stop == static_cast<int>(RewriteStep::JournalPartlyWritten) ? notYet : deleted) + appended;
            EXPECT_EQ(test::hex(test::readBytes(path())), test::hex(expected));
            EXPECT_FALSE(QFile::exists(journal()));
        }
    }
}

// Runs that waited on this computer are delivered at start-up under the lock:
// after a deletion cut short, behind the finished deletion.
TEST_F(ResultsRewriteTest, PendingRunsAreDeliveredAfterTheInterruptedDeletionIsFinished)
{
    const QByteArray before = seed(5);
    auto child = start(QStringLiteral("delete"), kDoomed, 2, static_cast<int>(RewriteStep::RecordsPartlyWritten), 0);
    ASSERT_TRUE(child->waitForFinished(30000));
    ASSERT_EQ(child->exitStatus(), QProcess::CrashExit);
    const QString pending = file(QStringLiteral("未送信.dat"));
    const QByteArray waiting = encodeResultRecord(test::makeRun(45400, 300, 3, 0));
    addPendingRecord(pending, waiting);
    EXPECT_EQ(deliverPendingRecords(path(), pending, 1000ms), 1);
    // Doomed records 1 and 3 deleted, then the waiting run.
    EXPECT_EQ(test::readBytes(path()), recordBytes(before, 2) + recordBytes(before, 4) + recordBytes(before, 5) + waiting);
    EXPECT_FALSE(QFile::exists(journal()));
}

TEST_F(ResultsRewriteTest, AChangeCutByACrashIsFinishedByTheNextHolder)
{
    const QByteArray before = seed(3);
    QByteArray changed = recordBytes(before, 2);
    changed[20] = 99;  // seconds
    changed[16] = 5;   // student
    for (int stop = static_cast<int>(RewriteStep::JournalPartlyWritten); stop <= static_cast<int>(RewriteStep::JournalRemoved); ++stop) {
        SCOPED_TRACE(stop);
        test::writeBytes(path(), before);
        RewriteOptions options;
        // Stopping the work after the step, as a crash would; the lock goes with it.
        options.afterStep = [stop](RewriteStep s) {
            if (static_cast<int>(s) == stop)
                throw std::runtime_error("stop");
        };
        EXPECT_THROW(replaceResultRecord(path(), 2, recordBytes(before, 2), changed, options), std::runtime_error);
        if (stop == static_cast<int>(RewriteStep::RecordsPartlyWritten)) {
            // A power cut may leave the record torn anywhere between old and new.
            QByteArray torn = before;
            torn.replace(kResultRecordSize, kResultRecordSize, changed.left(30) + recordBytes(before, 2).mid(30));
            test::writeBytes(path(), torn);
        }
        recoverResultsFile(path());
        QByteArray expected = before;
        if (stop != static_cast<int>(RewriteStep::JournalPartlyWritten))
            expected.replace(kResultRecordSize, kResultRecordSize, changed);
        EXPECT_EQ(test::readBytes(path()), expected);
        EXPECT_FALSE(QFile::exists(journal()));
    }
}

// Four computers append runs while a fifth deletes records one by one.
TEST_F(ResultsRewriteTest, AppendsOfOtherProcessesSurviveDeletions)
{
    constexpr int kSeeds = 120;
    constexpr int kAppenders = 4;
    constexpr int kPerAppender = 150;
    seed(kSeeds);
    const qint64 at = QDateTime::currentMSecsSinceEpoch() + 800;
    std::vector<std::unique_ptr<QProcess>> children;
    std::map<qint16, int> appended;
    for (int p = 0; p < kAppenders; ++p) {
        children.push_back(start(QStringLiteral("append"), static_cast<qint16>(100 + p), kPerAppender, 1, at));
        appended[static_cast<qint16>(100 + p)] = kPerAppender;
    }
    children.push_back(start(QStringLiteral("delete"), kDoomed, kSeeds, 0, at));
    for (auto& child : children) {
        ASSERT_TRUE(child->waitForFinished(120000));
        EXPECT_EQ(child->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(child->exitCode(), 0);
    }
    expectIntact(kSeeds, appended, 0, 0);
}

// A deleting process is killed at every step of a deletion, and at random
// moments, while two others append; recovery (here: the program's start-up)
// leaves every record but the deleted ones, each exactly once.
TEST_F(ResultsRewriteTest, KilledDeletionsLoseNothingButTheDeletedRecords)
{
    constexpr int kSeeds = 40;
    constexpr int kPerAppender = 40;
    const std::map<qint16, int> appended{{100, kPerAppender}, {101, kPerAppender}};
    auto run = [&](int deletions, int stop, int killAfterMs) {
        seed(kSeeds);
        const qint64 at = QDateTime::currentMSecsSinceEpoch() + 300;
        std::vector<std::unique_ptr<QProcess>> children;
        children.push_back(start(QStringLiteral("append"), 100, kPerAppender, 2, at));
        children.push_back(start(QStringLiteral("append"), 101, kPerAppender, 2, at));
        auto deleter = start(QStringLiteral("delete"), kDoomed, deletions, stop, at);
        if (killAfterMs >= 0) {
            std::this_thread::sleep_until(std::chrono::system_clock::time_point(std::chrono::milliseconds(at + killAfterMs)));
            deleter->kill();
        }
        ASSERT_TRUE(deleter->waitForFinished(60000));
        for (auto& child : children) {
            ASSERT_TRUE(child->waitForFinished(60000));
            EXPECT_EQ(child->exitCode(), 0);
        }
        recoverResultsFile(path());
    };
    for (int stop = static_cast<int>(RewriteStep::JournalPartlyWritten); stop <= static_cast<int>(RewriteStep::JournalRemoved); ++stop) {
        for (int deletions : {1, 3}) {
            SCOPED_TRACE(testing::Message() << "step " << stop << ", deletion " << deletions);
            run(deletions, stop, -1);
            // The last deletion counts from the moment its scratch copy is complete.
            const int left = kSeeds / 2 - deletions + (stop == static_cast<int>(RewriteStep::JournalPartlyWritten) ? 1 : 0);
            expectIntact(kSeeds, appended, left, left);
        }
    }
    QRandomGenerator random(20261210);
    for (int round = 0; round < 12; ++round) {
        const int killAfter = random.bounded(60);
        SCOPED_TRACE(testing::Message() << "killed after " << killAfter << " ms");
        run(kSeeds / 2, 0, killAfter);
        expectIntact(kSeeds, appended, 0, kSeeds / 2);
    }
}

} // namespace
} // namespace vc
