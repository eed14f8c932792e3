// Child process of the no-sound-server test: plays the given file, then
// speaks a word and waits for it, and reports how long each took.
#include "platform/qtsound.h"
#include "platform/qtspeech.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    QElapsedTimer t;
    t.start();
    vc::QtSoundPlayer player;
    const vc::PlaybackResult r = player.playToEnd(QString::fromLocal8Bit(argv[1]));
    std::printf("sound %d %lld %s\n", r.ok ? 1 : 0, static_cast<long long>(t.elapsed()),
                r.errorText.isEmpty() ? "-" : r.errorText.toUtf8().constData());
    t.restart();
    vc::QtVoiceFactory voices;
    auto voice = voices.createVoice();
    voice->speak(QStringLiteral("hello"));
    voice->waitUntilDone();
    std::printf("speech %lld\n", static_cast<long long>(t.elapsed()));
    return 0;
}
