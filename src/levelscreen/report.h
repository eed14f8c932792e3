#pragma once
#include "levelscreen/ranking.h"
#include "records/capacity.h"
#include "records/resultrecord.h"

#include <QString>
#include <vector>

namespace vc {

struct AppState;
struct ResultRecord;
class DrawingSurface;

// The report of one student: per level a graph of the student's times in
// the period and a block of figures against the whole school, three levels
// to a page, drawn on any surface (the panel's picture or paper).

// The student's places in one level's two rankings, built as the level
// screen builds them, and the school's points.
struct ReportRanks {
    QString timeRankText;    // "  3", "---" without a result; empty when not listed
    QString pointsRankText;  // "  1"; empty when not listed
    qint64 ownPoints = 0;
    int schoolPointsCount = 0;  // students listed with points above 0
    qint64 schoolPointsSum = 0;
};

// The rank right-aligned in three characters: the last three of "   " & rank.
QString reportRankText(int rank);

// `entries` hold the level's figures (fillRankingFigures). The student is
// found by number: ranking lines cut names to five characters.
ReportRanks reportRanks(const std::vector<RankingEntry>& entries, qint16 student, RankingOrder pointsOrder);

// A run of the student drawn in the graph.
struct PlottedRun {
    int index = 0;  // runs under 1800 seconds so far, this one included
    qint32 seconds = 0;
    double runDate = 0;
};

// What the passes over the results file find for one level.
struct ReportLevelRuns {
    // The student's runs under 1800 seconds in the period.
    int count = 0;
    qint64 timeSum = 0;
    qint32 longest = 0;
    // The school's runs on the level in the period.
    int schoolCount = 0;       // under 1800 seconds
    qint64 schoolTimeSum = 0;  // of those
    qint32 schoolBest = kNoTime;
    // The student's runs in file order (empty while the grade selector
    // excludes the student or no run is under 1800 seconds).
    std::vector<PlottedRun> plotted;
    // The date of the newest record of the period (any level, any student).
    double newestDate = 0;
};

// Runs under this many seconds count for the averages and the graph.
inline constexpr qint32 kReportTimeLimit = 1800;

struct ReportScope {
    qint16 student = 0;
    int level = 0;
    int levelCount = 0;
    double today = 0;      // day number
    int periodDays = 0;    // records later than today − periodDays count
    bool gradePasses = true;  // the grade selector passes the student
};

// Both passes over the records in file order.
ReportLevelRuns reportLevelRuns(const std::vector<ResultRecord>& records, const ReportScope& scope);

// 10 × (⌊longest / 10⌋ + 1), at most 1000.
int reportTimeScale(qint32 longest);

// Written as the report's number format does: rounded to a whole number
// (halves away from zero), 0 as nothing.
QString reportNumber(double value);

// The ten lines of the figure block (index 4 and 8 may be empty).
std::vector<QString> reportFigureLines(const ReportLevelRuns& runs, const ReportRanks& ranks, const QString& lastBestTimeText);

struct ReportRequest {
    qint16 student = 0;
    int periodDays = 3650;
    std::vector<int> levels;  // in list order
    QString gradeFilter;
    RankingOrder pointsOrder = RankingOrder::TotalPoints;
    bool toPaper = false;
    int baseFontSize = 6;
    QString fontName = QStringLiteral("ＭＳ ゴシック");
};

// What the report reads from the files: the results file's records.
struct ReportData {
    std::vector<ResultRecord> records;
};
// Reads the results file (DataError when it cannot). A print reads first and
// starts its job only then, so a file it cannot read leaves no page and no PDF.
ReportData readReportData(const AppState& state);

// Draws the report on the surface from data already read: the panel's
// picture is erased first; on paper the fourth, seventh, … level starts a new
// page. The caller ends a paper document.
void drawReport(const AppState& state, const ReportRequest& request, const ReportData& data, DrawingSurface& surface);
// Reads, then draws (DataError before anything is drawn when it cannot read).
void drawReport(const AppState& state, const ReportRequest& request, DrawingSurface& surface);

} // namespace vc
