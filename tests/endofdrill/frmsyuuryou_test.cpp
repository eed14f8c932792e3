// The end-of-drill screen offscreen: its lines, cues and buttons after runs
// written to the results file beforehand, as the drill leaves them.
#include "levelscreen/scoredschool.h"

#include "drill/soundcues.h"
#include "platform/messages.h"
#include "platform/sound.h"
#include "records/frmsyuuryou.h"
#include "startup/navigator.h"
#include "startup/screens.h"

#include <QEventLoop>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace vc;

namespace {

struct RecordingNavigator : Navigator {
    void openNameSelection() override { ++nameSelections; }
    void openLevelScreen() override { ++levelScreens; }
    void openDrill() override { ++drills; }
    void quitProgram(int status) override { quits.push_back(status); }
    int nameSelections = 0;
    int levelScreens = 0;
    int drills = 0;
    std::vector<int> quits;
};

// Three levels, the third the target: targetTime 30, clearPoints 20,
// clearCount 2, banCount 5 within a day. The student is number 7.
class EndOfDrillScreen : public ::testing::Test {
protected:
    void SetUp() override
    {
        school.setLevels(3, {QStringLiteral("pUnit1_1"), QStringLiteral("pUnit1_2"), QStringLiteral("pUnit1_3")});
        school.logIn(7, QStringLiteral("  山田　花子  "));
        AppState& s = *school.state;
        s.services.navigator = &navigator;
        s.services.sound = &sound;
        s.services.messages = &messages;
        SoundCategory& best = s.soundCues.categories[kPersonalBestCue];
        best.soundNames[1] = QStringLiteral("自己最高");
        best.count = QStringLiteral("1");
        SoundCategory& line = s.soundCues.categories[kMinimumLineCue];
        line.soundNames[1] = QStringLiteral("ライン");
        line.count = QStringLiteral("1");
    }
    // The run just recorded: its record is in the file already.
    void finishRun(int level, qint32 seconds, RunOutcomeFlags flags = {})
    {
        school.state->CurrentLevel = static_cast<qint16>(level);
        school.state->run.resultSeconds = seconds;
        school.state->runFlags = flags;
        school.addRuns(7, static_cast<qint16>(level), seconds);
    }
    void open()
    {
        screen = std::make_unique<FrmSyuuryou>(*school.state);
        screen->Form_Load();
        screen->Form_Activate();
    }
    QString text(const char* name) const { return screen->findChild<QLabel*>(QString::fromLatin1(name))->text(); }
    bool shown(const char* name) const { return screen->findChild<QWidget*>(QString::fromLatin1(name))->isVisible(); }
    void settle() { ASSERT_TRUE(QTest::qWaitFor([&] { return !screen->Timer1->isActive(); }, 3000)); }
    QString soundFile(const QString& name) const { return school.state->paths.SoundFolder + name; }

    test::ScoredSchool school;
    RecordingNavigator navigator;
    ScriptedSoundPlayer sound;
    RecordingMessages messages;
    std::unique_ptr<FrmSyuuryou> screen;
};

// Plays each cue for real time in a loop that lets timers run, as the real
// player does, and clicks "メニューへ" whenever it is on screen meanwhile, as
// an impatient student would.
struct SlowImpatientPlayer : SoundPlayer {
    PlaybackResult playToEnd(const QString& path) override
    {
        played.push_back(path);
        QEventLoop loop;
        QTimer::singleShot(1200, &loop, &QEventLoop::quit);
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [this] {
            if (menu && menu->isVisible() && menu->isEnabled()) {
                sawButtonDuringCue = true;
                menu->click();
            }
        });
        poll.start(50);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        return {};
    }
    QPointer<QPushButton> menu;
    bool sawButtonDuringCue = false;
    std::vector<QString> played;
};

