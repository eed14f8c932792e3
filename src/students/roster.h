#pragma once
#include <QDate>
#include <QString>
#include <QStringList>
#include <vector>

namespace vc {

struct AppState;
struct DataPaths;

constexpr int kRosterNameWidth = 20;

// One record of "新名簿.txt": eight values, of which the program uses these.
struct RosterRecord {
    qint16 StudentNumber = 0;  // 0..5000
    qint16 BirthYear = 0;
    QString name;              // the 20-character field, padded with spaces
    qint16 StudentStatus = 0;  // 0 active, 2 listed on request, others never
    int line = 0;              // where the record starts, for messages
};

// DataFolder + "新名簿.txt".
QString rosterPath(const DataPaths& paths);

// Reads the whole roster. A missing or undecodable file, a record short of
// its eight values, a value that is not a number where one belongs, or a
// StudentNumber outside 0..5000 throws DataError naming the file and the
// record; nothing has been stored anywhere then.
std::vector<RosterRecord> readRoster(const QString& path);

// Cut or padded on the right with spaces to 20 characters.
QString nameField(const QString& name);
// Removes the half-width spaces around a text (the ideographic space stays).
QString trimSpaces(const QString& text);

// Calendar year, minus 1 before the month the school year starts in.
int schoolYearOf(const QDate& today, int schoolYearStartMonth);
// SchoolYear − BirthYear − 6: 1–6 elementary, 7–9 junior high, 10–12 senior high.
int gradeNumber(int schoolYear, int birthYear);
// "小1", "中3", "幼-", "大+": the form the name list shows.
QString shortClassLabel(int gradeNumber);
// "小１", "中３": the stored form; empty for grades that have none.
QString storedClassLabel(int gradeNumber);
// Decides the layout of a name-list line: the grade for elementary school,
// GradeNumber − 6 for preschool and junior high, − 9 from senior high on.
int gradeValue(int gradeNumber);

// The twelve filters in the order they are offered: "全学年", "中学生全体", …, "小１".
const QStringList& gradeFilters();
// Whether a student of `gradeNumber` passes the filter; unknown texts pass nobody.
bool passesGradeFilter(const QString& filter, int gradeNumber);

// A student the name-selection pass lists, handed on to the name list.
struct ListedStudent {
    qint16 number = 0;
    QString name;        // surrounding spaces removed
    qint16 birthYear = 0;
    QString classLabel;  // short form
    int gradeValue = 0;
};

// The name-selection pass: reads the roster, refreshes SchoolYear, the
// names, birth years and stored class labels, and ListedNumbers/ListedCount,
// and returns the listed students (status 0, or 2 when ShowStatus2Students
// is 1) in file order. Throws DataError as readRoster, or when more than 5000
// students would be listed; the roster values are untouched then.
std::vector<ListedStudent> nameSelectionPass(AppState& state);

// For the results views: refreshes every student's name (spaces removed),
// birth year and stored class label, then replaces `list` with one entry per
// student of status 0: stored class label + " /  " + name + "/" + number,
// e.g. "小１ /  山田/12".
void readRosterForResults(AppState& state, QStringList& list);

} // namespace vc
