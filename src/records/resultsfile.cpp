#include "records/resultsfile.h"

#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/lockedfile.h"
#include "platform/random.h"
#include "platform/sharedread.h"
#include "records/pendingresults.h"
#include "records/resultsrewrite.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <string>
#include <unistd.h>
#include <unordered_set>
#include <utility>

namespace vc {

QString resultsFilePath(const QString& courseFolder)
{
    return courseFolder + QStringLiteral("成績累積データ.dat");
}

ResultsFile::ResultsFile(const QString& path)
    : path_(path)
{
    const QByteArray native = QFile::encodeName(path_);
    do {
        fd_ = ::open(native.constData(), O_RDONLY | O_CLOEXEC);
    } while (fd_ < 0 && errno == EINTR);
    if (fd_ < 0 && errno != ENOENT)
        throw DataError(fileMessage(path_, QStringLiteral("を読めません。")));
    // A folder or a device in the file's place has no records to read (and
    // no length that counts them).
    struct stat info {};
    if (fd_ >= 0 && (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode))) {
        ::close(fd_);
        fd_ = -1;
        throw DataError(fileMessage(path_, QStringLiteral("を読めません。")));
    }
}

ResultsFile::~ResultsFile()
{
    if (fd_ >= 0)
        ::close(fd_);
}

ResultsFile::ResultsFile(ResultsFile&& other) noexcept
    : path_(std::move(other.path_)), fd_(std::exchange(other.fd_, -1))
{
}

qint64 ResultsFile::recordCount() const
{
    if (fd_ < 0)
        return 0;
    // A seek to the end asks the file server; fstat on a cifs mount may
    // answer from a cache a second old.
    const off_t end = ::lseek(fd_, 0, SEEK_END);
    if (end < 0)
        throw DataError(fileMessage(path_, QStringLiteral("の大きさを調べられません。")));
    return static_cast<qint64>(end) / kResultRecordSize;
}

QByteArray ResultsFile::readBytes(qint64 first, qint64 count)
{
    const qint64 available = recordCount();
    first = std::max<qint64>(first, 1);
    count = std::min(count, available - first + 1);
    if (fd_ < 0 || count <= 0)
        return {};
    QByteArray bytes(static_cast<qsizetype>(count * kResultRecordSize), '\0');
    const qint64 got = readShared(fd_, bytes.data(), bytes.size(), (first - 1) * kResultRecordSize);
    if (got < 0)
        throw DataError(fileMessage(path_, QStringLiteral("を読めません。")));
    // The file may have been shortened meanwhile: only whole records count.
    bytes.truncate(static_cast<qsizetype>(got / kResultRecordSize * kResultRecordSize));
    return bytes;
}

std::vector<ResultRecord> ResultsFile::read(qint64 first, qint64 count)
{
    const QByteArray bytes = readBytes(first, count);
    std::vector<ResultRecord> records;
    records.reserve(static_cast<size_t>(bytes.size() / kResultRecordSize));
    for (qsizetype at = 0; at < bytes.size(); at += kResultRecordSize)
        records.push_back(decodeResultRecord(bytes.constData() + at));
    return records;
}

ResultsFile openResultsFile(const QString& courseFolder)
{
    return ResultsFile(resultsFilePath(courseFolder));
}

ResultRecord makeResultRecord(const ResultDestination& destination, qint16 level, qint32 resultSeconds, const Clock& clock)
{
    ResultRecord record;
    record.runDate = dayNumber(clock.today());
    record.runTime = dayFraction(clock.timeOfDay());
    record.studentNumber = destination.studentNumber;
    record.level = level;
    record.seconds = resultSeconds;
    record.reserved3 = newRecordTag(destination.tagSource);
    if (!schoolCodeField(destination.schoolCode, &record.schoolCode))
        throw DataError(fileMessage(resultsFilePath(destination.courseFolder),
                                    QStringLiteral("に学校コード「%1」を書けません（Shift-JIS にない文字があります）。").arg(destination.schoolCode)));
    return record;
}

