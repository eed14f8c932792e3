// The report and its progress graph, drawn on the recording surface.
#include "scoredschool.h"

#include "levelscreen/report.h"
#include "printing/recordingsurface.h"

using namespace vc;
using Kind = RecordingSurface::Kind;

namespace {

class Report : public ::testing::Test {
protected:
    void SetUp() override
    {
        school.setLevels(4);
        school.addStudent(7, QStringLiteral("山田　花子"), 2011);
        school.addStudent(8, QStringLiteral("佐藤"), 2017);
        school.logIn(7, QStringLiteral("山田　花子"));
    }
    RecordingSurface draw(std::vector<int> levels = {1}, qint16 student = 7, bool toPaper = false, const QString& filter = QStringLiteral("全学年"))
    {
        school.refresh();
        ReportRequest request;
        request.student = student;
        request.levels = std::move(levels);
        request.gradeFilter = filter;
        request.toPaper = toPaper;
        RecordingSurface surface;
        drawReport(*school.state, request, surface);
        w = surface.innerWidth() / 2;
        h = surface.innerHeight() / 3;
        return surface;
    }
    static bool printed(const RecordingSurface& s, const QString& text)
    {
        for (const QString& t : s.texts())
            if (t == text)
                return true;
        return false;
    }
    static QString lineStarting(const RecordingSurface& s, const QString& start)
    {
        for (const QString& t : s.texts())
            if (t.startsWith(start))
                return t;
        return {};
    }
    test::ScoredSchool school;
    double w = 0, h = 0;
};

TEST_F(Report, BestRunsAreRedAndJoinedTheOthersBlue)
{
    for (qint32 seconds : {50, 45, 48, 40})
        school.addRuns(7, 1, seconds);
    school.addRuns(8, 1, 30);
    const RecordingSurface s = draw();
    const double y = 0.05 * s.innerHeight();

    const auto dots = s.of(Kind::Point);
    ASSERT_EQ(dots.size(), 4u);
    const qint32 times[] = {50, 45, 48, 40};
    const unsigned colours[] = {kRed, kRed, kBlue, kRed};
    for (size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(dots[k].colour, colours[k]) << times[k];
        EXPECT_NEAR(dots[k].x1, w * (0.7 * (k + 1) / 4 + 0.2), 0.01);
        EXPECT_NEAR(dots[k].y1, y + h * (0.8 - 0.7 * times[k] / 60.0), 0.01);  // the time scale is 60
    }
    // Two rules, two axes, then the best points joined in width 3.
    const auto lines = s.of(Kind::Line);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0].lineWidth, 2);
    EXPECT_EQ(lines[2].lineWidth, 5);
    for (size_t k = 4; k < 6; ++k)
        EXPECT_EQ(lines[k].lineWidth, 3);
    EXPECT_NEAR(lines[4].x1, dots[0].x1, 0.01);
    EXPECT_NEAR(lines[4].x2, dots[1].x1, 0.01);
    EXPECT_NEAR(lines[5].x2, dots[3].x1, 0.01);

    EXPECT_TRUE(printed(s, QStringLiteral("60秒")));
    EXPECT_TRUE(printed(s, QStringLiteral("0秒")));
    EXPECT_TRUE(printed(s, QStringLiteral("山田　花子")));
    EXPECT_TRUE(printed(s, QStringLiteral("p1 中1英単語")));
    EXPECT_EQ(lineStarting(s, QStringLiteral("回数")), QStringLiteral("回数　　　　　　　  4回"));
    EXPECT_EQ(lineStarting(s, QStringLiteral("　　最高")), QStringLiteral("　　最高　　　　   40秒 /   30秒"));
    // Own average cut to whole seconds (45.75), the school's rounded ((183 + 30) / 5 = 42.6).
    EXPECT_EQ(lineStarting(s, QStringLiteral("　　平均")), QStringLiteral("　　平均　　　　   45秒 /   43秒"));
    EXPECT_EQ(lineStarting(s, QStringLiteral("　　順位")), QStringLiteral("　　順位　　　　    2位"));
    // The first best under the axis in full, the last one's date as month and day.
    EXPECT_TRUE(printed(s, QStringLiteral("2024/05/10")));
    EXPECT_TRUE(printed(s, QStringLiteral("05/10")));
    EXPECT_TRUE(printed(s, QStringLiteral("50秒")));
    EXPECT_TRUE(printed(s, QStringLiteral("40秒")));
}

