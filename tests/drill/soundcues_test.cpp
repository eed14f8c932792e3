#include "common/school.h"
#include "common/testutil.h"
#include "drill/soundcues.h"
#include "platform/errors.h"
#include "platform/messages.h"
#include "platform/random.h"
#include "platform/sound.h"
#include "startup/appstate.h"
#include "startup/navigator.h"
#include "startup/startup.h"

#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

using namespace vc;

namespace {

struct RecordingNavigator : Navigator {
    void openNameSelection() override {}
    void openLevelScreen() override {}
    void quitProgram(int status) override { quits.push_back(status); }
    std::vector<int> quits;
};

class SoundCueTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        state->paths.SoundFolder = dir_.path() + u"/音フォルダ/"_qs;
        state->services.random = &random;
        state->services.messages = &messages;
        state->services.navigator = &navigator;
        state->services.sound = &sound;
    }
    void writeSetup(const QStringList& lines) { test::writeCp932(state->paths.SoundFolder + u"新音ファイル.txt"_qs, lines); }
    const SoundCategory& category(int c) const { return state->soundCues.categories[size_t(c)]; }
    QString wav(const QString& name) const { return state->paths.SoundFolder + name + u".wav"_qs; }

    std::unique_ptr<AppState> state = std::make_unique<AppState>();
    ScriptedRandom random;
    RecordingMessages messages;
    RecordingNavigator navigator;
    ScriptedSoundPlayer sound;

private:
    QTemporaryDir dir_;
};

TEST_F(SoundCueTest, BlocksOfTheSetupFile)
{
    QStringList lines = {u"正解音2"_qs, u"ピンポン"_qs, u"\"せいかい, 2\""_qs, u"*"_qs,
                         u"説明の行"_qs, u"間違い音2,ブー,*"_qs,
                         u"自己最高音2"_qs};
    for (int k = 1; k <= 22; ++k)
        lines.append(u"音%1"_qs.arg(k));
    lines.append(u"*"_qs);
    lines.append(u"不合格音1"_qs);
    lines.append(u"残念"_qs);
    lines.append(u"*"_qs);
    writeSetup(lines);
    loadSoundCues(*state);

    const auto& names = soundCategoryNames();
    for (int c = 1; c <= kSoundCategoryCount; ++c)
        EXPECT_EQ(category(c).name, names[size_t(c)]);
    EXPECT_EQ(names[2], u"正解音2"_qs);
    EXPECT_EQ(names[4], u"間違い音2"_qs);
    EXPECT_EQ(names[10], u"不合格音1"_qs);

    EXPECT_EQ(category(2).count, u"2"_qs);
    EXPECT_EQ(category(2).soundNames[1], u"ピンポン"_qs);
    EXPECT_EQ(category(2).soundNames[2], u"せいかい, 2"_qs);
    EXPECT_EQ(category(4).count, u"1"_qs);
    EXPECT_EQ(category(4).soundNames[1], u"ブー"_qs);
    // More than 20 names: the first 20 count, the rest are skipped, the count stays unset.
    EXPECT_EQ(category(8).count, QString());
    EXPECT_EQ(category(8).soundNames[1], u"音1"_qs);
    EXPECT_EQ(category(8).soundNames[20], u"音20"_qs);
    EXPECT_EQ(category(10).soundNames[1], u"残念"_qs);
    EXPECT_EQ(category(10).count, u"1"_qs);
    // Never mentioned.
    EXPECT_EQ(category(1).count, QString());
    EXPECT_EQ(category(1).soundNames[1], QString());
}

// Each of these would leave cues that fail in the middle of a drill, so none
// may pass start-up.
TEST_F(SoundCueTest, MissingUndecodableOrCutSetupIsADataError)
{
    struct Case { const char* what; std::function<void()> write; const char16_t* problem; };
    const Case cases[] = {
        {"missing", [] {}, u"ありません"},
        {"undecodable", [this] { test::writeBytes(state->paths.SoundFolder + u"新音ファイル.txt"_qs, QByteArray("\x82\xA0\x82", 3)); }, u""},
        {"last block without *", [this] { writeSetup({u"正解音2"_qs, u"a"_qs, u"*"_qs, u"不合格音1"_qs, u"残念"_qs}); }, u"「不合格音1」"},
        {"name without a block", [this] { writeSetup({u"正解音2"_qs}); }, u"「正解音2」"},
    };
    for (const Case& c : cases) {
        QFile::remove(state->paths.SoundFolder + u"新音ファイル.txt"_qs);
        c.write();
        try {
            loadSoundCues(*state);
            ADD_FAILURE() << c.what << ": no error";
        } catch (const DataError& e) {
            EXPECT_TRUE(e.message().contains(u"新音ファイル.txt"_qs)) << c.what << ": " << e.message().toStdString();
            EXPECT_TRUE(e.message().contains(QString::fromUtf16(c.problem))) << c.what << ": " << e.message().toStdString();
        }
    }
}

