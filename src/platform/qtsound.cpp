#include "qtsound.h"

#include "textfile.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QMediaDevices>
#include <QTimer>
#include <QtEndian>
#include <algorithm>

namespace vc {

namespace {

quint16 u16(const char* p) { return qFromLittleEndian<quint16>(p); }
quint32 u32(const char* p) { return qFromLittleEndian<quint32>(p); }

constexpr quint16 kFormatPcm = 1;
constexpr quint16 kFormatFloat = 3;
constexpr quint16 kFormatExtensible = 0xFFFE;

// Played position may lag the written data by a fraction of a frame period.
constexpr qint64 kEndToleranceUs = 10000;
constexpr int kFeedIntervalMs = 10;
constexpr int kRetiredSinkLifeMs = 5000;
constexpr qint64 kBufferUs = 250000;

QString sinkErrorText(QAudio::Error error)
{
    switch (error) {
    case QAudio::OpenError:
        return QStringLiteral("音声の出力を開けませんでした。");
    case QAudio::IOError:
        return QStringLiteral("音声の出力中にエラーが起きました。");
    case QAudio::FatalError:
        return QStringLiteral("音声の出力装置が使えなくなりました。");
    default:
        return QString();
    }
}

bool isSinkFailure(QAudio::Error error)
{
    // An underrun only means the output ran out of data, which is how a sound ends.
    return error == QAudio::OpenError || error == QAudio::IOError || error == QAudio::FatalError;
}

} // namespace

bool parseWave(const QByteArray& bytes, WaveClip* clip, QString* error)
{
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return fail(QStringLiteral("RIFF WAVE 形式ではありません"));

    quint16 formatTag = 0, channels = 0, bits = 0, blockAlign = 0;
    quint32 rate = 0;
    bool haveFormat = false;
    QByteArray data;
    bool haveData = false;
    qsizetype pos = 12;
    while (pos + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(pos, 4);
        const quint32 size = u32(bytes.constData() + pos + 4);
        const qsizetype body = pos + 8;
        const qsizetype available = std::min<qsizetype>(size, bytes.size() - body);
        if (id == "fmt ") {
            if (available < 16)
                return fail(QStringLiteral("fmt チャンクが短すぎます"));
            const char* f = bytes.constData() + body;
            formatTag = u16(f);
            channels = u16(f + 2);
            rate = u32(f + 4);
            blockAlign = u16(f + 12);
            bits = u16(f + 14);
            if (formatTag == kFormatExtensible) {
                if (available < 26)
                    return fail(QStringLiteral("fmt チャンクが短すぎます"));
                formatTag = u16(f + 24);  // first two bytes of the sub-format GUID
            }
            haveFormat = true;
        } else if (id == "data") {
            // A data chunk longer than the file is played as far as it goes.
            data = bytes.mid(body, available);
            haveData = true;
        }
        pos = body + qsizetype(size) + (size & 1);
    }
    if (!haveFormat)
        return fail(QStringLiteral("fmt チャンクがありません"));
    if (!haveData)
        return fail(QStringLiteral("data チャンクがありません"));
    if (channels == 0 || rate == 0 || rate > 768000 || channels > 32)
        return fail(QStringLiteral("チャンネル数かサンプリング周波数が不正です"));

    QAudioFormat format;
    format.setChannelCount(channels);
    format.setSampleRate(static_cast<int>(rate));
    const int inBytes = bits / 8;
    if (bits % 8 != 0 || blockAlign != channels * inBytes)
        return fail(QStringLiteral("%1 ビットのサンプルには対応していません").arg(bits));
    if (formatTag == kFormatPcm && bits == 8) {
        format.setSampleFormat(QAudioFormat::UInt8);
    } else if (formatTag == kFormatPcm && bits == 16) {
        format.setSampleFormat(QAudioFormat::Int16);
    } else if (formatTag == kFormatPcm && (bits == 24 || bits == 32)) {
        format.setSampleFormat(QAudioFormat::Int32);
    } else if (formatTag == kFormatFloat && bits == 32) {
        format.setSampleFormat(QAudioFormat::Float);
    } else {
        return fail(QStringLiteral("この音声形式（形式 %1、%2 ビット）には対応していません").arg(formatTag).arg(bits));
    }

    const qsizetype frames = data.size() / blockAlign;
    data.truncate(frames * blockAlign);
    if (bits == 24) {
        QByteArray wide(frames * channels * 4, Qt::Uninitialized);
        const char* in = data.constData();
        char* out = wide.data();
        for (qsizetype s = 0; s < frames * channels; ++s, in += 3, out += 4) {
            out[0] = 0;
            out[1] = in[0];
            out[2] = in[1];
            out[3] = in[2];
        }
        data = wide;
    }
    clip->format = format;
    clip->pcm = data;
    clip->durationUs = frames * 1000000 / qint64(rate);
    return true;
}

PcmPlayback::PcmPlayback(QObject* parent) : QObject(parent)
{
    feed_ = new QTimer(this);
    feed_->setInterval(kFeedIntervalMs);
    connect(feed_, &QTimer::timeout, this, &PcmPlayback::step);
}

PcmPlayback::~PcmPlayback()
{
    releaseSink();
}

bool PcmPlayback::start(const QAudioFormat& format, const QByteArray& pcm, qint64 durationUs, int slackMs, QString* error)
{
    stop();
    // Without an output QAudioSink would wait for ever, so ask first.
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) {
        *error = QStringLiteral("音声の出力先（サウンド装置かサウンドサーバー）が見つかりません。");
        return false;
    }
    sink_ = new QAudioSink(device, format);
    // Asking for a buffer (rather than the server's default of up to two
    // seconds) keeps the end of a sound close to the moment it is heard.
    sink_->setBufferSize(format.bytesForDuration(kBufferUs));
    out_ = sink_->start();
    if (!out_ || isSinkFailure(sink_->error())) {
        *error = sinkErrorText(sink_->error());
        releaseSink();
        return false;
    }
    pcm_ = pcm;
    written_ = 0;
    durationUs_ = durationUs;
    limitMs_ = durationUs / 1000 + slackMs;
    elapsed_.start();
    feed_->start();
    step();
    return true;
}

