// The standards editor offscreen: the edit box over its cell, keys, marks,
// "元に戻す", saving into the program's table, leaving, and the distribution.
#include "levelscreen/scoredschool.h"
#include "platform/messages.h"
#include "records/frmtimedata.h"
#include "startup/navigator.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <gmock/gmock.h>

using namespace vc;

namespace {

struct RecordingNavigator : Navigator {
    void openNameSelection() override {}
    void openLevelScreen() override { ++levelScreens; }
    void quitProgram(int) override {}
    int levelScreens = 0;
};

const QString kHeading = QStringLiteral("目標Time,最低Time,ｸﾘｱﾎﾟｲﾝﾄ,ｸﾘｱ回数,ﾎﾟｲﾝﾄ倍率,禁回,禁点,判期間,禁期間,,,");

class FrmTimeDataTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppState& s = *school.state;
        s.services.messages = &messages;
        s.services.navigator = &navigator;
        QStringList lines{kHeading};
        for (int k = 1; k <= 40; ++k)
            lines.append(QStringLiteral("%1,%2,30,3,1,5,60,7,1,,,").arg(10 + k).arg(20 + k));
        test::writeCp932(path(), lines);
    }
    QString path() const { return standardsFilePath(school.state->paths.CourseFolder); }
    void open()
    {
        screen = std::make_unique<FrmTimeData>(*school.state);
        screen->Form_Load();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(screen.get()));
        screen->Form_Activate();
    }
    QTableWidgetItem* item(int row, int column) const { return screen->MSFlexGrid1->item(row - 1, column); }
    // The edit box lies exactly over the current cell.
    void expectBoxOverCell() const
    {
        const QRect cell = screen->MSFlexGrid1->visualItemRect(item(screen->grid().currentRow(), screen->grid().currentColumn()));
        const QPoint cellAt = screen->MSFlexGrid1->viewport()->mapToGlobal(cell.topLeft());
        EXPECT_EQ(screen->Gridinputtext->mapToGlobal(QPoint(0, 0)), cellAt);
        EXPECT_EQ(screen->Gridinputtext->size(), cell.size());
        EXPECT_TRUE(screen->MSFlexGrid1->viewport()->rect().contains(cell));
    }
    void key(Qt::Key k, Qt::KeyboardModifiers m = {}) { QTest::keyClick(screen->Gridinputtext, k, m); }

    test::ScoredSchool school;
    RecordingMessages messages;
    RecordingNavigator navigator;
    std::unique_ptr<FrmTimeData> screen;
};

TEST_F(FrmTimeDataTest, StartsOnLevelOneWithTheBoxOverItsCell)
{
    school.addRuns(3, 1, 44, 2);
    open();
    EXPECT_EQ(screen->MSFlexGrid1->columnCount(), 13);
    EXPECT_EQ(screen->MSFlexGrid1->rowCount(), 40);
    EXPECT_EQ(screen->MSFlexGrid1->horizontalHeaderItem(0)->text(), QStringLiteral("レベル"));
    EXPECT_EQ(screen->MSFlexGrid1->horizontalHeaderItem(3)->text(), QStringLiteral("ｸﾘｱﾎﾟｲﾝﾄ"));
    EXPECT_EQ(item(1, 0)->text(), QStringLiteral("1"));
    EXPECT_EQ(screen->MSFlexGrid1->columnWidth(1), std::lround(0.8 * screen->MSFlexGrid1->columnWidth(2)));
    EXPECT_EQ(std::pair(screen->grid().currentRow(), screen->grid().currentColumn()), std::pair(1, 1));
    EXPECT_TRUE(screen->Gridinputtext->isVisible());
    EXPECT_TRUE(screen->Gridinputtext->hasFocus());
    EXPECT_EQ(screen->Gridinputtext->text(), QStringLiteral("11"));
    expectBoxOverCell();
    EXPECT_TRUE(screen->Label3->text().startsWith(QStringLiteral("合格基準タイム")));
    EXPECT_EQ(screen->Label4->text(), QString());
    ASSERT_EQ(screen->List3->count(), 102);
    EXPECT_EQ(screen->List3->item(0)->text(), QStringLiteral("レベル1 今まで2回  （★=1）"));
    EXPECT_EQ(screen->List3->item(5)->text(), QStringLiteral("  40～★★"));
    EXPECT_EQ(screen->List4->item(0)->text(), QStringLiteral("レベル1 （★=1）"));
}

TEST_F(FrmTimeDataTest, KeysMoveTheBoxAndTheDistributionFollows)
{
    school.addRuns(3, 38, 44);
    open();
    key(Qt::Key_Up);
    key(Qt::Key_Left);
    EXPECT_EQ(std::pair(screen->grid().currentRow(), screen->grid().currentColumn()), std::pair(1, 1));
    key(Qt::Key_Right);
    EXPECT_EQ(screen->Gridinputtext->text(), QStringLiteral("21"));
    EXPECT_TRUE(screen->Label3->text().startsWith(QStringLiteral("合格最低ラインタイム")));
    expectBoxOverCell();
    // Far down: the grid scrolls and the box goes with its cell.
    for (int i = 0; i < 37; ++i)
        key(Qt::Key_Down);
    EXPECT_EQ(screen->grid().currentRow(), 38);
    expectBoxOverCell();
    EXPECT_EQ(screen->List3->item(0)->text(), QStringLiteral("レベル38 今まで1回  （★=1）"));
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    EXPECT_EQ(screen->grid().currentRow(), 40);
    for (int i = 0; i < 12; ++i)
        key(Qt::Key_Right);
    EXPECT_EQ(screen->grid().currentColumn(), 12);
    expectBoxOverCell();
    // Esc does nothing at all; Delete does nothing inside the box.
    key(Qt::Key_Escape);
    for (int i = 0; i < 3; ++i)
        key(Qt::Key_Left);
    key(Qt::Key_Delete);
    key(Qt::Key_Home);
    key(Qt::Key_Delete);
    EXPECT_EQ(screen->Gridinputtext->text(), QStringLiteral("1"));
    EXPECT_FALSE(screen->grid().gridChanged());
    // A click makes a cell current.
    screen->MSFlexGrid1_Click(39, 4);
    EXPECT_EQ(screen->Gridinputtext->text(), QStringLiteral("3"));
    expectBoxOverCell();
}

