// The level screen offscreen on a school set up in code: its columns, the ban
// cover, the keys, the panels and the switching between views.
#include "scoredschool.h"

#include "levelscreen/seisekitime1.h"
#include "levelscreen/views.h"
#include "platform/messages.h"
#include "platform/sound.h"
#include "platform/twips.h"
#include "startup/navigator.h"
#include "levelscreen/reportpanel.h"
#include "printing/pdftools.h"
#include "printing/printjob.h"
#include "records/resultsfile.h"

#include <QDir>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

using namespace vc;

namespace {

struct RecordingNavigator : Navigator {
    void openNameSelection() override { ++nameSelections; }
    void openLevelScreen() override { ++levelScreens; }
    void openDrill() override { drills.push_back(level ? *level : 0); }
    void quitProgram(int status) override { quits.push_back(status); }
    void openResultsAdmin() override { ++resultsAdmins; }
    void openStandardsEditor() override { ++standardsEditors; }
    int resultsAdmins = 0;
    int standardsEditors = 0;
    const qint16* level = nullptr;
    int nameSelections = 0;
    int levelScreens = 0;
    std::vector<int> drills;  // the level each drill was opened on
    std::vector<int> quits;
};

// A double click as the platform delivers it: press, release, double click, release.
void doubleClick(QListWidget* list, int row)
{
    const QPoint at = list->visualItemRect(list->item(row)).center();
    QTest::mousePress(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
}

unsigned backColour(QWidget* w) { return w->palette().color(QPalette::Window).rgb() & 0xFFFFFF; }

class LevelScreen : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppState& s = *school.state;
        s.services.navigator = &navigator;
        s.services.messages = &messages;
        s.services.sound = &sound;
        navigator.level = &s.CurrentLevel;
        s.PracticePanelFlag = 1;
        s.CurrentStudentClass = QStringLiteral("中１");
        s.LoginTime = 10 * 3600 - 25 * 60 - 10;  // 25 minutes and 10 seconds ago
        school.setLevels(3, {QStringLiteral("pUnit1_1"), QStringLiteral("pUnit1_2"), QStringLiteral("pUnit1_3")});
        school.addStudent(7, QStringLiteral("山田　花子"), 2011);
        school.addStudent(8, QStringLiteral("佐藤"), 2017);
        school.addStudent(9, QStringLiteral("伊藤"), 2010);
        school.logIn(7, QStringLiteral(" 山田　花子 "));
    }
    void open()
    {
        screen = std::make_unique<seisekitime1>(*school.state);
        screen->Form_Load();
        screen->Form_Activate();
    }
    template <typename T = QWidget>
    T* child(const QString& name) const
    {
        T* w = screen->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    QString text(const QString& name) const { return child<QLabel>(name)->text(); }
    QStringList lines(int level) const
    {
        QStringList texts;
        auto* list = child<QListWidget>(QStringLiteral("List5_%1").arg(level));
        for (int i = 0; i < list->count(); ++i)
            texts.append(list->item(i)->text());
        return texts;
    }

    test::ScoredSchool school;
    RecordingNavigator navigator;
    RecordingMessages messages;
    ScriptedSoundPlayer sound;
    std::unique_ptr<seisekitime1> screen;
};

TEST_F(LevelScreen, ColumnTextsAndColoursOfOneLevel)
{
    school.standards(2).pointMultiplier = 1.5f;
    school.addRuns(7, 2, 10, 3);     // today: 30 points each
    school.addRuns(7, 2, 20, 2, 5);  // five days ago: 15 points each
    school.addRuns(8, 2, 40, 1);     // 5 × 1.5 = 7 points
    school.addRuns(9, 1, 10, 1);
    open();

    EXPECT_EQ(screen->busyFlag(), 1);
    EXPECT_FALSE(child(QStringLiteral("Picture2"))->isVisible());
    EXPECT_EQ(text(QStringLiteral("Label11")), QStringLiteral("中1英単語"));
    EXPECT_EQ(child<QLabel>(QStringLiteral("Label11"))->font().pointSize(), 24);
    EXPECT_EQ(text(QStringLiteral("Label12")), QStringLiteral("中１ 山田　花子"));
    EXPECT_EQ(text(QStringLiteral("Label17")), QStringLiteral("起動後25分"));
    EXPECT_EQ(text(QStringLiteral("Label18")), QStringLiteral("本日総回数＝3回"));

    EXPECT_EQ(text(QStringLiteral("Label1_2")), QStringLiteral("2"));
    EXPECT_EQ(text(QStringLiteral("Label3_2")), QStringLiteral("pUnit1_2"));
    EXPECT_EQ(child(QStringLiteral("Label3_2"))->toolTip(), QStringLiteral("pUnit1_2"));
    EXPECT_EQ(text(QStringLiteral("Label2_2")), QStringLiteral("○○○"));
    EXPECT_EQ(backColour(child(QStringLiteral("Label2_2"))), bgrToRgb(0x00FF00));
    EXPECT_EQ(text(QStringLiteral("Label19_2")), QStringLiteral("○○○○○"));
    EXPECT_EQ(backColour(child(QStringLiteral("Label19_2"))), bgrToRgb(0xFF0000));
    EXPECT_EQ(text(QStringLiteral("Label7_2")), QStringLiteral("目標=30秒 2回/20点(×1.5)"));
    EXPECT_EQ(backColour(child(QStringLiteral("Label7_2"))), bgrToRgb(0xE0E0E0));
    EXPECT_EQ(text(QStringLiteral("Label8_2")), QStringLiteral("最近7日=5回 / 120点"));
    EXPECT_EQ(text(QStringLiteral("Label14_2")), QStringLiteral("3回/90点"));
    EXPECT_EQ(text(QStringLiteral("Label15_2")), QStringLiteral("5回/120点"));
    EXPECT_EQ(text(QStringLiteral("Label9_2")), QStringLiteral("今日"));
    EXPECT_EQ(text(QStringLiteral("Label10_2")), QStringLiteral("今まで"));
    auto* start = child<QPushButton>(QStringLiteral("Command4_2"));
    EXPECT_EQ(start->text(), QStringLiteral("ｽﾀｰﾄ(&2)"));
    EXPECT_TRUE(start->isEnabled());
    EXPECT_EQ(start->property("index").toInt(), 2);
    EXPECT_FALSE(child(QStringLiteral("Text1_2"))->isVisible());
    // Level 3 has no run: grey empty marks and dashes.
    EXPECT_EQ(text(QStringLiteral("Label2_3")), QString());
    EXPECT_EQ(backColour(child(QStringLiteral("Label2_3"))), bgrToRgb(0x808080));
    EXPECT_EQ(text(QStringLiteral("Label14_3")), QStringLiteral("-----"));
    EXPECT_EQ(text(QStringLiteral("Label15_3")), QStringLiteral("------"));

    // The cumulative points ranking, with the order options as activation leaves them.
    EXPECT_EQ(text(QStringLiteral("Label5")), QStringLiteral("獲得ポイント（今まで順位）"));
    EXPECT_TRUE(child<QRadioButton>(QStringLiteral("Option2_1"))->isChecked());
    EXPECT_TRUE(child<QRadioButton>(QStringLiteral("Option1_1"))->isChecked());
    EXPECT_EQ(child<QRadioButton>(QStringLiteral("Option1_1"))->text(), QStringLiteral("累計順"));
    EXPECT_EQ(child<QRadioButton>(QStringLiteral("Option1_2"))->text(), QStringLiteral("本日順"));
    EXPECT_EQ(child<QRadioButton>(QStringLiteral("Option1_3"))->text(), QStringLiteral("オール表示"));
    EXPECT_EQ(lines(2), (QStringList{QStringLiteral(" 1●山田　花子 90/  120"), QStringLiteral(" 2①佐藤　　　  7/    7"),
                                     QStringLiteral(" 3Ⅱ伊藤　　　  0/    0")}));
    EXPECT_TRUE(child<QListWidget>(QStringLiteral("List5_2"))->isVisible());
    EXPECT_TRUE(child<QListWidget>(QStringLiteral("List5_2"))->selectedItems().isEmpty());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(LevelScreen, PracticeLevelKeepsItsButtonAndLosesItsListAndTimes)
{
    school.state->LevelNames[1] = QStringLiteral("p練習");
    open();
    EXPECT_TRUE(child(QStringLiteral("Command4_1"))->isVisible());
    EXPECT_TRUE(child(QStringLiteral("Command4_1"))->isEnabled());
    for (const char* name : {"List5_1", "Label7_1", "Label8_1", "Label2_1", "Label19_1", "Label14_1", "Label15_1", "Label9_1"})
        EXPECT_FALSE(child(QString::fromLatin1(name))->isVisible()) << name;
    EXPECT_EQ(child(QStringLiteral("LevelColumn_1"))->height(), twipsToPixels(1178));
    EXPECT_EQ(school.standards(1).targetTime, 600);
    EXPECT_EQ(school.standards(1).minimumTime, 600);
    EXPECT_EQ(school.standards(2).targetTime, 30);
    EXPECT_TRUE(child(QStringLiteral("List5_2"))->isVisible());

    // After a change of view the practice column is shorter still.
    child<QRadioButton>(QStringLiteral("Option2_0"))->click();
    EXPECT_EQ(child(QStringLiteral("LevelColumn_1"))->height(), twipsToPixels(908));
    EXPECT_FALSE(child(QStringLiteral("List5_1"))->isVisible());
}

// A screen reader toggles an option over the accessibility bus, without a
// click: the view switches all the same, once.
TEST_F(LevelScreen, ViewOptionsWorkFromTheAccessibilityBus)
{
    school.setLevels(3);
    open();
    EXPECT_TRUE(child(QStringLiteral("List5_1"))->isVisible());
    QAccessibleInterface* option = QAccessible::queryAccessibleInterface(child<QRadioButton>(QStringLiteral("Option2_0")));
    ASSERT_NE(option, nullptr);
    ASSERT_NE(option->actionInterface(), nullptr);
    option->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(child<QRadioButton>(QStringLiteral("Option2_0"))->isChecked());
    // The time view's captions, as a click on it gives.
    ASSERT_NE(timeOrderCaptions()[0], QStringLiteral("累計順"));
    EXPECT_EQ(child<QRadioButton>(QStringLiteral("Option1_1"))->text(), timeOrderCaptions()[0]);
}

TEST_F(LevelScreen, ColumnsFillTheScreenOrScroll)
{
    school.setLevels(4);
    open();
    EXPECT_EQ(child(QStringLiteral("LevelColumn_1"))->width(), twipsToPixels(3648));
    EXPECT_EQ(child(QStringLiteral("LevelColumn_4"))->x(), 3 * twipsToPixels(3648));
    EXPECT_FALSE(child(QStringLiteral("HScroll1"))->isVisible());

    school.setLevels(9);
    open();
    const int w = twipsToPixels(3456);
    EXPECT_EQ(child(QStringLiteral("LevelColumn_1"))->width(), w);
    auto* bar = child<QScrollBar>(QStringLiteral("HScroll1"));
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->maximum(), 6);
    bar->setValue(3);
    EXPECT_EQ(screen->firstVisibleLevel(), 3);
    EXPECT_EQ(child(QStringLiteral("LevelColumn_3"))->x(), 0);
    EXPECT_EQ(child(QStringLiteral("LevelColumn_4"))->x(), w);
    // Columns before the first visible one wait right of the area, out of sight.
    const int area = child(QStringLiteral("columnsArea"))->width();
    EXPECT_EQ(child(QStringLiteral("LevelColumn_1"))->x(), area);
    EXPECT_EQ(child(QStringLiteral("LevelColumn_2"))->x(), area);
}

TEST_F(LevelScreen, BanCoverAppearsAndGoesOnceTheFinalLevelIsCleared)
{
    school.addRuns(7, 1, 10, 2);
    school.addRuns(7, 2, 10, 5);  // level 2 cleared and run five times today
    open();
    auto* cover = child<QLineEdit>(QStringLiteral("Text1_2"));
    EXPECT_TRUE(cover->isVisible());
    EXPECT_EQ(cover->text(), QStringLiteral("やりすぎ禁止"));
    EXPECT_EQ(cover->geometry(), child(QStringLiteral("Command4_2"))->geometry());
    EXPECT_FALSE(child(QStringLiteral("Text1_1"))->isVisible());
    EXPECT_FALSE(child(QStringLiteral("Text1_3"))->isVisible());
    EXPECT_FALSE(school.state->targetLevelCleared);
    // Neither the key nor the level's name gets round the cover.
    QTest::keyClick(screen.get(), '2');
    QTest::mouseClick(child(QStringLiteral("Label3_2")), Qt::LeftButton);
    EXPECT_TRUE(navigator.drills.empty());

    school.addRuns(7, 3, 10, 2);  // the final level cleared
    open();
    EXPECT_FALSE(child(QStringLiteral("Text1_2"))->isVisible());
    EXPECT_TRUE(school.state->targetLevelCleared);
    QTest::keyClick(screen.get(), '2');
    EXPECT_EQ(navigator.drills, std::vector<int>{2});
}

TEST_F(LevelScreen, KeysStartLevelsOnlyWhileTheScreenAcceptsThem)
{
    screen = std::make_unique<seisekitime1>(*school.state);
    screen->Form_Load();
    EXPECT_EQ(screen->busyFlag(), 0);
    QTest::keyClick(screen.get(), '1');  // not active yet
    EXPECT_TRUE(navigator.drills.empty());
    screen->Form_Activate();

    for (char key : {'4', 'a', 'A', 'x'})
        QTest::keyClick(screen.get(), key);  // beyond the three levels, or no key of the screen
    EXPECT_TRUE(navigator.drills.empty());
    QTest::keyClick(child(QStringLiteral("Combo1")), '3');  // wherever the focus is
    EXPECT_EQ(navigator.drills, std::vector<int>{3});
    EXPECT_EQ(school.state->CurrentLevel, 3);
    EXPECT_EQ(screen->busyFlag(), 0);
    EXPECT_TRUE(child(QStringLiteral("Picture2"))->isVisible());  // the wait cover while the drill opens

    school.setLevels(13);
    open();
    QTest::keyClick(screen.get(), 'a');
    EXPECT_EQ(navigator.drills.back(), 10);
    open();
    QTest::keyClick(screen.get(), 'd');
    EXPECT_EQ(navigator.drills.back(), 13);
    open();
    QTest::keyClick(screen.get(), 'A');
    EXPECT_EQ(navigator.drills.size(), 3u);

    QTest::keyClick(screen.get(), '0');
    EXPECT_EQ(navigator.nameSelections, 1);
}

TEST_F(LevelScreen, NameClickAndStartButtonStartTheLevel)
{
    open();
    QTest::mouseClick(child(QStringLiteral("Label3_2")), Qt::LeftButton);
    EXPECT_EQ(navigator.drills, std::vector<int>{2});
    open();
    QTest::mouseClick(child(QStringLiteral("Command4_1")), Qt::LeftButton);
    EXPECT_EQ(navigator.drills, (std::vector<int>{2, 1}));
    open();
    child<QPushButton>(QStringLiteral("Command1"))->click();
    EXPECT_EQ(navigator.nameSelections, 1);
}

TEST_F(LevelScreen, TeacherSeesDataProcessing)
{
    school.logIn(7, QStringLiteral(" 先生 "));
    open();
    auto* data = child<QPushButton>(QStringLiteral("Command8"));
    EXPECT_TRUE(data->isVisible());
    EXPECT_EQ(data->text(), QStringLiteral("データ処理"));
    EXPECT_FALSE(child(QStringLiteral("Command24_1"))->isHidden());
    data->click();
    EXPECT_TRUE(child(QStringLiteral("Picture7"))->isVisible());
    EXPECT_EQ(child<QPushButton>(QStringLiteral("Command10_0"))->text(), QStringLiteral("データ変更"));
    EXPECT_EQ(child<QPushButton>(QStringLiteral("Command10_1"))->text(), QStringLiteral("合格タイムデータ変更"));
    // Nothing starts while the teacher panel shows.
    screen->Command4_Click(1);
    QTest::keyClick(screen.get(), '1');
    screen->Label3_Click(1);
    EXPECT_TRUE(navigator.drills.empty());
    child<QPushButton>(QStringLiteral("Command10_0"))->click();
    EXPECT_EQ(navigator.resultsAdmins, 1);
    child<QPushButton>(QStringLiteral("Command10_1"))->click();
    EXPECT_EQ(navigator.standardsEditors, 1);
    EXPECT_TRUE(messages.shown.empty());
    child<QPushButton>(QStringLiteral("Command12"))->click();
    EXPECT_FALSE(child(QStringLiteral("Picture7"))->isVisible());
    screen->Command4_Click(1);
    EXPECT_EQ(navigator.drills, std::vector<int>{1});

    // "先生" with more to the name: the report's print button, but no data processing.
    school.logIn(7, QStringLiteral("先生A"));
    open();
    EXPECT_FALSE(child(QStringLiteral("Command8"))->isVisible());
    EXPECT_FALSE(child(QStringLiteral("Command24_1"))->isHidden());
    school.logIn(7, QStringLiteral("山田"));
    open();
    EXPECT_FALSE(child(QStringLiteral("Command8"))->isVisible());
    EXPECT_TRUE(child(QStringLiteral("Command24_1"))->isHidden());
}

TEST_F(LevelScreen, FirstVisitHintOnceAndOnlyWithoutRunsToday)
{
    school.state->FirstVisitFlag = 1;
    school.addRuns(7, 1, 10, 1, 3);  // days ago only
    open();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("最初に「練習」をクリックして十分練習してから、各レベルに挑戦してください"));
    EXPECT_EQ(school.state->FirstVisitFlag, 0);
    open();
    EXPECT_EQ(messages.shown.size(), 1u);

