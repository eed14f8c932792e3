// The level columns' texts, colours and sizes, and the over-practice ban.
#include "scoredschool.h"

#include "levelscreen/ban.h"
#include "levelscreen/levelcolumn.h"
#include "records/standards.h"

using namespace vc;

namespace {

TEST(LevelColumnTexts, MarksCountTensAndOnes)
{
    const struct {
        int runs;
        QString marks;
    } cases[] = {
        {0, QString()},
        {1, QStringLiteral("○")},
        {9, QStringLiteral("○○○○○○○○○")},
        {10, QStringLiteral("◎")},
        {23, QStringLiteral("◎◎○○○")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(runMarks(c.runs), c.marks) << c.runs;
    EXPECT_EQ(wholeRuns(23.0f), 23);
    EXPECT_EQ(todayMarksColour(23), 0x00FF00u);
    EXPECT_EQ(todayMarksColour(0), 0x808080u);
    EXPECT_EQ(periodMarksColour(1), 0xFF0000u);
    EXPECT_EQ(periodMarksColour(0), 0x808080u);
}

TEST(LevelColumnTexts, ColumnsFillTheScreenBelowFiveLevelsElseScroll)
{
    EXPECT_DOUBLE_EQ(columnWidthTwips(4), 3648);
    EXPECT_FALSE(columnsScroll(4));
    EXPECT_DOUBLE_EQ(columnWidthTwips(1), 14592);
    EXPECT_DOUBLE_EQ(columnWidthTwips(5), 3456);
    EXPECT_DOUBLE_EQ(columnWidthTwips(9), 3456);
    EXPECT_TRUE(columnsScroll(9));
    EXPECT_EQ(scrollMaximum(9), 6);
    EXPECT_EQ(firstVisibleLevel(6, 9), 6);
    EXPECT_EQ(firstVisibleLevel(10, 9), 1);
}

TEST(LevelColumnTexts, NameColoursLaterRulesWin)
{
    EXPECT_FALSE(levelNameColour(QStringLiteral("pUnit1"), 0, 1).has_value());
    EXPECT_EQ(levelNameColour(QStringLiteral("p平民の道"), 0, 1), 0xC0C0C0u);
    EXPECT_EQ(levelNameColour(QStringLiteral("p平民と貴族"), 0, 1), 0xFFFFC0u);
    // Grouped by three, the position in the group decides over the name.
    EXPECT_EQ(levelNameColour(QStringLiteral("p貴族"), 1, 4), 0xC0C0C0u);
    EXPECT_EQ(levelNameColour(QStringLiteral("pUnit1_2"), 1, 5), 0xFFFFC0u);
    EXPECT_EQ(levelNameColour(QStringLiteral("pUnit1_3"), 1, 6), 0xFFFF00u);
}

TEST(LevelColumnTexts, StandardsPeriodTodayAndTotalsLines)
{
    StandardsRow row;
    row.targetTime = 40;
    row.clearPoints = 30;
    row.clearCount = 3;
    row.pointMultiplier = 1.5f;
    row.judgePeriod = {QStringLiteral("7"), 7};
    EXPECT_EQ(standardsLine(row), QStringLiteral("目標=40秒 3回/30点(×1.5)"));
    row.pointMultiplier = 2;
    EXPECT_EQ(standardsLine(row), QStringLiteral("目標=40秒 3回/30点(×2)"));
    row.pointMultiplier = 0.7f;
    EXPECT_EQ(standardsLine(row), QStringLiteral("目標=40秒 3回/30点(×0.7)"));
    row.clearPoints = 9999;
    EXPECT_EQ(standardsLine(row), QStringLiteral("目標=40秒 --------"));

    LevelFigures f;
    f.judgeRuns = 2;
    f.judgePoints = 20;
    EXPECT_EQ(periodLine(row, f), QStringLiteral("最近7日=2回 / 20点"));
    row.judgePeriod = {};
    EXPECT_EQ(periodLine(row, f), QStringLiteral("最近日=2回 / 20点"));

    EXPECT_EQ(todayLine(f), QStringLiteral("-----"));
    EXPECT_EQ(totalsLine(f), QStringLiteral("------"));
    f.todayRuns = 3;
    f.todayPoints = 25;
    f.validRuns = 12;
    f.totalPoints = 110;
    EXPECT_EQ(todayLine(f), QStringLiteral("3回/25点"));
    EXPECT_EQ(totalsLine(f), QStringLiteral("12回/110点"));
}

TEST(LevelColumnTexts, StartCaptionOverviewAndTopLines)
{
    EXPECT_EQ(startCaption(1), QStringLiteral("ｽﾀｰﾄ(&1)"));
    EXPECT_EQ(startCaption(12), QStringLiteral("ｽﾀｰﾄ(&12)"));

    EXPECT_EQ(overviewLine(1, QStringLiteral("p練習"), QStringLiteral("○○"), QStringLiteral("◎")),
              QStringLiteral("    　1") + QStringLiteral("  ") + QStringLiteral("p練習") + QString(7, u' ') + QStringLiteral("  ")
                  + QStringLiteral("○○") + QString(18, u'　') + QStringLiteral("/◎"));
    const QString ten = overviewLine(10, QStringLiteral("pUnit12345678"), QString(), QString());
    EXPECT_TRUE(ten.startsWith(QStringLiteral("   　10  pUnit12345  "))) << ten.toStdString();
    EXPECT_TRUE(ten.endsWith(QString(20, u'　') + u'/'));

    EXPECT_EQ(minutesSinceLoginText(12), QStringLiteral("起動後12分"));
    EXPECT_EQ(todayTotalText(3), QStringLiteral("本日総回数＝3回"));
    EXPECT_EQ(titlePointSize(QStringLiteral("中学英単語ドリル一")), 24);
    EXPECT_EQ(titlePointSize(QStringLiteral("中学英単語ドリル一年")), 20);
}

TEST(LevelColumnTexts, TeachersAndTheFirstVisitHint)
{
    EXPECT_TRUE(isTeacher(QStringLiteral("先生")));
    EXPECT_TRUE(isTeacher(QStringLiteral("  先生   ")));
    EXPECT_FALSE(isTeacher(QStringLiteral("先生A")));
    EXPECT_FALSE(isTeacher(QStringLiteral("山田先生")));
    EXPECT_TRUE(showsReportPrint(QStringLiteral("先生A")));
    EXPECT_TRUE(showsReportPrint(QStringLiteral("山田先生")));
    EXPECT_FALSE(showsReportPrint(QStringLiteral("山田")));

    EXPECT_TRUE(firstVisitHintDue(1, 1, 0));
    EXPECT_FALSE(firstVisitHintDue(0, 1, 0));
    EXPECT_FALSE(firstVisitHintDue(1, 0, 0));
    EXPECT_FALSE(firstVisitHintDue(1, 1, 1));
}

TEST(LevelColumnTexts, TodayTotalSumsEveryLevel)
{
    test::ScoredSchool school;
    school.setLevels(3);
    school.addRuns(7, 1, 20, 2);
    school.addRuns(7, 3, 20, 3);
    school.addRuns(7, 2, 6000);       // not valid
    school.addRuns(7, 2, 20, 1, 1);   // yesterday
    school.addRuns(8, 1, 20, 4);      // someone else
    school.refresh();
    EXPECT_EQ(todayTotal(school.state->statistics, 7), 5);
}

// ---- Ban evaluation ---------------------------------------------------------

// Four levels: targetTime 30, clearPoints 20, clearCount 2, banCount 5 within
// one day; a run of 10 seconds earns 20 points.
class BanTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        school.setLevels(4);
        school.logIn(7, QStringLiteral("山田"));
    }
    bool evaluate(bool teacher = false)
    {
        school.refresh();
        std::vector<QString> names(school.state->LevelNames.begin(), school.state->LevelNames.begin() + 5);
        const BanInput input{school.state->standards, school.state->statistics, 7, teacher, names};
        return evaluateBan(input, buttons);
    }
    std::vector<bool> covered() const { return {buttons.covered.begin() + 1, buttons.covered.end()}; }

    test::ScoredSchool school;
    StartButtons buttons{4};
};

TEST_F(BanTest, OverPractisedPassedLevelIsCoveredUntilTheFinalLevelIsCleared)
{
    school.addRuns(7, 1, 10, 2);
    school.addRuns(7, 2, 10, 5);  // cleared and five runs within the ban period
    EXPECT_FALSE(evaluate());
    EXPECT_EQ(covered(), (std::vector<bool>{false, true, false, false}));
    EXPECT_TRUE(buttons.enabled[3]);

    school.addRuns(7, 4, 10, 2);  // the final level cleared
    EXPECT_TRUE(evaluate());
    EXPECT_EQ(covered(), (std::vector<bool>{false, false, false, false}));
}

TEST_F(BanTest, OnlyPassedLevelsDecideCovers)
{
    // Level 2 over-practised but not cleared within the period: its cover
    // stays as the last evaluation left it.
    school.addRuns(7, 1, 10, 2);
    school.addRuns(7, 2, 200, 5);  // 1 point each: five runs, not cleared
    buttons.covered[2] = true;
    buttons.covered[3] = true;
    evaluate();
    // Level 1 passed and uncovered level 2; level 2 failed and left level 3 alone.
    EXPECT_EQ(covered(), (std::vector<bool>{false, false, true, false}));
}

TEST_F(BanTest, FinalLevelIsNeverCoveredAndEmptyLimitsNeverCover)
{
    for (int level = 1; level <= 4; ++level)
        school.addRuns(7, static_cast<qint16>(level), 10, 6);
    for (int level = 1; level <= 3; ++level)
        school.standards(level).banCount = {};
    // Every level cleared, the final one too: nothing is covered.
    evaluate();
    EXPECT_EQ(covered(), (std::vector<bool>(4, false)));

    school.standards(4).clearCount = 7;  // the final level no longer cleared
    school.standards(4).banCount = {QStringLiteral("5"), 5};
    evaluate();
    EXPECT_EQ(covered(), (std::vector<bool>(4, false)));

    school.standards(2).banPoints = {QStringLiteral("100"), 100};  // 6 × 20 points today
    evaluate();
    EXPECT_EQ(covered(), (std::vector<bool>{false, true, false, false}));
}

TEST_F(BanTest, TeachersNineNineNineNineAndPracticeLevelsPass)
{
    school.addRuns(7, 1, 10, 5);  // level 1 over-practised, nothing else done
    // A teacher passes every level, so level 1 is covered once passed.
    evaluate(true);
    EXPECT_EQ(covered(), (std::vector<bool>{true, false, false, false}));

    // Level 2 fails for a student; level 3 still passes through level 4's 9999,
    // uncovering level 4.
    buttons.covered[4] = true;
    school.standards(4).clearPoints = 9999;
    evaluate();
    EXPECT_FALSE(buttons.covered[4]);

    // A practice level passes only while no earlier level failed, and is never covered.
    StartButtons fresh(4);
    school.state->LevelNames[1] = QStringLiteral("p練習");
    school.state->LevelNames[3] = QStringLiteral("p練習2");
    school.standards(4).clearPoints = 20;
    buttons = fresh;
    buttons.covered[4] = true;
    evaluate();
    EXPECT_FALSE(buttons.covered[1]);  // practice: never covered although over-practised
    EXPECT_TRUE(buttons.covered[4]);   // level 3 (practice after the failed level 2) did not pass
}

} // namespace
