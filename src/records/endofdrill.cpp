#include "records/endofdrill.h"

#include <cmath>

namespace vc {

QString decimalText(double value) { return QString::number(value, 'g', 7); }

int shownTierPoints(const StandardsRow& row, qint32 seconds)
{
    if (seconds >= kTimeOutFloor)
        return 0;
    const double half = std::nearbyint(static_cast<double>(row.targetTime) * 0.5);  // halves to even
    if (seconds <= half)
        return 20;
    // The other tiers are the statistics' own: the points of a run at
    // multiplier 1 are its tier points.
    StandardsRow plain = row;
    plain.pointMultiplier = 1;
    return runPoints(plain, seconds);
}

int shownPoints(const StandardsRow& row, qint32 seconds)
{
    // In single precision like the multiplier, as the statistics do.
    const float product = row.pointMultiplier * static_cast<float>(shownTierPoints(row, seconds));
    return static_cast<int>(std::floor(product));
}

QString resultLine(qint32 seconds)
{
    if (seconds >= kTimeOutFloor)
        return QStringLiteral("記録なし");
    if (seconds >= kValidRunLimit)
        return QStringLiteral("ギブアップ");
    return QStringLiteral("今の成績：%1秒").arg(seconds);
}

QString pointsLine(const StandardsRow& row, qint32 seconds)
{
    if (seconds >= kValidRunLimit)
        return QStringLiteral("次は最後までがんばろう！");
    return QStringLiteral("獲得ポイント：%1点×%2→%3点")
        .arg(shownTierPoints(row, seconds))
        .arg(decimalText(row.pointMultiplier))
        .arg(shownPoints(row, seconds));
}

QString levelTodayLine(float todayRuns) { return QStringLiteral(" (このレベル　%1回目)").arg(decimalText(todayRuns)); }

QString allTodayLine(int todayRuns) { return QStringLiteral("（%1回目)").arg(todayRuns); }

RecordAnnouncement recordAnnouncement(qint32 seconds, const RunOutcomeFlags& flags, qint32 minimumTime)
{
    using Cue = RecordAnnouncement::Cue;
    if (seconds >= kValidRunLimit)
        return {};
    if (flags.levelRecord)
        return {QStringLiteral("！！！最高新記録！！！"), Cue::LevelRecord};
    if (flags.personalBest)
        return {QStringLiteral("新記録おめでとう"), Cue::PersonalBest};
    if (seconds <= minimumTime)
        return {QString(), Cue::MinimumLine};
    return {};
}

namespace {

bool anyClearCount9999(const StandardsTable& standards)
{
    for (int level = 1; level < kLevelRows; ++level)
        if (standards.rows[static_cast<size_t>(level)].clearCount == 9999)
            return true;
    return false;
}

bool targetCleared(const StandardsTable& standards, const Statistics& statistics, int level, int targetLevel, int student)
{
    return level == targetLevel && isLevelCleared(standards, statistics, level, student);
}

} // namespace

bool showsTargetPanel(const StandardsTable& standards, const Statistics& statistics, int level, int targetLevel, int student)
{
    return targetCleared(standards, statistics, level, targetLevel, student) && !anyClearCount9999(standards);
}

bool playsClearedCue(const StandardsTable& standards, const Statistics& statistics, int level, int targetLevel, int student,
                     bool wasClearedBefore)
{
    return targetCleared(standards, statistics, level, targetLevel, student) && !wasClearedBefore;
}

SettledButtons settledButtons(const StandardsTable& standards, const Statistics& statistics, int level, int targetLevel,
                              int student, bool targetLevelCleared)
{
    const bool mustMoveOn = isOverPractised(standards, statistics, level, student)
        && isLevelCleared(standards, statistics, level, student) && level != targetLevel && !targetLevelCleared;
    return mustMoveOn ? SettledButtons{false, true} : SettledButtons{true, false};
}

} // namespace vc
