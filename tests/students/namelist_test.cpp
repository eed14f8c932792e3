#include "studentstest.h"

#include "records/resultsfile.h"
#include "students/namelist.h"

#include <QDir>

using namespace vc;
using vc::test::rosterLine;

namespace {

const QChar kWide(0x3000);

QString wide(int n) { return QString(n, kWide); }

TEST(NameListFigures, FormatsAndZeroTexts)
{
    struct Case { QString (*format)(qint64); qint64 value; QString text; };
    const Case cases[] = {
        {runsTodayText, 0, u"     "_qs},
        {runsTodayText, 5, u"  5回"_qs},
        {runsTodayText, 42, u" 42回"_qs},
        {runsTodayText, 1234, u"234回"_qs},  // cut to the last three characters
        {pointsTodayText, 0, u"  　"_qs},
        {pointsTodayText, 7, u"   7"_qs},
        {pointsTodayText, 12345, u"12345"_qs},
        {runsSoFarText, 0, u"     　"_qs},
        {runsSoFarText, 12, u"   12回"_qs},
        {pointsSoFarText, 0, u"       "_qs},
        {pointsSoFarText, 250, u"    250"_qs},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.format(c.value), c.text) << c.value;
}

ListedStudent student(qint16 number, qint16 birthYear, const QString& name, const QString& label, int value)
{
    return {number, name, birthYear, label, value};
}

TEST(NameListLine, FiguresOfEachMode)
{
    const ListedStudent s = student(12, 2016, u"山田"_qs, u"小2"_qs, 2);
    const NameListFigures f{3, 40, 15, 600};
    const QString head = u"小2 山田"_qs + wide(4);
    struct Case { DisplayMode mode; QString tail; };
    const Case cases[] = {
        {DisplayMode::RunsTodayAndSoFar, runsTodayText(3) + u'/' + runsSoFarText(15)},
        {DisplayMode::PointsTodayAndSoFar, pointsTodayText(40) + u'/' + pointsSoFarText(600)},
        {DisplayMode::Today, pointsTodayText(40) + u'/' + runsTodayText(3)},
        {DisplayMode::SoFar, pointsSoFarText(600) + u'/' + runsSoFarText(15)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(nameListLine(s, c.mode, f), head + c.tail) << int(c.mode);
    // A student with no runs at all, in mode 0.
    EXPECT_EQ(nameListLine(s, DisplayMode::RunsTodayAndSoFar, {}), head + u"     /     　"_qs);
}

TEST(NameListLine, PaddingWidthByGradeValueAndMode)
{
    const ListedStudent preschool = student(1, 2018, u"あい"_qs, u"幼3"_qs, -6);
    const ListedStudent juniorHigh = student(2, 2011, u"あい"_qs, u"中1"_qs, 1);
    const ListedStudent longName = student(3, 2016, u"あいうえおかき"_qs, u"小2"_qs, 2);
    struct Case { const ListedStudent* s; DisplayMode mode; int pad; };
    const Case cases[] = {
        {&preschool, DisplayMode::RunsTodayAndSoFar, 6},
        {&preschool, DisplayMode::PointsTodayAndSoFar, 4},
        {&preschool, DisplayMode::Today, 6},
        {&preschool, DisplayMode::SoFar, 6},
        {&juniorHigh, DisplayMode::RunsTodayAndSoFar, 4},
        {&juniorHigh, DisplayMode::PointsTodayAndSoFar, 4},
        {&longName, DisplayMode::SoFar, 0},
    };
    for (const Case& c : cases) {
        const QString line = nameListLine(*c.s, c.mode, {});
        const QString head = c.s->classLabel + u' ' + c.s->name;
        ASSERT_TRUE(line.startsWith(head));
        const QString rest = line.mid(head.size());
        qsizetype pad = 0;
        while (pad < rest.size() && rest.at(pad) == kWide)
            ++pad;
        EXPECT_EQ(pad, c.pad) << c.s->classLabel.toStdString() << " mode " << int(c.mode);
    }
}

TEST(NameListLine, SortKeyCarriesYearLineAndNumber)
{
    const ListedStudent s = student(12, 2016, u"山田"_qs, u"小2"_qs, 2);
    EXPECT_EQ(sortKeyLine(s, u"行"_qs), u"2016行*12"_qs);
}

TEST(ComposeNameList, OrdersByBirthYearThenLabelAndNameAndFilters)
{
    const std::vector<ListedStudent> students = {
        student(4, 2016, u"伊藤"_qs, u"小2"_qs, 2),
        student(9, 2011, u"佐藤"_qs, u"中1"_qs, 1),
        student(2, 2016, u"阿部"_qs, u"小2"_qs, 2),
        student(7, 2015, u"山田"_qs, u"小3"_qs, 3),
    };
    std::vector<NameListFigures> figures(kMaxStudent + 1);
    figures[7].todayPoints = 25;
    const NameList all = composeNameList(students, figures, DisplayMode::PointsTodayAndSoFar, u"全学年"_qs, 2024);
    ASSERT_EQ(all.List1.size(), 5);
    EXPECT_EQ(all.List1[0], u"－－－－－－"_qs);
    const int order[] = {9, 7, 4, 2};  // 伊 (U+4F0A) before 阿 (U+963F)
    for (int k = 0; k < 4; ++k) {
        const auto& s = *std::find_if(students.begin(), students.end(), [&](const ListedStudent& x) { return x.number == order[k]; });
        const QString line = nameListLine(s, DisplayMode::PointsTodayAndSoFar, figures[size_t(s.number)]);
        EXPECT_EQ(all.List1[k + 1], line);
        EXPECT_EQ(all.List3[k], line + u'*' + QString::number(s.number));
        EXPECT_EQ(all.List2[k], sortKeyLine(s, line));
    }
    EXPECT_TRUE(all.List1[2].contains(u"  25/"_qs));

    const NameList elementary = composeNameList(students, figures, DisplayMode::PointsTodayAndSoFar, u"小学生全体"_qs, 2024);
    EXPECT_EQ(elementary.List1.size(), 4);
    EXPECT_EQ(elementary.List2.size(), 4);  // the sorted store keeps everyone
    for (const QString& row : elementary.List3)
        EXPECT_FALSE(row.endsWith(u"*9"_qs));
    const NameList second = composeNameList(students, figures, DisplayMode::PointsTodayAndSoFar, u"小２"_qs, 2024);
    EXPECT_EQ(second.List3, (QStringList{all.List3[2], all.List3[3]}));
    // Letters compare without regard to case, as in every sorted list.
    const std::vector<ListedStudent> latin = {student(1, 2016, u"Bob"_qs, u"小2"_qs, 2), student(2, 2016, u"amy"_qs, u"小2"_qs, 2)};
    const NameList mixed = composeNameList(latin, figures, DisplayMode::PointsTodayAndSoFar, u"全学年"_qs, 2024);
    EXPECT_TRUE(mixed.List3[0].endsWith(u"*2"_qs));
    const NameList nobody = composeNameList(students, figures, DisplayMode::PointsTodayAndSoFar, u"どれでもない"_qs, 2024);
    EXPECT_EQ(nobody.List1, QStringList{u"－－－－－－"_qs});
}

using BuildNameList = test::RosterTest;

// Today and earlier runs of two students on two levels, through the real
// results file and the statistics pass.
TEST_F(BuildNameList, FiguresAreSumsOverTheLevels)
{
    state->paths.CourseFolder = state->paths.DataFolder + u"単語/"_qs;
    QDir().mkpath(state->paths.CourseFolder);
    for (int level : {1, 2}) {
        state->standards.level(level)->targetTime = 30;
        state->standards.level(level)->pointMultiplier = 1;
    }
    auto run = [&](QDate day, int student, int level, int seconds) {
        FakeClock at(day, QTime(9, 0, 0));
        ResultDestination d;
        d.courseFolder = state->paths.CourseFolder;
        d.studentNumber = qint16(student);
        appendResultRecord(d, qint16(level), seconds, at);
    };
    const QDate today = clock.today();
    run(today, 7, 1, 10);               // 20 points
    run(today, 7, 2, 40);               // 5 points
    run(today.addDays(-3), 7, 1, 20);   // 10 points
    run(today, 8, 1, 99999);            // a time-out: no valid run, no points
    const auto figures = nameListFigures(*state);
    ASSERT_EQ(figures.size(), size_t(kMaxStudent + 1));
    EXPECT_EQ(figures[7].todayRuns, 2);
    EXPECT_EQ(figures[7].todayPoints, 25);
    EXPECT_EQ(figures[7].validRuns, 3);
    EXPECT_EQ(figures[7].totalPoints, 35);
    EXPECT_EQ(figures[8].todayRuns, 0);
    EXPECT_EQ(figures[8].validRuns, 0);
    EXPECT_EQ(figures[8].totalPoints, 0);
    EXPECT_EQ(state->loadedResults.recordCount(), 4);

    writeRoster({rosterLine(7, 2016, u"山田"_qs)});
    const NameList list = buildNameList(*state, DisplayMode::Today, u"全学年"_qs);
    EXPECT_EQ(list.List1[1], u"小2 山田"_qs + wide(4) + pointsTodayText(25) + u'/' + runsTodayText(2));
}

TEST_F(BuildNameList, FromTheRosterFile)
{
    writeRoster({rosterLine(3, 2017, u"田中"_qs), rosterLine(8, 2012, u"木村"_qs), rosterLine(5, 2012, u"休み"_qs, 1)});
    const NameList list = buildNameList(*state, DisplayMode::RunsTodayAndSoFar, u"全学年"_qs);
    ASSERT_EQ(list.List3.size(), 2);
    EXPECT_TRUE(list.List3[0].startsWith(u"小6 木村"_qs));
    EXPECT_TRUE(list.List3[0].endsWith(u"*8"_qs));
    EXPECT_TRUE(list.List3[1].startsWith(u"小1 田中"_qs));
    EXPECT_EQ(state->roster.ListedCount, 2);
}

} // namespace
