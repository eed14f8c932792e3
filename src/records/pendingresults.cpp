#include "records/pendingresults.h"

#include "platform/durable.h"
#include "platform/errors.h"
#include "records/resultrecord.h"
#include "records/resultsrewrite.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <unordered_set>

namespace vc {
namespace {

std::string key(const QByteArray& record) { return record.toStdString(); }

// Removed for good before the results file's lock is released: pending runs
// that came back after a power cut would be stored again, even after a
// teacher deleted them.
void removePendingFile(const QString& pendingPath)
{
    if (!QFile::remove(pendingPath) && QFile::exists(pendingPath))
        throw DataError(fileMessage(pendingPath, QStringLiteral("を消せません。")));
    syncFolderOf(pendingPath);
}

} // namespace

QString pendingResultsPath(const QString& localFolder, const QString& resultsPath)
{
    const QByteArray id = QCryptographicHash::hash(QFileInfo(resultsPath).absoluteFilePath().toUtf8(),
                                                   QCryptographicHash::Sha1)
                              .toHex()
                              .left(16);
    QString folder = localFolder;
    if (!folder.isEmpty() && !folder.endsWith(u'/'))
        folder += u'/';
    return folder + QStringLiteral("未送信成績-") + QString::fromLatin1(id) + QStringLiteral(".dat");
}

std::vector<QByteArray> readPendingRecords(const QString& pendingPath)
{
    std::vector<QByteArray> records;
    QFile file(pendingPath);
    if (!file.exists())
        return records;
    if (!file.open(QIODevice::ReadOnly))
        throw DataError(fileMessage(pendingPath, QStringLiteral("を読めません。")));
    const QByteArray bytes = file.readAll();
    for (qsizetype at = 0; at + kResultRecordSize <= bytes.size(); at += kResultRecordSize)
        records.push_back(bytes.mid(at, kResultRecordSize));
    return records;
}

void addPendingRecord(const QString& pendingPath, const QByteArray& record)
{
    QByteArray all;
    for (const QByteArray& r : readPendingRecords(pendingPath))
        all += r;
    all += record;
    QDir().mkpath(QFileInfo(pendingPath).absolutePath());
    // Replaced whole, so a crash leaves either the old list or the new one.
    QSaveFile file(pendingPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(all) != all.size() || !file.commit())
        throw DataError(fileMessage(pendingPath, QStringLiteral("に書き込めません。")));
}

int deliverPendingRecords(LockedFile& results, const QString& pendingPath)
{
    const std::vector<QByteArray> pending = readPendingRecords(pendingPath);
    if (pending.empty()) {
        removePendingFile(pendingPath);  // an empty or torn leftover
        return 0;
    }
    const qint64 complete = results.size() / kResultRecordSize;

    // Records a delivery cut short by a crash already wrote. Read through
    // the lock's own descriptor and checked: a short or failed read would
    // have runs stored twice.
    std::unordered_set<std::string> present;
    {
        const QByteArray bytes = results.readExactly(0, complete * kResultRecordSize);
        present.reserve(static_cast<size_t>(complete));
        for (qsizetype at = 0; at + kResultRecordSize <= bytes.size(); at += kResultRecordSize)
            present.insert(key(bytes.mid(at, kResultRecordSize)));
    }
    QByteArray missing;
    int count = 0;
    for (const QByteArray& r : pending) {
        if (present.insert(key(r)).second) {
            missing += r;
            ++count;
        }
    }
    // Durable (writeAt syncs) before the pending copy goes, whatever happens
    // to the power.
    if (!missing.isEmpty())
        results.writeAt(complete * kResultRecordSize, missing);
    removePendingFile(pendingPath);
    return count;
}

int deliverPendingRecords(const QString& resultsPath, const QString& pendingPath, std::chrono::milliseconds wait)
{
    if (!QFile::exists(pendingPath))
        return 0;
    LockedFile results(resultsPath, wait);
    completeInterruptedRewrite(results);
    return deliverPendingRecords(results, pendingPath);
}

} // namespace vc
