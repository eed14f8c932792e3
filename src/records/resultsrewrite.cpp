#include "records/resultsrewrite.h"

#include "platform/errors.h"
#include "records/resultrecord.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vc {
namespace {

constexpr qint64 kRecord = kResultRecordSize;

// The scratch copy ends in this trailer; the bytes before it are the payload.
// A copy whose trailer is missing or does not match its payload was never
// completed, and the results file was not touched then.
constexpr char kMagic[8] = {'V', 'C', 'R', 'W', 'J', '0', '0', '1'};
constexpr char kEndMagic[8] = {'V', 'C', 'R', 'W', 'J', 'E', 'N', 'D'};
constexpr qsizetype kTrailerSize = 64;

enum class Operation : quint32 { Delete = 1, Replace = 2 };

struct Journal {
    Operation operation = Operation::Delete;
    qint64 number = 0;        // record counted from 1
    qint64 recordCount = 0;   // complete records when the rewrite began
    qint64 originalSize = 0;  // file length then, an incomplete tail included
    // Delete: the records from `number` to the last, as they were.
    // Replace: the old record followed by the new one.
    QByteArray payload;
};

quint64 fnv1a(const QByteArray& bytes, quint64 hash = 0xcbf29ce484222325ULL)
{
    for (char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

QByteArray trailerOf(const Journal& j)
{
    QByteArray t(kTrailerSize, '\0');
    char* p = t.data();
    std::memcpy(p, kMagic, 8);
    qToLittleEndian<quint32>(static_cast<quint32>(j.operation), p + 8);
    qToLittleEndian<qint64>(j.number, p + 16);
    qToLittleEndian<qint64>(j.recordCount, p + 24);
    qToLittleEndian<qint64>(j.originalSize, p + 32);
    qToLittleEndian<qint64>(j.payload.size(), p + 40);
    qToLittleEndian<quint64>(fnv1a(t.left(48), fnv1a(j.payload)), p + 48);
    std::memcpy(p + 56, kEndMagic, 8);
    return t;
}

// The journal in `bytes`, or false when it is incomplete or not one of ours.
bool parseJournal(const QByteArray& bytes, Journal* out)
{
    if (bytes.size() < kTrailerSize)
        return false;
    const char* t = bytes.constData() + bytes.size() - kTrailerSize;
    if (std::memcmp(t, kMagic, 8) != 0 || std::memcmp(t + 56, kEndMagic, 8) != 0)
        return false;
    Journal j;
    const quint32 op = qFromLittleEndian<quint32>(t + 8);
    if (op != static_cast<quint32>(Operation::Delete) && op != static_cast<quint32>(Operation::Replace))
        return false;
    j.operation = static_cast<Operation>(op);
    j.number = qFromLittleEndian<qint64>(t + 16);
    j.recordCount = qFromLittleEndian<qint64>(t + 24);
    j.originalSize = qFromLittleEndian<qint64>(t + 32);
    const qint64 payloadSize = qFromLittleEndian<qint64>(t + 40);
    if (payloadSize != bytes.size() - kTrailerSize)
        return false;
    j.payload = bytes.left(payloadSize);
    if (trailerOf(j) != QByteArray(t, kTrailerSize))
        return false;
    const bool shapeOk = j.number >= 1 && j.number <= j.recordCount && j.recordCount * kRecord <= j.originalSize
                         && (j.operation == Operation::Delete ? payloadSize == (j.recordCount - j.number + 1) * kRecord
                                                              : payloadSize == 2 * kRecord);
    if (!shapeOk)
        return false;
    *out = std::move(j);
    return true;
}

[[noreturn]] void fail(const QString& path, const QString& problem)
{
    throw DataError(fileMessage(path, problem));
}

// A plain descriptor for reading, writing, cutting and syncing. The lock is
// held by the LockedFile on its own descriptor; closing this one leaves that
// open-file-description lock alone.
class RawFile {
public:
    RawFile(const QString& path, int flags) : path_(path)
    {
        const QByteArray native = QFile::encodeName(path);
        do {
            fd_ = ::open(native.constData(), flags | O_CLOEXEC, 0666);
        } while (fd_ < 0 && errno == EINTR);
        if (fd_ < 0)
            fail(path_, QStringLiteral("を開けません。"));
    }
    ~RawFile()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    RawFile(const RawFile&) = delete;
    RawFile& operator=(const RawFile&) = delete;

    qint64 size() const
    {
        struct stat info {};
        if (::fstat(fd_, &info) != 0)
            fail(path_, QStringLiteral("の大きさを調べられません。"));
        return static_cast<qint64>(info.st_size);
    }
    QByteArray readAt(qint64 offset, qint64 count) const
    {
        QByteArray bytes(static_cast<qsizetype>(std::max<qint64>(count, 0)), '\0');
        qint64 done = 0;
        while (done < count) {
            const ssize_t got = ::pread(fd_, bytes.data() + done, static_cast<size_t>(count - done), static_cast<off_t>(offset + done));
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                fail(path_, QStringLiteral("を読めません。"));
            if (got == 0)
                break;
            done += got;
        }
        bytes.truncate(static_cast<qsizetype>(done));
        return bytes;
    }
    void writeAt(qint64 offset, const char* data, qint64 count)
    {
        qint64 done = 0;
        while (done < count) {
            const ssize_t put = ::pwrite(fd_, data + done, static_cast<size_t>(count - done), static_cast<off_t>(offset + done));
            if (put < 0 && errno == EINTR)
                continue;
            if (put <= 0)
                fail(path_, QStringLiteral("に書き込めません。"));
            done += put;
        }
    }
    void writeAt(qint64 offset, const QByteArray& bytes) { writeAt(offset, bytes.constData(), bytes.size()); }
    void cut(qint64 length)
    {
        int result;
        do {
            result = ::ftruncate(fd_, static_cast<off_t>(length));
        } while (result != 0 && errno == EINTR);
        if (result != 0)
            fail(path_, QStringLiteral("の長さを変えられません。"));
    }
    // Data (and, with `metadata`, the length) on the disk before going on.
    void sync(bool metadata = true)
    {
        if ((metadata ? ::fsync(fd_) : ::fdatasync(fd_)) != 0)
            fail(path_, QStringLiteral("をディスクに書き込めません。"));
    }

private:
    QString path_;
    int fd_ = -1;
};

// Makes a file's creation or removal in `folder` durable. Best effort: some
// file servers refuse to sync a folder, and they apply such changes at once.
void syncFolder(const QString& filePath)
{
    const QByteArray native = QFile::encodeName(QFileInfo(filePath).absolutePath());
    const int fd = ::open(native.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

void step(const RewriteOptions& options, RewriteStep s)
{
    if (options.afterStep)
        options.afterStep(s);
}

bool exists(const QString& path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0;
}

void writeJournal(const QString& path, const Journal& journal, const RewriteOptions& options)
{
    const QByteArray bytes = journal.payload + trailerOf(journal);
    RawFile file(path, O_WRONLY | O_CREAT | O_TRUNC);
    const qint64 half = bytes.size() / 2;
    file.writeAt(0, bytes.constData(), half);
    step(options, RewriteStep::JournalPartlyWritten);
    file.writeAt(half, bytes.constData() + half, bytes.size() - half);
    file.sync();
    syncFolder(path);
    step(options, RewriteStep::JournalWritten);
}

void removeJournal(const QString& path)
{
    if (::unlink(QFile::encodeName(path).constData()) != 0 && errno != ENOENT)
        fail(path, QStringLiteral("を削除できません。"));
    // Durable before the lock goes: a copy that came back after a power
    // failure would otherwise be applied a second time.
    syncFolder(path);
}

// Brings the results file to the state the journal's operation leads to.
// Idempotent: safe to run on a file the operation has partly or wholly reached.
void applyJournal(RawFile& results, const Journal& j)
{
    const qint64 size = results.size();
    if (j.operation == Operation::Replace) {
        const qint64 offset = (j.number - 1) * kRecord;
        if (size < offset + kRecord)
            return;
        const QByteArray now = results.readAt(offset, kRecord);
        // Only a record that is the old one, the new one or a mix of both (a
        // write torn by a power failure) is ours to finish.
        for (qsizetype i = 0; i < kRecord; ++i)
            if (now[i] != j.payload[i] && now[i] != j.payload[kRecord + i])
                return;
        results.writeAt(offset, j.payload.constData() + kRecord, kRecord);
        results.sync(false);
        return;
    }
    // Delete. Records a writer added beyond the original length without
    // finishing the rewrite first (no writer of this program does) are kept.
    QByteArray later;
    if (size > j.originalSize) {
        const qint64 from = j.recordCount * kRecord;
        later = results.readAt(from, (size - from) / kRecord * kRecord);
    }
    const qint64 start = (j.number - 1) * kRecord;
    const QByteArray rest = j.payload.mid(kRecord) + later;
    results.writeAt(start, rest);
    results.sync(false);
    results.cut(start + rest.size());
    results.sync();
}

} // namespace

QString rewriteJournalPath(const QString& resultsPath)
{
    const QFileInfo info(resultsPath);
    const QString suffix = info.suffix();
    const QString base = suffix.isEmpty() ? info.fileName() : info.fileName().chopped(suffix.size() + 1);
    return info.path() + u'/' + base + QStringLiteral("temp") + (suffix.isEmpty() ? QString() : u'.' + suffix);
}

bool completeInterruptedRewrite(const LockedFile& lockedResults)
{
    const QString journalPath = rewriteJournalPath(lockedResults.path());
    if (!exists(journalPath))
        return false;
    QByteArray bytes;
    {
        RawFile journalFile(journalPath, O_RDONLY);
        bytes = journalFile.readAt(0, journalFile.size());
    }
    Journal journal;
    if (parseJournal(bytes, &journal)) {
        RawFile results(lockedResults.path(), O_RDWR);
        applyJournal(results, journal);
    }
    removeJournal(journalPath);
    return true;
}

bool recoverResultsFile(const QString& resultsPath, std::chrono::milliseconds lockWait)
{
    if (!exists(rewriteJournalPath(resultsPath)))
        return false;
    LockedFile lock(resultsPath, lockWait);
    return completeInterruptedRewrite(lock);
}

void recoverResultsFileAtStartUp(const QString& resultsPath)
{
    try {
        recoverResultsFile(resultsPath, std::chrono::milliseconds(2000));
    } catch (const DataError&) {
    }
}

RewriteOutcome deleteResultRecord(const QString& resultsPath, qint64 number, const QByteArray& expected,
                                  const RewriteOptions& options)
{
    LockedFile lock(resultsPath, options.lockWait);
    completeInterruptedRewrite(lock);
    RawFile results(resultsPath, O_RDWR);
    const qint64 size = results.size();
    const qint64 count = size / kRecord;
    if (number < 1 || number > count)
        return RewriteOutcome::Stale;
    Journal journal;
    journal.operation = Operation::Delete;
    journal.number = number;
    journal.recordCount = count;
    journal.originalSize = size;
    journal.payload = results.readAt((number - 1) * kRecord, (count - number + 1) * kRecord);
    if (journal.payload.size() != (count - number + 1) * kRecord)
        fail(resultsPath, QStringLiteral("を読めません。"));
    if (journal.payload.left(kRecord) != expected)
        return RewriteOutcome::Stale;

    const QString journalPath = rewriteJournalPath(resultsPath);
    writeJournal(journalPath, journal, options);

    // The later records move up by one, in place: the file stays the one
    // other computers have open and lock.
    const QByteArray rest = journal.payload.mid(kRecord);
    const qint64 start = (number - 1) * kRecord;
    const qint64 half = rest.size() / kRecord / 2 * kRecord;
    results.writeAt(start, rest.constData(), half);
    step(options, RewriteStep::RecordsPartlyWritten);
    results.writeAt(start + half, rest.constData() + half, rest.size() - half);
    // Synced before the cut, so a file found cut is a file wholly rewritten.
    results.sync(false);
    step(options, RewriteStep::RecordsWritten);
    results.cut((count - 1) * kRecord);
    results.sync();
    step(options, RewriteStep::FileCut);
    removeJournal(journalPath);
    step(options, RewriteStep::JournalRemoved);
    return RewriteOutcome::Done;
}

RewriteOutcome replaceResultRecord(const QString& resultsPath, qint64 number, const QByteArray& expected,
                                   const QByteArray& replacement, const RewriteOptions& options)
{
    if (replacement.size() != kRecord)
        fail(resultsPath, QStringLiteral("に書く記録の長さが正しくありません。"));
    LockedFile lock(resultsPath, options.lockWait);
    completeInterruptedRewrite(lock);
    RawFile results(resultsPath, O_RDWR);
    const qint64 count = results.size() / kRecord;
    if (number < 1 || number > count)
        return RewriteOutcome::Stale;
    const QByteArray old = results.readAt((number - 1) * kRecord, kRecord);
    if (old != expected)
        return RewriteOutcome::Stale;

    Journal journal;
    journal.operation = Operation::Replace;
    journal.number = number;
    journal.recordCount = count;
    journal.originalSize = results.size();
    journal.payload = old + replacement;
    const QString journalPath = rewriteJournalPath(resultsPath);
    writeJournal(journalPath, journal, options);

    const qint64 offset = (number - 1) * kRecord;
    results.writeAt(offset, replacement.constData(), kRecord / 2);
    step(options, RewriteStep::RecordsPartlyWritten);
    results.writeAt(offset + kRecord / 2, replacement.constData() + kRecord / 2, kRecord - kRecord / 2);
    results.sync(false);
    step(options, RewriteStep::RecordsWritten);
    step(options, RewriteStep::FileCut);
    removeJournal(journalPath);
    step(options, RewriteStep::JournalRemoved);
    return RewriteOutcome::Done;
}

} // namespace vc