StoredIn appendResultRecord(const ResultDestination& destination, qint16 level, qint32 resultSeconds, const Clock& clock)
{
    const QByteArray bytes = encodeResultRecord(makeResultRecord(destination, level, resultSeconds, clock));
    const QString path = resultsFilePath(destination.courseFolder);
    try {
        LockedFile file(path, destination.lockWait, destination.whileWaiting);
        completeInterruptedRewrite(file);
        if (!destination.pendingFile.isEmpty())
            deliverPendingRecords(file, destination.pendingFile);
        // writeAt returns once the run is durable, before the unlock.
        file.writeAt(file.size() / kResultRecordSize * kResultRecordSize, bytes);
        file.close();
        return StoredIn::ResultsFile;
    } catch (const DataError& e) {
        if (destination.pendingFile.isEmpty())
            throw;
        try {
            addPendingRecord(destination.pendingFile, bytes);
        } catch (const DataError&) {
            throw e;  // stored nowhere: the shared file's problem is the one to tell
        }
        return StoredIn::PendingFile;
    }
}

LoadedResults::LoadedResults()
    : bestTime_(static_cast<size_t>(kLevelRows) * kStudentRows, kNoTime)
{
    records_.reserve(kLoadedRecordLimit);
    touched_.reserve(kLoadedRecordLimit);
    levelBestTime_.fill(kNoTime);
}

void LoadedResults::clear()
{
    records_.clear();
    for (quint32 slot : touched_)
        bestTime_[slot] = kNoTime;
    touched_.clear();
    levelBestTime_.fill(kNoTime);
}

void LoadedResults::setBestTime(int level, int student, qint32 seconds)
{
    if (!isLevelSlot(level) || !isStudentSlot(student))
        return;
    const size_t slot = index(level, student);
    bestTime_[slot] = seconds;
    touched_.push_back(static_cast<quint32>(slot));
}

void LoadedResults::setLevelBestTime(int level, qint32 seconds)
{
    if (isLevelSlot(level))
        levelBestTime_[static_cast<size_t>(level)] = seconds;
}

void loadResults(const QString& courseFolder, LoadedResults& results)
{
    ResultsFile file = openResultsFile(courseFolder);
    // The newest records: the window always ends at the last complete record.
    const qint64 count = file.recordCount();
    const qint64 first = std::max<qint64>(1, count - kLoadedRecordLimit + 1);
    QByteArray bytes = file.readBytes(first, count - first + 1);
    // Runs of this computer still waiting to reach the file count as its newest.
    if (!results.pendingFile_.isEmpty()) {
        std::vector<QByteArray> pending;
        try {
            pending = readPendingRecords(results.pendingFile_);
        } catch (const DataError&) {
            // Unreadable now: the next delivery reports it.
        }
        if (!pending.empty()) {
            std::unordered_set<std::string> present;
            for (qsizetype at = 0; at < bytes.size(); at += kResultRecordSize)
                present.insert(std::string(bytes.constData() + at, kResultRecordSize));
            for (const QByteArray& r : pending)
                if (present.insert(r.toStdString()).second)
                    bytes += r;
            const qsizetype limit = qsizetype(kLoadedRecordLimit) * kResultRecordSize;
            if (bytes.size() > limit)
                bytes.remove(0, bytes.size() - limit);
        }
    }

    results.clear();
    for (qsizetype at = 0; at < bytes.size(); at += kResultRecordSize) {
        const ResultRecord r = decodeResultRecord(bytes.constData() + at);
        if (!isLevelSlot(r.level) || !isStudentSlot(r.studentNumber))
            continue;
        const size_t slot = LoadedResults::index(r.level, r.studentNumber);
        if (r.seconds < results.bestTime_[slot]) {
            if (results.bestTime_[slot] == kNoTime)
                results.touched_.push_back(static_cast<quint32>(slot));
            results.bestTime_[slot] = r.seconds;
        }
        // The level's best over students 1 to 1000 is the lowest of their best times.
        if (r.level >= 1 && r.studentNumber >= 1 && r.studentNumber <= 1000) {
            qint32& levelBest = results.levelBestTime_[static_cast<size_t>(r.level)];
            levelBest = std::min(levelBest, r.seconds);
        }
        if (r.runDate >= 0 && r.studentNumber != 0 && r.level >= 1)
            results.records_.push_back({r.runDate, r.runTime, r.studentNumber, r.level, r.seconds});
    }
}

} // namespace vc
