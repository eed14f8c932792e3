#pragma once
#include "records/capacity.h"
#include "records/resultsfile.h"
#include "records/standards.h"

#include <vector>

namespace vc {

class Clock;

// The points of one run on a level: tier points by the run's time against
// the level's targetTime, times pointMultiplier, integer part. Time-outs and
// levels without standards earn 0.
int runPoints(const StandardsTable& standards, int level, qint32 seconds);
int runPoints(const StandardsRow& row, qint32 seconds);

// A run counts as valid below 5000 seconds.
inline constexpr bool isValidRun(qint32 seconds) { return seconds < kValidRunLimit; }

// The figures of one student on one level.
struct LevelFigures {
    qint32 totalPoints = 0;  // points of all runs of all time
    qint32 judgePoints = 0;  // points of the runs within the judgement period
    qint32 banPoints = 0;    // points of the runs within the ban period
    qint32 todayPoints = 0;  // points of today's runs
    float todayRuns = 0;     // valid runs of today
    qint16 validRuns = 0;    // valid runs of all time
    qint16 judgeRuns = 0;    // valid runs within the judgement period
    qint16 banRuns = 0;      // valid runs within the ban period
};

// Every student's figures on every level, as of the last statistics pass.
class Statistics {
public:
    Statistics();

    // Level 1..100 and student 1..5000; any other pair reads as all zero.
    const LevelFigures& at(int level, int student) const
    {
        return level >= 1 && level < kLevelRows && student >= 1 && student < kStudentRows ? figures_[index(level, student)] : kNone;
    }

private:
    friend void computeStatistics(const QString&, const StandardsTable&, const Clock&, LoadedResults&, Statistics&);
    static size_t index(int level, int student) { return static_cast<size_t>(level) * kStudentRows + static_cast<size_t>(student); }
    static const LevelFigures kNone;

    std::vector<LevelFigures> figures_;
    // The entries the last pass filled; the next pass resets only these, which
    // rebuilds the whole table without clearing 100 × 5000 entries each time.
    std::vector<quint32> touched_;
};

// The statistics pass: reloads the results file into `results` and rebuilds
// every figure of `statistics` from scratch. A run counts within a period of
// d days when its date is later than today minus d days.
void computeStatistics(const QString& courseFolder, const StandardsTable& standards, const Clock& clock,
                       LoadedResults& results, Statistics& statistics);

// judgePoints ≥ clearPoints and judgeRuns ≥ clearCount of the level.
bool isLevelCleared(const StandardsTable& standards, const Statistics& statistics, int level, int student);
// (banCount ≠ 0 and banRuns ≥ banCount) or (banPoints ≠ 0 and the banPoints
// figure ≥ banPoints), the standards compared as numbers, empty as 0.
bool isOverPractised(const StandardsTable& standards, const Statistics& statistics, int level, int student);

// What the last recorded run achieved. recordResult raises personalBest and
// levelRecord (the end-of-drill screen clears them once shown) and sets
// wasClearedBefore anew on every run.
struct RunOutcomeFlags {
    bool personalBest = false;
    bool levelRecord = false;
    bool wasClearedBefore = false;
};

// Stores a finished run of the destination's student: decides
// wasClearedBefore from the all-time figures of the last pass, appends the
// record, then updates the two best times in memory and raises the flags. If
// the append fails (DataError), neither the best times nor the flags change.
// A run kept in the pending file counts like one in the results file.
StoredIn recordResult(const ResultDestination& destination, qint16 level, qint32 resultSeconds, const Clock& clock,
                  const StandardsTable& standards, const Statistics& statistics, LoadedResults& results,
                  RunOutcomeFlags& flags);

} // namespace vc
