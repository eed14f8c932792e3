#pragma once
#include "records/resultrecord.h"
#include "records/resultsrewrite.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>
#include <span>
#include <vector>

namespace vc {

// The results administration screen's own roster tables, indexed by student
// number 0..5000, and the student choices of its editor.
struct AdminRoster {
    AdminRoster();
    std::vector<QString> names;      // spaces around the name removed
    std::vector<qint16> birthYears;
    std::vector<qint16> statuses;
    std::vector<QString> classes;    // stored ClassLabel ("小１"); empty when none
    // Every roster line in file order, whatever its status: number + " /  " + name.
    QStringList choices;

    QString name(int student) const;
    QString classLabel(int student) const;
};

// Reads "新名簿.txt" into `roster` (grades by `schoolYear`). Throws DataError
// naming the file; `roster` is then unchanged.
void adminRosterPass(const QString& rosterPath, int schoolYear, AdminRoster& roster);

// The school as the list names it: records with this school's code end in
// "++" + name, all others in "++他塾".
struct AdminSchool {
    QString code;
    QString name;
};

// One listed record: its number in the file (from 1), its bytes as read when
// the list was built (what a later save or delete checks it still holds),
// and its line.
struct AdminRow {
    qint64 number = 0;
    QByteArray bytes;
    ResultRecord record;
    QString line;
};

// The fixed forms of the list, the same on every computer.
QString adminDateText(double runDate);  // "2026/12/10"; "----/--/--" when not a date
QString adminTimeText(double runTime);  // "9:05:03"
// Characters of the record-number field: the digits of the largest number, at least 4.
int recordNumberWidth(qint64 recordCount);
QString adminListLine(qint64 number, int width, const ResultRecord& record, const AdminRoster& roster,
                      const AdminSchool& school);

// One row per record of the results file, records of level 0 left out (the
// later ones keep their numbers).
std::vector<AdminRow> buildAdminRows(const QString& resultsPath, const AdminRoster& roster, const AdminSchool& school);

// The texts the editor shows for a row.
struct AdminEditorTexts {
    QString number;     // Label1
    QString level;      // Label2(1): level + "ﾚﾍﾞﾙ"
    QString date;       // Label2(2)
    QString classLabel; // Label2(4)
    QString seconds;    // Text1(1)
    QString student;    // Combo1: number + " /  " + name
};
AdminEditorTexts adminEditorTexts(const AdminRow& row, const AdminRoster& roster);

// The student number before the first "/" of a Combo1 text, when it is a
// whole number 1..5000.
std::optional<qint16> studentOfChoice(const QString& text);
// The class label shown for a Combo1 text (spaces removed).
QString classOfChoice(const QString& text, const AdminRoster& roster);
// The seconds typed into Text1(1), when a whole number 0..99999.
std::optional<qint32> secondsOfText(const QString& text);

// Whether record `row.number` still holds the listed run (read without lock,
// for opening the editor).
bool rowStillListed(const QString& resultsPath, const AdminRow& row);

// The record as listed, with another student and seconds; every other byte as stored.
QByteArray changedRecordBytes(const AdminRow& row, qint16 student, qint32 seconds);
// Saves the change, or deletes the record, under the results file's lock,
// when the record still holds the listed run.
RewriteOutcome saveAdminRow(const QString& resultsPath, const AdminRow& row, qint16 student, qint32 seconds,
                            const RewriteOptions& options = {});
RewriteOutcome deleteAdminRow(const QString& resultsPath, const AdminRow& row, const RewriteOptions& options = {});

// The list row to select after a deletion: the remembered row (counted from
// 1) while the list still reaches it, otherwise the last; -1 for an empty list.
int rowAfterDeletion(int rememberedRow, int rowCount);

// The listed records as a CSV text for spreadsheets: UTF-8 with a byte-order
// mark, CR LF, a heading line, then number, date, time, level, level name,
// seconds, student number, name, class and school of each row.
QByteArray adminCsv(const std::vector<AdminRow>& rows, const AdminRoster& roster, const AdminSchool& school,
                    std::span<const QString> levelNames);
// Writes adminCsv into `folder` (created when missing) under a name made of
// the time `now`, and returns its path. Throws DataError naming the file.
QString writeAdminCsv(const QString& folder, const std::vector<AdminRow>& rows, const AdminRoster& roster,
                      const AdminSchool& school, std::span<const QString> levelNames, const QDateTime& now);

} // namespace vc
