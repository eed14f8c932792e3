#pragma once
#include "platform/lockedfile.h"
#include "records/capacity.h"
#include "records/resultrecord.h"

#include <QFile>
#include <QString>
#include <array>
#include <chrono>
#include <memory>
#include <vector>

namespace vc {

class Clock;
class Random;

QString resultsFilePath(const QString& courseFolder);  // "成績累積データ.dat"

// Read access to the shared results file, by record number. Readers take no
// lock: other computers may append meanwhile, and only complete records are
// ever returned. A read the file server refuses over another program's lock
// is tried again for a while (sharedread.h) before it is reported. A missing
// file reads as empty.
class ResultsFile {
public:
    explicit ResultsFile(const QString& path);
    ~ResultsFile();
    ResultsFile(ResultsFile&& other) noexcept;
    ResultsFile& operator=(ResultsFile&&) = delete;
    ResultsFile(const ResultsFile&) = delete;
    ResultsFile& operator=(const ResultsFile&) = delete;
    const QString& path() const { return path_; }
    // Complete records now in the file: its length ÷ 44, integer division.
    qint64 recordCount() const;
    // Up to `count` records starting at record `first` (numbered from 1), in file order.
    std::vector<ResultRecord> read(qint64 first, qint64 count);
    std::vector<ResultRecord> readAll() { return read(1, recordCount()); }
    // The raw bytes of the same records, 44 per record.
    QByteArray readBytes(qint64 first, qint64 count);

private:
    QString path_;
    int fd_ = -1;  // -1 while the file does not exist
};

ResultsFile openResultsFile(const QString& courseFolder);

// How long the end of a run waits for another computer's lock before it
// keeps the run in this computer's pending file instead.
inline constexpr std::chrono::milliseconds kResultLockLimit{60000};

// Who stores a run and where.
struct ResultDestination {
    QString courseFolder;  // ends with "/"
    QString schoolCode;    // the school's code, empty when it has none
    qint16 studentNumber = 0;
    // How long to wait for another computer's append.
    std::chrono::milliseconds lockWait = kResultLockLimit;
    // This computer's pending file (pendingresults.h); empty for none, and
    // then a run that cannot be stored is reported as an error.
    QString pendingFile{};
    // Told while the append waits for the lock, so the student sees why.
    LockWaitCallback whileWaiting{};
    // Draws the record's tag (resultrecord.h); null for the program's own source.
    Random* tagSource = nullptr;
};

enum class StoredIn { ResultsFile, PendingFile };

// The record that appendResultRecord writes, dated by the clock and tagged
// so that no other run shares all its bytes.
ResultRecord makeResultRecord(const ResultDestination& destination, qint16 level, qint32 resultSeconds, const Clock& clock);

// Appends one record for the run under the writers' lock, right after the
// last complete record (an incomplete tail is overwritten), durable before
// the lock is released; records still pending from earlier go first. The
// file is created when missing. When the
// lock stays taken past `lockWait`, or the file cannot be written, the record
// goes to the pending file instead (PendingFile is returned). Throws
// DataError only when it could be stored nowhere.
StoredIn appendResultRecord(const ResultDestination& destination, qint16 level, qint32 resultSeconds, const Clock& clock);

// One loaded run.
struct LoadedRecord {
    double runDate = 0;
    double runTime = 0;
    qint16 studentNumber = 0;
    qint16 level = 0;
    qint32 seconds = 0;
};

// The results file as the last statistics pass loaded it: the newest runs
// and every student's best time per level.
class LoadedResults {
public:
    LoadedResults();

    // This computer's pending file: its runs count as if they were already at
    // the end of the results file. Empty for none.
    void setPendingFile(const QString& path) { pendingFile_ = path; }
    const QString& pendingFile() const { return pendingFile_; }

    // The loaded runs in file order (entry i is the i+1-th loaded record).
    const std::vector<LoadedRecord>& records() const { return records_; }
    int recordCount() const { return static_cast<int>(records_.size()); }

    // Lowest seconds of the student on the level; 99999 when there is none
    // (and for any level or student outside the tables).
    qint32 bestTime(int level, int student) const
    {
        return isLevelSlot(level) && isStudentSlot(student) ? bestTime_[index(level, student)] : kNoTime;
    }
    // Lowest best time of the level over students 1 to 1000; 99999 when there is none.
    qint32 levelBestTime(int level) const { return isLevelSlot(level) ? levelBestTime_[static_cast<size_t>(level)] : kNoTime; }

    // A finished run updates the two best times in memory at once, before the next pass.
    void setBestTime(int level, int student, qint32 seconds);
    void setLevelBestTime(int level, qint32 seconds);

private:
    friend void loadResults(const QString& courseFolder, LoadedResults& results);
    static size_t index(int level, int student) { return static_cast<size_t>(level) * kStudentRows + static_cast<size_t>(student); }
    void clear();

    std::vector<LoadedRecord> records_;
    std::vector<qint32> bestTime_;
    // The slots of bestTime_ that differ from 99999, so a reload resets only
    // those instead of the whole table.
    std::vector<quint32> touched_;
    std::array<qint32, kLevelRows> levelBestTime_;
    QString pendingFile_;
};

// Rebuilds `results` from scratch from the newest 20000 complete records of
// the results file. Records with a level outside 0..100 or a student outside
// 0..5000 are passed over; records of level 0, student 0 or a negative date
// count towards no list (a negative date still counts towards the best time,
// as the stored run it is). A missing file loads as empty.
void loadResults(const QString& courseFolder, LoadedResults& results);

} // namespace vc
