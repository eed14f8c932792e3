#pragma once
#include "errors.h"

#include <QByteArray>
#include <QString>
#include <chrono>
#include <functional>

namespace vc {

// How long a writer waits for another computer's lock before giving up.
inline constexpr std::chrono::milliseconds kDefaultLockWait{10000};

// Another computer still held the lock when the wait ran out.
class LockTimeout : public DataError {
public:
    using DataError::DataError;
};

// Told, about four times a second while a writer waits for the lock, how
// long it has waited so far.
using LockWaitCallback = std::function<void(std::chrono::milliseconds waited)>;

// A file that several computers write at once, opened for reading and writing
// under an exclusive lock over its whole length (also the part it grows into).
// Every writer of such a file goes through this class, so two writes never
// interleave. The lock is an open-file-description lock: unlike a classic
// POSIX record lock it is not dropped when some other handle on the same file
// in this process is closed, and it is released only with this object.
// Failures throw DataError naming the file (LockTimeout when the wait ran out).
class LockedFile {
public:
    // Opens the file (created when missing) and takes the lock, waiting up to
    // `wait` for another holder to finish.
    explicit LockedFile(const QString& path, std::chrono::milliseconds wait = kDefaultLockWait,
                        const LockWaitCallback& whileWaiting = {});
    ~LockedFile();
    LockedFile(const LockedFile&) = delete;
    LockedFile& operator=(const LockedFile&) = delete;

    qint64 size() const;
    // Writes all bytes at `offset` in one write call, then makes them visible
    // to other computers before the lock can be released. When a write stops
    // short, the part that grew the file is cut off again.
    void writeAt(qint64 offset, const QByteArray& bytes);
    // Makes everything written so far durable before going on.
    void sync();
    // Unlocks and closes now (the destructor does the same).
    void close();

    const QString& path() const { return path_; }

private:
    QString path_;
    int fd_ = -1;
    bool networkShare_ = false;
};

// Writes `record` right after the last complete record of a file of
// fixed-length records, over any incomplete tail, under the lock. Returns the
// 0-based number of the record written.
qint64 appendFixedRecord(const QString& path, const QByteArray& record,
                         std::chrono::milliseconds wait = kDefaultLockWait);

} // namespace vc
