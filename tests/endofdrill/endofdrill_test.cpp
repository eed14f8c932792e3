// What the end-of-drill screen shows and decides, without the screen.
#include "levelscreen/scoredschool.h"

#include "records/endofdrill.h"

using namespace vc;

namespace {

StandardsRow row(qint32 targetTime, float multiplier = 1, qint32 minimumTime = 0)
{
    StandardsRow r;
    r.targetTime = targetTime;
    r.minimumTime = minimumTime;
    r.pointMultiplier = multiplier;
    return r;
}

TEST(EndOfDrillPoints, FirstTierUsesTheRoundedHalfOfTheTarget)
{
    const struct {
        qint32 target;
        qint32 seconds;
        int shown;       // on this screen
        int statistics;  // as the statistics count the same run
    } cases[] = {
        {27, 13, 20, 20},
        {27, 14, 20, 10},  // 13.5 rounds to 14 here; the statistics compare with the exact half
        {27, 15, 10, 10},
        {25, 12, 20, 20},
        {25, 13, 10, 10},  // 12.5 rounds to the even 12
        {30, 15, 20, 20},
        {30, 30, 10, 10},
        {30, 31, 5, 5},
        {30, 60, 3, 3},
        {30, 150, 1, 1},
        {30, 300, 0, 0},
        {30, 99998, 0, 0},
        {30, 99999, 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(shownTierPoints(row(c.target), c.seconds), c.shown) << c.target << " " << c.seconds;
        EXPECT_EQ(runPoints(row(c.target), c.seconds), c.statistics) << c.target << " " << c.seconds;
    }
    EXPECT_EQ(shownPoints(row(30, 1.5f), 20), 15);
    EXPECT_EQ(shownPoints(row(30, 1.5f), 40), 7);  // integer part of 7.5
    EXPECT_EQ(shownPoints(row(30, 0.7f), 20), 7);
}

TEST(EndOfDrillLines, ResultPointsAndTodayLines)
{
    const struct {
        qint32 seconds;
        QString result;
        QString points;
    } cases[] = {
        {20, QStringLiteral("今の成績：20秒"), QStringLiteral("獲得ポイント：10点×1.5→15点")},
        {4999, QStringLiteral("今の成績：4999秒"), QStringLiteral("獲得ポイント：0点×1.5→0点")},
        {5000, QStringLiteral("ギブアップ"), QStringLiteral("次は最後までがんばろう！")},
        {99998, QStringLiteral("記録なし"), QStringLiteral("次は最後までがんばろう！")},
        {99999, QStringLiteral("記録なし"), QStringLiteral("次は最後までがんばろう！")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(resultLine(c.seconds), c.result) << c.seconds;
        EXPECT_EQ(pointsLine(row(30, 1.5f), c.seconds), c.points) << c.seconds;
    }
    EXPECT_EQ(pointsLine(row(30, 2), 10), QStringLiteral("獲得ポイント：20点×2→40点"));
    EXPECT_EQ(levelTodayLine(3), QStringLiteral(" (このレベル　3回目)"));
    EXPECT_EQ(allTodayLine(5), QStringLiteral("（5回目)"));
}

TEST(EndOfDrillLines, RecordMessagesAndCues)
{
    using Cue = RecordAnnouncement::Cue;
    const struct {
        qint32 seconds;
        bool personalBest, levelRecord;
        QString message;
        Cue cue;
    } cases[] = {
        {30, true, false, QStringLiteral("新記録おめでとう"), Cue::PersonalBest},
        {30, true, true, QStringLiteral("！！！最高新記録！！！"), Cue::LevelRecord},
        {30, false, true, QStringLiteral("！！！最高新記録！！！"), Cue::LevelRecord},
        {40, false, false, QString(), Cue::MinimumLine},  // at the minimum time
        {41, false, false, QString(), Cue::None},
        {5000, true, true, QString(), Cue::None},   // not a valid run: nothing
        {99999, true, true, QString(), Cue::None},
    };
    for (const auto& c : cases) {
        const RecordAnnouncement a = recordAnnouncement(c.seconds, {c.personalBest, c.levelRecord, false}, 40);
        EXPECT_EQ(a.message, c.message) << c.seconds;
        EXPECT_EQ(a.cue, c.cue) << c.seconds;
    }
}

// Three levels (the third the target): targetTime 30, clearPoints 20,
// clearCount 2, banCount 5 within one day; 10 seconds earn 20 points.
class EndOfDrillRules : public ::testing::Test {
protected:
    void SetUp() override { school.setLevels(3); }
    SettledButtons settled(int level, bool targetLevelCleared)
    {
        school.refresh();
        return settledButtons(school.state->standards, school.state->statistics, level, 3, 7, targetLevelCleared);
    }
    test::ScoredSchool school;
};

TEST_F(EndOfDrillRules, ClearedOverPractisedLevelSendsTheStudentOn)
{
    school.addRuns(7, 1, 10, 4);
    EXPECT_TRUE(settled(1, false).retry);  // cleared, not yet over-practised
    school.addRuns(7, 1, 10, 1);
    const SettledButtons moveOn = settled(1, false);
    EXPECT_FALSE(moveOn.retry);
    EXPECT_TRUE(moveOn.moveOn);
    // Once the target level is cleared, repeating is allowed again.
    EXPECT_TRUE(settled(1, true).retry);
    EXPECT_FALSE(settled(1, true).moveOn);

    // Over-practised but not cleared within the judgement period: no ban.
    school.standards(2).clearCount = 9;
    school.addRuns(7, 2, 10, 6);
    EXPECT_TRUE(settled(2, false).retry);
    // The target level itself is never closed.
    school.addRuns(7, 3, 10, 6);
    EXPECT_TRUE(settled(3, false).retry);
    EXPECT_FALSE(settled(3, false).moveOn);
}

TEST_F(EndOfDrillRules, TargetPanelAndClearedCue)
{
    school.addRuns(7, 3, 10, 1);
    school.refresh();
    const StandardsTable& st = school.state->standards;
    const Statistics& stats = school.state->statistics;
    EXPECT_FALSE(showsTargetPanel(st, stats, 3, 3, 7));  // one run: not cleared yet

    school.addRuns(7, 3, 10, 1);
    school.refresh();
    EXPECT_TRUE(showsTargetPanel(st, stats, 3, 3, 7));
    EXPECT_FALSE(showsTargetPanel(st, stats, 2, 3, 7));  // only on the target level
    EXPECT_TRUE(playsClearedCue(st, stats, 3, 3, 7, false));
    EXPECT_FALSE(playsClearedCue(st, stats, 3, 3, 7, true));

    // clearCount 9999 on any level keeps the panel hidden, the cue still plays.
    school.standards(1).clearCount = 9999;
    EXPECT_FALSE(showsTargetPanel(st, stats, 3, 3, 7));
    EXPECT_TRUE(playsClearedCue(st, stats, 3, 3, 7, false));
}

} // namespace
