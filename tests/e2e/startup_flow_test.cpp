// The start-up sequence in-process: splash, start-up work on the timer, then
// the name-selection screen, or the orderly stops.
#include "app/navigator.h"
#include "app/program.h"
#include "common/school.h"
#include "platform/clock.h"
#include "platform/messages.h"
#include "platform/process.h"
#include "platform/random.h"
#include "startup/appstate.h"
#include "startup/screens.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QDialog>
#include <gtest/gtest.h>

using namespace vc;

namespace {

struct StartupFlow : ::testing::Test {
    test::SchoolFixture school;
    FakeClock clock{QDate(2026, 2, 9), QTime(16, 30, 0)};
    ScriptedRandom random;
    RecordingMessages messages;
    RecordingLauncher launcher;
    FakeInstanceGuard instance;
    AppState state;
    int quitStatus = -1;
    AppNavigator navigator{state, [this](int status) { quitStatus = status; }};

    void SetUp() override
    {
        school.writeDefaults();
        state.services = {.clock = &clock, .random = &random, .messages = &messages, .launcher = &launcher, .instance = &instance, .navigator = &navigator};
    }
    void TearDown() override
    {
        if (navigator.current())
            delete navigator.current();
    }
    // Runs start-up until it has opened a screen or stopped.
    Firstfrm* run()
    {
        Firstfrm* splash = startProgram(state, navigator, school.programFolder);
        EXPECT_TRUE(QTest::qWaitFor([&] { return navigator.current() != nullptr || quitStatus != -1; }, 5000));
        return splash;
    }
};

} // namespace

TEST_F(StartupFlow, SplashThenNameSelection)
{
    QPointer<Firstfrm> splash = startProgram(state, navigator, school.programFolder);
    ASSERT_TRUE(splash);
    EXPECT_TRUE(splash->isVisible());
    EXPECT_EQ(splash->findChild<QLabel*>(QStringLiteral("Label5"))->text(), QStringLiteral("令和8年 2月 09日（月）"));
    EXPECT_EQ(splash->findChild<QLabel*>(QStringLiteral("Label19"))->text(), QStringLiteral("Just a moment, please."));
    EXPECT_EQ(state.SeasonBackColor, 0x0080FFu); // February
    EXPECT_EQ(random.seeds, std::vector<quint32>{16 * 3600 + 30 * 60});
    EXPECT_TRUE(splash->Timer1->isActive());
    EXPECT_EQ(navigator.current(), nullptr); // the work waits for the timer

    ASSERT_TRUE(QTest::qWaitFor([&] { return navigator.current() != nullptr; }, 5000));
    QWidget* screen = navigator.current();
    EXPECT_EQ(screen->objectName(), QStringLiteral("namesel"));
    EXPECT_TRUE(screen->isVisible());
    EXPECT_EQ(screen->findChild<QLabel*>(QStringLiteral("Label4"))->text(), QStringLiteral("中学英単語"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return splash.isNull(); }, 2000)); // the splash is gone
    EXPECT_EQ(quitStatus, -1);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(state.course.LevelCount, 6);
}

TEST_F(StartupFlow, ADataErrorStopsWithTheFileNamed)
{
    QFile::remove(school.dataFolder + QStringLiteral("共通データ.txt"));
    run();
    EXPECT_EQ(quitStatus, 1);
    EXPECT_EQ(navigator.current(), nullptr);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("エラー"));
    EXPECT_TRUE(messages.shown[0].text.contains(QStringLiteral("共通データ.txt")));
}

TEST_F(StartupFlow, ASecondInstanceIsRefusedAfterReadingTheSettings)
{
    instance.another = true;
    run();
    EXPECT_EQ(quitStatus, 2);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("注意"));
    EXPECT_EQ(state.course.SoftwareName, QStringLiteral("中学英単語")); // the settings were read first
    ASSERT_NE(navigator.current(), nullptr);
    EXPECT_FALSE(navigator.current()->isVisible());
}

TEST_F(StartupFlow, ZeroKeyAndTheMenuButtonReturnToTheLauncher)
{
    run();
    QWidget* screen = navigator.current();
    ASSERT_NE(screen, nullptr);
    QTest::keyClick(screen, Qt::Key_0);
    ASSERT_EQ(launcher.started.size(), 1u);
    EXPECT_EQ(launcher.started[0].arguments, QStringList{"001"});
    EXPECT_EQ(quitStatus, 0);

    quitStatus = -1;
    screen->findChild<QPushButton*>(QStringLiteral("Command7"))->click();
    EXPECT_EQ(launcher.started.size(), 2u);
    EXPECT_EQ(quitStatus, 0);
}

TEST_F(StartupFlow, TitleClickOpensTheVersionDialog)
{
    run();
    QWidget* screen = navigator.current();
    ASSERT_NE(screen, nullptr);
    QString name, version;
    bool modal = false;
    QTimer::singleShot(200, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        modal = dialog->isModal();
        name = dialog->findChild<QLabel*>(QStringLiteral("Label1"))->text();
        version = dialog->findChild<QLabel*>(QStringLiteral("Label2"))->text();
        dialog->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    });
    QTest::mouseClick(screen->findChild<QLabel*>(QStringLiteral("Label4")), Qt::LeftButton);
    EXPECT_TRUE(modal);
    EXPECT_EQ(name, QStringLiteral("中学英単語"));
    EXPECT_TRUE(version.startsWith(QStringLiteral("Version")));
    EXPECT_EQ(version, QStringLiteral("Version%1.%2.%3").arg(VC_VERSION_MAJOR).arg(VC_VERSION_MINOR).arg(VC_VERSION_PATCH));
}
