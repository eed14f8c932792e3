#include "admin/resultsadmin.h"

#include "platform/clock.h"
#include "platform/csv.h"
#include "platform/errors.h"
#include "records/capacity.h"
#include "records/resultsfile.h"
#include "students/roster.h"

#include <QDir>
#include <QSaveFile>
#include <QtEndian>
#include <cmath>

namespace vc {
namespace {

const QString kChoiceSeparator = QStringLiteral(" /  ");

QString withoutSpaces(QString text)
{
    return text.remove(u' ');
}

// Day numbers of dates a calendar can show (years 1 to 9999).
bool isShowableDay(double day)
{
    return std::isfinite(day) && day >= -693593.0 && day < 2958466.0;
}

QString schoolOf(const ResultRecord& record, const AdminSchool& school)
{
    return schoolCodeText(record.schoolCode) == school.code ? school.name : QStringLiteral("他塾");
}

} // namespace

AdminRoster::AdminRoster()
    : names(kStudentRows), birthYears(kStudentRows), statuses(kStudentRows), classes(kStudentRows)
{
}

QString AdminRoster::name(int student) const
{
    return isStudentSlot(student) ? names[static_cast<size_t>(student)] : QString();
}

QString AdminRoster::classLabel(int student) const
{
    return isStudentSlot(student) ? classes[static_cast<size_t>(student)] : QString();
}

void adminRosterPass(const QString& rosterPath, int schoolYear, AdminRoster& roster)
{
    const std::vector<RosterRecord> records = readRoster(rosterPath);
    roster.choices.clear();
    for (const RosterRecord& rec : records) {
        const size_t n = static_cast<size_t>(rec.StudentNumber);
        roster.names[n] = trimSpaces(rec.name);
        roster.birthYears[n] = rec.BirthYear;
        roster.statuses[n] = rec.StudentStatus;
        const QString stored = storedClassLabel(gradeNumber(schoolYear, rec.BirthYear));
        if (!stored.isEmpty())
            roster.classes[n] = stored;
        roster.choices.append(QString::number(rec.StudentNumber) + kChoiceSeparator + roster.names[n]);
    }
}

QString adminDateText(double runDate)
{
    if (!isShowableDay(runDate))
        return QStringLiteral("----/--/--");
    return dateFromDayNumber(runDate).toString(QStringLiteral("yyyy/MM/dd"));
}

QString adminTimeText(double runTime)
{
    if (!std::isfinite(runTime))
        return QStringLiteral("-:--:--");
    return timeFromDayFraction(runTime).toString(QStringLiteral("H:mm:ss"));
}

int recordNumberWidth(qint64 recordCount)
{
    return std::max<int>(4, static_cast<int>(QString::number(recordCount).size()));
}

QString adminListLine(qint64 number, int width, const ResultRecord& r, const AdminRoster& roster, const AdminSchool& school)
{
    QString line = QString::number(number).rightJustified(width, u' ');
    line += u' ' + adminDateText(r.runDate) + u'　';
    line += (QStringLiteral("  ") + adminTimeText(r.runTime)).right(9);
    line += QStringLiteral("ﾚﾍﾞﾙ") + QString::number(r.level) + u'　';
    line += QString::number(r.seconds).rightJustified(5, u' ') + QStringLiteral("秒 ") + u'　';
    line += QString::number(r.studentNumber).rightJustified(4, u' ') + u' ';
    line += (roster.name(r.studentNumber) + QStringLiteral("　　　　　")).left(6) + u' ';
    line += roster.classLabel(r.studentNumber);
    line += QStringLiteral("++") + schoolOf(r, school);
    return line;
}

std::vector<AdminRow> buildAdminRows(const QString& resultsPath, const AdminRoster& roster, const AdminSchool& school)
{
    ResultsFile file(resultsPath);
    const qint64 count = file.recordCount();
    const QByteArray bytes = file.readBytes(1, count);
    const qint64 read = bytes.size() / kResultRecordSize;
    const int width = recordNumberWidth(read);
    std::vector<AdminRow> rows;
    rows.reserve(static_cast<size_t>(read));
    for (qint64 k = 1; k <= read; ++k) {
        const char* at = bytes.constData() + (k - 1) * kResultRecordSize;
        const ResultRecord record = decodeResultRecord(at);
        if (record.level == 0)
            continue;
        AdminRow row;
        row.number = k;
        row.bytes = QByteArray(at, kResultRecordSize);
        row.record = record;
        row.line = adminListLine(k, width, record, roster, school);
        rows.push_back(std::move(row));
    }
    return rows;
}

AdminEditorTexts adminEditorTexts(const AdminRow& row, const AdminRoster& roster)
{
    const ResultRecord& r = row.record;
    return {QString::number(row.number),
            QString::number(r.level) + QStringLiteral("ﾚﾍﾞﾙ"),
            adminDateText(r.runDate),
            withoutSpaces(roster.classLabel(r.studentNumber)),
            QString::number(r.seconds),
            QString::number(r.studentNumber) + kChoiceSeparator + roster.name(r.studentNumber)};
}

std::optional<qint16> studentOfChoice(const QString& text)
{
    bool ok = false;
    const int number = withoutSpaces(text.section(u'/', 0, 0)).toInt(&ok);
    if (!ok || number < 1 || number >= kStudentRows)
        return std::nullopt;
    return static_cast<qint16>(number);
}

QString classOfChoice(const QString& text, const AdminRoster& roster)
{
    const std::optional<qint16> student = studentOfChoice(text);
    return student ? withoutSpaces(roster.classLabel(*student)) : QString();
}

std::optional<qint32> secondsOfText(const QString& text)
{
    bool ok = false;
    const int seconds = text.trimmed().toInt(&ok);
    if (!ok || seconds < 0 || seconds > kNoTime)
        return std::nullopt;
    return seconds;
}

bool rowStillListed(const QString& resultsPath, const AdminRow& row)
{
    ResultsFile file(resultsPath);
    return file.readBytes(row.number, 1) == row.bytes;
}

QByteArray changedRecordBytes(const AdminRow& row, qint16 student, qint32 seconds)
{
    // Written into the listed bytes, so every other field stays byte for byte.
    QByteArray bytes = row.bytes;
    qToLittleEndian<qint16>(student, bytes.data() + 16);
    qToLittleEndian<qint32>(seconds, bytes.data() + 20);
    return bytes;
}

RewriteOutcome saveAdminRow(const QString& resultsPath, const AdminRow& row, qint16 student, qint32 seconds,
                            const RewriteOptions& options)
{
    return replaceResultRecord(resultsPath, row.number, row.bytes, changedRecordBytes(row, student, seconds), options);
}

RewriteOutcome deleteAdminRow(const QString& resultsPath, const AdminRow& row, const RewriteOptions& options)
{
    return deleteResultRecord(resultsPath, row.number, row.bytes, options);
}

int rowAfterDeletion(int rememberedRow, int rowCount)
{
    if (rowCount <= 0)
        return -1;
    return std::clamp(rememberedRow - 1, 0, rowCount - 1);
}

QByteArray adminCsv(const std::vector<AdminRow>& rows, const AdminRoster& roster, const AdminSchool& school,
                    std::span<const QString> levelNames)
{
    QStringList lines;
    lines.append(QStringLiteral("番号,日付,時刻,レベル,レベル名,秒,生徒番号,名前,学年,塾"));
    for (const AdminRow& row : rows) {
        const ResultRecord& r = row.record;
        const QString levelName = r.level >= 0 && static_cast<size_t>(r.level) < levelNames.size()
                                      ? levelNames[static_cast<size_t>(r.level)] : QString();
        // Numbers, dates and times are the program's own; the texts come from
        // the course, roster and settings files and are kept from being run
        // as formulas.
        const QStringList fields = {csvField(QString::number(row.number)),
                                    csvField(adminDateText(r.runDate)),
                                    csvField(adminTimeText(r.runTime)),
                                    csvField(QString::number(r.level)),
                                    csvTextField(levelName),
                                    csvField(QString::number(r.seconds)),
                                    csvField(QString::number(r.studentNumber)),
                                    csvTextField(roster.name(r.studentNumber)),
                                    csvTextField(roster.classLabel(r.studentNumber)),
                                    csvTextField(schoolOf(r, school))};
        lines.append(fields.join(u','));
    }
    return QByteArray("\xEF\xBB\xBF") + (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

QString writeAdminCsv(const QString& folder, const std::vector<AdminRow>& rows, const AdminRoster& roster,
                      const AdminSchool& school, std::span<const QString> levelNames, const QDateTime& now)
{
    const QString path = QDir(folder).filePath(QStringLiteral("成績データ_%1.csv").arg(now.toString(QStringLiteral("yyyyMMdd_HHmmss"))));
    if (!QDir().mkpath(folder))
        throw DataError(fileMessage(path, QStringLiteral("を作るフォルダーを作れません。")));
    const QByteArray bytes = adminCsv(rows, roster, school, levelNames);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw DataError(fileMessage(path, QStringLiteral("に書き込めません。")));
    return path;
}

} // namespace vc
