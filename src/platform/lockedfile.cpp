#include "lockedfile.h"

#include "errors.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <thread>
#include <unistd.h>

namespace vc {
namespace {

// File systems of a school's file server: there the page cache of this
// computer is not what the others read, so data goes out before the unlock.
bool isNetworkShare(int fd)
{
    struct statfs info {};
    if (fstatfs(fd, &info) != 0)
        return false;
    switch (static_cast<unsigned long>(info.f_type)) {
    case 0x6969UL:      // NFS
    case 0x517BUL:      // SMB
    case 0xFF534D42UL:  // CIFS
    case 0xFE534D42UL:  // SMB2
        return true;
    default:
        return false;
    }
}

struct flock wholeFile(short type)
{
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 0;  // to the end, however far the file grows
    lock.l_pid = 0;  // required by open-file-description locks
    return lock;
}

[[noreturn]] void fail(const QString& path, const QString& problem)
{
    throw DataError(fileMessage(path, problem));
}

} // namespace

LockedFile::LockedFile(const QString& path, std::chrono::milliseconds wait, const LockWaitCallback& whileWaiting)
    : path_(path)
{
    const QByteArray native = QFile::encodeName(path);
    do {
        fd_ = ::open(native.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
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
        struct flock lock = wholeFile(F_WRLCK);
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
    networkShare_ = isNetworkShare(fd_);
}

LockedFile::~LockedFile()
{
    close();
}

void LockedFile::close()
{
    if (fd_ < 0)
        return;
    struct flock unlock = wholeFile(F_UNLCK);
    ::fcntl(fd_, F_OFD_SETLK, &unlock);
    ::close(fd_);
    fd_ = -1;
}

qint64 LockedFile::size() const
{
    struct stat info {};
    if (fd_ < 0 || ::fstat(fd_, &info) != 0)
        fail(path_, QStringLiteral("の大きさを調べられません。"));
    return static_cast<qint64>(info.st_size);
}

void LockedFile::writeAt(qint64 offset, const QByteArray& bytes)
{
    if (fd_ < 0)
        fail(path_, QStringLiteral("に書き込めません（閉じられています）。"));
    const qint64 sizeBefore = size();
    ssize_t written;
    do {
        written = ::pwrite(fd_, bytes.constData(), static_cast<size_t>(bytes.size()), static_cast<off_t>(offset));
    } while (written < 0 && errno == EINTR);
    if (written != static_cast<ssize_t>(bytes.size())) {
        // Disk full or the share gone: cut off whatever part grew the file,
        // so readers and the next writer find only whole records.
        if (written > 0 && offset + written > sizeBefore && ::ftruncate(fd_, static_cast<off_t>(sizeBefore)) != 0) {
            // Nothing more can be done; the message below says the write failed.
        }
        fail(path_, QStringLiteral("に書き込めません。"));
    }
    if (networkShare_ && ::fdatasync(fd_) != 0)
        fail(path_, QStringLiteral("に書き込めません（ファイルサーバーに届きません）。"));
}

void LockedFile::sync()
{
    if (fd_ < 0 || ::fdatasync(fd_) != 0)
        fail(path_, QStringLiteral("に書き込めません（ディスクに残せません）。"));
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