TEST_F(EndOfDrillScreen, FlagsAreUsedUpAndButtonsWaitForTheCues)
{
    SlowImpatientPlayer slow;
    school.state->services.sound = &slow;
    finishRun(1, 20, {true, true, false});
    screen = std::make_unique<FrmSyuuryou>(*school.state);
    slow.menu = screen->Command4;
    screen->Form_Load();
    screen->Form_Activate();
    // The settle time passed during the cue, but the buttons came only after it.
    ASSERT_EQ(slow.played.size(), 1u);
    EXPECT_FALSE(slow.sawButtonDuringCue);
    EXPECT_EQ(navigator.levelScreens, 0);
    EXPECT_TRUE(shown("Command4"));
    EXPECT_FALSE(shown("Picture1"));
    EXPECT_FALSE(school.state->runFlags.personalBest);
    EXPECT_FALSE(school.state->runFlags.levelRecord);

    // The next run sets no record: nothing is announced, nothing played.
    screen.reset();
    slow.played.clear();
    school.state->run.resultSeconds = 50;  // above the minimum line too
    school.addRuns(7, 1, 50);
    screen = std::make_unique<FrmSyuuryou>(*school.state);
    screen->Form_Load();
    screen->Form_Activate();
    EXPECT_FALSE(shown("Label20"));
    EXPECT_TRUE(slow.played.empty());
}

TEST_F(EndOfDrillScreen, TimeOutShowsNoRecordAndPlaysNothing)
{
    finishRun(1, 99999, {true, true, false});
    open();
    EXPECT_EQ(screen->windowTitle(), QStringLiteral("終了"));
    EXPECT_EQ(text("Label18"), QStringLiteral("記録なし"));
    EXPECT_EQ(text("Label19"), QStringLiteral("次は最後までがんばろう！"));
    EXPECT_EQ(text("Label13"), QStringLiteral(" (このレベル　0回目)"));  // a time-out is no valid run
    EXPECT_FALSE(shown("Label20"));
    EXPECT_TRUE(sound.played.empty());
    // The buttons wait for the screen to settle.
    EXPECT_TRUE(screen->Timer1->isActive());
    EXPECT_FALSE(shown("Command4"));
    EXPECT_FALSE(shown("Command5"));
    settle();
    EXPECT_TRUE(shown("Command4"));
    EXPECT_TRUE(shown("Command5"));
    EXPECT_EQ(screen->findChild<QPushButton*>(QStringLiteral("Command4"))->text(), QStringLiteral("メニューへ"));
    EXPECT_EQ(screen->findChild<QPushButton*>(QStringLiteral("Command5"))->text(), QStringLiteral("もう一度"));
    // The flags are used once.
    EXPECT_FALSE(school.state->runFlags.personalBest);
    EXPECT_FALSE(school.state->runFlags.levelRecord);
}

TEST_F(EndOfDrillScreen, PersonalBestWithLinesAndTodaysCounts)
{
    school.addRuns(7, 2, 25, 2);  // earlier runs today on another level
    finishRun(1, 20, {true, false, false});
    QPointer<WaitForm> wait = new WaitForm();  // as the drill leaves it
    wait->setAttribute(Qt::WA_DeleteOnClose);
    wait->show();
    open();
    EXPECT_EQ(text("Label17"), QStringLiteral("山田　花子"));
    EXPECT_EQ(text("Label15"), QStringLiteral("中1英単語"));
    EXPECT_EQ(text("Label16"), QStringLiteral("pUnit1_1"));
    EXPECT_EQ(text("Label18"), QStringLiteral("今の成績：20秒"));
    EXPECT_EQ(text("Label19"), QStringLiteral("獲得ポイント：10点×1→10点"));
    EXPECT_EQ(text("Label13"), QStringLiteral(" (このレベル　1回目)"));
    EXPECT_EQ(text("Label14"), QStringLiteral("（3回目)"));
    EXPECT_TRUE(shown("Label20"));
    EXPECT_EQ(text("Label20"), QStringLiteral("新記録おめでとう"));
    EXPECT_EQ(sound.played, std::vector<QString>{soundFile(QStringLiteral("自己最高.wav"))});
    EXPECT_FALSE(shown("Picture1"));
    EXPECT_TRUE(!wait || !wait->isVisible());
}

