#pragma once
#include <QString>
#include <deque>
#include <vector>

namespace vc {

struct PlaybackResult {
    bool ok = true;
    QString errorText;  // why the sound did not play, for the user
};

// Plays a .wav file to its end before returning. While it waits, timers and
// painting go on, but user input waits and is delivered afterwards.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual PlaybackResult playToEnd(const QString& path) = 0;
};

// Records the files played and answers from a script (success when the
// script is used up, or `otherwise` if set).
class ScriptedSoundPlayer : public SoundPlayer {
public:
    PlaybackResult playToEnd(const QString& path) override
    {
        played.push_back(path);
        if (script.empty())
            return otherwise;
        PlaybackResult r = script.front();
        script.pop_front();
        return r;
    }
    std::vector<QString> played;
    std::deque<PlaybackResult> script;
    PlaybackResult otherwise;
};

} // namespace vc
