#include "records/resultsrewrite.h"

#include "platform/durable.h"
#include "platform/errors.h"
#include "records/resultrecord.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <cerrno>
#include <algorithm>
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

// A plain descriptor for the scratch copy, which only the holder of the
// results file's lock touches.
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

    QByteArray readAll() const
    {
        QByteArray bytes;
        char buffer[65536];
        for (;;) {
            const ssize_t got = ::read(fd_, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                fail(path_, QStringLiteral("を読めません。"));
            if (got == 0)
                return bytes;
            bytes.append(buffer, got);
        }
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
    void sync()
    {
        if (::fsync(fd_) != 0)
            fail(path_, QStringLiteral("をディスクに書き込めません。"));
    }

private:
    QString path_;
    int fd_ = -1;
};

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

// The names in the folder of `path`, as the file server has them now. A
// look-up by name is not enough under the lock: a network client trusts a
// "no such file" it cached (NFS until the folder's attributes time out, cifs
// for a second), and would miss the scratch copy another computer left when
// it died. The folder's attributes are fetched first (NFS then drops the
// names it cached if the folder changed), and the listing comes from the
// server.
QStringList namesBeside(const QString& path)
{
    const QFileInfo info(path);
    const QByteArray folder = QFile::encodeName(info.absolutePath());
    struct statx fresh {};
    ::statx(AT_FDCWD, folder.constData(), AT_STATX_FORCE_SYNC, STATX_MTIME | STATX_CTIME, &fresh);
    return QDir(info.absolutePath()).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

void removeFile(const QString& path)
{
    if (::unlink(QFile::encodeName(path).constData()) != 0 && errno != ENOENT)
        fail(path, QStringLiteral("を削除できません。"));
    // Durable before the lock goes: a copy that came back after a power
    // failure would otherwise be applied a second time.
    syncFolderOf(path);
}

// The copy is written under a name of its own and renamed to the scratch
// copy's name only once it is complete and synced: a scratch copy is then
// always whole, and one that does not read as ours was left by someone else.
void writeJournal(const QString& path, const Journal& journal, const RewriteOptions& options)
{
    const QByteArray bytes = journal.payload + trailerOf(journal);
    const QString work = rewriteWorkPath(path);
    {
        RawFile file(work, O_WRONLY | O_CREAT | O_TRUNC);
        const qint64 half = bytes.size() / 2;
        file.writeAt(0, bytes.constData(), half);
        step(options, RewriteStep::JournalPartlyWritten);
        file.writeAt(half, bytes.constData() + half, bytes.size() - half);
        file.sync();
    }
    if (::rename(QFile::encodeName(work).constData(), QFile::encodeName(path).constData()) != 0)
        fail(path, QStringLiteral("を作れません。"));
    syncFolderOf(path);
    step(options, RewriteStep::JournalWritten);
}

// True when every byte of `now` is the byte of `a` or of `b` (null: of `a`
// only) at the same place: a record as it was, as the rewrite leaves it, or
// a write of one over the other torn by a power failure.
bool eitherOf(const char* now, const char* a, const char* b)
{
    for (qsizetype i = 0; i < kRecord; ++i)
        if (now[i] != a[i] && (!b || now[i] != b[i]))
            return false;
    return true;
}

// Whether the results file is in a state the journal's operation can have
// left it in. A copy that does not fit (a backup put back, a folder sync
// that brought back an old copy) would overwrite runs stored since.
bool journalFits(const LockedFile& results, const Journal& j)
{
    const qint64 count = results.size() / kRecord;
    const char* payload = j.payload.constData();
    if (j.operation == Operation::Replace) {
        if (count < j.number)
            return false;
        const QByteArray now = results.readExactly((j.number - 1) * kRecord, kRecord);
        return eitherOf(now.constData(), payload, payload + kRecord);
    }
    // Delete: from record `number` on, each record as it was or as the next
    // one (moved up); the last one as it was, or cut off.
    const qint64 saved = j.recordCount - j.number + 1;
    if (count < j.recordCount - 1)
        return false;
    const qint64 last = std::min(count, j.recordCount);
    const QByteArray now = results.readExactly((j.number - 1) * kRecord, (last - j.number + 1) * kRecord);
    for (qint64 i = 0; i < last - j.number + 1; ++i) {
        const char* next = i + 1 < saved ? payload + (i + 1) * kRecord : nullptr;
        if (!eitherOf(now.constData() + i * kRecord, payload + i * kRecord, next))
            return false;
    }
    return true;
}

// Brings the results file to the state the journal's operation leads to.
// Idempotent: safe to run on a file the operation has partly or wholly reached.
void applyJournal(LockedFile& results, const Journal& j)
{
    if (j.operation == Operation::Replace) {
        results.writeAt((j.number - 1) * kRecord, j.payload.constData() + kRecord, kRecord);
        return;
    }
    // Delete. Records a writer added beyond the original length without
    // finishing the rewrite first (no writer of this program does) are kept.
    const qint64 size = results.size();
    QByteArray later;
    if (size > j.originalSize) {
        const qint64 from = j.recordCount * kRecord;
        later = results.readExactly(from, (size - from) / kRecord * kRecord);
    }
    const qint64 start = (j.number - 1) * kRecord;
    const QByteArray rest = j.payload.mid(kRecord) + later;
    results.writeAt(start, rest);
    results.cut(start + rest.size());
}

// Renames a scratch copy that must not be applied, so that no data the
// program did not write is ever deleted. Returns the new name.
QString setAside(const QString& journalPath)
{
    const QFileInfo info(journalPath);
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString stem = info.path() + u'/' + info.completeBaseName() + setAsideMark() + stamp;
    const QString suffix = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    QString target = stem + suffix;
    for (int n = 2; exists(target); ++n)
        target = stem + u'-' + QString::number(n) + suffix;
    if (::rename(QFile::encodeName(journalPath).constData(), QFile::encodeName(target).constData()) != 0)
        fail(journalPath, QStringLiteral("を別の名前にできません。"));
    syncFolderOf(target);
    return target;
}

} // namespace

QString rewriteJournalPath(const QString& resultsPath)
{
    const QFileInfo info(resultsPath);
    const QString suffix = info.suffix();
    const QString base = suffix.isEmpty() ? info.fileName() : info.fileName().chopped(suffix.size() + 1);
    return info.path() + u'/' + base + QStringLiteral("temp") + (suffix.isEmpty() ? QString() : u'.' + suffix);
}

QString rewriteWorkPath(const QString& journalPath)
{
    return journalPath + QStringLiteral(".part");
}

QString setAsideMark()
{
    return QStringLiteral("-退避-");
}

QStringList setAsideCopies(const QString& resultsPath)
{
    const QFileInfo journal(rewriteJournalPath(resultsPath));
    const QDir folder(journal.path());
    QStringList names = folder.entryList({journal.completeBaseName() + setAsideMark() + u'*'}, QDir::Files, QDir::Name);
    for (QString& name : names)
        name = folder.filePath(name);
    return names;
}

QString setAsideNotice(const QStringList& copies)
{
    if (copies.isEmpty())
        return {};
    QStringList names;
    for (const QString& path : copies)
        names << QFileInfo(path).fileName();
    return QStringLiteral("成績ファイルの作業ファイルが今の成績ファイルに合わないか、このプログラムのものでないため、"
                          "使わずに別名で残しました（%1）。成績ファイルはそのままです。"
                          "中身を確かめてから、不要なら消してください（vocarimo-results check で調べられます）。")
        .arg(names.join(QStringLiteral("、")));
}

bool hasInterruptedRewrite(const QString& resultsPath)
{
    const QString journal = rewriteJournalPath(resultsPath);
    const QStringList names = namesBeside(journal);
    return names.contains(QFileInfo(journal).fileName()) || names.contains(QFileInfo(rewriteWorkPath(journal)).fileName());
}

Recovery completeInterruptedRewrite(LockedFile& lockedResults)
{
    const QString journalPath = rewriteJournalPath(lockedResults.path());
    const QString work = rewriteWorkPath(journalPath);
    const QStringList names = namesBeside(journalPath);
    Recovery outcome = Recovery::Nothing;
    // A copy this program never completed: the results file was not touched.
    if (names.contains(QFileInfo(work).fileName())) {
        removeFile(work);
        outcome = Recovery::Dropped;
    }
    if (!names.contains(QFileInfo(journalPath).fileName()))
        return outcome;
    Journal journal;
    if (!parseJournal(RawFile(journalPath, O_RDONLY).readAll(), &journal) || !journalFits(lockedResults, journal)) {
        setAside(journalPath);
        return Recovery::SetAside;
    }
    applyJournal(lockedResults, journal);
    removeFile(journalPath);
    return Recovery::Finished;
}

Recovery recoverResultsFile(const QString& resultsPath, std::chrono::milliseconds lockWait)
{
    const QString journal = rewriteJournalPath(resultsPath);
    if (!exists(journal) && !exists(rewriteWorkPath(journal)))
        return Recovery::Nothing;
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
    LockedFile results(resultsPath, options.lockWait);
    completeInterruptedRewrite(results);
    const qint64 size = results.size();
    const qint64 count = size / kRecord;
    if (number < 1 || number > count)
        return RewriteOutcome::Stale;
    Journal journal;
    journal.operation = Operation::Delete;
    journal.number = number;
    journal.recordCount = count;
    journal.originalSize = size;
    journal.payload = results.readExactly((number - 1) * kRecord, (count - number + 1) * kRecord);
    if (journal.payload.left(kRecord) != expected)
        return RewriteOutcome::Stale;

    const QString journalPath = rewriteJournalPath(resultsPath);
    writeJournal(journalPath, journal, options);

    // The later records move up by one, in place: the file stays the one
    // other computers have open and lock. Each write is durable before the
    // next step, so a file found cut is a file wholly rewritten.
    const QByteArray rest = journal.payload.mid(kRecord);
    const qint64 start = (number - 1) * kRecord;
    const qint64 half = rest.size() / kRecord / 2 * kRecord;
    results.writeAt(start, rest.constData(), half);
    step(options, RewriteStep::RecordsPartlyWritten);
    results.writeAt(start + half, rest.constData() + half, rest.size() - half);
    step(options, RewriteStep::RecordsWritten);
    results.cut((count - 1) * kRecord);
    step(options, RewriteStep::FileCut);
    removeFile(journalPath);
    step(options, RewriteStep::JournalRemoved);
    return RewriteOutcome::Done;
}

RewriteOutcome replaceResultRecord(const QString& resultsPath, qint64 number, const QByteArray& expected,
                                   const QByteArray& replacement, const RewriteOptions& options)
{
    if (replacement.size() != kRecord)
        fail(resultsPath, QStringLiteral("に書く記録の長さが正しくありません。"));
    LockedFile results(resultsPath, options.lockWait);
    completeInterruptedRewrite(results);
    const qint64 size = results.size();
    const qint64 count = size / kRecord;
    if (number < 1 || number > count)
        return RewriteOutcome::Stale;
    const QByteArray old = results.readExactly((number - 1) * kRecord, kRecord);
    if (old != expected)
        return RewriteOutcome::Stale;

    Journal journal;
    journal.operation = Operation::Replace;
    journal.number = number;
    journal.recordCount = count;
    journal.originalSize = size;
    journal.payload = old + replacement;
    const QString journalPath = rewriteJournalPath(resultsPath);
    writeJournal(journalPath, journal, options);

    const qint64 offset = (number - 1) * kRecord;
    results.writeAt(offset, replacement.constData(), kRecord / 2);
    step(options, RewriteStep::RecordsPartlyWritten);
    results.writeAt(offset + kRecord / 2, replacement.constData() + kRecord / 2, kRecord - kRecord / 2);
    step(options, RewriteStep::RecordsWritten);
    step(options, RewriteStep::FileCut);
    removeFile(journalPath);
    step(options, RewriteStep::JournalRemoved);
    return RewriteOutcome::Done;
}

} // namespace vc
