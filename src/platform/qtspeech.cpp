#include "qtspeech.h"

#include <QEventLoop>
#include <QLibrary>
#include <QTimer>
#include <algorithm>
#include <memory>
#include <vector>

#include <flite/flite.h>

namespace vc {

namespace {

constexpr int kMinRate = -10;
constexpr int kMaxRate = 10;

class SilentVoice : public Voice {
public:
    void setRate(int rate) override { rate_ = std::clamp(rate, kMinRate, kMaxRate); }
    int rate() const override { return rate_; }
    void speak(const QString&) override {}
    void waitUntilDone() override {}

private:
    int rate_ = 0;
};

} // namespace

QueuedVoice::QueuedVoice(std::unique_ptr<SpeechEngine> engine) : engine_(std::move(engine))
{
    engine_->finished = [this] { onFinished(); };
}

QueuedVoice::~QueuedVoice()
{
    *alive_ = false;
    queue_.clear();
    engine_->finished = nullptr;
    if (speaking_)
        engine_->stop();
    speaking_ = false;
    if (wake_)
        wake_();
}

void QueuedVoice::setRate(int rate)
{
    rate_ = std::clamp(rate, kMinRate, kMaxRate);
}

void QueuedVoice::speak(const QString& text)
{
    // Nothing to say would never report an end and would stall the queue.
    if (text.trimmed().isEmpty())
        return;
    queue_.push_back({text, rate_});
    if (!speaking_)
        startNext();
}

void QueuedVoice::startNext()
{
    if (queue_.empty()) {
        speaking_ = false;
        if (wake_)
            wake_();
        return;
    }
    const Item item = queue_.front();
    queue_.pop_front();
    speaking_ = true;
    engine_->say(item.text, item.rate / 10.0);
}

void QueuedVoice::onFinished()
{
    speaking_ = false;
    startNext();
}

void QueuedVoice::waitUntilDone()
{
    if (idle())
        return;
    const std::shared_ptr<bool> alive = alive_;
    QEventLoop loop;
    wake_ = [&loop] { loop.quit(); };
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (!*alive)
        return;  // released while waiting
    wake_ = nullptr;
}

namespace {

// flite is loaded at run time, so that a computer without it still runs the
// program, silently; its own headers give the types and signatures.
using FliteWave = cst_wave;
using FliteVoice = cst_voice;

struct FliteApi {
    decltype(&flite_text_to_wave) textToWave = nullptr;
    decltype(&delete_wave) deleteWave = nullptr;
    decltype(&feat_set_float) setFloat = nullptr;
    FliteVoice* voice = nullptr;

    // Loaded once; nullptr when libflite or every voice is missing.
    static FliteApi* instance()
    {
        static FliteApi* api = load();
        return api;
    }

private:
    static FliteApi* load()
    {
        static QLibrary core(QStringLiteral("flite"), 1);
        if (!core.load())
            return nullptr;
        auto init = reinterpret_cast<decltype(&flite_init)>(core.resolve("flite_init"));
        static FliteApi api;
        api.textToWave = reinterpret_cast<decltype(&flite_text_to_wave)>(core.resolve("flite_text_to_wave"));
        api.deleteWave = reinterpret_cast<decltype(&delete_wave)>(core.resolve("delete_wave"));
        api.setFloat = reinterpret_cast<decltype(&feat_set_float)>(core.resolve("feat_set_float"));
        if (!init || !api.textToWave || !api.deleteWave || !api.setFloat)
            return nullptr;
        init();
        // The clearest voice first; all of them speak US English.
        static std::vector<std::unique_ptr<QLibrary>> voices;
        for (const char* name : {"slt", "kal16", "awb", "rms", "kal"}) {
            auto lib = std::make_unique<QLibrary>(QStringLiteral("flite_cmu_us_%1").arg(QLatin1String(name)), 1);
            if (!lib->load())
                continue;
            const QByteArray symbol = QByteArrayLiteral("register_cmu_us_") + name;
            using RegisterVoice = cst_voice* (*)(const char*);
            auto registerVoice = reinterpret_cast<RegisterVoice>(lib->resolve(symbol.constData()));
            FliteVoice* voice = registerVoice ? registerVoice(nullptr) : nullptr;
            voices.push_back(std::move(lib));
            if (voice && voice->features) {
                api.voice = voice;
                return &api;
            }
        }
        return nullptr;
    }
};

// Speed as flite's duration stretch: −1 three times as long, +1 about 0.43 of it.
float durationStretch(double rate)
{
    if (rate < 0)
        return float(1.0 - rate * 2.0);
    return float(1.0 - rate * (100.0 / 175.0));
}

constexpr int kSpeechSlackMs = 5000;

} // namespace

FliteEngine::FliteEngine(QObject* parent) : QObject(parent), playback_(new PcmPlayback(this))
{
    connect(playback_, &PcmPlayback::finished, this, [this](bool ok, const QString& errorText) {
        if (ok) {
            ++completed_;
        } else {
            ++errors_;
            lastError_ = errorText;
        }
        endLater();
    });
}

FliteEngine::~FliteEngine()
{
    finished = nullptr;
    playback_->stop();
}

bool FliteEngine::available()
{
    return FliteApi::instance() != nullptr;
}

void FliteEngine::say(const QString& text, double rate)
{
    FliteApi* api = FliteApi::instance();
    if (!api) {
        ++errors_;
        lastError_ = QStringLiteral("flite is not installed");
        return endLater();
    }
    api->setFloat(api->voice->features, "duration_stretch", durationStretch(std::clamp(rate, -1.0, 1.0)));
    FliteWave* wave = api->textToWave(text.toUtf8().constData(), api->voice);
    if (!wave || wave->num_samples <= 0 || wave->num_channels <= 0 || wave->sample_rate <= 0 || !wave->samples) {
        if (wave)
            api->deleteWave(wave);
        ++errors_;
        lastError_ = QStringLiteral("flite produced no sound");
        return endLater();
    }
    QAudioFormat format;
    format.setSampleFormat(QAudioFormat::Int16);
    format.setSampleRate(wave->sample_rate);
    format.setChannelCount(wave->num_channels);
    const QByteArray pcm(reinterpret_cast<const char*>(wave->samples),
                         qsizetype(wave->num_samples) * wave->num_channels * qsizetype(sizeof(short)));
    const qint64 durationUs = qint64(wave->num_samples) * 1000000 / wave->sample_rate;
    lastDurationUs_ = durationUs;
    api->deleteWave(wave);
    QString error;
    if (!playback_->start(format, pcm, durationUs, kSpeechSlackMs, &error)) {
        ++errors_;
        lastError_ = error;
        endLater();
    }
}

void FliteEngine::stop()
{
    ++generation_;
    playback_->stop();
}

void FliteEngine::endLater()
{
    // The next utterance never starts from inside this one's end.
    const quint64 generation = generation_;
    QTimer::singleShot(0, this, [this, generation] {
        if (generation == generation_ && finished)
            finished();
    });
}

std::unique_ptr<Voice> QtVoiceFactory::createVoice()
{
    if (!FliteEngine::available())
        return std::make_unique<SilentVoice>();
    return std::make_unique<QueuedVoice>(std::make_unique<FliteEngine>());
}

} // namespace vc
