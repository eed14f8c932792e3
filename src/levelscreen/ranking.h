#pragma once
#include "records/capacity.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace vc {

struct AppState;

// The per-level ranking lists of the level screen.

enum class RankingOrder {
    BestTime,     // the time view: best result, fastest first
    TotalPoints,  // the points view, cumulative order
    TodayPoints,  // the points view, today's order
};

// One key of the sort and the table position it belongs to.
struct SortItem {
    qint64 key = 0;
    int payload = 0;
};

// Sorts ascending by key, top-down: the range is split at (first + last) / 2
// rounded down, both halves are sorted, the left half is copied aside and
// merged back, taking its element only when its key is strictly smaller.
// Of two equal keys the one from the right half therefore goes first: the
// sort is not stable, and sorting twice can reorder equal keys again.
void mergeSortKeys(std::vector<SortItem>& items);

// A listed student as one level's ranking sees them, in roster order.
struct RankingEntry {
    qint16 number = 0;
    QString name;          // as the roster holds it
    QString gradeMark;     // "●" for the current student, else by grade
    bool own = false;      // the current student
    bool listed = true;    // passes the grade selector's filter
    qint32 bestTime = kNoTime;
    qint32 totalPoints = 0;
    qint32 todayPoints = 0;
};

struct RankedLine {
    qint16 student = 0;
    int rank = 0;
    QString text;
    bool hasResult = true;  // false for the time view's "--" lines
};

// The ranking of one level: the entries sorted twice by the order's key
// (best time; or 1000000 − primary × 1000 − other points), ranked in sorted
// order (equal keys, or equal primary points, share the rank of the entry
// before; otherwise the rank is the position), then the students that the
// filter excludes dropped, and in today's order those without points today.
// Ranks count every student of the table, listed or not. Lines come in
// sorted-table order.
std::vector<RankedLine> rankLevel(const std::vector<RankingEntry>& entries, RankingOrder order);

// The lines as the column's list shows them: the ranked lines ascending by the
// program's list order (so by rank text, then grade mark and name), then the
// lines without a result in the same order. Sorted together, "--" would fall
// between rank 9 and rank 10.
QStringList listOrderedLines(const std::vector<RankedLine>& lines);

// The row just above the first line carrying "●" (the student's own), the
// one the list scrolls to; -1 when there is none.
int rowAboveOwnLine(const QStringList& lines);

// The rank right-aligned in two characters: the last two of " " & rank, so
// 100 shows as "00".
QString rankText(int rank);
// "①"–"⑥" for grades 1–6, "Ⅰ"–"Ⅲ" for 7–9, else a full-width space.
QString gradeMark(int gradeNumber);
inline const QString kOwnMark = QStringLiteral("●");
// The name without trailing blanks, padded with full-width spaces, first five characters.
QString rankingNameText(const QString& name);

// The students of ListedNumbers in roster order with their names, marks and
// the filter's verdict; the figures are filled per level.
std::vector<RankingEntry> rankingRoster(const AppState& state, const QString& gradeFilter);
void fillRankingFigures(const AppState& state, int level, std::vector<RankingEntry>& entries);

} // namespace vc