    school.state->FirstVisitFlag = 1;
    school.addRuns(7, 1, 10, 1);
    open();
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(school.state->FirstVisitFlag, 1);

    // The practice panel shows only once a course has started.
    EXPECT_TRUE(child(QStringLiteral("Picture6"))->isVisible());
    school.state->PracticePanelFlag = 0;
    open();
    EXPECT_FALSE(child(QStringLiteral("Picture6"))->isVisible());
}

TEST_F(LevelScreen, OverviewListStartsALevelByDoubleClick)
{
    school.addRuns(7, 2, 10, 12);
    open();
    child<QPushButton>(QStringLiteral("Command33"))->click();
    EXPECT_TRUE(child(QStringLiteral("Picture4"))->isVisible());
    auto* list = child<QListWidget>(QStringLiteral("List6"));
    ASSERT_EQ(list->count(), 3);
    EXPECT_TRUE(list->item(1)->text().startsWith(QStringLiteral("    　2  pUnit1_2    ◎○○")));
    EXPECT_TRUE(list->item(1)->text().endsWith(QStringLiteral("/◎○○")));
    doubleClick(list, 2);
    EXPECT_EQ(navigator.drills, std::vector<int>{3});

    // Level 2 lies under its cover (cleared, run twelve times today): the list does not start it.
    open();
    EXPECT_TRUE(child(QStringLiteral("Text1_2"))->isVisible());
    child<QPushButton>(QStringLiteral("Command33"))->click();
    list = child<QListWidget>(QStringLiteral("List6"));
    doubleClick(list, 1);
    EXPECT_EQ(navigator.drills, std::vector<int>{3});

    open();
    child<QPushButton>(QStringLiteral("Command33"))->click();
    child<QPushButton>(QStringLiteral("Command32"))->click();
    EXPECT_FALSE(child(QStringLiteral("Picture4"))->isVisible());
}