TEST_F(EndOfDrillScreen, LevelRecordAndTheMinimumLineCue)
{
    finishRun(1, 14, {true, true, false});
    open();
    EXPECT_EQ(text("Label19"), QStringLiteral("獲得ポイント：20点×1→20点"));
    EXPECT_EQ(text("Label20"), QStringLiteral("！！！最高新記録！！！"));
    EXPECT_EQ(sound.played, std::vector<QString>{soundFile(QStringLiteral("最高1.wav"))});

    sound.played.clear();
    finishRun(1, 40, {});  // at most the minimum time (45), no record
    open();
    EXPECT_FALSE(shown("Label20"));
    EXPECT_EQ(sound.played, std::vector<QString>{soundFile(QStringLiteral("ライン.wav"))});

    sound.played.clear();
    finishRun(1, 46, {});
    open();
    EXPECT_TRUE(sound.played.empty());
}

TEST_F(EndOfDrillScreen, OverPractisedClearedLevelMustMoveOn)
{
    school.addRuns(7, 1, 10, 4);
    finishRun(1, 10);  // the fifth run within the ban period
    open();
    settle();
    EXPECT_TRUE(shown("Command4"));
    EXPECT_EQ(screen->focusWidget(), screen->findChild<QPushButton*>(QStringLiteral("Command4")));
    EXPECT_FALSE(shown("Command5"));
    EXPECT_TRUE(shown("Label2"));
    EXPECT_EQ(text("Label2"), QStringLiteral("次のレベルへ進みましょう"));

    // With the target level cleared the student may repeat.
    school.state->targetLevelCleared = true;
    finishRun(1, 10);
    open();
    settle();
    EXPECT_TRUE(shown("Command5"));
    EXPECT_FALSE(shown("Label2"));
}

TEST_F(EndOfDrillScreen, ClearingTheTargetLevelShowsThePanelAndPlaysTheCueOnce)
{
    school.standards(3).minimumTime = 5;  // no minimum-line cue in between
    school.addRuns(7, 3, 10, 1);
    finishRun(3, 10, {false, false, false});
    open();
    EXPECT_TRUE(shown("Picture1"));
    EXPECT_EQ(text("Label1"), QStringLiteral("目標レベルクリア。おめでとう！"));
    EXPECT_EQ(sound.played, std::vector<QString>{soundFile(QStringLiteral("合格.wav"))});
    settle();
    EXPECT_FALSE(shown("Picture1"));

    // A later run of the cleared target level: the panel again, no cue.
    sound.played.clear();
    finishRun(3, 10, {false, false, true});
    open();
    EXPECT_TRUE(shown("Picture1"));
    EXPECT_TRUE(sound.played.empty());
}

TEST_F(EndOfDrillScreen, MenuAndRetryButtons)
{
    finishRun(2, 25);
    open();
    settle();
    auto* menu = screen->findChild<QPushButton*>(QStringLiteral("Command4"));
    QTest::mouseClick(menu, Qt::LeftButton);
    EXPECT_EQ(navigator.levelScreens, 1);
    EXPECT_FALSE(menu->isEnabled());

    finishRun(2, 25);
    open();
    settle();
    QTest::mouseClick(screen->findChild<QPushButton*>(QStringLiteral("Command5")), Qt::LeftButton);
    EXPECT_EQ(navigator.drills, 1);
    EXPECT_EQ(school.state->CurrentLevel, 2);
    EXPECT_EQ(school.state->run.resultSeconds, 0);  // startDrill reset the run
    EXPECT_FALSE(screen->isVisible());
}

} // namespace
