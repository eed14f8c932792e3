#pragma once
#include "errors.h"

#include <QByteArray>
#include <QString>
#include <chrono>
#include <functional>

namespace vc {

// How long a writer waits for another computer's lock before giving up.
inline constexpr std::chrono::milliseconds kDefaultLockWait{10000};

// The one byte every writer locks. It lies far beyond any data, so the lock
// keeps writers apart without covering a single record: SMB servers enforce
// byte-range locks on every other handle's reads and writes, and a lock over
// the data would have other computers' readers (and a second descriptor of
// our own) refused. It still lies inside a lock over the whole file, so a
// program that locks the whole file and a writer of ours exclude each other.
inline constexpr qint64 kWriterLockOffset = qint64(1) << 62;

// Another computer still held the lock when the wait ran out.
class LockTimeout : public DataError {
public:
    using DataError::DataError;
};

// Told, about four times a second while a writer waits for the lock, how
// long it has waited so far.
using LockWaitCallback = std::function<void(std::chrono::milliseconds waited)>;

// A file that several computers write at once, opened for reading and
// writing under the writers' lock (kWriterLockOffset). Every writer of such a
// file goes through this class and does all its reads and writes through it
// while it holds the lock: the length comes from the file server, not from a
// cache, and every write is durable before it returns, so the next holder on
// any computer sees it. The lock is an open-file-description lock: unlike a
// classic POSIX record lock it is not dropped when some other handle on the
// same file in this process is closed, and it is released only with this
// object. Failures throw DataError naming the file (LockTimeout when the
// wait ran out).
class LockedFile {
public:
    // Opens the file (created when missing, unless `create` is false: then a
    // missing file is a DataError) and takes the lock, waiting up to `wait`
    // for another holder to finish.
    explicit LockedFile(const QString& path, std::chrono::milliseconds wait = kDefaultLockWait,
                        const LockWaitCallback& whileWaiting = {}, bool create = true);
    ~LockedFile();
    LockedFile(const LockedFile&) = delete;
    LockedFile& operator=(const LockedFile&) = delete;

    // The length as the file server has it now: a seek to the end (on a
    // cifs mount the size of fstat may be a second old); on an SMB mount
    // confirmed by reading at that end, because the cifs client never
    // shrinks the length it knows while it has the file open for writing
    // (as every writer has), so a deletion on another computer would go
    // unseen and the next run be written past the end, over a hole.
    qint64 size() const;
    // Up to `count` bytes from `offset`; fewer only where the file ends.
    QByteArray readAt(qint64 offset, qint64 count) const;
    // Exactly `count` bytes from `offset`, or DataError.
    QByteArray readExactly(qint64 offset, qint64 count) const;
    // Writes all bytes at `offset` and makes them durable before returning,
    // so neither another computer nor a power cut can miss them once the
    // lock is released. When a write stops short, the part that grew the
    // file is cut off again.
    void writeAt(qint64 offset, const QByteArray& bytes);
    void writeAt(qint64 offset, const char* data, qint64 count);
    // Cuts (or extends) the file to `length` and makes that durable.
    void cut(qint64 length);
    // Makes everything written so far durable (with `metadata`, the length
    // and times too) before going on.
    void sync(bool metadata = false);
    // Unlocks and closes now (the destructor does the same).
    void close();

    const QString& path() const { return path_; }

private:
    qint64 lengthByReading(qint64 believed) const;

    QString path_;
    int fd_ = -1;
    // On an SMB mount the length is confirmed by reading (see size()).
    bool smbShare_ = false;
};

// Writes `record` right after the last complete record of a file of
// fixed-length records, over any incomplete tail, under the lock. Returns the
// 0-based number of the record written.
qint64 appendFixedRecord(const QString& path, const QByteArray& record,
                         std::chrono::milliseconds wait = kDefaultLockWait);

} // namespace vc
