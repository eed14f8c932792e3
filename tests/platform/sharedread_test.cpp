// Reads of a file other computers write: a read refused over another
// program's lock is tried again for a while, any other failure at once.
#include "platform/sharedread.h"

#include <QTemporaryFile>
#include <cerrno>
#include <chrono>
#include <gtest/gtest.h>

namespace vc {
namespace {

using namespace std::chrono_literals;

// A file server that refuses the first `refusals` reads with `error`, then
// reads the real file.
struct Refusing {
    static inline int refusals = 0;
    static inline int error = 0;
    static inline int calls = 0;
    static ssize_t read(int fd, void* buffer, size_t count, off_t offset)
    {
        ++calls;
        if (refusals > 0) {
            --refusals;
            errno = error;
            return -1;
        }
        return ::pread(fd, buffer, count, offset);
    }
};

TEST(SharedRead, RefusalsThatEndInTimeAreWaitedOutOthersReportedAtOnce)
{
    QTemporaryFile file;
    ASSERT_TRUE(file.open());
    file.write("0123456789");
    file.flush();
    const int fd = static_cast<int>(file.handle());

    struct Case {
        int error;
        int refusals;
        std::chrono::milliseconds patience;
        qint64 expected;  // bytes read, or -1
    };
    const Case cases[] = {
        {EACCES, 3, 2000ms, 6},   // SMB: another handle's lock over the range, released soon
        {EAGAIN, 2, 2000ms, 6},
        {EACCES, 1000, 80ms, -1}, // a lock that stays: reported after the patience
        {EIO, 1, 2000ms, -1},     // not a refusal: reported at once
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error);
        Refusing::refusals = c.refusals;
        Refusing::error = c.error;
        Refusing::calls = 0;
        char buffer[6] = {};
        const auto started = std::chrono::steady_clock::now();
        const qint64 got = readShared(fd, buffer, 6, 2, c.patience, &Refusing::read);
        const auto took = std::chrono::steady_clock::now() - started;
        EXPECT_EQ(got, c.expected);
        if (got > 0) {
            EXPECT_EQ(QByteArray(buffer, 6), QByteArray("234567"));
        } else {
            EXPECT_EQ(errno, c.error);
        }
        if (c.error == EIO) {
            EXPECT_EQ(Refusing::calls, 1);
        } else if (c.expected < 0) {
            EXPECT_GE(took, c.patience);
        }
    }
}

TEST(SharedRead, ReadsUpToTheEndOfTheFile)
{
    QTemporaryFile file;
    ASSERT_TRUE(file.open());
    file.write("abc");
    file.flush();
    char buffer[10] = {};
    EXPECT_EQ(readShared(static_cast<int>(file.handle()), buffer, 10, 1), 2);
    EXPECT_EQ(QByteArray(buffer, 2), QByteArray("bc"));
}

} // namespace
} // namespace vc