TEST_F(SoundCueTest, RandomChoiceWithinTheCount)
{
    writeSetup({u"正解音2"_qs, u"a"_qs, u"b"_qs, u"c"_qs, u"*"_qs, u"最高音1"_qs, u"x"_qs, u"y"_qs, u"*"_qs});
    loadSoundCues(*state);
    struct Case { int category; double random; QString played; };
    const Case cases[] = {
        {2, 0.0, u"a"_qs}, {2, 0.33, u"a"_qs}, {2, 0.34, u"b"_qs}, {2, 0.6667, u"c"_qs}, {2, 0.9999, u"c"_qs},
        {5, 0.49, u"x"_qs}, {5, 0.5, u"y"_qs},
        // Unset count: always the first name, which here is empty.
        {1, 0.9, QString()},
        {9, 0.0, QString()},
    };
    for (const Case& c : cases) {
        random = ScriptedRandom({c.random});
        sound.played.clear();
        playCategoryCue(*state, c.category);
        ASSERT_EQ(sound.played.size(), 1u);
        EXPECT_EQ(sound.played[0], wav(c.played)) << c.category << " " << c.random;
    }
}

TEST_F(SoundCueTest, DrawCountsAnUnsetCountAsZero)
{
    SoundCategory c;
    EXPECT_EQ(drawSoundIndex(c, 0.99), 1);
    c.count = u"0"_qs;
    EXPECT_EQ(drawSoundIndex(c, 0.99), 1);
    c.count = u"4"_qs;
    EXPECT_EQ(drawSoundIndex(c, 0.75), 4);
    EXPECT_EQ(drawSoundIndex(c, 0.74), 3);
}

// F = failed play, S = played; the letter after "|" is the cue that fails fourth in a row.
TEST_F(SoundCueTest, FourthFailedAnswerCueInARowEndsTheProgram)
{
    struct Case { const char* plays; int category; size_t messageAfter; };  // 0: no message
    const Case cases[] = {
        {"FFF", kCorrectAnswerCue, 0},
        {"FFFF", kCorrectAnswerCue, 4},
        {"FFFF", kWrongAnswerCue, 4},
        {"FFFSFFF", kWrongAnswerCue, 0},
        {"FFFSFFFF", kCorrectAnswerCue, 8},
        // Cues outside the answer pair neither count nor reset.
        {"FFFFFF", kPersonalBestCue, 0},
        {"FFFFFF", kMinimumLineCue, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.plays);
        state->SoundFailureCount = 0;
        messages.shown.clear();
        navigator.quits.clear();
        sound.script.clear();
        for (const char* p = c.plays; *p; ++p)
            sound.script.push_back(*p == 'S' ? PlaybackResult{true, {}} : PlaybackResult{false, u"再生できません: %1"_qs.arg(p - c.plays + 1)});
        size_t shownAt = 0;
        for (size_t k = 1; *(c.plays + k - 1); ++k) {
            const CueResult r = playCategoryCue(*state, c.category);
            EXPECT_EQ(r == CueResult::Played, c.plays[k - 1] == 'S');
            if (r == CueResult::ProgramEnds && shownAt == 0)
                shownAt = k;
        }
        EXPECT_EQ(shownAt, c.messageAfter);
        if (c.messageAfter == 0) {
            EXPECT_TRUE(messages.shown.empty());
            EXPECT_TRUE(navigator.quits.empty());
            continue;
        }
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, u"音声がでません。先生を呼びなさい。\r\n再生できません: %1"_qs.arg(c.messageAfter));
        EXPECT_EQ(messages.shown[0].title, u"音声エラー"_qs);
        EXPECT_EQ(messages.shown[0].buttons, MessageService::Buttons::Ok);
        EXPECT_EQ(navigator.quits.size(), 1u);
    }
}

TEST_F(SoundCueTest, OtherCuesDoNotTouchTheFailureCount)
{
    state->SoundFailureCount = 2;
    sound.otherwise = {true, {}};
    playCategoryCue(*state, kPersonalBestCue);
    EXPECT_EQ(state->SoundFailureCount, 2);
    sound.otherwise = {false, u"x"_qs};
    EXPECT_EQ(playFileCue(*state, u"最高1.wav"_qs), CueResult::Failed);
    EXPECT_EQ(playFileCue(*state, u"合格.wav"_qs), CueResult::Failed);
    EXPECT_EQ(state->SoundFailureCount, 2);
    EXPECT_EQ(sound.played.back(), state->paths.SoundFolder + u"合格.wav"_qs);
    EXPECT_TRUE(messages.shown.empty());
}

TEST(SoundStartup, StartUpReadsTheSoundSetup)
{
    test::SchoolFixture school;
    school.writeDefaults();
    test::writeCp932(school.soundFolder + u"新音ファイル.txt"_qs, {u"間違い音2"_qs, u"ブー"_qs, u"*"_qs});
    auto state = std::make_unique<AppState>();
    try {
        resolveDataAndSettings(*state, school.programFolder);
    } catch (const DataError& e) {
        FAIL() << e.message().toStdString();
    }
    EXPECT_EQ(state->soundCues.categories[kWrongAnswerCue].soundNames[1], u"ブー"_qs);
    EXPECT_EQ(state->soundCues.categories[kWrongAnswerCue].count, u"1"_qs);
}

} // namespace
