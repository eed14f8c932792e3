// The whole loop in-process on a small school: start-up, log in, the level
// screen, a drill run started by key and answered, the end-of-drill screen,
// and back to the level screen with the counts updated.
#include "app/navigator.h"
#include "app/program.h"
#include "common/school.h"
#include "common/testutil.h"
#include "drill/mainfrm.h"
#include "levelscreen/seisekitime1.h"
#include "platform/clock.h"
#include "platform/messages.h"
#include "platform/process.h"
#include "platform/random.h"
#include "platform/sound.h"
#include "platform/speech.h"
#include "records/frmsyuuryou.h"
#include "records/resultrecord.h"
#include "records/resultsfile.h"
#include "startup/appstate.h"
#include "students/namesel.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "common/tickingclock.h"

using namespace vc;

namespace {

using test::TickingClock;

class WholeLoop : public ::testing::Test {
protected:
    void SetUp() override
    {
        school.writeDefaults();
        // Two levels, one per unit, answers typed without choices or tiles.
        test::writeCp932(school.courseFolder + QStringLiteral("出題形式.csv"),
                         {QStringLiteral("３レベル,0,1なら3レベル"), QStringLiteral("選択肢,0,選択肢の既定"),
                          QStringLiteral("選択ラベル,1,0で隠す"), QStringLiteral("文字パネル,0,文字パネルの既定"),
                          QStringLiteral("接尾1,1,1番目"), QStringLiteral("接尾2,2,2番目"), QStringLiteral("接尾3,3,3番目")});
        test::writeCp932(school.soundFolder + QStringLiteral("新音ファイル.txt"),
                         {QStringLiteral("自己最高音2"), QStringLiteral("jiko"), QStringLiteral("*")});
        // 佐藤 花子 ran level 1 in 8 seconds this morning: 10 points.
        ResultRecord earlier;
        earlier.runDate = dayNumber(clock.today());
        earlier.runTime = 0.375;
        earlier.studentNumber = 2;
        earlier.level = 1;
        earlier.seconds = 8;
        test::writeBytes(resultsFilePath(school.courseFolder), encodeResultRecord(earlier));

        state.services = {.clock = &clock, .random = &random, .messages = &messages, .launcher = &launcher, .instance = &instance, .navigator = &navigator, .sound = &sound, .voices = &voices};
    }
    void TearDown() override
    {
        if (navigator.current())
            delete navigator.current();
    }
    template <typename Screen>
    Screen* current() const
    {
        return qobject_cast<Screen*>(navigator.current());
    }
    QString text(const char* name) const { return navigator.current()->findChild<QLabel*>(QString::fromLatin1(name))->text(); }
    QStringList lines(int level) const
    {
        QStringList texts;
        auto* list = navigator.current()->findChild<QListWidget*>(QStringLiteral("List5_%1").arg(level));
        for (int i = 0; list && i < list->count(); ++i)
            texts.append(list->item(i)->text());
        return texts;
    }

    test::SchoolFixture school;
    TickingClock clock{QDate(2026, 2, 9), QTime(16, 30, 0)};
    SystemRandom random;
    RecordingMessages messages;
    RecordingLauncher launcher;
    FakeInstanceGuard instance;
    ScriptedSoundPlayer sound;
    RecordingVoiceFactory voices;
    AppState state;
    int quitStatus = -1;
    AppNavigator navigator{state, [this](int status) { quitStatus = status; }};
};

TEST_F(WholeLoop, LogInDrillLevelOneAndComeBackWithTheCountsUpdated)
{
    startProgram(state, navigator, school.programFolder);
    ASSERT_TRUE(QTest::qWaitFor([&] { return current<namesel>() != nullptr; }, 5000));

    // Log in as 山田 太郎.
    namesel* names = current<namesel>();
    int row = -1;
    for (int i = 0; i < names->List1->count() && row < 0; ++i)
        if (names->List1->item(i)->text().contains(QStringLiteral("山田")))
            row = i;
    ASSERT_GT(row, 0);
    names->List1->setCurrentRow(row);
    QTest::mouseClick(names->Command14, Qt::LeftButton);

    // The level screen, its texts for level 1 and the first-visit hint.
    seisekitime1* levels = current<seisekitime1>();
    ASSERT_NE(levels, nullptr);
    EXPECT_EQ(levels->busyFlag(), 1);
    EXPECT_EQ(text("Label12"), QStringLiteral("中１ 山田 太郎"));
    EXPECT_EQ(text("Label18"), QStringLiteral("本日総回数＝0回"));
    EXPECT_EQ(text("Label3_1"), QStringLiteral("pLesson1"));
    EXPECT_EQ(text("Label7_1"), QStringLiteral("目標=10秒 3回/30点(×1)"));
    EXPECT_EQ(text("Label8_1"), QStringLiteral("最近7日=0回 / 0点"));
    EXPECT_EQ(text("Label14_1"), QStringLiteral("-----"));
    EXPECT_EQ(text("Label15_1"), QStringLiteral("------"));
    EXPECT_EQ(lines(1), (QStringList{QStringLiteral(" 1⑥佐藤 花子 10/   10"), QStringLiteral(" 2●山田 太郎  0/    0"),
                                     QStringLiteral(" 2　先生　　　  0/    0")}));
    EXPECT_EQ(levels->findChild<QPushButton*>(QStringLiteral("Command4_1"))->text(), QStringLiteral("ｽﾀｰﾄ(&1)"));
    EXPECT_FALSE(levels->findChild<QWidget*>(QStringLiteral("Command8"))->isVisible());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("最初に「練習」をクリックして十分練習してから、各レベルに挑戦してください"));

