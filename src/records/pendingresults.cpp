#include "records/pendingresults.h"

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
        QFile::remove(pendingPath);  // an empty or torn leftover
        return 0;
    }
    const qint64 complete = results.size() / kResultRecordSize;

    // Records a delivery cut short by a crash already wrote.
    std::unordered_set<std::string> present;
    {
        QFile reader(results.path());
        if (!reader.open(QIODevice::ReadOnly))
            throw DataError(fileMessage(results.path(), QStringLiteral("を読めません。")));
        const QByteArray bytes = reader.read(complete * kResultRecordSize);
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
    if (!missing.isEmpty()) {
        results.writeAt(complete * kResultRecordSize, missing);
        // On disk before the pending copy goes, whatever happens to the power.
        results.sync();
    }
    if (!QFile::remove(pendingPath) && QFile::exists(pendingPath))
        throw DataError(fileMessage(pendingPath, QStringLiteral("を消せません。")));
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