TEST_F(LevelScreen, ViewKindsOrdersAndSelectors)
{
    school.addRuns(8, 1, 12, 1);
    school.addRuns(9, 1, 15, 1, 2);  // two days ago: no points today
    school.addRuns(7, 1, 20, 1);
    open();
    auto option1 = [&](int j) { return child<QRadioButton>(QStringLiteral("Option1_%1").arg(j)); };

    // The time view: best results.
    child<QRadioButton>(QStringLiteral("Option2_0"))->click();
    EXPECT_EQ(text(QStringLiteral("Label5")), QStringLiteral("ベスト成績"));
    EXPECT_EQ(option1(1)->text(), QStringLiteral("BEST表示"));
    EXPECT_EQ(option1(2)->text(), QStringLiteral("本日のみ"));
    EXPECT_EQ(option1(3)->text(), QStringLiteral("オール表示"));
    EXPECT_EQ(lines(1), (QStringList{QStringLiteral(" 1①佐藤　　　    12 　"), QStringLiteral(" 2Ⅱ伊藤　　　    15 　"),
                                     QStringLiteral(" 3●山田　花子    20 ●")}));
    EXPECT_TRUE(child(QStringLiteral("Command1"))->isEnabled());
    EXPECT_TRUE(child(QStringLiteral("Picture1"))->isEnabled());
    EXPECT_FALSE(child(QStringLiteral("Picture2"))->isVisible());

    // Today's runs and the period's runs, under their own headlines.
    option1(2)->click();
    EXPECT_EQ(text(QStringLiteral("Label5")), QStringLiteral("本日の成績"));
    EXPECT_EQ(lines(1), (QStringList{QStringLiteral("  12秒 09:36①佐藤　　　①15"), QStringLiteral("  20秒 09:36●山田　花子●6")}));
    EXPECT_EQ(text(QStringLiteral("Label9_1")), QStringLiteral("今日"));
    EXPECT_TRUE(child<QListWidget>(QStringLiteral("List5_1"))->selectedItems().isEmpty());
    EXPECT_FALSE(child(QStringLiteral("Combo2"))->isVisible());
    option1(3)->click();
    EXPECT_TRUE(text(QStringLiteral("Label5")).isEmpty());
    EXPECT_EQ(lines(1), (QStringList{QStringLiteral("  12秒 05/10①佐藤　　　①15"), QStringLiteral("  15秒 05/08Ⅱ伊藤　　　Ⅱ11"),
                                     QStringLiteral("  20秒 05/10●山田　花子●6")}));
    EXPECT_TRUE(child(QStringLiteral("Combo2"))->isVisible());
    auto* period = child<QComboBox>(QStringLiteral("Combo2"));
    EXPECT_EQ(period->currentText(), QStringLiteral("　　１ヶ月間の全成績"));
    EXPECT_EQ(period->count(), 5);
    EXPECT_EQ(screen->viewSettings().period, 3);
    period->setCurrentIndex(0);
    screen->Combo2_Click();
    EXPECT_EQ(screen->viewSettings().period, 1);
    // A period chosen under another order option changes nothing.
    option1(1)->click();
    period->setCurrentIndex(4);
    screen->Combo2_Click();
    EXPECT_EQ(screen->viewSettings().period, 1);

    // The points view in today's order: only students with points today.
    child<QRadioButton>(QStringLiteral("Option2_1"))->click();
    EXPECT_EQ(option1(1)->text(), QStringLiteral("合計累計"));
    EXPECT_EQ(option1(2)->text(), QStringLiteral("合計本日"));
    EXPECT_EQ(option1(3)->text(), QStringLiteral("すべて"));
    option1(2)->click();
    EXPECT_EQ(text(QStringLiteral("Label5")), QStringLiteral("獲得ポイント（今日の順位）"));
    EXPECT_EQ(lines(1), (QStringList{QStringLiteral(" 1①佐藤　　　 20/   20"), QStringLiteral(" 2●山田　花子 10/   10")}));

    // The grade selector: only 中１, ranks still counting the others.
    auto* grades = child<QComboBox>(QStringLiteral("Combo1"));
    EXPECT_EQ(grades->count(), 12);
    grades->setCurrentText(QStringLiteral("中１"));
    screen->Combo1_Click();
    EXPECT_EQ(lines(1), QStringList{QStringLiteral(" 2●山田　花子 10/   10")});
    grades->setCurrentText(QStringLiteral("中２"));
    screen->Combo1_Click();
    EXPECT_TRUE(lines(1).isEmpty());
    child<QRadioButton>(QStringLiteral("Option2_0"))->click();
    EXPECT_EQ(text(QStringLiteral("Label5")), QStringLiteral("本日の成績"));  // the second order option still chosen
    option1(1)->click();
    EXPECT_EQ(lines(1), QStringList{QStringLiteral(" 2Ⅱ伊藤　　　    15 　")});
}

