#pragma once
#include "sound.h"

#include <QAudioFormat>
#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>

class QAudioSink;
class QIODevice;
class QTimer;

namespace vc {

// The samples of a RIFF WAVE file, ready for an audio output.
struct WaveClip {
    QAudioFormat format;
    QByteArray pcm;        // whole frames only
    qint64 durationUs = 0;
};

// Reads PCM (8, 16, 24 or 32 bits) and 32-bit float wave files; 24-bit
// samples are widened to 32 bits. False, with the reason in `error`, for
// anything else or a damaged file.
bool parseWave(const QByteArray& bytes, WaveClip* clip, QString* error);

// Plays samples through Qt Multimedia's default audio output without
// blocking, and reports once, with `finished`, when they have been played or
// playback failed. A sound that has not ended `slackMs` after its own length
// counts as failed, so a stalled sound server cannot hang the caller.
class PcmPlayback : public QObject {
    Q_OBJECT
public:
    explicit PcmPlayback(QObject* parent = nullptr);
    ~PcmPlayback() override;
    // False, with the reason, when no output takes the sound; `finished` then
    // does not follow.
    bool start(const QAudioFormat& format, const QByteArray& pcm, qint64 durationUs, int slackMs, QString* error);
    // Cuts the sound off; no `finished` follows.
    void stop();
    bool playing() const { return sink_ != nullptr; }

signals:
    void finished(bool ok, const QString& errorText);

private:
    void step();
    void end(bool ok, const QString& errorText);
    void releaseSink();

    QAudioSink* sink_ = nullptr;
    QIODevice* out_ = nullptr;
    QTimer* feed_ = nullptr;
    QByteArray pcm_;
    qsizetype written_ = 0;
    qint64 durationUs_ = 0;
    qint64 limitMs_ = 0;
    QElapsedTimer elapsed_;
};

// Plays through Qt Multimedia's default audio output. The wait is a nested
// event loop that leaves user input queued until the sound has ended, and it
// is bounded: a sound that has not finished `slackMs` after its own length
// counts as failed, so a stalled sound server cannot hang the program.
class QtSoundPlayer : public SoundPlayer {
public:
    explicit QtSoundPlayer(int slackMs = 5000) : slackMs_(slackMs) {}
    PlaybackResult playToEnd(const QString& path) override;

private:
    int slackMs_;
};

} // namespace vc
