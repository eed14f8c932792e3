#pragma once
#include "roster.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace vc {

struct AppState;

// Which two figures each line of the name list shows.
enum class DisplayMode {
    RunsTodayAndSoFar = 0,    // "回数(今日／今まで）"
    PointsTodayAndSoFar = 1,  // "ポイント（今日／今まで）"
    Today = 2,                // "本日（ポイント／回数）"
    SoFar = 3,                // "今まで（ポイント／回数）"
};

// A student's four figures, each summed over the levels.
struct NameListFigures {
    qint64 todayRuns = 0;
    qint64 todayPoints = 0;
    qint64 validRuns = 0;
    qint64 totalPoints = 0;
};

// The four figure texts; a zero shows as blanks of its own fixed width.
QString runsTodayText(qint64 runs);
QString pointsTodayText(qint64 points);
QString runsSoFarText(qint64 runs);
QString pointsSoFarText(qint64 points);

// NameListLine: short class label + " " + name + ideographic-space padding
// to width 9 (11 for preschool outside the points mode) + the two figures
// of the mode, separated by "/".
QString nameListLine(const ListedStudent& student, DisplayMode mode, const NameListFigures& figures);
// SortKeyLine: birth year (four digits), the line, "*", the student number.
QString sortKeyLine(const ListedStudent& student, const QString& line);

struct NameList {
    QStringList List1;  // "－－－－－－" first, then one NameListLine per shown student
    QStringList List2;  // every listed student's SortKeyLine, in sorted order
    QStringList List3;  // parallel to List1 without its first row: line + "*" + number
};

inline const QString kNameListFirstRow = QStringLiteral("－－－－－－");

// Orders the listed students by SortKeyLine (birth year, oldest first, then
// class label and name, in the program's list order) and keeps those
// passing `filter`. `figures` is
// indexed by student number; missing entries count as zero.
NameList composeNameList(const std::vector<ListedStudent>& students, const std::vector<NameListFigures>& figures,
                         DisplayMode mode, const QString& filter, int schoolYear);

// Runs the statistics pass (refilling the loaded results and Statistics) and
// sums every student's four figures over levels 1..100, indexed by student
// number 0..5000. Throws DataError for a bad results file.
std::vector<NameListFigures> nameListFigures(AppState& state);

// The statistics, the name-selection pass and the composition in one: what
// the name-selection screen shows. Throws DataError for a bad roster or
// results file.
NameList buildNameList(AppState& state, DisplayMode mode, const QString& filter);

} // namespace vc