void PcmPlayback::stop()
{
    feed_->stop();
    releaseSink();
}

void PcmPlayback::step()
{
    if (!sink_)
        return;
    if (isSinkFailure(sink_->error()))
        return end(false, sinkErrorText(sink_->error()));
    while (written_ < pcm_.size()) {
        const qint64 room = sink_->bytesFree();
        if (room <= 0)
            break;
        const qint64 n = out_->write(pcm_.constData() + written_, std::min<qint64>(room, pcm_.size() - written_));
        if (n <= 0)
            break;
        written_ += n;
    }
    // Done once the output has played everything, not merely taken it, and
    // never before the sound's own length: a busy sound server can report
    // its buffer consumed ahead of time.
    if (written_ >= pcm_.size() && sink_->processedUSecs() + kEndToleranceUs >= durationUs_
        && elapsed_.nsecsElapsed() / 1000 + kEndToleranceUs >= durationUs_)
        return end(true, QString());
    if (elapsed_.elapsed() > limitMs_)
        end(false, QStringLiteral("音声の再生が %1 秒たっても終わりませんでした。").arg(limitMs_ / 1000.0, 0, 'f', 1));
}

void PcmPlayback::end(bool ok, const QString& errorText)
{
    feed_->stop();
    releaseSink();
    emit finished(ok, errorText);
}

void PcmPlayback::releaseSink()
{
    if (!sink_)
        return;
    QAudioSink* sink = sink_;
    sink_ = nullptr;
    out_ = nullptr;
    sink->stop();
    // Qt 6.4's PulseAudio output can still be called back by the server after
    // it has stopped, so a sink is freed only some seconds after its sound.
    QTimer::singleShot(kRetiredSinkLifeMs, sink, [sink] { sink->deleteLater(); });
}

PlaybackResult QtSoundPlayer::playToEnd(const QString& path)
{
    const QString name = fileNameOf(path);
    QFile file(path);
    if (!QFileInfo(path).isFile())
        return {false, QStringLiteral("ファイル「%1」が見つかりません。").arg(name)};
    if (!file.open(QIODevice::ReadOnly))
        return {false, QStringLiteral("ファイル「%1」を開けません。").arg(name)};
    WaveClip clip;
    QString why;
    if (!parseWave(file.readAll(), &clip, &why))
        return {false, QStringLiteral("ファイル「%1」は再生できる wav ファイルではありません（%2）。").arg(name, why)};
    file.close();

    PcmPlayback playback;
    PlaybackResult result{false, QString()};
    bool done = false;
    QEventLoop loop;
    QObject::connect(&playback, &PcmPlayback::finished, &loop, [&](bool ok, const QString& text) {
        result = {ok, text};
        done = true;
        loop.quit();
    });
    QString error;
    if (!playback.start(clip.format, clip.pcm, clip.durationUs, slackMs_, &error))
        return {false, error};
    if (!done)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    return result;
}

} // namespace vc