TEST_F(LevelScreen, PersonalTimesViewPreparesTheReport)
{
    test::writeCp932(school.state->paths.DataFolder + QStringLiteral("新名簿.txt"),
                     {QStringLiteral("7,2011,0,0,\"山田　花子\",0,\"\",\"\""), QStringLiteral("8,2017,0,0,\"佐藤\",0,\"\",\"\""),
                      QStringLiteral("9,2010,0,0,\"伊藤\",1,\"\",\"\"")});
    open();
    child<QRadioButton>(QStringLiteral("Option2_2"))->click();
    EXPECT_EQ(text(QStringLiteral("Label5")), QStringLiteral("個人別ﾀｲﾑ"));
    EXPECT_TRUE(child(QStringLiteral("Command17"))->isVisible());
    EXPECT_FALSE(child(QStringLiteral("Combo2"))->isVisible());
    auto* students = child<QListWidget>(QStringLiteral("List2"));
    ASSERT_EQ(students->count(), 2);
    EXPECT_EQ(students->item(0)->text(), QStringLiteral("中１ /  山田　花子/7"));
    EXPECT_EQ(child<QListWidget>(QStringLiteral("List3"))->count(), 3);
    EXPECT_TRUE(child(QStringLiteral("Command1"))->isEnabled());
    EXPECT_TRUE(child(QStringLiteral("List5_1"))->isVisible());

    // Choosing a grade there shows the points view.
    screen->Combo1_Click();
    EXPECT_TRUE(child<QRadioButton>(QStringLiteral("Option2_1"))->isChecked());
    EXPECT_EQ(text(QStringLiteral("Label5")), QStringLiteral("獲得ポイント（今まで順位）"));
    EXPECT_FALSE(child(QStringLiteral("Command17"))->isVisible());
}

