#pragma once
#include "qtsound.h"
#include "speech.h"

#include <QObject>
#include <deque>
#include <functional>
#include <memory>


namespace vc {

// One utterance at a time: the engine under a QueuedVoice. A new say() may
// cut off the one in progress, which is why the queue lives above it.
class SpeechEngine {
public:
    virtual ~SpeechEngine() = default;
    // `rate` is the engine's own range, −1.0 … 1.0.
    virtual void say(const QString& text, double rate) = 0;
    virtual void stop() = 0;
    // Set by the voice; the engine calls it once when the utterance started
    // by say() has ended, spoken or failed.
    std::function<void()> finished;
};

// A Voice over an engine that cannot queue: keeps its own queue and starts
// the next text when the engine reports the previous one done.
class QueuedVoice : public Voice {
public:
    explicit QueuedVoice(std::unique_ptr<SpeechEngine> engine);
    ~QueuedVoice() override;
    void setRate(int rate) override;
    int rate() const override { return rate_; }
    void speak(const QString& text) override;
    // A nested event loop that leaves user input queued; returns at once when idle.
    void waitUntilDone() override;

    bool idle() const { return !speaking_ && queue_.empty(); }
    SpeechEngine* engine() const { return engine_.get(); }

private:
    struct Item {
        QString text;
        int rate;
    };
    void startNext();
    void onFinished();

    std::unique_ptr<SpeechEngine> engine_;
    std::deque<Item> queue_;
    bool speaking_ = false;
    int rate_ = 0;
    std::function<void()> wake_;  // ends a running waitUntilDone
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// The flite speech synthesiser, loaded at run time (libflite and one of its
// US English voices), playing through PcmPlayback. Qt 6.4's own flite plugin
// is not used: its audio stream shrinks with every utterance until playback
// fails, and it frees streams the sound server still calls back, which
// crashes the program. Synthesis runs on the calling thread; it takes a few
// milliseconds for the words and letters the program speaks.
class FliteEngine : public QObject, public SpeechEngine {
    Q_OBJECT
public:
    explicit FliteEngine(QObject* parent = nullptr);
    ~FliteEngine() override;
    void say(const QString& text, double rate) override;
    void stop() override;

    // Whether libflite and a voice could be loaded.
    static bool available();

    int errorCount() const { return errors_; }
    QString lastError() const { return lastError_; }
    int utterancesCompleted() const { return completed_; }
    qint64 lastDurationUs() const { return lastDurationUs_; }  // length of the last sound made

private:
    void endLater();

    PcmPlayback* playback_ = nullptr;
    quint64 generation_ = 0;  // a stop() voids the end of the utterance it cut off
    int errors_ = 0;
    int completed_ = 0;
    qint64 lastDurationUs_ = 0;
    QString lastError_;
};

// Makes QueuedVoices over flite; silent voices where flite is not installed.
class QtVoiceFactory : public VoiceFactory {
public:
    std::unique_ptr<Voice> createVoice() override;
    bool hasEngine() const { return FliteEngine::available(); }
};

} // namespace vc
