#pragma once
#include <QString>
#include <array>

namespace vc {

struct AppState;

constexpr int kSoundCategoryCount = 10;
constexpr int kMaxSoundNames = 20;

// The categories a screen plays by number.
constexpr int kCorrectAnswerCue = 2;   // "正解音2"
constexpr int kWrongAnswerCue = 4;     // "間違い音2"
constexpr int kPersonalBestCue = 8;    // "自己最高音2"
constexpr int kMinimumLineCue = 10;    // "不合格音1"

// One named category of interchangeable sounds.
struct SoundCategory {
    QString name;
    std::array<QString, kMaxSoundNames + 1> soundNames{};  // 1..20, file names without ".wav"
    QString count;  // names read for the category; empty until the file sets it
};

// The ten sound categories, indexed 1..10, as "新音ファイル.txt" set them up.
struct SoundCues {
    std::array<SoundCategory, kSoundCategoryCount + 1> categories{};
};

// "正解音1" … "不合格音1", index 1..10.
const std::array<QString, kSoundCategoryCount + 1>& soundCategoryNames();

// Reads `soundFolder` + "新音ファイル.txt". A missing file, one that cannot be
// decoded and one whose last block ends before its "*" throw DataError naming it.
SoundCues loadSoundCues(const QString& soundFolder);
// Start-up step: fills AppState::soundCues from the sound folder.
void loadSoundCues(AppState& state);

// The file a sound name stands for: the folder, the name, ".wav".
QString soundFilePath(const QString& soundFolder, const QString& soundName);

// Which sound name of a category a draw picks: integer part of
// random × count + 1, an unset or empty count counting as 0.
int drawSoundIndex(const SoundCategory& category, double random);

enum class CueResult {
    Played,
    Failed,       // the sound did not play; the caller goes on
    ProgramEnds,  // the fourth failed answer cue in a row: the program is being ended, the caller stops
};

// Plays one sound of the category, drawn at random, to its end. The
// correct-answer and wrong-answer cues (2 and 4) count failures in a row: the
// first three pass silently, the fourth tells the user to call the teacher and
// ends the program through the navigator. Other categories ignore failures.
CueResult playCategoryCue(AppState& state, int category);
// Plays `fileName` (with its extension) of the sound folder; failures are ignored.
CueResult playFileCue(AppState& state, const QString& fileName);

} // namespace vc