TEST_F(FrmTimeDataTest, TypingPaintsYellowRevertDropsItAndLeavingStillAsks)
{
    open();
    QTest::keyClicks(screen->Gridinputtext, "5");
    EXPECT_EQ(screen->Gridinputtext->text(), QStringLiteral("115"));
    EXPECT_EQ(screen->grid().cell(1, 1), QStringLiteral("115"));
    EXPECT_EQ(item(1, 1)->background().color(), QColor(255, 255, 0));
    EXPECT_TRUE(screen->grid().gridChanged());
    key(Qt::Key_Down);
    key(Qt::Key_Space);  // a blank clears the cell
    EXPECT_EQ(screen->grid().cell(2, 1), QString());
    EXPECT_EQ(screen->Gridinputtext->text(), QString());

    screen->Command2->click();  // "元に戻す"
    EXPECT_EQ(item(1, 1)->text(), QStringLiteral("11"));
    EXPECT_EQ(item(2, 1)->text(), QStringLiteral("12"));
    EXPECT_NE(item(1, 1)->background().color(), QColor(255, 255, 0));
    EXPECT_EQ(std::pair(screen->grid().currentRow(), screen->grid().currentColumn()), std::pair(1, 1));
    expectBoxOverCell();

    const QByteArray before = test::readBytes(path());
    messages.answers = {MessageService::Answer::No};
    screen->Command4->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("データが変更されています。記録しますか？"));
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("注意"));
    EXPECT_EQ(messages.shown[0].buttons, MessageService::Buttons::YesNo);
    EXPECT_EQ(navigator.levelScreens, 1);
    EXPECT_EQ(test::readBytes(path()), before);
}

TEST_F(FrmTimeDataTest, SavingReloadsTheProgramsStandards)
{
    open();
    key(Qt::Key_Down);
    key(Qt::Key_Space);
    QTest::keyClicks(screen->Gridinputtext, "17");
    // Shift + ↓ copies into the next rows without marks.
    key(Qt::Key_Down, Qt::ShiftModifier);
    key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(item(4, 1)->text(), QStringLiteral("17"));
    EXPECT_NE(item(4, 1)->background().color(), QColor(255, 255, 0));
    screen->Command3->click();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_FALSE(screen->grid().gridChanged());
    EXPECT_FALSE(screen->Picture6->isVisible());
    for (int level : {2, 3, 4})
        EXPECT_EQ(school.state->standards.level(level)->targetTime, 17) << level;
    EXPECT_EQ(school.state->standards.level(5)->targetTime, 15);
    // Nothing changed since the save: "戻る" leaves at once.
    screen->Command4->click();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(navigator.levelScreens, 1);
}

TEST_F(FrmTimeDataTest, ABadValueIsNotSavedAndLeavingStays)
{
    open();
    key(Qt::Key_Space);
    QTest::keyClicks(screen->Gridinputtext, "abc");
    const QByteArray before = test::readBytes(path());
    messages.answers = {MessageService::Answer::Yes};
    screen->Command4->click();
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_THAT(messages.shown[1].text.toStdString(), ::testing::HasSubstr("タイム回数データ.txt"));
    EXPECT_EQ(navigator.levelScreens, 0);
    EXPECT_EQ(test::readBytes(path()), before);
    EXPECT_EQ(screen->grid().cell(1, 1), QStringLiteral("abc"));
}

TEST_F(FrmTimeDataTest, WithoutLevelLinesNothingCanBeEdited)
{
    test::writeCp932(path(), {kHeading});
    open();
    EXPECT_EQ(screen->MSFlexGrid1->rowCount(), 0);
    EXPECT_FALSE(screen->Gridinputtext->isVisible());
    EXPECT_FALSE(screen->Command3->isEnabled());
    EXPECT_EQ(screen->List3->item(0)->text(), QStringLiteral("レベル1 今まで0回  （★=1）"));
    screen->Command4->click();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(navigator.levelScreens, 1);

    QFile::remove(path());
    open();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_THAT(messages.shown[0].text.toStdString(), ::testing::HasSubstr("タイム回数データ.txt"));
    EXPECT_FALSE(QFile::exists(path()));
}

TEST_F(FrmTimeDataTest, HidingTheDistribution)
{
    open();
    screen->Option1_1->click();
    EXPECT_FALSE(screen->Picture3->isVisible());
    screen->Option1_0->click();
    EXPECT_TRUE(screen->Picture3->isVisible());
    EXPECT_EQ(screen->List3->count(), 102);
}

} // namespace
