// The flash cards spoken through the real voice on the real timers. Needs a
// sound server; the test script starts PulseAudio with a null sink.
#include "flashcards/frmfrush.h"

#include "common/school.h"
#include "platform/clock.h"
#include "platform/messages.h"
#include "platform/qtspeech.h"
#include "platform/random.h"
#include "startup/appstate.h"

#include <QElapsedTimer>
#include <QListWidget>
#include <QMediaDevices>
#include <QAudioDevice>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace vc;

namespace {

// Flite voices whose engines the test can watch.
class WatchedVoices : public VoiceFactory {
public:
    std::unique_ptr<Voice> createVoice() override
    {
        auto engine = std::make_unique<FliteEngine>();
        engines.push_back(engine.get());
        return std::make_unique<QueuedVoice>(std::move(engine));
    }
    std::vector<FliteEngine*> engines;
};

TEST(FlashVoice, CardsAreSpokenWhileTheTimersRunOn)
{
    ASSERT_FALSE(QMediaDevices::defaultAudioOutput().isNull()) << "no audio output: source scripts/audio-env first";
    ASSERT_TRUE(FliteEngine::available()) << "flite (Debian libflite1) is missing";
    test::SchoolFixture school;
    school.writeDefaults();
    school.writeCourse({QStringLiteral("1,りんご,apple"), QStringLiteral("1,本,book")});
    SystemClock clock;
    SystemRandom random;
    RecordingMessages messages;
    WatchedVoices voices;
    AppState state;
    state.paths.ProgramFolder = school.programFolder;
    state.paths.CourseFolder = school.courseFolder;
    state.services = {.clock = &clock, .random = &random, .messages = &messages, .voices = &voices};
    auto screen = std::make_unique<FrmFrush>(state);
    screen->Form_Load();
    screen->show();
    ASSERT_EQ(voices.engines.size(), 1u);
    FliteEngine* engine = voices.engines[0];

    screen->List4->item(0)->setSelected(true);
    screen->Option2[3]->click();  // fastest
    screen->Option1[3]->click();  // spoken first
    QElapsedTimer t;
    t.start();
    screen->Command6->click();
    // Each card is spoken; the cards move on while speech queues behind.
    EXPECT_TRUE(QTest::qWaitFor([&] { return engine->utterancesCompleted() >= 3; }, 20000));
    EXPECT_GE(screen->cycle()->cardsShown(), 3);
    EXPECT_EQ(engine->errorCount(), 0) << engine->lastError().toStdString();
    EXPECT_GT(engine->lastDurationUs(), 100000);
    // Closing releases the voice at once, queued words and all.
    QElapsedTimer closing;
    closing.start();
    screen->close();
    screen.reset();
    EXPECT_LT(closing.elapsed(), 2000);
    EXPECT_TRUE(messages.shown.empty());
}

} // namespace
