// The standards editor's grid (keys, marks, save and reload) and the
// distribution lists, without a window.
#include "common/testutil.h"
#include "platform/errors.h"
#include "records/distribution.h"
#include "records/resultsfile.h"
#include "records/standardseditor.h"
#include "recordstest.h"

#include <QFile>
#include <gmock/gmock.h>
#include <numeric>

namespace vc {
namespace {

using Key = StandardsGrid::Key;
using test::CourseFolderTest;

const QString kHeading = QStringLiteral("目標Time,最低Time,ｸﾘｱﾎﾟｲﾝﾄ,ｸﾘｱ回数,ﾎﾟｲﾝﾄ倍率,禁回,禁点,判期間,禁期間,,,");

QStringList levelLines(int count)
{
    QStringList lines{kHeading};
    for (int k = 1; k <= count; ++k)
        lines.append(QStringLiteral("%1,%2,30,3,1.5,5,,7,1,,,x").arg(10 + k).arg(20 + k));
    return lines;
}

class StandardsGridTest : public CourseFolderTest {
protected:
    QString path() const { return standardsFilePath(folder()); }
    void write(const QStringList& lines) { test::writeCp932(path(), lines); }
    StandardsGrid grid;
    StandardsTable table;
};

TEST_F(StandardsGridTest, TwelveLevelLinesGiveThirteenRowsAndSaveAsThirteenLines)
{
    write(levelLines(12));
    grid.load(path());
    ASSERT_EQ(grid.rowCount(), 13);
    EXPECT_EQ(grid.lastLevelRow(), 12);
    EXPECT_EQ(grid.cell(0, 0), QStringLiteral("レベル"));
    EXPECT_EQ(grid.cell(0, 9), QStringLiteral("禁期間"));
    EXPECT_EQ(grid.cell(0, 10), QString());
    EXPECT_EQ(grid.cell(12, 0), QStringLiteral("12"));
    EXPECT_EQ(grid.cell(12, 1), QStringLiteral("22"));
    EXPECT_EQ(grid.cell(12, 5), QStringLiteral("1.5"));
    EXPECT_EQ(grid.cell(12, 7), QString());
    EXPECT_EQ(grid.cell(12, 12), QStringLiteral("x"));
    const QByteArray before = test::readBytes(path());
    ASSERT_TRUE(grid.setCurrent(1, 1));
    grid.save(path(), table);
    EXPECT_EQ(test::readBytes(path()), before);
    EXPECT_EQ(table.level(12)->targetTime, 22);
    EXPECT_EQ(table.level(12)->pointMultiplier, 1.5f);
}

TEST_F(StandardsGridTest, KeysStopAtTheEdgesAndMoveOtherwise)
{
    write(levelLines(3));
    grid.load(path());
    ASSERT_TRUE(grid.setCurrent(1, 1));
    EXPECT_FALSE(grid.keyDown(Key::Up, {}));
    EXPECT_FALSE(grid.keyDown(Key::Left, {}));
    EXPECT_FALSE(grid.keyDown(Key::Enter, {}));
    EXPECT_FALSE(grid.keyDown(Key::Escape, {}));
    EXPECT_EQ(std::pair(grid.currentRow(), grid.currentColumn()), std::pair(1, 1));
    EXPECT_TRUE(grid.keyDown(Key::Down, {}));
    EXPECT_TRUE(grid.keyDown(Key::Down, {}));
    EXPECT_FALSE(grid.keyDown(Key::Down, {}));
    EXPECT_EQ(grid.currentRow(), 3);
    for (int i = 0; i < 11; ++i)
        EXPECT_TRUE(grid.keyDown(Key::Right, {}));
    EXPECT_FALSE(grid.keyDown(Key::Right, {}));
    EXPECT_EQ(grid.currentColumn(), 12);
    EXPECT_TRUE(grid.keyDown(Key::Up, {}));
    EXPECT_TRUE(grid.keyDown(Key::Left, {}));
    EXPECT_EQ(std::pair(grid.currentRow(), grid.currentColumn()), std::pair(2, 11));
    // Headings are never current.
    EXPECT_FALSE(grid.setCurrent(0, 1));
    EXPECT_FALSE(grid.setCurrent(1, 0));
    EXPECT_FALSE(grid.setCurrent(4, 1));
}

TEST_F(StandardsGridTest, TypingMarksAReloadDropsMarksButNotTheChangeFlag)
{
    write(levelLines(3));
    grid.load(path());
    ASSERT_TRUE(grid.setCurrent(2, 3));
    grid.storeEditBox(QStringLiteral("30"));  // the same text: no change
    EXPECT_FALSE(grid.marked(2, 3));
    EXPECT_FALSE(grid.gridChanged());
    grid.storeEditBox(QStringLiteral("305"));
    EXPECT_TRUE(grid.marked(2, 3));
    EXPECT_TRUE(grid.gridChanged());
    EXPECT_EQ(grid.cell(2, 3), QStringLiteral("305"));
    grid.load(path());
    EXPECT_EQ(grid.cell(2, 3), QStringLiteral("30"));
    EXPECT_FALSE(grid.marked(2, 3));
    EXPECT_TRUE(grid.gridChanged());  // leaving still asks
    ASSERT_TRUE(grid.setCurrent(1, 1));
    grid.save(path(), table);
    EXPECT_FALSE(grid.gridChanged());
}

TEST_F(StandardsGridTest, ABlankCellIsSavedEmptyWithItsCommas)
{
    write(levelLines(2));
    grid.load(path());
    ASSERT_TRUE(grid.setCurrent(2, 4));
    grid.storeEditBox(QString());
    ASSERT_TRUE(grid.setCurrent(2, 6));
    grid.storeEditBox(QString());
    grid.save(path(), table);
    const QStringList lines = QString::fromUtf8(test::readBytes(path())).split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines.value(2), QStringLiteral("12,22,30,,1.5,,,7,1,,,x"));
    EXPECT_EQ(table.level(2)->clearCount, 0);
    EXPECT_EQ(table.level(2)->banCount.text, QString());
}

TEST_F(StandardsGridTest, ShiftDownCopiesWithoutMarksYetCountsAsUnsaved)
{
    write(levelLines(4));
    grid.load(path());
    ASSERT_TRUE(grid.setCurrent(2, 2));
    EXPECT_FALSE(grid.keyDown(Key::ShiftDown, QStringLiteral("99")));
    EXPECT_FALSE(grid.keyDown(Key::ShiftDown, QStringLiteral("99")));
    EXPECT_FALSE(grid.keyDown(Key::ShiftDown, QStringLiteral("99")));  // the last row is reached
    EXPECT_EQ(grid.selectionLastRow(), 4);
    EXPECT_EQ(std::pair(grid.currentRow(), grid.currentColumn()), std::pair(2, 2));
    for (int r = 2; r <= 4; ++r) {
        EXPECT_EQ(grid.cell(r, 2), QStringLiteral("99")) << r;
        EXPECT_FALSE(grid.marked(r, 2)) << r;
    }
    EXPECT_EQ(grid.cell(1, 2), QStringLiteral("21"));
    EXPECT_TRUE(grid.gridChanged());
    // Moving collapses the selection.
    EXPECT_TRUE(grid.keyDown(Key::Down, {}));
    EXPECT_EQ(grid.selectionLastRow(), 3);
}

TEST_F(StandardsGridTest, WithoutLevelLinesOrWithoutAFileNothingIsEditable)
{
    write({kHeading});
    grid.load(path());
    EXPECT_EQ(grid.rowCount(), 1);
    EXPECT_FALSE(grid.editable());
    EXPECT_FALSE(grid.setCurrent(1, 1));
    EXPECT_FALSE(grid.keyDown(Key::Down, {}));
    grid.storeEditBox(QStringLiteral("5"));
    EXPECT_FALSE(grid.gridChanged());

    write(levelLines(2));
    grid.load(path());
    QFile::remove(path());
    try {
        grid.load(path());
        FAIL() << "a missing file loaded";
    } catch (const DataError& e) {
        EXPECT_THAT(e.message().toStdString(), ::testing::HasSubstr("タイム回数データ.txt"));
    }
    EXPECT_EQ(grid.rowCount(), 1);
    EXPECT_FALSE(grid.editable());
}

// A value the program cannot read back would stop every computer at its next
// start: it is refused, naming the file, and neither the file nor the table
// changes.
TEST_F(StandardsGridTest, ValuesThatCouldNotBeReadBackAreRefused)
{
    write(levelLines(2));
    loadStandards(path(), table);
    const QByteArray before = test::readBytes(path());
    for (const auto& [column, value] : {std::pair(1, QStringLiteral("abc")), std::pair(4, QStringLiteral("99999")),
                                        std::pair(6, QStringLiteral("五"))}) {
        SCOPED_TRACE(column);
        grid.load(path());
        ASSERT_TRUE(grid.setCurrent(2, column));
        grid.storeEditBox(value);
        try {
            grid.save(path(), table);
            FAIL() << "saved " << value.toStdString();
        } catch (const DataError& e) {
            EXPECT_THAT(e.message().toStdString(), ::testing::HasSubstr(path().toStdString()));
        }
        EXPECT_EQ(test::readBytes(path()), before);
        EXPECT_EQ(table.level(2)->targetTime, 12);
        EXPECT_TRUE(grid.gridChanged());
    }
    // A folder that is gone: nothing written anywhere, the message names the file.
    grid.load(path());
    EXPECT_THROW(grid.save(folder() + QStringLiteral("gone/タイム回数データ.txt"), table), DataError);
    EXPECT_EQ(test::readBytes(path()), before);
}

TEST(StandardsGridHelp, ColumnTextsKeepTheirLeadingBlanks)
{
    const QString ideo(QChar(0x3000));
    EXPECT_EQ(StandardsGrid::helpText(1), QStringLiteral("合格基準タイム\r\n") + ideo + QStringLiteral("大部分の人ががんばったら出せそうなタイムにしてください"));
    EXPECT_TRUE(StandardsGrid::helpText(2).contains(QStringLiteral("\r\n  合格基準タイムの２～５割増しにしてください この５倍が時間切れになります")));
    EXPECT_EQ(StandardsGrid::helpText(3), QStringLiteral("クリアポイント\r\n") + ideo + ideo + QStringLiteral(" 次のレベルへ進むことができるようになるためのポイント"));
    EXPECT_TRUE(StandardsGrid::helpText(4).startsWith(QStringLiteral("クリア回数\r\n") + ideo + ideo + u' '));
    EXPECT_EQ(StandardsGrid::helpText(5).count(QStringLiteral("\r\n  ")), 2);
    EXPECT_TRUE(StandardsGrid::helpText(6).endsWith(QStringLiteral("にするか\r\n  ")));
    EXPECT_TRUE(StandardsGrid::helpText(7).endsWith(QStringLiteral("にするか\r\n ")));
    EXPECT_EQ(StandardsGrid::helpText(8), QStringLiteral("合格判定をする日数\r\n") + ideo + QStringLiteral("何日前からのポイントを有効にするか"));
    EXPECT_TRUE(StandardsGrid::helpText(9).startsWith(QStringLiteral("やりすぎ判定をする日数\r\n") + ideo + QStringLiteral("何日")));
    for (int c : {10, 11, 12})
        EXPECT_EQ(StandardsGrid::helpText(c), QString());
}

class DistributionTest : public CourseFolderTest {
protected:
    void add(qint16 student, qint16 level, qint32 seconds, int count = 1)
    {
        for (int i = 0; i < count; ++i)
            bytes += encodeResultRecord(test::makeRun(45383, student, level, seconds));
    }
    QByteArray bytes;
};

TEST_F(DistributionTest, AnEmptyFileGivesAHeadingAndAHundredAndOneEmptyBuckets)
{
    const LevelDistribution d = readDistribution(resultsFilePath(folder()), 1);
    const QStringList all = allRunsLines(d);
    ASSERT_EQ(all.size(), 102);
    EXPECT_EQ(all[0], QStringLiteral("レベル1 今まで0回  （★=1）"));
    EXPECT_EQ(all[1], QStringLiteral("  0～"));
    EXPECT_EQ(all[2], QStringLiteral("  10～"));
    EXPECT_EQ(all[11], QStringLiteral(" 100～"));
    EXPECT_EQ(all[101], QStringLiteral("1000～"));
    const QStringList best = bestTimeLines(d);
    ASSERT_EQ(best.size(), 102);
    EXPECT_EQ(best[0], QStringLiteral("レベル1 （★=1）"));
    EXPECT_EQ(best[31], QStringLiteral(" 300～"));
}

TEST_F(DistributionTest, StarsAreScaledToTheFullestBucket)
{
    add(1, 4, 55, 25);  // bucket 5
    add(2, 4, 63, 3);   // bucket 6
    add(3, 4, 71, 1);   // bucket 7: 1 / 2 + 0.5 rounds to 1
    add(3, 5, 12, 40);  // another level counts elsewhere
    const LevelDistribution d = computeDistribution(bytes, 4);
    const QStringList all = allRunsLines(d);
    EXPECT_EQ(all[0], QStringLiteral("レベル4 今まで29回  （★=2）"));
    EXPECT_EQ(all[6], QStringLiteral("  50～") + QString(13, u'★'));
    EXPECT_EQ(all[7], QStringLiteral("  60～★★"));
    EXPECT_EQ(all[8], QStringLiteral("  70～★"));
    EXPECT_EQ(d.runsPerLevel[5], 40);
    EXPECT_EQ(starScale(d.allRuns), 2);
    EXPECT_EQ(starCount(25, 2), 13);
    EXPECT_EQ(starCount(3, 2), 2);
    EXPECT_EQ(starCount(1, 3), 0);
}

TEST_F(DistributionTest, TimeOutsAndBestTimes)
{
    add(7, 60, 99999, 2);  // only time-outs: best time in the last best-time bucket
    add(8, 60, 95);        // several runs of one student count once, at the lowest
    add(8, 60, 41);
    add(8, 60, 99999);
    add(9, 60, 1234);      // beyond the last best-time bucket
    add(0, 60, 50);        // student 0 is a slot like any other
    add(5, 0, 10);         // level 0 counts nowhere
    add(5, 101, 10);       // nor does a level outside the tables
    const LevelDistribution d = computeDistribution(bytes + QByteArray(10, 'x'), 60);
    EXPECT_EQ(d.runsPerLevel[60], 7);
    EXPECT_EQ(d.allRuns[100], 4);
    EXPECT_EQ(d.allRuns[9], 1);
    EXPECT_EQ(d.allRuns[4], 1);
    EXPECT_EQ(d.allRuns[5], 1);
    EXPECT_EQ(std::accumulate(d.bestTimes.begin(), d.bestTimes.end(), qint64{0}), 4);
    EXPECT_EQ(d.bestTimes[30], 2);  // the time-outs of 7 and the 1234 of 9
    EXPECT_EQ(d.bestTimes[4], 1);
    EXPECT_EQ(d.bestTimes[5], 1);
    const QStringList all = allRunsLines(d);
    EXPECT_EQ(all[0], QStringLiteral("レベル60 今まで7回  （★=1）"));
    EXPECT_EQ(all[101], QStringLiteral("1000～★★★★"));
    EXPECT_EQ(bestTimeLines(d)[31], QStringLiteral(" 300～★★"));
}

} // namespace
} // namespace vc
