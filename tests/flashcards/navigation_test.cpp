// "練習" on the level screen of the running program opens the flash cards,
// and "練習終わり" goes back to a fresh level screen.
#include "app/navigator.h"
#include "app/program.h"
#include "common/school.h"
#include "flashcards/frmfrush.h"
#include "levelscreen/seisekitime1.h"
#include "platform/clock.h"
#include "platform/messages.h"
#include "platform/process.h"
#include "platform/random.h"
#include "platform/sound.h"
#include "platform/speech.h"
#include "startup/appstate.h"
#include "students/namesel.h"

#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace vc;

namespace {

TEST(FlashNavigation, PracticeOpensTheFlashCardsAndTheirEndReturns)
{
    test::SchoolFixture school;
    school.writeDefaults();
    FakeClock clock{QDate(2026, 2, 9), QTime(16, 30, 0)};
    SystemRandom random;
    RecordingMessages messages;
    RecordingLauncher launcher;
    FakeInstanceGuard instance;
    ScriptedSoundPlayer sound;
    RecordingVoiceFactory voices;
    AppState state;
    AppNavigator navigator{state, [](int) {}};
    state.services = {.clock = &clock, .random = &random, .messages = &messages, .launcher = &launcher, .instance = &instance,
                      .navigator = &navigator, .sound = &sound, .voices = &voices};
    startProgram(state, navigator, school.programFolder);
    ASSERT_TRUE(QTest::qWaitFor([&] { return qobject_cast<namesel*>(navigator.current()) != nullptr; }, 5000));
    auto* names = qobject_cast<namesel*>(navigator.current());
    names->List1->setCurrentRow(1);
    names->Command14_Click();
    auto* levels = qobject_cast<seisekitime1*>(navigator.current());
    ASSERT_NE(levels, nullptr);
    messages.shown.clear();

    levels->findChild<QPushButton*>(QStringLiteral("Command29"))->click();
    auto* cards = qobject_cast<FrmFrush*>(navigator.current());
    ASSERT_NE(cards, nullptr);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(cards->isVisible());
    EXPECT_GT(cards->List1->count(), 0);
    ASSERT_FALSE(voices.calls.empty());
    EXPECT_EQ(voices.calls.back().kind, RecordingVoiceFactory::Call::Kind::Wait);

    cards->Command3->click();
    EXPECT_NE(qobject_cast<seisekitime1*>(navigator.current()), nullptr);
    EXPECT_EQ(voices.calls.back().kind, RecordingVoiceFactory::Call::Kind::Release);
    delete navigator.current();
}

} // namespace
