// The run lists: their line layouts, list points, periods and the scan over
// the tail of the results file, on a school set up in code.
#include "scoredschool.h"

#include "levelscreen/runlists.h"
#include "platform/listorder.h"

using namespace vc;

namespace {

double at(int hours, int minutes, int seconds = 0) { return (hours * 3600 + minutes * 60 + seconds) / 86400.0; }

TEST(RunListPieces, ListPointsFollowTheFourTiers)
{
    struct Case {
        qint32 target, seconds;
        int points;
    };
    const Case cases[] = {
        {60, 30, 11}, {60, 60, 5}, {60, 61, 4}, {60, 119, 4}, {60, 120, 1}, {60, 599, 1}, {60, 600, 0},
        {60, 12, 30},          // 0.8³ × 50 + 5 = 30.6
        {60, 99998, 0}, {60, 99999, 0},
        {2000, 1500, 44},      // only the first three digits count: d = 150
        {0, 5, 0},             // a level without a target time earns nothing
    };
    for (const Case& c : cases)
        EXPECT_EQ(listPoints(c.target, c.seconds), c.points) << c.target << " / " << c.seconds;
}

TEST(RunListPieces, LinesAreLaidOutColumnByColumn)
{
    RunLineInput run;
    run.runDate = dayNumber(QDate(2009, 4, 15));
    run.runTime = at(9, 5, 3);
    run.seconds = 12;
    run.targetTime = 60;
    run.gradeMark = QStringLiteral("①");
    run.nameText = runNameText(QStringLiteral(" 佐藤 "));
    EXPECT_EQ(run.nameText, QStringLiteral("佐藤　　　"));
    EXPECT_EQ(runNameText(QStringLiteral("長谷川真理子")), QStringLiteral("長谷川真理"));

    EXPECT_EQ(todayLine(run), QStringLiteral("  12秒 09:05①佐藤　　　①30"));
    EXPECT_EQ(periodLine(run, ViewKind::Time), QStringLiteral("  12秒 04/15①佐藤　　　①30"));
    EXPECT_EQ(periodLine(run, ViewKind::Points), QStringLiteral("   30 04/15①佐藤　　　①12秒"));
    EXPECT_EQ(personalLine(run), QStringLiteral("2009/04/15 9:05:03  12秒"));

    run.seconds = 12345;  // only the last five characters of the time text
    EXPECT_EQ(todayLine(run), QStringLiteral("2345秒 09:05①佐藤　　　①0"));
    EXPECT_EQ(runTimeText(9), QStringLiteral("   9秒"));

    run.seconds = 99999;  // a time-out: no time, no points
    EXPECT_EQ(todayLine(run), QStringLiteral("　　× 09:05①佐藤　　　①"));
    EXPECT_EQ(periodLine(run, ViewKind::Points), QStringLiteral("　　× 04/15①佐藤　　　①"));
    EXPECT_EQ(personalLine(run), QStringLiteral("2009/04/15   9:05:03"));
    run.runTime = at(13, 40, 0);
    EXPECT_EQ(personalLine(run), QStringLiteral("2009/04/15   13:40:00"));
}

TEST(RunListPieces, WeeksBeginOnMonday)
{
    const QDate monday(2024, 5, 6), wednesday(2024, 5, 8), sunday(2024, 5, 12);
    EXPECT_EQ(periodDays(1, monday), 1);
    EXPECT_EQ(periodDays(1, wednesday), 3);
    EXPECT_EQ(periodDays(1, sunday), 7);
    EXPECT_EQ(periodDays(2, monday), 8);
    EXPECT_EQ(periodDays(2, sunday), 14);
    EXPECT_EQ(periodDays(3, sunday), 30);
    EXPECT_EQ(periodDays(4, sunday), 365);
    EXPECT_EQ(periodDays(5, sunday), 3650);
}

class RunListScan : public ::testing::Test {
protected:
    void SetUp() override
    {
        school.setLevels(3);
        school.standards(1).targetTime = 60;
        school.addStudent(7, QStringLiteral("山田　花子"), 2011);  // 中１
        school.addStudent(8, QStringLiteral("佐藤"), 2017);        // 小１
        school.logIn(7, QStringLiteral("山田　花子"));
    }
    std::vector<QStringList> scan(RunList list, int period = 3, ViewKind kind = ViewKind::Time, const QString& filter = QStringLiteral("全学年"))
    {
        return runListLines(*school.state, {list, kind, period, filter});
    }
    // The column's lines in the list's order.
    QStringList shown(RunList list, int level, int period = 3)
    {
        QStringList lines = scan(list, period)[static_cast<size_t>(level)];
        sortListTexts(lines);
        return lines;
    }
    test::ScoredSchool school;
};

TEST_F(RunListScan, TodaysRunsInTimeOrderWithMarksAndNames)
{
    school.addRuns(8, 1, 12);
    school.addRuns(7, 1, 9);
    school.addRuns(8, 1, 99999);
    school.addRuns(7, 1, 30, 1, 1);  // yesterday
    school.addRuns(8, 2, 61);
    // The 9-second run comes first whatever the file order.
    const QStringList lines = shown(RunList::Today, 1);
    EXPECT_EQ(lines, (QStringList{QStringLiteral("   9秒 09:36●山田　花子●35"), QStringLiteral("  12秒 09:36①佐藤　　　①30"),
                                  QStringLiteral("　　× 09:36①佐藤　　　①")}));
    EXPECT_EQ(shown(RunList::Today, 2), QStringList{QStringLiteral("  61秒 09:36①佐藤　　　①1")});
    EXPECT_TRUE(shown(RunList::Today, 3).isEmpty());

    // The grade selector on 中１ leaves the 小１ student out.
    EXPECT_EQ(scan(RunList::Today, 3, ViewKind::Time, QStringLiteral("中１"))[1].size(), 1);
}

TEST_F(RunListScan, RecordsWithoutLevelOrStudentAreHandledSoundly)
{
    school.addRuns(8, 1, 20);
    school.addRuns(0, 1, 25);     // no student
    school.addRuns(4000, 1, 26);  // not in the roster
    school.addRuns(-3, 1, 27);    // not a student number at all
    school.addRuns(8, 4, 28);     // a level the course does not have
    school.addRuns(8, 0, 29);
    for (RunList list : {RunList::Today, RunList::Period}) {
        const std::vector<QStringList> columns = scan(list);
        ASSERT_EQ(columns.size(), 4u);
        QStringList lines = columns[1];
        sortListTexts(lines);
        ASSERT_EQ(lines.size(), 4);
        // The runs without a known student show no name instead of the one before.
        EXPECT_TRUE(lines[1].contains(QStringLiteral("25秒")));
        EXPECT_FALSE(lines[1].contains(QStringLiteral("佐藤")));
        EXPECT_TRUE(lines[1].contains(QStringLiteral("　　　　　")));
        EXPECT_FALSE(lines[2].contains(QStringLiteral("佐藤")));
        EXPECT_FALSE(lines[3].contains(QStringLiteral("佐藤")));
        EXPECT_TRUE(columns[2].isEmpty() && columns[3].isEmpty());
    }
}

TEST_F(RunListScan, TodaysRunsLookAtTheLastThousandRecordsOnly)
{
    school.addRuns(8, 1, 7);          // today, but 1001st from the end
    school.addRuns(8, 2, 40, 999);
    school.addRuns(7, 1, 8);
    EXPECT_EQ(shown(RunList::Today, 1), QStringList{QStringLiteral("   8秒 09:36●山田　花子●37")});
    EXPECT_EQ(scan(RunList::Today)[2].size(), 999);
    // The period list reaches further back.
    EXPECT_EQ(scan(RunList::Period)[1].size(), 2);
}

TEST_F(RunListScan, AFileOfMoreThan32767RecordsIsScannedToItsEnd)
{
    school.addRuns(8, 2, 50, 40000, 400);  // old runs, outside every period
    school.addRuns(7, 1, 33);
    qint64 maximum = 0, last = 0;
    ScanProgress progress{[&](qint64 m) { maximum = m; }, [&](qint64 r) { last = r; }};
    const auto columns = runListLines(*school.state, {RunList::Period, ViewKind::Time, 5, QStringLiteral("全学年")}, progress);
    EXPECT_EQ(columns[1], QStringList{QStringLiteral("  33秒 05/10●山田　花子●9")});
    EXPECT_EQ(columns[2].size(), 19999);  // the tail of 20000 records
    EXPECT_EQ(maximum, static_cast<qint64>(1.1 * 40002));
    EXPECT_EQ(last, 40001);
    EXPECT_EQ(scan(RunList::Personal)[1], QStringList{QStringLiteral("2024/05/10 9:36:00  33秒")});
}

TEST_F(RunListScan, PeriodsOnAMondayAndOnASunday)
{
    school.clock.set(QDate(2024, 5, 6), QTime(10, 0));  // a Monday
    school.addRuns(7, 1, 20);
    school.addRuns(7, 1, 21, 1, 1);  // Sunday before
    EXPECT_EQ(scan(RunList::Period, 1)[1].size(), 1);
    EXPECT_EQ(scan(RunList::Period, 2)[1].size(), 2);

    school.clock.set(QDate(2024, 5, 12), QTime(10, 0));  // the Sunday after
    school.addRuns(7, 1, 22);
    school.addRuns(7, 1, 23, 1, 7);  // the Sunday a week before
    const QStringList week = shown(RunList::Period, 1, 1);
    ASSERT_EQ(week.size(), 2);  // Monday's run and today's
    EXPECT_TRUE(week[0].startsWith(QStringLiteral("  20秒 05/06")));
    EXPECT_TRUE(week[1].startsWith(QStringLiteral("  22秒 05/12")));
    EXPECT_EQ(scan(RunList::Period, 2)[1].size(), 4);
}

TEST_F(RunListScan, PointsViewOrdersByPointsAndKeepsTheTime)
{
    school.addRuns(8, 1, 30);
    school.addRuns(8, 1, 90);
    QStringList lines = scan(RunList::Period, 3, ViewKind::Points)[1];
    sortListTexts(lines);
    EXPECT_EQ(lines, (QStringList{QStringLiteral("    4 05/10①佐藤　　　①90秒"), QStringLiteral("   11 05/10①佐藤　　　①30秒")}));
}

TEST_F(RunListScan, PersonalListHoldsTheStudentsOwnRunsWhileTheGradePasses)
{
    school.addRuns(7, 1, 40);
    school.addRuns(8, 1, 41);
    school.addRuns(7, 2, 99999, 1, 3);
    school.addRuns(7, 3, 42, 1, 3651);  // older than ten years back
    std::vector<QStringList> own = scan(RunList::Personal);
    EXPECT_EQ(own[1], QStringList{QStringLiteral("2024/05/10 9:36:00  40秒")});
    EXPECT_EQ(own[2], QStringList{QStringLiteral("2024/05/07   9:36:00")});
    EXPECT_TRUE(own[3].isEmpty());
    own = scan(RunList::Personal, 3, ViewKind::Time, QStringLiteral("小学生全体"));
    for (const QStringList& column : own)
        EXPECT_TRUE(column.isEmpty());
}

TEST_F(RunListScan, AMissingResultsFileGivesEmptyLists)
{
    for (RunList list : {RunList::Today, RunList::Period, RunList::Personal})
        for (const QStringList& column : scan(list))
            EXPECT_TRUE(column.isEmpty());
}

} // namespace
