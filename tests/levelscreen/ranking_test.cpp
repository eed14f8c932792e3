// The per-level ranking lists: the merge sort, ranks, line layouts, the
// grade filter and the list order.
#include "scoredschool.h"

#include "levelscreen/ranking.h"

#include <algorithm>

using namespace vc;

namespace {

RankingEntry entry(qint16 number, const QString& name, qint32 total, qint32 today, qint32 best = kNoTime)
{
    RankingEntry e;
    e.number = number;
    e.name = name;
    e.gradeMark = QStringLiteral("Ⅰ");
    e.totalPoints = total;
    e.todayPoints = today;
    e.bestTime = best;
    return e;
}

std::vector<int> payloads(const std::vector<SortItem>& items)
{
    std::vector<int> p;
    for (const SortItem& i : items)
        p.push_back(i.payload);
    return p;
}

std::vector<int> ranks(const std::vector<RankedLine>& lines)
{
    std::vector<int> r;
    for (const RankedLine& l : lines)
        r.push_back(l.rank);
    return r;
}

std::vector<qint16> students(const std::vector<RankedLine>& lines)
{
    std::vector<qint16> s;
    for (const RankedLine& l : lines)
        s.push_back(l.student);
    return s;
}

TEST(MergeSort, OrdersKeysAndTakesTheRightHalfFirstOnTies)
{
    std::vector<SortItem> items;
    const qint64 keys[] = {50, 7, 99999, 7, 0, 12, 50, 3, 3, 88};
    for (int k = 0; k < 10; ++k)
        items.push_back({keys[k], k});
    mergeSortKeys(items);
    std::vector<qint64> sorted(std::begin(keys), std::end(keys));
    std::sort(sorted.begin(), sorted.end());
    for (size_t k = 0; k < items.size(); ++k)
        EXPECT_EQ(items[k].key, sorted[k]) << k;
    // Every tie came out right half first: 3 (8 before 7), 7 (3 before 1), 50 (6 before 0).
    EXPECT_EQ(payloads(items), (std::vector<int>{4, 8, 7, 3, 1, 5, 6, 0, 9, 2}));

    // Equal keys change places on every pass: two in a row swap and swap back,
    // three come back in table order after two passes.
    std::vector<SortItem> two{{5, 0}, {5, 1}};
    mergeSortKeys(two);
    EXPECT_EQ(payloads(two), (std::vector<int>{1, 0}));
    mergeSortKeys(two);
    EXPECT_EQ(payloads(two), (std::vector<int>{0, 1}));
    std::vector<SortItem> three{{5, 0}, {5, 1}, {5, 2}};
    mergeSortKeys(three);
    EXPECT_EQ(payloads(three), (std::vector<int>{2, 1, 0}));
    mergeSortKeys(three);
    EXPECT_EQ(payloads(three), (std::vector<int>{0, 1, 2}));
}

TEST(Ranking, EqualCumulativePointsShareTheRankAndMoreTodayComesFirst)
{
    const std::vector<RankingEntry> entries{
        entry(1, QStringLiteral("伊藤"), 50, 10),
        entry(2, QStringLiteral("加藤"), 30, 30),
        entry(3, QStringLiteral("佐藤"), 50, 20),
    };
    const std::vector<RankedLine> lines = rankLevel(entries, RankingOrder::TotalPoints);
    EXPECT_EQ(ranks(lines), (std::vector<int>{1, 1, 3}));
    EXPECT_EQ(students(lines), (std::vector<qint16>{3, 1, 2}));
    EXPECT_EQ(lines[0].text, QStringLiteral(" 1Ⅰ佐藤　　　 20/   50"));
    EXPECT_EQ(lines[1].text, QStringLiteral(" 1Ⅰ伊藤　　　 10/   50"));
    EXPECT_EQ(lines[2].text, QStringLiteral(" 3Ⅰ加藤　　　 30/   30"));
    // The list itself orders lines of one rank by the rest of their text.
    EXPECT_EQ(listOrderedLines(lines), (QStringList{lines[1].text, lines[0].text, lines[2].text}));

    // Today's order: today's points first, then the cumulative ones.
    const std::vector<RankedLine> today = rankLevel(entries, RankingOrder::TodayPoints);
    EXPECT_EQ(students(today), (std::vector<qint16>{2, 3, 1}));
    EXPECT_EQ(ranks(today), (std::vector<int>{1, 2, 3}));
}

TEST(Ranking, TodaysOrderListsOnlyStudentsWithPointsToday)
{
    const std::vector<RankingEntry> entries{
        entry(1, QStringLiteral("伊藤"), 80, 0),
        entry(2, QStringLiteral("加藤"), 10, 10),
        entry(3, QStringLiteral("佐藤"), 0, 0),
        entry(4, QStringLiteral("後藤"), 20, 10),
    };
    const std::vector<RankedLine> today = rankLevel(entries, RankingOrder::TodayPoints);
    EXPECT_EQ(students(today), (std::vector<qint16>{4, 2}));
    EXPECT_EQ(ranks(today), (std::vector<int>{1, 1}));
    // The cumulative order lists everybody.
    EXPECT_EQ(rankLevel(entries, RankingOrder::TotalPoints).size(), 4u);
}

TEST(Ranking, TimeViewLinesAndRanks)
{
    std::vector<RankingEntry> entries{
        entry(1, QStringLiteral("伊藤 一郎太"), 0, 0, 42),
        entry(2, QStringLiteral("加藤"), 0, 0, kNoTime),
        entry(3, QStringLiteral("佐藤  "), 0, 0, 42),
        entry(4, QStringLiteral("後藤"), 0, 0, 30),
        entry(5, QStringLiteral("近藤"), 0, 0, kTimeOutFloor),
    };
    entries[2].own = true;
    entries[2].gradeMark = kOwnMark;
    const std::vector<RankedLine> lines = rankLevel(entries, RankingOrder::BestTime);
    // The two 42s swapped places in each of the two passes.
    EXPECT_EQ(students(lines), (std::vector<qint16>{4, 1, 3, 5, 2}));
    EXPECT_EQ(ranks(lines), (std::vector<int>{1, 2, 2, 4, 5}));
    EXPECT_EQ(lines[0].text, QStringLiteral(" 1Ⅰ後藤　　　    30 　"));
    EXPECT_EQ(lines[1].text, QStringLiteral(" 2Ⅰ伊藤 一郎    42 　"));
    // The student's own line carries "●" twice: as grade mark and own mark.
    EXPECT_EQ(lines[2].text, QStringLiteral(" 2●佐藤　　　    42 ●"));
    EXPECT_EQ(lines[3].text, QStringLiteral(" 4Ⅰ近藤　　　*失敗* 　"));
    EXPECT_EQ(lines[4].text, QStringLiteral("--Ⅰ加藤　　　------ 　"));
}

// Sorted as plain texts, "--" falls between " 9" and "10" and splits the list.
TEST(Ranking, LinesWithoutAResultComeAfterEveryRankedLine)
{
    std::vector<RankingEntry> entries;
    for (qint16 k = 1; k <= 13; ++k)
        entries.push_back(entry(k, QStringLiteral("生徒%1").arg(k), 0, 0, k <= 10 ? 20 + k : kNoTime));
    const QStringList shown = listOrderedLines(rankLevel(entries, RankingOrder::BestTime));
    ASSERT_EQ(shown.size(), 13);
    for (int k = 0; k < 10; ++k)
        EXPECT_TRUE(shown[k].startsWith(rankText(k + 1))) << k << " " << shown[k].toStdString();
    EXPECT_TRUE(shown[9].startsWith(QStringLiteral("10")));
    EXPECT_EQ(shown[10], QStringLiteral("--Ⅰ生徒11　------ 　"));
    EXPECT_EQ(shown[11], QStringLiteral("--Ⅰ生徒12　------ 　"));
    EXPECT_EQ(shown[12], QStringLiteral("--Ⅰ生徒13　------ 　"));
}

TEST(Ranking, RankTextKeepsTwoCharactersSoOneHundredShowsAsZeroZero)
{
    EXPECT_EQ(rankText(1), QStringLiteral(" 1"));
    EXPECT_EQ(rankText(42), QStringLiteral("42"));
    EXPECT_EQ(rankText(100), QStringLiteral("00"));
    EXPECT_EQ(rankText(123), QStringLiteral("23"));

    std::vector<RankingEntry> entries;
    for (int k = 1; k <= 100; ++k)
        entries.push_back(entry(static_cast<qint16>(k), QStringLiteral("生徒%1").arg(k), 0, 0, 100 + k));
    const std::vector<RankedLine> lines = rankLevel(entries, RankingOrder::BestTime);
    ASSERT_EQ(lines.size(), 100u);
    EXPECT_EQ(lines[99].rank, 100);
    EXPECT_TRUE(lines[99].text.startsWith(QStringLiteral("00Ⅰ生徒100"))) << lines[99].text.toStdString();
    // It takes its place by that text: after the one-digit ranks, before rank 10.
    const QStringList shown = listOrderedLines(lines);
    EXPECT_EQ(shown.indexOf(lines[99].text), 9);
    EXPECT_TRUE(shown[8].startsWith(QStringLiteral(" 9")));
    EXPECT_TRUE(shown[10].startsWith(QStringLiteral("10")));
}

TEST(Ranking, GradeMarksAndNames)
{
    const QString marks[] = {QStringLiteral("①"), QStringLiteral("②"), QStringLiteral("③"), QStringLiteral("④"),
                             QStringLiteral("⑤"), QStringLiteral("⑥"), QStringLiteral("Ⅰ"), QStringLiteral("Ⅱ"),
                             QStringLiteral("Ⅲ")};
    for (int g = 1; g <= 9; ++g)
        EXPECT_EQ(gradeMark(g), marks[g - 1]) << g;
    for (int g : {0, 10, -3})
        EXPECT_EQ(gradeMark(g), QStringLiteral("　")) << g;
    EXPECT_EQ(rankingNameText(QStringLiteral("山田        ")), QStringLiteral("山田　　　"));
    EXPECT_EQ(rankingNameText(QStringLiteral(" 長い名前の生徒")), QStringLiteral(" 長い名前"));
}

TEST(Ranking, ScrollTargetIsTheLineAboveTheStudentsOwn)
{
    EXPECT_EQ(rowAboveOwnLine({QStringLiteral(" 1●a"), QStringLiteral(" 2Ⅰb")}), -1);
    EXPECT_EQ(rowAboveOwnLine({QStringLiteral(" 1Ⅰa"), QStringLiteral(" 2Ⅰb"), QStringLiteral(" 3●c")}), 1);
    EXPECT_EQ(rowAboveOwnLine({QStringLiteral(" 1Ⅰa")}), -1);
}

TEST(Ranking, GradeFilterSkipsStudentsButRanksCountThem)
{
    test::ScoredSchool school;
    school.setLevels(2);
    school.addStudent(1, QStringLiteral("小学生"), 2017);   // 小１, the best
    school.addStudent(2, QStringLiteral("中一太郎"), 2011);  // 中１
    school.addStudent(3, QStringLiteral("中二"), 2010);      // 中２, as good as 2
    school.addStudent(4, QStringLiteral("中一花子"), 2011);  // 中１
    school.logIn(4, QStringLiteral("中一花子"));
    school.addRuns(1, 1, 10, 3);  // 60 points
    school.addRuns(2, 1, 10, 2);  // 40
    school.addRuns(3, 1, 10, 2);  // 40
    school.addRuns(4, 1, 20, 1);  // 10
    school.refresh();

    std::vector<RankingEntry> entries = rankingRoster(*school.state, QStringLiteral("中１"));
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].gradeMark, QStringLiteral("①"));
    EXPECT_EQ(entries[3].gradeMark, kOwnMark);
    fillRankingFigures(*school.state, 1, entries);
    EXPECT_EQ(entries[0].totalPoints, 60);
    EXPECT_EQ(entries[0].bestTime, 10);

    const std::vector<RankedLine> lines = rankLevel(entries, RankingOrder::TotalPoints);
    EXPECT_EQ(students(lines), (std::vector<qint16>{2, 4}));
    EXPECT_EQ(ranks(lines), (std::vector<int>{2, 4}));
    EXPECT_EQ(lines[0].text, QStringLiteral(" 2Ⅰ中一太郎　 40/   40"));
    EXPECT_EQ(lines[1].text, QStringLiteral(" 4●中一花子　 10/   10"));

    // On level 2 nobody has a result: every listed student shows "--".
    fillRankingFigures(*school.state, 2, entries);
    for (const RankedLine& l : rankLevel(entries, RankingOrder::BestTime))
        EXPECT_TRUE(l.text.startsWith(QStringLiteral("--"))) << l.text.toStdString();
}

} // namespace