TEST_F(Report, FourLevelsStartASecondPage)
{
    school.addRuns(7, 1, 20);
    const RecordingSurface paper = draw({1, 2, 3, 4}, 7, true);
    EXPECT_EQ(paper.pages, 2);
    EXPECT_EQ(paper.of(Kind::Clear).size(), 0u);
    // Two rules a block, the first at the block's top: 0.05, 0.35 and 0.65 of the page.
    std::vector<double> rules;
    for (const auto& op : paper.of(Kind::Line))
        if (op.lineWidth == 2 && op.page == 1)
            rules.push_back(op.y1);
    ASSERT_EQ(rules.size(), 6u);
    const double H = paper.innerHeight();
    EXPECT_NEAR(rules[0], 0.05 * H, 0.01);
    EXPECT_NEAR(rules[2], 0.35 * H, 0.01);
    EXPECT_NEAR(rules[4], 0.65 * H, 0.01);
    // The name heads each page; on paper the title is larger.
    int names = 0;
    for (const auto& op : paper.of(Kind::Text))
        if (op.text == QStringLiteral("山田　花子")) {
            ++names;
            EXPECT_EQ(op.fontSize, 18);
        }
    EXPECT_EQ(names, 2);
    EXPECT_EQ(paper.of(Kind::Line).front().lineWidth, 2);
    EXPECT_EQ(paper.paperSize(), kPaperA4);

    // On the panel the picture is erased instead.
    const RecordingSurface panel = draw({1, 2, 3, 4});
    EXPECT_EQ(panel.pages, 1);
    EXPECT_EQ(panel.of(Kind::Clear).size(), 2u);
}

TEST_F(Report, NoRunsInThePeriodLeaveOnlyTheAxes)
{
    school.addRuns(7, 1, 20, 1, 40);  // outside a 30-day period
    school.refresh();
    ReportRequest request;
    request.student = 7;
    request.levels = {1};
    request.periodDays = 30;
    request.gradeFilter = QStringLiteral("全学年");
    RecordingSurface s;
    drawReport(*school.state, request, s);
    EXPECT_TRUE(s.of(Kind::Point).empty());
    EXPECT_EQ(s.of(Kind::Line).size(), 4u);  // two rules, two axes
    EXPECT_EQ(lineStarting(s, QStringLiteral("回数")), QStringLiteral("回数　　　　　　　   回"));
    EXPECT_EQ(lineStarting(s, QStringLiteral("　　平均")), QString());
    EXPECT_FALSE(printed(s, QStringLiteral("0秒")));
    // The best of the school in the period: none.
    EXPECT_EQ(lineStarting(s, QStringLiteral("　　最高")), QStringLiteral("　　最高　　　　       /99999秒"));
    // The figure lines keep their places: the line after the blank one is two steps below the best line.
    double best = 0, points = 0;
    for (const auto& op : s.of(Kind::Text)) {
        if (op.text.startsWith(QStringLiteral("　　最高")))
            best = op.y1;
        if (op.text.startsWith(QStringLiteral("ポイント")))
            points = op.y1;
    }
    EXPECT_NEAR(points - best, 2 * 0.08 * s.innerHeight() / 3, 0.01);
    // The school-average note half a step below the line above it, inside the block.
    double average = 0, note = 0;
    for (const auto& op : s.of(Kind::Text)) {
        if (op.text.startsWith(QStringLiteral("　　獲得ポイント")))
            average = op.y1;
        if (op.text.endsWith(QStringLiteral("(塾平均)")))
            note = op.y1;
    }
    EXPECT_NEAR(note - average, 1.5 * 0.08 * s.innerHeight() / 3, 0.01);
}

