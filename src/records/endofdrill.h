#pragma once
#include "records/statistics.h"

#include <QString>

namespace vc {

// What the end-of-drill screen shows and decides after a recorded run.

// A figure in the shortest decimal form the screens use for standards and
// counts: 1.5 as "1.5", 2 as "2" (seven significant digits, as a
// single-precision value holds).
QString decimalText(double value);

// The tier points the screen shows. The tiers are those of the statistics,
// except that the first one (20) applies up to targetTime × 0.5 rounded to a
// whole number, halves to even: with a target of 27, 14 seconds show 20 here
// while the statistics count 10. Time-outs (99998 and more) get 0.
int shownTierPoints(const StandardsRow& row, qint32 seconds);
// The integer part of pointMultiplier × the shown tier points.
int shownPoints(const StandardsRow& row, qint32 seconds);

// "今の成績：42秒"; "ギブアップ" from 5000 seconds on; "記録なし" for a time-out.
QString resultLine(qint32 seconds);
// "獲得ポイント：10点×1.5→15点"; "次は最後までがんばろう！" from 5000 seconds on.
QString pointsLine(const StandardsRow& row, qint32 seconds);
// " (このレベル　3回目)": today's runs on this level.
QString levelTodayLine(float todayRuns);
// "（5回目)": today's runs over all levels.
QString allTodayLine(int todayRuns);

inline const QString kTargetClearedText = QStringLiteral("目標レベルクリア。おめでとう！");
inline const QString kMoveOnText = QStringLiteral("次のレベルへ進みましょう");

// The record message and the cue that goes with it.
struct RecordAnnouncement {
    enum class Cue {
        None,
        PersonalBest,  // category "自己最高音2"
        LevelRecord,   // file "最高1.wav"
        MinimumLine,   // category "不合格音1": at or under minimumTime without a record
    };
    QString message;  // empty: nothing shown
    Cue cue = Cue::None;
};
// Only runs under 5000 seconds are announced; a level record wins over a
// personal best.
RecordAnnouncement recordAnnouncement(qint32 seconds, const RunOutcomeFlags& flags, qint32 minimumTime);

// The target-level panel shows on a run of the target level while it counts
// as cleared, unless some level 1..100 has clearCount 9999.
bool showsTargetPanel(const StandardsTable& standards, const Statistics& statistics, int level, int targetLevel, int student);
// The cleared cue plays only on the run that first clears the target level.
bool playsClearedCue(const StandardsTable& standards, const Statistics& statistics, int level, int targetLevel, int student,
                     bool wasClearedBefore);

// Once the screen has settled: whether "もう一度" shows and whether the
// student is told to move on. A cleared, over-practised level other than the
// target level sends the student on while the target level is not cleared.
struct SettledButtons {
    bool retry = true;
    bool moveOn = false;
};
SettledButtons settledButtons(const StandardsTable& standards, const Statistics& statistics, int level, int targetLevel,
                              int student, bool targetLevelCleared);

} // namespace vc
