#include "platform/qtspeech.h"

#include <QTimer>
#include <gtest/gtest.h>

using namespace vc;

namespace {

// What the engine under a voice was asked to do, kept outside the engine
// because the voice owns (and on release destroys) it.
struct EngineLog {
    struct Said { QString text; double rate; };
    std::vector<Said> said;
    int stops = 0;
    bool destroyed = false;
    SpeechEngine* engine = nullptr;
    // Ends the utterance in progress, as the real engine does when done.
    void finish() { engine->finished(); }
};

class FakeEngine : public SpeechEngine {
public:
    explicit FakeEngine(EngineLog& log, bool failAtOnce = false) : log_(log), failAtOnce_(failAtOnce) { log.engine = this; }
    ~FakeEngine() override { log_.destroyed = true; }
    void say(const QString& text, double rate) override
    {
        log_.said.push_back({text, rate});
        if (failAtOnce_)
            finished();  // an engine without audio fails before say() returns
    }
    void stop() override { ++log_.stops; }

private:
    EngineLog& log_;
    bool failAtOnce_;
};

std::vector<QString> texts(const EngineLog& log)
{
    std::vector<QString> t;
    for (const auto& s : log.said)
        t.push_back(s.text);
    return t;
}

TEST(QueuedVoice, SpeaksOneTextAtATimeInOrder)
{
    EngineLog log;
    QueuedVoice voice(std::make_unique<FakeEngine>(log));
    voice.speak(u"a"_qs);
    voice.speak(u"b"_qs);
    voice.speak(u"c"_qs);
    EXPECT_EQ(texts(log), std::vector<QString>{u"a"_qs});
    EXPECT_FALSE(voice.idle());
    log.finish();
    EXPECT_EQ(texts(log), (std::vector<QString>{u"a"_qs, u"b"_qs}));
    log.finish();
    log.finish();
    EXPECT_EQ(texts(log), (std::vector<QString>{u"a"_qs, u"b"_qs, u"c"_qs}));
    EXPECT_TRUE(voice.idle());
    voice.speak(u"d"_qs);  // an idle voice starts at once
    EXPECT_EQ(log.said.size(), 4u);
    EXPECT_EQ(log.stops, 0);
}

TEST(QueuedVoice, RateOfEachTextIsTheRateWhenItWasQueued)
{
    EngineLog log;
    QueuedVoice voice(std::make_unique<FakeEngine>(log));
    struct Case { int set; int kept; double engine; };
    const Case cases[] = {{-4, -4, -0.4}, {3, 3, 0.3}, {-6, -6, -0.6}, {0, 0, 0.0}, {4, 4, 0.4}, {-15, -10, -1.0}, {11, 10, 1.0}};
    for (const Case& c : cases) {
        voice.setRate(c.set);
        EXPECT_EQ(voice.rate(), c.kept);
        voice.speak(u"x"_qs);
    }
    while (!voice.idle())
        log.finish();
    ASSERT_EQ(log.said.size(), std::size(cases));
    for (size_t k = 0; k < std::size(cases); ++k)
        EXPECT_DOUBLE_EQ(log.said[k].rate, cases[k].engine) << k;
}

TEST(QueuedVoice, ReleaseCutsOffRunningAndQueuedSpeech)
{
    EngineLog log;
    {
        QueuedVoice voice(std::make_unique<FakeEngine>(log));
        voice.speak(u"a"_qs);
        voice.speak(u"b"_qs);
    }
    EXPECT_EQ(texts(log), std::vector<QString>{u"a"_qs});
    EXPECT_EQ(log.stops, 1);
    EXPECT_TRUE(log.destroyed);

    EngineLog quiet;
    { QueuedVoice voice(std::make_unique<FakeEngine>(quiet)); }
    EXPECT_EQ(quiet.stops, 0);  // nothing running, nothing to stop
}

TEST(QueuedVoice, WaitUntilDoneReturnsWhenEverythingIsSpoken)
{
    EngineLog log;
    QueuedVoice voice(std::make_unique<FakeEngine>(log));
    voice.waitUntilDone();  // idle: returns at once
    voice.speak(u"one"_qs);
    voice.speak(u"two"_qs);
    QTimer ticks;
    ticks.setInterval(5);
    QObject::connect(&ticks, &QTimer::timeout, [&] { log.finish(); });
    ticks.start();
    voice.waitUntilDone();
    ticks.stop();
    EXPECT_TRUE(voice.idle());
    EXPECT_EQ(texts(log), (std::vector<QString>{u"one"_qs, u"two"_qs}));
}

TEST(QueuedVoice, ReleasedWhileWaiting)
{
    EngineLog log;
    auto voice = std::make_unique<QueuedVoice>(std::make_unique<FakeEngine>(log));
    voice->speak(u"long"_qs);
    QTimer::singleShot(5, [&] { voice.reset(); });
    QueuedVoice* raw = voice.get();
    raw->waitUntilDone();
    EXPECT_EQ(voice, nullptr);
    EXPECT_TRUE(log.destroyed);
    EXPECT_EQ(log.stops, 1);
}

TEST(QueuedVoice, EngineFailingAtOnceStillDrainsTheQueue)
{
    EngineLog log;
    QueuedVoice voice(std::make_unique<FakeEngine>(log, true));
    for (const char* t : {"a", "b", "c"})
        voice.speak(QString::fromLatin1(t));
    EXPECT_EQ(texts(log), (std::vector<QString>{u"a"_qs, u"b"_qs, u"c"_qs}));
    EXPECT_TRUE(voice.idle());
    voice.waitUntilDone();
}

TEST(QueuedVoice, BlankTextsAreNotSentToTheEngine)
{
    EngineLog log;
    QueuedVoice voice(std::make_unique<FakeEngine>(log));
    voice.speak(QString());
    voice.speak(u"  "_qs);
    EXPECT_TRUE(log.said.empty());
    EXPECT_TRUE(voice.idle());
}

TEST(RecordingVoiceFactory, LogsEveryCallPerVoice)
{
    RecordingVoiceFactory factory;
    auto word = factory.createVoice();
    auto letter = factory.createVoice();
    word->setRate(-4);
    word->speak(u"apple"_qs);
    letter->speak(u"a"_qs);
    word.reset();
    ASSERT_EQ(factory.calls.size(), 6u);
    EXPECT_EQ(factory.spoken(1), std::vector<QString>{u"apple"_qs});
    EXPECT_EQ(factory.spoken(2), std::vector<QString>{u"a"_qs});
    EXPECT_EQ(factory.calls[3].rate, -4);
    EXPECT_EQ(factory.calls.back().kind, RecordingVoiceFactory::Call::Kind::Release);
    EXPECT_EQ(factory.calls.back().voice, 1);
}

} // namespace
