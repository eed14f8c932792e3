#pragma once
#include "levelscreen/views.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace vc {

struct AppState;
struct Roster;
struct StandardsTable;

// The run lists of the level screen: single runs read from the results file
// instead of rankings. The screen asks for the lines of every column and
// does the rest (headings, headline, selection, which controls show).
enum class RunList {
    Today,     // today's runs of the school, time view order 2
    Period,    // the runs of the selected period, order 3 of either view
    Personal,  // the current student's runs, "個人ﾀｲﾑ"
};

struct RunListRequest {
    RunList list = RunList::Today;
    ViewKind viewKind = ViewKind::Time;
    int period = kDefaultPeriod;  // 1..5
    QString gradeFilter;
};

// The headline each list sets above the order options.
QString runListHeadline(RunList list);

// How many records from the end of the results file each list looks at.
inline constexpr qint64 kTodayTail = 1000;
inline constexpr qint64 kPeriodTail = 20000;
// The personal list (and the report) look this many days back.
inline constexpr int kPersonalPeriodDays = 3650;

// Days back of a period 1..5 on `today`: weeks begin on Monday, so the week
// so far (1) and since last week's Monday (2), then 30, 365 and 3650 days.
// A run lies in the period when its date is later than today minus the days.
int periodDays(int period, const QDate& today);

// ---- Pieces of a line ----------------------------------------------------------

// The last five characters of six blanks, the seconds and "秒": 12 → "  12秒".
QString runTimeText(qint32 seconds);
// The display points of a run against the level's target time: up to the
// target, (((t − d) / t)³ × 50 + 5) with d the first three digits of the
// seconds; under twice the target 4; under ten times 1; else 0. A time-out has 0.
int listPoints(qint32 targetTime, qint32 seconds);
// The name without surrounding blanks, padded with four full-width spaces, first five characters.
QString runNameText(const QString& name);
QString hourMinuteText(double runTime);        // "09:05"
QString monthDayText(double runDate);          // "04/15"
QString fullDateText(double runDate);          // "2009/04/15"
QString clockTimeText(double runTime);         // "9:05:03"

// A run as the lines see it: the record's figures with the student's
// grade mark and name text already looked up.
struct RunLineInput {
    double runDate = 0;
    double runTime = 0;
    qint32 seconds = 0;
    qint32 targetTime = 0;
    QString gradeMark;
    QString nameText;
};

// Runs of 90000 seconds or more are shown as time-outs.
inline constexpr qint32 kTimeOutLineFloor = 90000;
inline const QString kTimeOutLead = QStringLiteral("　　× ");

QString todayLine(const RunLineInput& run);
QString periodLine(const RunLineInput& run, ViewKind viewKind);
QString personalLine(const RunLineInput& run);

// ---- The scan ------------------------------------------------------------------

// What a scan needs besides the file.
struct RunListContext {
    const Roster* roster = nullptr;
    const StandardsTable* standards = nullptr;
    qint16 currentStudent = 0;
    int levelCount = 0;
    QDate today;
};

// Told the scan's range once (0 to 1.1 × (records + 1)) and then, from time
// to time, the number of the record just read.
struct ScanProgress {
    std::function<void(qint64 maximum)> range;
    std::function<void(qint64 record)> value;
};

// Reads the tail of the results file at `path` in file order and builds the
// lines of each level column 1..levelCount (entry 0 unused), in the order
// they are found; the screen's lists sort them. Records of levels the course
// does not have are skipped by every list; a student number outside the
// roster gives an empty name. Throws DataError when the file cannot be read.
std::vector<QStringList> scanRunLists(const QString& path, const RunListContext& context, const RunListRequest& request,
                                      const ScanProgress& progress = {});

// The same on the state's results file, roster and clock.
std::vector<QStringList> runListLines(const AppState& state, const RunListRequest& request, const ScanProgress& progress = {});

} // namespace vc
