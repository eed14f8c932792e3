#include "records/statistics.h"

#include "platform/clock.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace vc {
namespace {

int tierPoints(qint32 targetTime, qint32 seconds)
{
    if (seconds >= kTimeOutFloor)
        return 0;
    // 64-bit, so large standards cannot overflow the multiples.
    const qint64 t = targetTime;
    const qint64 s = seconds;
    // The first two tiers include their limit, the others exclude it.
    if (2 * s <= t)
        return 20;
    if (s <= t)
        return 10;
    if (s < 2 * t)
        return 5;
    if (s < 5 * t)
        return 3;
    if (s < 10 * t)
        return 1;
    return 0;
}

int multiplied(float multiplier, int tier)
{
    // In single precision like the multiplier itself, so a typed 0.7 times 10
    // gives 7 and not 6.999…
    const float product = multiplier * static_cast<float>(tier);
    if (!(product > static_cast<float>(std::numeric_limits<qint32>::min())))
        return product < 0 ? std::numeric_limits<qint32>::min() : 0;
    if (product >= static_cast<float>(std::numeric_limits<qint32>::max()))
        return std::numeric_limits<qint32>::max();
    return static_cast<int>(std::floor(product));
}

void addPoints(qint32& sum, int points)
{
    const qint64 total = static_cast<qint64>(sum) + points;
    sum = static_cast<qint32>(std::clamp<qint64>(total, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()));
}

} // namespace

const LevelFigures Statistics::kNone{};

int runPoints(const StandardsRow& row, qint32 seconds)
{
    return multiplied(row.pointMultiplier, tierPoints(row.targetTime, seconds));
}

int runPoints(const StandardsTable& standards, int level, qint32 seconds)
{
    const StandardsRow* row = standards.level(level);
    return row ? runPoints(*row, seconds) : 0;
}

Statistics::Statistics()
    : figures_(static_cast<size_t>(kLevelRows) * kStudentRows)
{
    touched_.reserve(kLoadedRecordLimit);
}

void computeStatistics(const QString& courseFolder, const StandardsTable& standards, const Clock& clock,
                       LoadedResults& results, Statistics& statistics)
{
    // Loaded first: if the file cannot be read, the last pass's figures stay
    // together with the last pass's records.
    loadResults(courseFolder, results);

    for (quint32 slot : statistics.touched_)
        statistics.figures_[slot] = LevelFigures{};
    statistics.touched_.clear();

    const double today = dayNumber(clock.today());
    struct LevelRule {
        qint32 targetTime;
        float pointMultiplier;
        double judgeAfter;  // runs dated later than this count towards clearing
        double banAfter;    // and these towards the ban
    };
    std::array<LevelRule, kLevelRows> rules{};
    for (int level = 1; level < kLevelRows; ++level) {
        const StandardsRow& row = standards.rows[static_cast<size_t>(level)];
        rules[static_cast<size_t>(level)] = {row.targetTime, row.pointMultiplier,
                                             today - row.judgePeriod.value, today - row.banPeriod.value};
    }

    for (const LoadedRecord& r : results.records()) {
        if (r.level < 1 || r.level >= kLevelRows || r.studentNumber < 1 || r.studentNumber >= kStudentRows)
            continue;
        const LevelRule& rule = rules[static_cast<size_t>(r.level)];
        const int points = multiplied(rule.pointMultiplier, tierPoints(rule.targetTime, r.seconds));
        const bool valid = isValidRun(r.seconds);
        const size_t slot = Statistics::index(r.level, r.studentNumber);
        statistics.touched_.push_back(static_cast<quint32>(slot));
        LevelFigures& f = statistics.figures_[slot];
        if (valid)
            ++f.validRuns;
        if (r.runDate > rule.judgeAfter) {
            if (valid)
                ++f.judgeRuns;
            addPoints(f.judgePoints, points);
        }
        if (r.runDate > rule.banAfter) {
            if (valid)
                ++f.banRuns;
            addPoints(f.banPoints, points);
        }
        addPoints(f.totalPoints, points);
        if (std::floor(r.runDate) == today) {
            if (valid)
                f.todayRuns += 1;
            addPoints(f.todayPoints, points);
        }
    }
}

bool isLevelCleared(const StandardsTable& standards, const Statistics& statistics, int level, int student)
{
    const StandardsRow* row = standards.level(level);
    if (!row)
        return false;
    const LevelFigures& f = statistics.at(level, student);
    return f.judgePoints >= row->clearPoints && f.judgeRuns >= row->clearCount;
}

bool isOverPractised(const StandardsTable& standards, const Statistics& statistics, int level, int student)
{
    const StandardsRow* row = standards.level(level);
    if (!row)
        return false;
    const LevelFigures& f = statistics.at(level, student);
    return (row->banCount.value != 0 && f.banRuns >= row->banCount.value)
        || (row->banPoints.value != 0 && f.banPoints >= row->banPoints.value);
}

StoredIn recordResult(const ResultDestination& destination, qint16 level, qint32 resultSeconds, const Clock& clock,
                  const StandardsTable& standards, const Statistics& statistics, LoadedResults& results,
                  RunOutcomeFlags& flags)
{
    const int student = destination.studentNumber;
    const StandardsRow* row = standards.level(level);
    const bool tracked = row && student >= 1 && student < kStudentRows;
    // All-time figures here, unlike isLevelCleared: "cleared before" means ever.
    const LevelFigures& f = statistics.at(level, student);
    const bool clearedBefore = tracked && f.validRuns >= row->clearCount && f.totalPoints >= row->clearPoints;
    const bool personalBest = tracked && resultSeconds < results.bestTime(level, student);
    const bool levelRecord = tracked && resultSeconds < results.levelBestTime(level);

    const StoredIn stored = appendResultRecord(destination, level, resultSeconds, clock);

    // Every flag is set afresh: they describe this run only.
    flags.wasClearedBefore = clearedBefore;
    flags.personalBest = personalBest;
    flags.levelRecord = levelRecord;
    if (personalBest)
        results.setBestTime(level, student, resultSeconds);
    if (levelRecord)
        results.setLevelBestTime(level, resultSeconds);
    return stored;
}

} // namespace vc
