#include "records/resultstool.h"

#include "platform/clock.h"
#include "platform/csv.h"
#include "platform/errors.h"
#include "records/capacity.h"
#include "records/resultrecord.h"
#include "records/resultsfile.h"
#include "records/resultsrewrite.h"

#include <QFile>
#include <QSaveFile>
#include <cmath>

namespace vc {
namespace {

constexpr qint64 kRecord = kResultRecordSize;

QString field(const std::array<char, 5>& bytes)
{
    return QString::fromLatin1(bytes.data(), 5);
}

} // namespace

QStringList ResultsHealth::describe(const QString& resultsPath) const
{
    QStringList lines;
    if (!exists)
        lines << QStringLiteral("%1 はまだありません（記録 0 件）。").arg(resultsPath);
    else
        lines << QStringLiteral("%1: 記録 %2 件。").arg(resultsPath).arg(records);
    if (tailBytes > 0)
        lines << QStringLiteral("最後に書きかけの記録（%1 バイト）があります。repair で切り取れます。").arg(tailBytes);
    if (outsideTables > 0)
        lines << QStringLiteral("レベル（0～100）か生徒番号（0～5000）が範囲外の記録が %1 件あります（最初は %2 件目）。"
                                "教師用の「データ変更」画面で直すか消してください。")
                     .arg(outsideTables)
                     .arg(firstOutside);
    if (interruptedRewrite)
        lines << QStringLiteral("途中で止まった記録の変更か消去があります。repair で仕上げられます"
                                "（次に記録を保存するコンピューターも仕上げます）。");
    for (const QString& copy : setAside)
        lines << QStringLiteral("別名で残した作業ファイルがあります: %1（中身を確かめてから、不要なら消してください）。").arg(copy);
    if (sound())
        lines << QStringLiteral("問題はありません。");
    return lines;
}

ResultsHealth checkResults(const QString& resultsPath, std::chrono::milliseconds lockWait)
{
    ResultsHealth health;
    health.setAside = setAsideCopies(resultsPath);
    if (!QFile::exists(resultsPath)) {
        health.interruptedRewrite = hasInterruptedRewrite(resultsPath);
        return health;
    }
    // Under the lock, so a change or deletion in progress on another
    // computer is not taken for one left unfinished, nor its length for a
    // torn tail.
    LockedFile file(resultsPath, lockWait, {}, false);
    health.exists = true;
    health.interruptedRewrite = hasInterruptedRewrite(resultsPath);
    const qint64 size = file.size();
    health.records = size / kRecord;
    health.tailBytes = size % kRecord;
    const QByteArray bytes = file.readExactly(0, health.records * kRecord);
    for (qint64 i = 0; i < health.records; ++i) {
        const ResultRecord r = decodeResultRecord(bytes.constData() + i * kRecord);
        if (isLevelSlot(r.level) && isStudentSlot(r.studentNumber))
            continue;
        if (health.outsideTables++ == 0)
            health.firstOutside = i + 1;
    }
    return health;
}

qint64 backupResults(const QString& resultsPath, const QString& destination, std::chrono::milliseconds lockWait)
{
    if (QFile::exists(destination))
        throw DataError(fileMessage(destination, QStringLiteral("はもうあります。別の名前を指定してください。")));
    LockedFile file(resultsPath, lockWait, {}, false);
    const QByteArray bytes = file.readExactly(0, file.size());
    auto save = [](const QString& path, const QByteArray& data) {
        QSaveFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(data) != data.size() || !out.commit())
            throw DataError(fileMessage(path, QStringLiteral("に書き込めません。")));
    };
    const QString journal = rewriteJournalPath(resultsPath);
    // The fresh listing first: a look-up by name alone may answer from a cache.
    if (hasInterruptedRewrite(resultsPath) && QFile::exists(journal)) {
        QFile copy(journal);
        if (!copy.open(QIODevice::ReadOnly))
            throw DataError(fileMessage(journal, QStringLiteral("を読めません。")));
        save(destination + QStringLiteral("temp"), copy.readAll());
    }
    save(destination, bytes);
    return bytes.size() / kRecord;
}

void exportResultsCsv(const QString& resultsPath, const std::function<void(const QByteArray&)>& out)
{
    ResultsFile file(resultsPath);
    out(QByteArray("\xEF\xBB\xBF") + QStringLiteral("記録番号,日付,時刻,日付の値,時刻の値,生徒番号,レベル,秒,学校コード,予備1,予備2,予備3\r\n").toUtf8());
    const qint64 count = file.recordCount();
    constexpr qint64 kChunk = 4096;
    for (qint64 first = 1; first <= count; first += kChunk) {
        QByteArray chunk;
        const std::vector<ResultRecord> records = file.read(first, kChunk);
        for (size_t i = 0; i < records.size(); ++i) {
            const ResultRecord& r = records[i];
            const QDate date = std::isfinite(r.runDate) ? dateFromDayNumber(r.runDate) : QDate();
            const QTime time = std::isfinite(r.runTime) ? timeFromDayFraction(r.runTime) : QTime();
            const QStringList fields{
                QString::number(first + static_cast<qint64>(i)),
                date.isValid() ? date.toString(QStringLiteral("yyyy/MM/dd")) : QString(),
                time.isValid() ? time.toString(QStringLiteral("HH:mm:ss")) : QString(),
                QString::number(r.runDate, 'g', 17),
                QString::number(r.runTime, 'g', 17),
                QString::number(r.studentNumber),
                QString::number(r.level),
                QString::number(r.seconds),
                csvTextField(schoolCodeText(r.schoolCode)),
                csvTextField(field(r.reserved1)),
                csvTextField(field(r.reserved2)),
                csvTextField(field(r.reserved3)),
            };
            chunk += fields.join(u',').toUtf8() + "\r\n";
        }
        out(chunk);
        if (records.empty())
            break;
    }
}

RepairOutcome repairResults(const QString& resultsPath, std::chrono::milliseconds lockWait)
{
    RepairOutcome outcome;
    LockedFile file(resultsPath, lockWait, {}, false);
    const Recovery recovery = completeInterruptedRewrite(file);
    outcome.rewriteFinished = recovery == Recovery::Finished || recovery == Recovery::Dropped;
    outcome.rewriteSetAside = recovery == Recovery::SetAside;
    const qint64 size = file.size();
    outcome.tailCut = size % kRecord;
    if (outcome.tailCut > 0)
        file.cut(size - outcome.tailCut);
    return outcome;
}

} // namespace vc
