#include "soundcues.h"

#include "platform/errors.h"
#include "platform/fieldlist.h"
#include "platform/messages.h"
#include "platform/random.h"
#include "platform/sound.h"
#include "startup/appstate.h"
#include "startup/navigator.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>

namespace vc {

namespace {

// After this many silent failures in a row the next one stops the program.
constexpr int kSilentFailures = 3;
constexpr int kSoundFailureExitStatus = 1;

} // namespace

const std::array<QString, kSoundCategoryCount + 1>& soundCategoryNames()
{
    static const std::array<QString, kSoundCategoryCount + 1> names = {
        QString(),
        QStringLiteral("正解音1"),
        QStringLiteral("正解音2"),
        QStringLiteral("間違い音1"),
        QStringLiteral("間違い音2"),
        QStringLiteral("最高音1"),
        QStringLiteral("最高音2"),
        QStringLiteral("自己最高音1"),
        QStringLiteral("自己最高音2"),
        QStringLiteral("自己最高音3"),
        QStringLiteral("不合格音1"),
    };
    return names;
}

SoundCues loadSoundCues(const QString& soundFolder)
{
    SoundCues cues;
    const auto& names = soundCategoryNames();
    for (int c = 1; c <= kSoundCategoryCount; ++c)
        cues.categories[static_cast<size_t>(c)].name = names[static_cast<size_t>(c)];

    const QString path = soundFolder + QStringLiteral("新音ファイル.txt");
    // Without it every cue would fail, and the fourth failure would end the
    // program in the middle of a student's run: refuse to start instead.
    if (!QFileInfo::exists(path))
        throw DataError(fileMessage(path, QStringLiteral("がありません。")));
    FieldListReader in = FieldListReader::fromFile(path);
    while (!in.atEnd()) {
        const QString value = in.nextText();
        int category = 0;
        for (int c = 1; c <= kSoundCategoryCount; ++c)
            if (value == names[static_cast<size_t>(c)])
                category = c;
        if (category == 0)
            continue;  // values between blocks are skipped
        SoundCategory& cat = cues.categories[static_cast<size_t>(category)];
        for (int k = 1; k <= kMaxSoundNames; ++k) {
            // A block cut off by the end of the file is a damaged set-up.
            if (in.atEnd())
                throw DataError(fileMessage(path, QStringLiteral("の「%1」の並びが「*」で終わっていません。").arg(cat.name)));
            const QString name = in.nextText();
            if (name == u'*') {
                cat.count = QString::number(k - 1);
                break;
            }
            cat.soundNames[static_cast<size_t>(k)] = name;
        }
    }
    return cues;
}

void loadSoundCues(AppState& state)
{
    state.soundCues = loadSoundCues(state.paths.SoundFolder);
}

QString soundFilePath(const QString& soundFolder, const QString& soundName)
{
    return soundFolder + soundName + QStringLiteral(".wav");
}

int drawSoundIndex(const SoundCategory& category, double random)
{
    const double count = leadingNumber(category.count);
    return static_cast<int>(std::floor(random * count + 1));
}

namespace {

PlaybackResult play(AppState& state, const QString& path)
{
    if (!state.services.sound)
        return {false, QStringLiteral("音声を再生する仕組みがありません。")};
    return state.services.sound->playToEnd(path);
}

} // namespace

CueResult playCategoryCue(AppState& state, int category)
{
    if (category < 1 || category > kSoundCategoryCount)
        return CueResult::Failed;
    const SoundCategory& cat = state.soundCues.categories[static_cast<size_t>(category)];
    const double r = state.services.random ? state.services.random->next() : 0.0;
    const int i = std::clamp(drawSoundIndex(cat, r), 1, kMaxSoundNames);
    const PlaybackResult result = play(state, soundFilePath(state.paths.SoundFolder, cat.soundNames[static_cast<size_t>(i)]));

    if (category != kCorrectAnswerCue && category != kWrongAnswerCue)
        return result.ok ? CueResult::Played : CueResult::Failed;
    if (result.ok) {
        state.SoundFailureCount = 0;
        return CueResult::Played;
    }
    if (state.SoundFailureCount < kSilentFailures) {
        ++state.SoundFailureCount;
        return CueResult::Failed;
    }
    if (state.services.messages)
        state.services.messages->show(QStringLiteral("音声がでません。先生を呼びなさい。\r\n") + result.errorText,
                                      QStringLiteral("音声エラー"), MessageService::Buttons::Ok,
                                      MessageService::Icon::None);
    if (state.services.navigator)
        state.services.navigator->quitProgram(kSoundFailureExitStatus);
    return CueResult::ProgramEnds;
}

CueResult playFileCue(AppState& state, const QString& fileName)
{
    return play(state, state.paths.SoundFolder + fileName).ok ? CueResult::Played : CueResult::Failed;
}

} // namespace vc