TEST_F(LevelScreen, ListScrollsToTheLineAboveTheStudentsOwn)
{
    for (qint16 n = 20; n < 60; ++n) {
        school.addStudent(n, QStringLiteral("生徒%1").arg(n), 2011);
        school.addRuns(n, 1, 10, 1 + (n % 3));
    }
    school.addRuns(7, 1, 10, 2);
    open();
    auto* list = child<QListWidget>(QStringLiteral("List5_1"));
    const QStringList shown = lines(1);
    int own = -1;
    for (int i = 0; i < shown.size() && own < 0; ++i)
        if (shown[i].contains(u'●'))
            own = i;
    ASSERT_GT(own, 1);
    EXPECT_EQ(list->currentRow(), own - 1);
    EXPECT_TRUE(list->selectedItems().isEmpty());
}

TEST_F(LevelScreen, ReportPanelShowsTheGraphAndPrintsOnePdfPerStudent)
{
    test::writeCp932(school.state->paths.DataFolder + QStringLiteral("新名簿.txt"),
                     {QStringLiteral("7,2011,0,0,\"山田　花子\",0,\"\",\"\""), QStringLiteral("8,2017,0,0,\"佐藤\",0,\"\",\"\""),
                      QStringLiteral("9,2010,0,0,\"伊藤\",0,\"\",\"\"")});
    for (qint32 seconds : {50, 45, 48, 40})
        school.addRuns(7, 1, seconds);
    school.addRuns(8, 2, 33);
    // PDFs go to the documents folder of a home of the test's own.
    QTemporaryDir home;
    const QByteArray oldHome = qgetenv("HOME"), oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/.config")).toUtf8());
    SystemPrintService printing(&school.clock, SystemPrintService::Target::PdfOnly);
    school.state->services.printing = &printing;
    school.logIn(7, QStringLiteral("山田　花子先生"));
    open();

    child<QRadioButton>(QStringLiteral("Option2_2"))->click();
    child<QPushButton>(QStringLiteral("Command17"))->click();
    auto* panel = child<ReportPanel>(QStringLiteral("Picture11"));
    EXPECT_TRUE(panel->isVisible());
    EXPECT_FALSE(child(QStringLiteral("List2"))->isVisible());
    EXPECT_TRUE(child(QStringLiteral("Command25"))->isVisible());
    auto* levels = child<QListWidget>(QStringLiteral("List3"));
    EXPECT_EQ(levels->selectedItems().size(), 3);
    // The graph's red dots are on the picture.
    const QImage picture = panel->picture();
    ASSERT_FALSE(picture.isNull());
    int red = 0;
    for (int y = 0; y < picture.height() / 3; ++y)
        for (int x = 0; x < picture.width(); ++x)
            red += picture.pixelColor(x, y).red() > 200 && picture.pixelColor(x, y).green() < 60 && picture.pixelColor(x, y).blue() < 60;
    EXPECT_GT(red, 10);

    // Two students chosen for print: two PDFs, each named in its message.
    child<QPushButton>(QStringLiteral("Command25"))->click();
    auto* students = child<QListWidget>(QStringLiteral("List2"));
    EXPECT_TRUE(students->isVisible());
    ASSERT_EQ(students->count(), 3);
    EXPECT_EQ(students->item(0)->text(), QStringLiteral("中１ /  山田　花子/7"));
    EXPECT_EQ(students->item(2)->text(), QStringLiteral("小１ /  佐藤/8"));
    students->item(0)->setSelected(true);
    students->item(2)->setSelected(true);
    // "表示" draws each chosen report in turn: the last one stays on the panel.
    const QImage ownPicture = panel->picture();
    child<QPushButton>(QStringLiteral("Command24_0"))->click();
    EXPECT_EQ(panel->reportStudent, 8);
    EXPECT_NE(panel->picture(), ownPicture);
    messages.shown.clear();
    child<QPushButton>(QStringLiteral("Command24_1"))->click();
    const QString folder = home.path() + QStringLiteral("/Documents/Vocarimo");
    const QStringList pdfs = QDir(folder).entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name);
    qputenv("HOME", oldHome);
    qputenv("XDG_CONFIG_HOME", oldConfig);
    ASSERT_EQ(pdfs.size(), 2);
    ASSERT_EQ(messages.shown.size(), 2u);
    // Each message names its own PDF by its whole path, in the order the students are listed.
    EXPECT_TRUE(messages.shown[0].text.endsWith(folder + QStringLiteral("/20240510-100000-成績レポート_山田_花子.pdf")));
    EXPECT_TRUE(messages.shown[1].text.endsWith(folder + QStringLiteral("/20240510-100000-成績レポート_佐藤.pdf")));
    EXPECT_TRUE(pdfs.contains(QStringLiteral("20240510-100000-成績レポート_山田_花子.pdf")));

    const QString own = folder + QStringLiteral("/20240510-100000-成績レポート_山田_花子.pdf");
    EXPECT_EQ(test::pdfPageCount(own), 1);
    for (const QString& row : test::pdfFonts(own))
        EXPECT_TRUE(row.split(u' ', Qt::SkipEmptyParts).contains(QStringLiteral("yes"))) << row.toStdString();
    const QString text = test::pdfText(own);
    for (const QString& expected : {QStringLiteral("山田 花子"), QStringLiteral("pUnit1_1 中1英単語"), QStringLiteral("回数　　　　　　　  4回"),
                                    QStringLiteral("本人 / 塾全体"), QStringLiteral("40秒 /   40秒"), QStringLiteral("(塾平均)"),
                                    QStringLiteral("60秒")})
        EXPECT_TRUE(text.contains(test::nfkc(expected).simplified()) || text.simplified().contains(test::nfkc(expected).simplified()))
            << expected.toStdString() << "\n" << text.toStdString();

    child<QPushButton>(QStringLiteral("Command18"))->click();
    EXPECT_FALSE(panel->isVisible());
}

