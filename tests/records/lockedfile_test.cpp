#include "common/testutil.h"
#include "platform/errors.h"
#include "platform/lockedfile.h"
#include "records/resultsfile.h"
#include "recordstest.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <fcntl.h>
#include <gmock/gmock.h>
#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <memory>
#include <thread>

namespace vc {
namespace {

using namespace std::chrono_literals;
using test::CourseFolderTest;

class LockedFileTest : public CourseFolderTest {
protected:
    QString path() const { return resultsFilePath(folder()); }
    const QByteArray record = encodeResultRecord(test::makeRun(45383, 1, 1, 30));
};

TEST_F(LockedFileTest, AWriterHeldTooLongIsReportedAndTheFileLeftAlone)
{
    test::writeBytes(path(), record);
    {
        LockedFile other(path());
        QElapsedTimer timer;
        timer.start();
        try {
            appendFixedRecord(path(), record, 300ms);
            FAIL() << "appended through a held lock";
        } catch (const DataError& e) {
            EXPECT_THAT(e.message().toStdString(), ::testing::HasSubstr("成績累積データ.dat"));
            EXPECT_THAT(e.message().toStdString(), ::testing::HasSubstr("他のコンピューター"));
        }
        EXPECT_GE(timer.elapsed(), 300);
        EXPECT_EQ(test::readBytes(path()).size(), kResultRecordSize);
    }
    EXPECT_EQ(appendFixedRecord(path(), record, 300ms), 1);
    EXPECT_EQ(test::readBytes(path()).size(), 2 * kResultRecordSize);
}

TEST_F(LockedFileTest, LockOutlivesAnotherHandleOfTheSameFileBeingClosed)
{
    LockedFile held(path());
    {
        // A reader elsewhere in the program opens and closes the file; a
        // classic record lock would vanish here.
        QFile reader(path());
        ASSERT_TRUE(reader.open(QIODevice::ReadOnly));
        reader.close();
    }
    EXPECT_THROW(LockedFile(path(), 50ms), DataError);
}

// Writers lock one byte far beyond the data: the records themselves stay
// unlocked (a file server that enforces locks would refuse every other
// reader), while a program locking the whole file the classic way and a
// writer of ours still exclude each other, in either order.
TEST_F(LockedFileTest, WritersLockNoDataButExcludeWholeFileLockers)
{
    test::writeBytes(path(), record + record);
    QFile other(path());
    ASSERT_TRUE(other.open(QIODevice::ReadWrite));
    const int fd = static_cast<int>(other.handle());
    {
        LockedFile held(path());
        struct flock probe {};
        probe.l_type = F_WRLCK;
        probe.l_whence = SEEK_SET;
        probe.l_start = 0;
        probe.l_len = qint64(1) << 40;  // every byte a results file could ever hold
        ASSERT_EQ(::fcntl(fd, F_OFD_GETLK, &probe), 0);
        EXPECT_EQ(probe.l_type, F_UNLCK);
        struct flock whole {};
        whole.l_type = F_WRLCK;
        whole.l_whence = SEEK_SET;
        EXPECT_NE(::fcntl(fd, F_SETLK, &whole), 0);
        EXPECT_EQ(held.readExactly(kResultRecordSize, kResultRecordSize), record);
    }
    struct flock whole {};
    whole.l_type = F_WRLCK;
    whole.l_whence = SEEK_SET;
    ASSERT_EQ(::fcntl(fd, F_SETLK, &whole), 0);
    EXPECT_THROW(LockedFile(path(), 50ms), LockTimeout);
    whole.l_type = F_UNLCK;
    ASSERT_EQ(::fcntl(fd, F_SETLK, &whole), 0);
    EXPECT_NO_THROW(LockedFile(path(), 50ms));
}

// A run the student was told is stored survives a power cut: on a local disk
// too, the append's data is synced after its last write and before the
// unlock lets another writer in. Watched in the system calls of a real
// append process.
TEST_F(LockedFileTest, AnAppendIsDurableBeforeItsUnlock)
{
    QProcess strace;
    strace.setProcessChannelMode(QProcess::MergedChannels);
    // LeakSanitizer cannot run under ptrace (sanitizer builds).
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const QString asan = environment.value(QStringLiteral("ASAN_OPTIONS"));
    environment.insert(QStringLiteral("ASAN_OPTIONS"), (asan.isEmpty() ? QString() : asan + u':') + QStringLiteral("detect_leaks=0"));
    strace.setProcessEnvironment(environment);
    strace.start(QStringLiteral("strace"), {QStringLiteral("-f"), QStringLiteral("-e"), QStringLiteral("trace=pwrite64,fdatasync,fsync,fcntl"),
                                            QStringLiteral(VC_APPEND_CHILD), folder(), QStringLiteral("5"), QStringLiteral("2"), QStringLiteral("0")});
    ASSERT_TRUE(strace.waitForFinished(60000));
    ASSERT_EQ(strace.exitCode(), 0) << strace.readAll().toStdString();
    QStringList steps;
    for (const QByteArray& line : strace.readAll().split('\n')) {
        if (line.contains("F_OFD_SETLK") && line.contains("F_WRLCK"))
            steps << QStringLiteral("lock");
        else if (line.contains("F_OFD_SETLK") && line.contains("F_UNLCK"))
            steps << QStringLiteral("unlock");
        else if (line.contains("pwrite64("))
            steps << QStringLiteral("write");
        else if (line.contains("fdatasync(") || line.contains("fsync("))
            steps << QStringLiteral("sync");
    }
    const QStringList oneRun{QStringLiteral("lock"), QStringLiteral("write"), QStringLiteral("sync"), QStringLiteral("unlock")};
    EXPECT_EQ(steps, oneRun + oneRun);
    EXPECT_EQ(test::readBytes(path()).size(), 2 * kResultRecordSize);
}

TEST_F(LockedFileTest, AppendWaitsForAShortHolderThenLandsAfterItsRecord)
{
    auto holder = std::make_unique<LockedFile>(path());
    std::thread release([&] {
        std::this_thread::sleep_for(150ms);
        holder->writeAt(0, record);
        holder.reset();
    });
    QElapsedTimer timer;
    timer.start();
    const QByteArray second = encodeResultRecord(test::makeRun(45383, 2, 1, 40));
    const qint64 number = appendFixedRecord(path(), second, 5000ms);
    const qint64 waited = timer.elapsed();
    release.join();
    EXPECT_GE(waited, 100);
    EXPECT_EQ(number, 1);
    EXPECT_EQ(test::readBytes(path()), record + second);
}

TEST_F(LockedFileTest, ConcurrentProcessesLeaveEveryRecordWhole)
{
    constexpr int kProcesses = 8;
    constexpr int kPerProcess = 500;
    const qint64 start = QDateTime::currentMSecsSinceEpoch() + 1500;
    std::vector<std::unique_ptr<QProcess>> children;
    for (int p = 0; p < kProcesses; ++p) {
        auto child = std::make_unique<QProcess>();
        child->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child->start(QStringLiteral(VC_APPEND_CHILD),
                     {folder(), QString::number(100 + p), QString::number(kPerProcess), QString::number(start)});
        ASSERT_TRUE(child->waitForStarted(10000));
        children.push_back(std::move(child));
    }
    for (auto& child : children) {
        ASSERT_TRUE(child->waitForFinished(120000));
        EXPECT_EQ(child->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(child->exitCode(), 0);
    }

    const QByteArray bytes = test::readBytes(path());
    ASSERT_EQ(bytes.size(), kProcesses * kPerProcess * kResultRecordSize);
    std::array<char, 5> race{};
    ASSERT_TRUE(schoolCodeField(QStringLiteral("RACE"), &race));
    const ResultRecord blank;
    std::map<int, int> nextSeconds;  // per child, the seconds its next record must carry
    std::set<std::string> tags;
    int switches = 0;
    qint16 previous = 0;
    for (qsizetype at = 0; at < bytes.size(); at += kResultRecordSize) {
        const ResultRecord r = decodeResultRecord(bytes.constData() + at);
        switches += at > 0 && r.studentNumber != previous;
        previous = r.studentNumber;
        SCOPED_TRACE(at / kResultRecordSize);
        ASSERT_GE(r.studentNumber, 100);
        ASSERT_LT(r.studentNumber, 100 + kProcesses);
        ASSERT_EQ(r.level, 3);
        ASSERT_EQ(r.seconds, nextSeconds[r.studentNumber]++);
        ASSERT_GT(r.runDate, 40000);
        ASSERT_GE(r.runTime, 0);
        ASSERT_LT(r.runTime, 1);
        ASSERT_EQ(r.schoolCode, race);
        ASSERT_EQ(r.reserved1, blank.reserved1);
        ASSERT_EQ(r.reserved2, blank.reserved2);
        // Every run carries a tag of its own: no two runs are equal to the byte.
        ASSERT_TRUE(std::all_of(r.reserved3.begin(), r.reserved3.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)); }));
        ASSERT_TRUE(tags.insert(std::string(r.reserved3.data(), 5)).second);
    }
    // Children that ran one after another would prove nothing about the lock.
    EXPECT_GT(switches, kProcesses - 1);
    ASSERT_EQ(nextSeconds.size(), static_cast<size_t>(kProcesses));
    for (const auto& [student, count] : nextSeconds)
        EXPECT_EQ(count, kPerProcess) << student;
}

} // namespace
} // namespace vc
