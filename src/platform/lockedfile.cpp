#include "lockedfile.h"

#include "errors.h"
#include "sharedread.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/vfs.h>
#include <thread>
#include <unistd.h>

namespace vc {
namespace {

struct flock writerLock(short type)
{
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = static_cast<off_t>(kWriterLockOffset);
    lock.l_len = 1;
    lock.l_pid = 0;  // required by open-file-description locks
    return lock;
}

[[noreturn]] void fail(const QString& path, const QString& problem)
{
    throw DataError(fileMessage(path, problem));
}

bool isSmbShare(int fd)
{
    struct statfs info {};
    if (fstatfs(fd, &info) != 0)
        return false;
    switch (static_cast<unsigned long>(info.f_type)) {
    case 0x517BUL:      // SMB
    case 0xFF534D42UL:  // CIFS
    case 0xFE534D42UL:  // SMB2
        return true;
    default:
        return false;
    }
}

} // namespace

LockedFile::LockedFile(const QString& path, std::chrono::milliseconds wait, const LockWaitCallback& whileWaiting,
                       bool create)
    : path_(path)
{
    const QByteArray native = QFile::encodeName(path);
    do {
        fd_ = ::open(native.constData(), O_RDWR | O_CLOEXEC | (create ? O_CREAT : 0), 0666);
    } while (fd_ < 0 && errno == EINTR);
    if (fd_ < 0)
        fail(path_, QStringLiteral("を開けません。"));

    // Polled rather than blocking, so a computer that stays locked (or a lock
    // the server never hands back) is reported instead of hanging the drill.
    const auto started = std::chrono::steady_clock::now();
    const auto deadline = started + wait;
    auto nextReport = started;
    auto pause = std::chrono::microseconds(200);
    for (;;) {
        struct flock lock = writerLock(F_WRLCK);
        if (::fcntl(fd_, F_OFD_SETLK, &lock) == 0)
            break;
        const int error = errno;
        if (error != EAGAIN && error != EACCES && error != EINTR) {
            ::close(fd_);
            fd_ = -1;
            fail(path_, QStringLiteral("をロックできません。"));
        }
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) {
            ::close(fd_);
            fd_ = -1;
            throw LockTimeout(fileMessage(path_, QStringLiteral("は他のコンピューターが書き込み中のため、書き込めませんでした。"
                                                                "しばらく待ってから、もう一度やり直してください。")));
        }
        if (whileWaiting && now >= nextReport) {
            try {
                whileWaiting(std::chrono::duration_cast<std::chrono::milliseconds>(now - started));
            } catch (...) {
                ::close(fd_);
                fd_ = -1;
                throw;
            }
            nextReport = now + std::chrono::milliseconds(250);
        }
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::microseconds(10000));
    }
    smbShare_ = isSmbShare(fd_);
}

LockedFile::~LockedFile()
{
    close();
}

void LockedFile::close()
{
    if (fd_ < 0)
        return;
    struct flock unlock = writerLock(F_UNLCK);
    ::fcntl(fd_, F_OFD_SETLK, &unlock);
    ::close(fd_);
    fd_ = -1;
}

qint64 LockedFile::size() const
{
    const off_t end = fd_ < 0 ? -1 : ::lseek(fd_, 0, SEEK_END);
    if (end < 0)
        fail(path_, QStringLiteral("の大きさを調べられません。"));
    return smbShare_ ? lengthByReading(end) : static_cast<qint64>(end);
}

// Reads without a read lease go to the server and stop at its end of file,
// whatever length the client believes. Looks back from `believed` in growing
// steps for the last bytes the file really has, then reads on to its end.
qint64 LockedFile::lengthByReading(qint64 believed) const
{
    QByteArray buffer(65536, '\0');
    qint64 step = 4096;
    for (;;) {
        const qint64 from = std::max<qint64>(0, believed - step);
        qint64 at = from;
        for (;;) {
            const qint64 got = readShared(fd_, buffer.data(), buffer.size(), at);
            if (got < 0)
                fail(path_, QStringLiteral("の大きさを調べられません。"));
            at += got;
            if (got < buffer.size())
                break;
        }
        if (at > from || from == 0)
            return at;
        step *= 8;
    }
}

QByteArray LockedFile::readAt(qint64 offset, qint64 count) const
{
    if (fd_ < 0)
        fail(path_, QStringLiteral("を読めません（閉じられています）。"));
    QByteArray bytes(static_cast<qsizetype>(std::max<qint64>(count, 0)), '\0');
    const qint64 got = readShared(fd_, bytes.data(), bytes.size(), offset);
    if (got < 0)
        fail(path_, QStringLiteral("を読めません。"));
    bytes.truncate(static_cast<qsizetype>(got));
    return bytes;
}

QByteArray LockedFile::readExactly(qint64 offset, qint64 count) const
{
    QByteArray bytes = readAt(offset, count);
    if (bytes.size() != count)
        fail(path_, QStringLiteral("を読めません（途中で終わっています）。"));
    return bytes;
}

void LockedFile::writeAt(qint64 offset, const QByteArray& bytes)
{
    writeAt(offset, bytes.constData(), bytes.size());
}

void LockedFile::writeAt(qint64 offset, const char* data, qint64 count)
{
    if (fd_ < 0)
        fail(path_, QStringLiteral("に書き込めません（閉じられています）。"));
    const qint64 sizeBefore = size();
    qint64 done = 0;
    while (done < count) {
        const ssize_t put = ::pwrite(fd_, data + done, static_cast<size_t>(count - done), static_cast<off_t>(offset + done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            // Disk full or the share gone: cut off whatever part grew the
            // file, so readers and the next writer find only whole records.
            if (offset + done > sizeBefore && ::ftruncate(fd_, static_cast<off_t>(sizeBefore)) != 0) {
                // Nothing more can be done; the message below says the write failed.
            }
            fail(path_, QStringLiteral("に書き込めません。"));
        }
        done += put;
    }
    if (::fdatasync(fd_) != 0)
        fail(path_, QStringLiteral("に書き込めません（ファイルサーバーやディスクに届きません）。"));
}

void LockedFile::cut(qint64 length)
{
    int result;
    do {
        result = fd_ < 0 ? -1 : ::ftruncate(fd_, static_cast<off_t>(length));
    } while (result != 0 && errno == EINTR);
    if (result != 0)
        fail(path_, QStringLiteral("の長さを変えられません。"));
    sync(true);
}

void LockedFile::sync(bool metadata)
{
    if (fd_ < 0 || (metadata ? ::fsync(fd_) : ::fdatasync(fd_)) != 0)
        fail(path_, QStringLiteral("に書き込めません（ファイルサーバーやディスクに届きません）。"));
}

qint64 appendFixedRecord(const QString& path, const QByteArray& record, std::chrono::milliseconds wait)
{
    LockedFile file(path, wait);
    const qint64 number = file.size() / record.size();
    file.writeAt(number * record.size(), record);
    file.close();
    return number;
}

} // namespace vc