// Counts the jobs it starts and hands them to a PDF-only service writing into `folder`.
struct CountingPrintService : PrintService {
    CountingPrintService(const Clock* clock, const QString& folder) : pdf(clock, SystemPrintService::Target::PdfOnly, folder) {}
    std::unique_ptr<PrintJob> startJob(const QString& what) override
    {
        ++started;
        return pdf.startJob(what);
    }
    QSizeF drawableArea() const override { return pdf.drawableArea(); }
    SystemPrintService pdf;
    int started = 0;
};

TEST_F(LevelScreen, AReportWhoseResultsFileCannotBeReadPrintsNothing)
{
    for (qint32 seconds : {50, 45})
        school.addRuns(7, 1, seconds);
    QTemporaryDir documents;
    const QString folder = documents.path() + QStringLiteral("/Vocarimo");
    CountingPrintService printing(&school.clock, folder);
    school.state->services.printing = &printing;
    school.logIn(7, QStringLiteral("山田　花子先生"));
    open();
    child<QRadioButton>(QStringLiteral("Option2_2"))->click();
    child<QPushButton>(QStringLiteral("Command17"))->click();
    ASSERT_TRUE(child<ReportPanel>(QStringLiteral("Picture11"))->isVisible());

    // The results file goes and a folder of its name takes its place (tests
    // run as root, whom a file's mode does not stop).
    const QString results = resultsFilePath(school.state->paths.CourseFolder);
    ASSERT_TRUE(QFile::remove(results));
    ASSERT_TRUE(QDir().mkdir(results));
    messages.shown.clear();
    child<QPushButton>(QStringLiteral("Command24_1"))->click();
    EXPECT_EQ(printing.started, 0);
    EXPECT_TRUE(QDir(folder).entryList(QDir::Files).isEmpty()) << QDir(folder).entryList(QDir::Files).join(u' ').toStdString();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("エラー"));
    EXPECT_TRUE(messages.shown[0].text.contains(QStringLiteral("成績累積データ.dat"))) << messages.shown[0].text.toStdString();
    EXPECT_TRUE(messages.shown[0].text.contains(QStringLiteral("を読めません"))) << messages.shown[0].text.toStdString();

    // Readable again: the same button prints.
    ASSERT_TRUE(QDir().rmdir(results));
    school.addRuns(7, 1, 40);
    messages.shown.clear();
    child<QPushButton>(QStringLiteral("Command24_1"))->click();
    EXPECT_EQ(printing.started, 1);
    EXPECT_EQ(QDir(folder).entryList({QStringLiteral("*.pdf")}, QDir::Files).size(), 1);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("印刷"));
}

} // namespace