TEST_F(Report, ALongRunCapsTheScaleAndLiesAboveTheGraph)
{
    school.addRuns(7, 1, 1500);
    school.addRuns(7, 1, 2000);  // over the limit: plotted at the index before
    const RecordingSurface s = draw();
    EXPECT_TRUE(printed(s, QStringLiteral("1000秒")));
    const auto dots = s.of(Kind::Point);
    ASSERT_EQ(dots.size(), 2u);
    const double y = 0.05 * s.innerHeight();
    EXPECT_LT(dots[0].y1, y + 0.1 * h);
    EXPECT_NEAR(dots[1].x1, dots[0].x1, 0.01);
    EXPECT_EQ(dots[0].colour, kRed);
    EXPECT_EQ(dots[1].colour, kBlue);
    EXPECT_EQ(reportTimeScale(45), 50);
    EXPECT_EQ(reportTimeScale(50), 60);
    EXPECT_EQ(reportTimeScale(0), 10);
    EXPECT_EQ(reportTimeScale(1799), 1000);
}

TEST_F(Report, ALongNameIsFoundInTheRankings)
{
    school.addStudent(9, QStringLiteral("長谷川真理子"), 2011);
    school.addRuns(9, 1, 12, 2);
    school.addRuns(7, 1, 20, 2);
    school.refresh();
    std::vector<RankingEntry> entries = rankingRoster(*school.state, QStringLiteral("全学年"));
    fillRankingFigures(*school.state, 1, entries);
    const ReportRanks ranks = reportRanks(entries, 9, RankingOrder::TotalPoints);
    EXPECT_EQ(ranks.timeRankText, QStringLiteral("  1"));
    EXPECT_EQ(ranks.pointsRankText, QStringLiteral("  1"));
    EXPECT_EQ(ranks.ownPoints, school.figures(1, 9).totalPoints);
    EXPECT_GT(ranks.ownPoints, 0);
    EXPECT_EQ(ranks.schoolPointsCount, 2);
    EXPECT_EQ(ranks.schoolPointsSum, school.figures(1, 9).totalPoints + school.figures(1, 7).totalPoints);
    // Without a result: dashes for the time rank, still a points rank.
    const ReportRanks none = reportRanks(entries, 8, RankingOrder::TotalPoints);
    EXPECT_EQ(none.timeRankText, QStringLiteral("---"));
    EXPECT_EQ(none.pointsRankText, QStringLiteral("  3"));
    EXPECT_EQ(none.ownPoints, 0);
    // A student the grade selector leaves out has no ranks.
    std::vector<RankingEntry> juniors = rankingRoster(*school.state, QStringLiteral("小学生全体"));
    fillRankingFigures(*school.state, 1, juniors);
    EXPECT_TRUE(reportRanks(juniors, 9, RankingOrder::TotalPoints).timeRankText.isEmpty());

    const RecordingSurface s = draw({1}, 9);
    EXPECT_EQ(lineStarting(s, QStringLiteral("　　獲得ポイント")),
              QStringLiteral("　　獲得ポイント") + (QStringLiteral("      ") + QString::number(ranks.ownPoints)).right(5) + u'点');
    EXPECT_TRUE(printed(s, QStringLiteral("　　順位　　　　    1位")));
}

TEST_F(Report, TheGraphStaysInsideItsAreaOnALongFile)
{
    school.addRuns(7, 1, 30);  // the student's first run, 20001 records from the end
    school.addRuns(8, 2, 25, 20000);
    school.addRuns(7, 1, 28);
    const RecordingSurface s = draw();
    const auto dots = s.of(Kind::Point);
    ASSERT_EQ(dots.size(), 2u);
    for (const auto& d : dots)
        EXPECT_LE(d.x1, 0.9 * w + 0.01);
    EXPECT_EQ(lineStarting(s, QStringLiteral("回数")), QStringLiteral("回数　　　　　　　  2回"));
}

TEST_F(Report, TheGradeSelectorHidesTheDotsButNotTheFigures)
{
    school.addRuns(7, 1, 30);
    const RecordingSurface s = draw({1}, 7, false, QStringLiteral("小学生全体"));
    EXPECT_TRUE(s.of(Kind::Point).empty());
    EXPECT_EQ(lineStarting(s, QStringLiteral("回数")), QStringLiteral("回数　　　　　　　  1回"));
}

} // namespace
