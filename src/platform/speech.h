#pragma once
#include <QString>
#include <memory>
#include <vector>

namespace vc {

// A speaking voice. Releasing it (destroying the object) stops what it is
// saying and drops what is still queued.
class Voice {
public:
    virtual ~Voice() = default;
    // −10 (slowest) … 10 (fastest), 0 normal; applies to every later Speak.
    virtual void setRate(int rate) = 0;
    virtual int rate() const = 0;
    // Returns at once; the text is spoken after whatever this voice is still saying.
    virtual void speak(const QString& text) = 0;
    // Returns when everything queued on this voice has been spoken.
    virtual void waitUntilDone() = 0;
};

// Creates voices with the speech engine's default voice. Where no engine
// exists the voices stay silent.
class VoiceFactory {
public:
    virtual ~VoiceFactory() = default;
    virtual std::unique_ptr<Voice> createVoice() = 0;
};

// Test double: every call on every voice it made, in order, in one log.
class RecordingVoiceFactory : public VoiceFactory {
public:
    struct Call {
        enum class Kind { Create, Rate, Speak, Wait, Release };
        int voice;  // 1 for the first voice created, 2 for the next, …
        Kind kind;
        QString text;  // Speak
        int rate = 0;  // Rate, and the voice's rate at a Speak
    };

    std::unique_ptr<Voice> createVoice() override
    {
        const int id = ++created_;
        calls.push_back({id, Call::Kind::Create, {}, 0});
        return std::make_unique<RecordingVoice>(*this, id);
    }

    // The texts voice `id` was asked to speak.
    std::vector<QString> spoken(int id) const
    {
        std::vector<QString> texts;
        for (const Call& c : calls)
            if (c.voice == id && c.kind == Call::Kind::Speak)
                texts.push_back(c.text);
        return texts;
    }

    std::vector<Call> calls;

private:
    class RecordingVoice : public Voice {
    public:
        RecordingVoice(RecordingVoiceFactory& log, int id) : log_(log), id_(id) {}
        ~RecordingVoice() override { log_.calls.push_back({id_, Call::Kind::Release, {}, rate_}); }
        void setRate(int rate) override
        {
            rate_ = rate;
            log_.calls.push_back({id_, Call::Kind::Rate, {}, rate});
        }
        int rate() const override { return rate_; }
        void speak(const QString& text) override { log_.calls.push_back({id_, Call::Kind::Speak, text, rate_}); }
        void waitUntilDone() override { log_.calls.push_back({id_, Call::Kind::Wait, {}, rate_}); }

    private:
        RecordingVoiceFactory& log_;
        int id_;
        int rate_ = 0;
    };

    int created_ = 0;
};

} // namespace vc