    // Level 1 by key: the drill on its two questions.
    QTest::keyClick(levels, '1');
    MainFrm* drill = current<MainFrm>();
    ASSERT_NE(drill, nullptr);
    EXPECT_EQ(state.CurrentLevel, 1);
    auto* answer = drill->findChild<QLineEdit*>(QStringLiteral("Text1"));
    ASSERT_NE(answer, nullptr);
    clock.advanceMs(6000);
    QTest::keyClicks(answer, drill->drillRun().session().currentAnswer);
    QTest::keyClick(answer, Qt::Key_Return);
    clock.advanceMs(6000);
    QTest::qWait(1200);  // the run clock's tick takes the time
    QTest::keyClicks(answer, drill->drillRun().session().currentAnswer);
    QTest::keyClick(answer, Qt::Key_Return);

    // The end-of-drill screen: a first result on the level, a personal best.
    ASSERT_TRUE(QTest::qWaitFor([&] { return current<FrmSyuuryou>() != nullptr; }, 5000));
    FrmSyuuryou* end = current<FrmSyuuryou>();
    EXPECT_EQ(text("Label17"), QStringLiteral("山田 太郎"));
    EXPECT_EQ(text("Label16"), QStringLiteral("pLesson1"));
    EXPECT_EQ(text("Label18"), QStringLiteral("今の成績：12秒"));
    EXPECT_EQ(text("Label19"), QStringLiteral("獲得ポイント：5点×1→5点"));
    EXPECT_EQ(text("Label13"), QStringLiteral(" (このレベル　1回目)"));
    EXPECT_EQ(text("Label14"), QStringLiteral("（1回目)"));
    EXPECT_EQ(text("Label20"), QStringLiteral("新記録おめでとう"));
    EXPECT_EQ(sound.played.back(), school.soundFolder + QStringLiteral("jiko.wav"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return end->Command4->isVisible(); }, 3000));
    EXPECT_TRUE(end->Command5->isVisible());
    const std::vector<ResultRecord> stored = ResultsFile(resultsFilePath(school.courseFolder)).readAll();
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[1].studentNumber, 1);
    EXPECT_EQ(stored[1].seconds, 12);

    // Back to the level screen, which counts the run.
    QTest::mouseClick(end->Command4, Qt::LeftButton);
    levels = current<seisekitime1>();
    ASSERT_NE(levels, nullptr);
    EXPECT_EQ(text("Label18"), QStringLiteral("本日総回数＝1回"));
    EXPECT_EQ(text("Label2_1"), QStringLiteral("○"));
    EXPECT_EQ(text("Label8_1"), QStringLiteral("最近7日=1回 / 5点"));
    EXPECT_EQ(text("Label14_1"), QStringLiteral("1回/5点"));
    EXPECT_EQ(text("Label15_1"), QStringLiteral("1回/5点"));
    EXPECT_EQ(lines(1), (QStringList{QStringLiteral(" 1⑥佐藤 花子 10/   10"), QStringLiteral(" 2●山田 太郎  5/    5"),
                                     QStringLiteral(" 3　先生　　　  0/    0")}));
    EXPECT_EQ(messages.shown.size(), 1u);  // the hint came once
    EXPECT_EQ(quitStatus, -1);
}

} // namespace
