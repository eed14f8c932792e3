// Plays and speaks through the real layers. They need a sound server; the
// test script starts PulseAudio with a null sink, so these run headless too.
#include "platform/qtsound.h"
#include "platform/qtspeech.h"
#include "wavefile.h"

#include <QAudioDevice>
#include <QDir>
#include <QFileInfo>
#include <QElapsedTimer>
#include <QMediaDevices>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>

using namespace vc;

namespace {

bool haveAudioOutput()
{
    return !QMediaDevices::defaultAudioOutput().isNull();
}

constexpr const char* kNoServer =
    "no audio output: start PulseAudio with a null sink first "
    "(pulseaudio --daemonize=yes --exit-idle-time=-1 -n --load=module-native-protocol-unix "
    "--load=\"module-null-sink sink_name=nullsink\")";

TEST(RealSound, PlaysAGeneratedWaveToItsEnd)
{
    ASSERT_TRUE(haveAudioOutput()) << kNoServer;
    QTemporaryDir dir;
    const QString path = dir.filePath(u"ピンポン.wav"_qs);
    ASSERT_TRUE(test::writeFile(path, test::toneFile(400)));
    QtSoundPlayer player;
    for (int round = 0; round < 2; ++round) {  // a second sound right after the first
        QElapsedTimer t;
        t.start();
        const PlaybackResult r = player.playToEnd(path);
        const qint64 ms = t.elapsed();
        EXPECT_TRUE(r.ok) << r.errorText.toStdString();
        EXPECT_GE(ms, 380) << "returned before the sound could have ended";
        EXPECT_LT(ms, 400 + 5000);
    }
}

TEST(RealSound, FilesThatCannotPlayFailAtOnceWithTheirName)
{
    QTemporaryDir dir;
    const QString broken = dir.filePath(u"壊れた.wav"_qs);
    ASSERT_TRUE(test::writeFile(broken, QByteArray("RIFF\x04\0\0\0WAVE", 12)));
    QtSoundPlayer player;
    for (const QString& path : {dir.filePath(u"ない.wav"_qs), broken, dir.filePath(u".wav"_qs)}) {
        QElapsedTimer t;
        t.start();
        const PlaybackResult r = player.playToEnd(path);
        EXPECT_FALSE(r.ok);
        EXPECT_TRUE(r.errorText.contains(QFileInfo(path).fileName())) << r.errorText.toStdString();
        EXPECT_LT(t.elapsed(), 500);
    }
}

// Speaks at every rate the program uses, then a run of letters queued at
// once, each of which must be spoken to its end in turn.
TEST(RealSpeech, EveryRateAndAQueueOfLettersAreSpoken)
{
    ASSERT_TRUE(haveAudioOutput()) << kNoServer;
    ASSERT_TRUE(FliteEngine::available()) << "flite (Debian libflite1) is missing";
    auto engine = std::make_unique<FliteEngine>();
    FliteEngine* probe = engine.get();
    QueuedVoice voice(std::move(engine));
    int expected = 0;
    std::map<int, qint64> lengths;
    for (int rate : {-6, -4, 0, 3, 4}) {
        voice.setRate(rate);
        QElapsedTimer t;
        t.start();
        voice.speak(u"vocabulary"_qs);
        voice.waitUntilDone();
        ++expected;
        lengths[rate] = probe->lastDurationUs();
        EXPECT_EQ(probe->utterancesCompleted(), expected) << "rate " << rate << ": " << probe->lastError().toStdString();
        EXPECT_GE(t.elapsed() * 1000 + 50000, probe->lastDurationUs()) << "rate " << rate << ": returned before the word was said";
    }
    // Slower rates make longer speech: −6 stretches to 2.2 times, +4 to 0.77.
    EXPECT_GT(lengths[-6], lengths[-4]);
    EXPECT_GT(lengths[-4], lengths[0]);
    EXPECT_GT(lengths[0], lengths[3]);
    EXPECT_GT(lengths[3], lengths[4]);
    EXPECT_GT(lengths[-6], 2 * lengths[4]);

    voice.setRate(3);
    const char* letters[] = {"a", "p", "l", "e"};
    for (const char* letter : letters)
        voice.speak(QString::fromLatin1(letter));
    voice.waitUntilDone();
    EXPECT_EQ(probe->utterancesCompleted(), expected + int(std::size(letters)));
    EXPECT_EQ(probe->errorCount(), 0) << probe->lastError().toStdString();
}

TEST(RealSpeech, ReleaseCutsOffAtOnce)
{
    QtVoiceFactory factory;
    ASSERT_TRUE(factory.hasEngine());
    QElapsedTimer t;
    t.start();
    {
        auto voice = factory.createVoice();
        voice->speak(u"this is a rather long sentence that would take a few seconds to say"_qs);
        voice->speak(u"and another one queued behind it"_qs);
    }
    EXPECT_LT(t.elapsed(), 2000);
}

// With no sound server at all, a child process (so that Qt sees no server
// from its start) must get a failure from playback and an end of speech
// quickly, instead of hanging.
TEST(NoSoundServer, PlaybackFailsQuicklyAndSpeechGivesUp)
{
    QTemporaryDir dir;
    const QString wav = dir.filePath(u"tone.wav"_qs);
    ASSERT_TRUE(test::writeFile(wav, test::toneFile(300)));
    QDir().mkpath(dir.filePath(u"runtime"_qs));
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"PULSE_SERVER"_qs, u"unix:"_qs + dir.filePath(u"no-such-socket"_qs));
    env.insert(u"XDG_RUNTIME_DIR"_qs, dir.filePath(u"runtime"_qs));
    env.insert(u"PULSE_CLIENTCONFIG"_qs, dir.filePath(u"client.conf"_qs));
    ASSERT_TRUE(test::writeFile(dir.filePath(u"client.conf"_qs), "autospawn = no\n"));
    child.setProcessEnvironment(env);
    QElapsedTimer t;
    t.start();
    child.start(QStringLiteral(VC_MEDIA_PROBE), {wav});
    ASSERT_TRUE(child.waitForFinished(60000)) << "the probe hung";
    const QString out = QString::fromUtf8(child.readAllStandardOutput());
    EXPECT_EQ(child.exitCode(), 0) << out.toStdString() << child.readAllStandardError().toStdString();
    // "sound 0 <ms> <text>" and "speech <ms>"
    const QStringList lines = out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << out.toStdString();
    const QStringList sound = lines[0].split(u' ');
    ASSERT_GE(sound.size(), 4) << out.toStdString();
    EXPECT_EQ(sound[0], u"sound"_qs);
    EXPECT_EQ(sound[1], u"0"_qs) << "played without a server?";
    EXPECT_LT(sound[2].toInt(), 2000);
    EXPECT_FALSE(sound.mid(3).join(u' ').trimmed().isEmpty());
    const QStringList speech = lines[1].split(u' ');
    ASSERT_EQ(speech.size(), 2) << out.toStdString();
    EXPECT_EQ(speech[0], u"speech"_qs);
    EXPECT_LT(speech[1].toInt(), 10000);
    EXPECT_LT(t.elapsed(), 30000);
}

} // namespace
