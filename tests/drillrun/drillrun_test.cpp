// Whole drill runs played through DrillRun with the test doubles: a fake
// window (FakeHost), a clock that moves only when told, scripted sounds,
// recording voices and messages, and the real log and results files.
#include "drillfixture.h"

#include "drill/drillrun.h"
#include "drill/runstate.h"
#include "platform/listorder.h"
#include "records/pendingresults.h"
#include "records/statistics.h"
#include "records/lockholder.h"

#include <QDir>
#include <QSet>
#include <algorithm>
#include <deque>
#include <functional>
#include <gmock/gmock.h>

namespace vc {
namespace {

using test::DrillSchool;
using ::testing::ElementsAre;

// The window a run runs in, without a window: pending "events" are actions
// that run the next time the run lets events run, optionally only once a
// condition holds (to land an event at a given point of a judgement).
class FakeHost : public DrillHost {
public:
    explicit FakeHost(FakeClock& clock) : clock_(clock) {}

    void letEventsRun() override
    {
        ++eventRuns;
        if (screen && screen->Label6Visible && (feedback.isEmpty() || feedback.back() != screen->Label6))
            feedback << screen->Label6;
        for (auto it = pending.begin(); it != pending.end();) {
            if (!it->when || it->when()) {
                auto action = std::move(it->action);
                it = pending.erase(it);
                action();
                it = pending.begin();  // the action may have added or run others
            } else {
                ++it;
            }
        }
    }
    void idle(int ms) override
    {
        clock_.advanceMs(ms);
        letEventsRun();
    }
    void giveFocus(DrillControl control) override { focus = control; }
    void clearClipboard() override { ++clipboardClears; }
    void showWaitForm() override { ++waitForms; }
    void paintOnly() override
    {
        if (screen && !screen->lockWaitText.isEmpty())
            lockWaitTexts << screen->lockWaitText;
    }
    void closeScreen() override { ++closes; }

    void later(std::function<void()> action, std::function<bool()> when = {})
    {
        pending.push_back({std::move(when), std::move(action)});
    }

    struct Pending {
        std::function<bool()> when;
        std::function<void()> action;
    };
    std::vector<Pending> pending;
    const DrillScreen* screen = nullptr;
    QStringList feedback;  // every text Label6 showed, in order
    QStringList lockWaitTexts;  // what the overlay said while the record waited for the lock
    int eventRuns = 0;
    int clipboardClears = 0;
    int waitForms = 0;
    int closes = 0;
    DrillControl focus = DrillControl::Text1;

private:
    FakeClock& clock_;
};

class DrillRunTest : public ::testing::Test {
protected:
    AppState& state() { return *school.state; }
    const DrillScreen& screen() const { return run->screen(); }
    const DrillSession& session() const { return run->session(); }
    QString answer() const { return session().currentAnswer; }

    void start(int level)
    {
        state().CurrentLevel = static_cast<qint16>(level);
        state().run = RunState{};
        run = std::make_unique<DrillRun>(state(), host);
        host.screen = &run->screen();
        run->screen().barFrameWidth = 400;
        run->Form_Load();
        run->Form_Activate();
    }
    // Types key by key, as the answer box would take them.
    void type(const QString& text)
    {
        for (const QChar c : text)
            if (!run->Text1_KeyPress(c))
                run->Text1_Change(screen().Text1 + c);
    }
    // The answer box holds `text` (however it got there) and Enter is pressed.
    void submit(const QString& text)
    {
        run->Text1_Change(text);
        run->Text1_KeyPress(kEnterKey);
    }
    void submitCorrect() { submit(answer()); }
    void submitWrong() { submit(QStringLiteral("xyz")); }
    // Picks the word in the choice list and confirms it.
    void choose(const QString& word)
    {
        const qsizetype row = screen().List1.indexOf(word);
        ASSERT_GE(row, 0) << word.toStdString();
        run->List1_Click(static_cast<int>(row));
        run->Command3_Click();
    }
    void tick(int seconds = 1)
    {
        for (int i = 0; i < seconds; ++i) {
            school.clock.advanceMs(1000);
            if (screen().sTimer1Enabled)
                run->sTimer1_Timer();
        }
    }
    // What the run's first voices said (voices are numbered as they are created).
    std::vector<QString> wordVoice() const { return school.voices.spoken(1); }
    std::vector<QString> letterVoice() const { return school.voices.spoken(2); }
    // What the word voice in use now said: the one last given the word rate.
    std::vector<QString> currentWordVoice() const
    {
        int id = 0;
        for (const auto& call : school.voices.calls)
            if (call.kind == RecordingVoiceFactory::Call::Kind::Rate && call.rate == kWordVoiceRate)
                id = call.voice;
        return school.voices.spoken(id);
    }
    QString lastLogResult() const
    {
        const QStringList log = school.answerLog();
        return log.isEmpty() ? QStringLiteral("<none>") : log.back().section(u',', 5);
    }

    DrillSchool school;
    FakeHost host{school.clock};
    std::unique_ptr<DrillRun> run;
};

// ---- Whole runs ---------------------------------------------------------------

TEST_F(DrillRunTest, OneQuestionLevelAsksAgainUntilClearedThenRecordsTheTime)
{
    start(test::kSolo);
    EXPECT_EQ(screen().qLabel1, QStringLiteral("りんご"));
    EXPECT_EQ(screen().qLabel2, QStringLiteral("1"));
    EXPECT_EQ(screen().sLabel9, QStringLiteral("1"));
    EXPECT_TRUE(screen().Picture2Visible);  // the course's tiles flag
    EXPECT_FALSE(screen().Picture5Visible);
    EXPECT_TRUE(screen().Text1Enabled);
    EXPECT_FALSE(screen().Command2Visible);
    EXPECT_TRUE(screen().sTimer1Enabled);

    tick(2);
    submit(QStringLiteral("aple"));
    EXPECT_EQ(screen().Label6, QStringLiteral("残念！！\r\nこの問題はあと2回連続正解でクリアとなります。\r\nがんばれ!!"));
    EXPECT_TRUE(screen().Label6Visible);
    EXPECT_EQ(screen().seitouLabel, QStringLiteral("apple"));
    EXPECT_TRUE(screen().seitouLabelVisible);
    EXPECT_TRUE(screen().CommandkakuninVisible);
    EXPECT_TRUE(screen().Command2Visible);
    EXPECT_TRUE(screen().Label1Visible);
    EXPECT_TRUE(screen().Text1ReadOnly);
    EXPECT_TRUE(run->run().inputLocked);
    EXPECT_FALSE(run->run().judging);
    EXPECT_EQ(host.focus, DrillControl::Commandkakunin);
    EXPECT_THAT(letterVoice(), ElementsAre("a", "p", "p", "l", "e"));
    EXPECT_EQ(wordVoice().back(), QStringLiteral("apple"));
    EXPECT_EQ(school.sound.played.back(), school.wrongCue());

    tick(2);
    run->Commandkakunin_Click();
    EXPECT_EQ(screen().qLabel1, QStringLiteral("りんご"));  // the last question comes straight back
    EXPECT_EQ(screen().qLabel2, QStringLiteral("2"));
    EXPECT_TRUE(screen().Command2Visible);
    EXPECT_FALSE(screen().CommandkakuninVisible);
    EXPECT_FALSE(screen().seitouLabelVisible);
    EXPECT_FALSE(screen().Text1ReadOnly);
    EXPECT_TRUE(screen().Text1.isEmpty());

    submitCorrect();
    EXPECT_EQ(school.sound.played.back(), school.correctCue());
    EXPECT_EQ(screen().qLabel2, QStringLiteral("1"));
    EXPECT_FALSE(screen().Label6Visible);
    tick(3);
    submit(QStringLiteral("apple "));  // a trailing blank is no mistake
    EXPECT_THAT(host.feedback, ElementsAre(QStringLiteral("残念！！\r\nこの問題はあと2回連続正解でクリアとなります。\r\nがんばれ!!"),
                                           QStringLiteral("GOOD!!\r\nこの問題はあと１回でクリア！！\r\nがんばれ!!"),
                                           QStringLiteral("！！！この問題クリア！！！")));

    EXPECT_TRUE(run->run().runEnding);
    EXPECT_TRUE(screen().sPicture2Visible);
    EXPECT_TRUE(screen().lblsss1Visible);
    EXPECT_FALSE(screen().lblsss2Visible);
    EXPECT_FALSE(screen().sTimer1Enabled);
    EXPECT_EQ(run->run().resultSeconds, 7);
    EXPECT_EQ(school.navigator.endScreens, 1);
    EXPECT_EQ(school.navigator.levelScreens, 0);
    EXPECT_EQ(host.waitForms, 1);
    EXPECT_EQ(host.closes, 1);
    EXPECT_TRUE(run->closed());

    EXPECT_THAT(school.answerLog(),
                ElementsAre(QStringLiteral("#2024-04-01#,#10:00:02#,\"p単独\",\"りんご\",\"apple\",\"aple\""),
                            QStringLiteral("#2024-04-01#,#10:00:04#,\"p単独\",\"りんご\",\"apple\",\"○\""),
                            QStringLiteral("#2024-04-01#,#10:00:07#,\"p単独\",\"りんご\",\"apple\",\"○\"")));
    const auto records = school.results();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].level, test::kSolo);
    EXPECT_EQ(records[0].studentNumber, 12);
    EXPECT_EQ(records[0].seconds, 7);
    EXPECT_EQ(records[0].runDate, dayNumber(QDate(2024, 4, 1)));
    EXPECT_TRUE(state().runFlags.personalBest);  // a first run always is one
}

TEST_F(DrillRunTest, WrongAnswerThenThreeCorrectOnesClearTwoQuestions)
{
    start(test::kPair);
    const int missed = session().currentIndex;
    const QString missedPrompt = screen().qLabel1;
    submitWrong();
    run->Commandkakunin_Click();
    // Never the same question twice in a row while another is left.
    EXPECT_NE(session().currentIndex, missed);
    submitCorrect();
    EXPECT_EQ(screen().sLabel9, QStringLiteral("1"));
    EXPECT_EQ(screen().qLabel1, missedPrompt);
    EXPECT_EQ(screen().qLabel2, QStringLiteral("2"));
    submitCorrect();
    EXPECT_FALSE(run->run().runEnding);
    EXPECT_EQ(screen().qLabel1, missedPrompt);
    submitCorrect();
    EXPECT_TRUE(run->run().runEnding);

    const QStringList log = school.answerLog();
    ASSERT_EQ(log.size(), 4);
    EXPECT_EQ(log[0].section(u',', 5), QStringLiteral("\"xyz\""));
    for (int i = 1; i < 4; ++i)
        EXPECT_EQ(log[i].section(u',', 5), QStringLiteral("\"○\""));
    EXPECT_EQ(school.results().size(), 1u);
}

TEST_F(DrillRunTest, EnterDuringAJudgementCostsTheStreakAndLowersTheFloor)
{
    start(test::kSolo);
    // The second Enter of a quick double press arrives while the first is judged.
    host.later([this] { EXPECT_TRUE(run->Text1_KeyPress(kEnterKey)); });
    submitCorrect();
    EXPECT_EQ(session().streakFloor, -3);
    EXPECT_EQ(session().streak[1], 0);
    EXPECT_FALSE(run->run().runEnding);  // the question comes back
    EXPECT_EQ(screen().qLabel2, QStringLiteral("1"));
    EXPECT_EQ(school.answerLog().size(), 1);  // the punished Enter submitted nothing

    // During a wrong answer's cue the penalty goes below the old floor.
    host.later([this] { run->Text1_KeyPress(kEnterKey); });
    submitWrong();
    EXPECT_EQ(session().streakFloor, -4);
    EXPECT_EQ(session().streak[1], -2);
    EXPECT_EQ(screen().Label6, QStringLiteral("残念！！\r\nこの問題はあと3回連続正解でクリアとなります。\r\nがんばれ!!"));
}

TEST_F(DrillRunTest, TwoWrongAnswersGiveTheFirstLetterAndTheVoiceHint)
{
    start(test::kSolo);
    EXPECT_TRUE(run->Text1_KeyPress(u'+'));  // swallowed, but r = 1 gives no voice hint
    EXPECT_TRUE(wordVoice().empty());
    submitWrong();
    run->Commandkakunin_Click();
    EXPECT_FALSE(screen().Label12Visible);
    EXPECT_FALSE(screen().Label5Visible);
    EXPECT_TRUE(screen().Text1.isEmpty());
    submitWrong();
    run->Commandkakunin_Click();

    EXPECT_EQ(session().streak[1], -2);
    EXPECT_EQ(screen().qLabel2, QStringLiteral("3"));
    EXPECT_EQ(screen().Text1, QStringLiteral("a"));
    EXPECT_TRUE(screen().Label12Visible);
    EXPECT_TRUE(screen().Label5Visible);
    // Each "次へ" re-creates both voices: word voice 5 is the third one.
    const auto word = [this] { return school.voices.spoken(5); };
    EXPECT_THAT(word(), ElementsAre("a"));

    EXPECT_TRUE(run->Text1_KeyPress(u'+'));
    EXPECT_THAT(word(), ElementsAre("a", "apple"));
    EXPECT_EQ(screen().Text1, QStringLiteral("a"));

    // A third wrong answer stays at the floor: still three to go.
    submitWrong();
    EXPECT_EQ(session().streak[1], -2);
    EXPECT_FALSE(screen().Label5Visible);  // hidden while "次へ" waits
    const size_t spoken = word().size();
    run->Form_KeyPress(u'+');  // "+" with "次へ" showing repeats the word
    ASSERT_EQ(word().size(), spoken + 1);
    EXPECT_EQ(word().back(), QStringLiteral("apple"));
    run->Commandkakunin_Click();
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(run->run().runEnding) << i;
        submitCorrect();
    }
    EXPECT_TRUE(run->run().runEnding);
}

TEST_F(DrillRunTest, WrongAnswerIsSpeltOutAndNextCutsTheSpellingOff)
{
    start(test::kLengths);
    const auto letters = [this] { return school.voices.spoken(2).size(); };
    host.later([this] { run->Commandkakunin_Click(); }, [&] { return letters() >= 2; });
    const QString missed = answer();
    submitWrong();

    const std::vector<QString> spelt = school.voices.spoken(2);
    ASSERT_EQ(spelt.size(), 2u);
    EXPECT_EQ(spelt[0], missed.left(1));
    EXPECT_EQ(spelt[1], missed.mid(1, 1));
    // The whole word was not queued after the cut-off; the voices were re-created.
    EXPECT_TRUE(school.voices.spoken(1).empty());
    std::vector<std::pair<int, int>> rates;
    for (const auto& call : school.voices.calls)
        if (call.kind == RecordingVoiceFactory::Call::Kind::Rate)
            rates.emplace_back(call.voice, call.rate);
    EXPECT_THAT(rates, ElementsAre(std::pair(1, -4), std::pair(2, 3), std::pair(3, -4), std::pair(4, 3)));
    EXPECT_FALSE(screen().CommandkakuninVisible);
}

TEST_F(DrillRunTest, TilesBackspaceAndJudgeButtonsBuildTheAnswer)
{
    start(test::kSolo);
    // The answer's letters are on the tiles; click them in order.
    QString built;
    for (const QChar c : QStringLiteral("apple")) {
        const auto it = std::find(screen().Label7.begin(), screen().Label7.end(), QString(c));
        ASSERT_NE(it, screen().Label7.end());
        run->Label7_Click(static_cast<int>(it - screen().Label7.begin()));
        built += c;
        EXPECT_EQ(screen().Text1, built);
    }
    EXPECT_THAT(letterVoice(), ElementsAre("a", "p", "p", "l", "e"));
    run->Label9_Click();
    EXPECT_EQ(screen().Text1, QStringLiteral("appl"));
    type(QStringLiteral("eeeee"));
    EXPECT_TRUE(screen().Label11Visible);  // nine characters: the tiles stop here
    run->Text1_Change(QStringLiteral("x"));
    EXPECT_FALSE(screen().Label11Visible);
    run->Label9_Click();
    run->Label9_Click();  // "BS" on an empty box changes nothing
    EXPECT_TRUE(screen().Text1.isEmpty());

    run->Text1_Change(QStringLiteral("appel"));
    const int clears = host.clipboardClears;
    run->Label8_Click();
    EXPECT_GT(host.clipboardClears, clears);
    EXPECT_FALSE(screen().Picture2Visible);
    EXPECT_EQ(lastLogResult(), QStringLiteral("\"appel\""));

    // Locked after the wrong answer: tiles, "BS" and "判定" do nothing, nor does Enter.
    run->Label7_Click(0);
    run->Label9_Click();
    run->Label8_Click();
    EXPECT_TRUE(run->Text1_KeyPress(kEnterKey));
    EXPECT_EQ(screen().Text1, QStringLiteral("appel"));
    EXPECT_EQ(school.answerLog().size(), 1);
    run->Commandkakunin_Click();
    EXPECT_TRUE(screen().Picture2Visible);
}

TEST_F(DrillRunTest, AnswersAreJudgedExactlyApartFromSurroundingBlanks)
{
    struct Case {
        const char16_t* typed;
        const char16_t* logged;
    };
    const Case cases[] = {
        {u"apple", u"○"},     {u"apple ", u"○"},    {u" apple\u3000", u"○"},
        {u"Apple", u"Apple"}, {u"ａｐｐｌｅ", u"ａｐｐｌｅ"}, {u"", u""},
        {u" ", u""},          {u"ap ple", u"ap ple"},
    };
    start(test::kSolo);
    for (const Case& c : cases) {
        const QString typed = QString::fromUtf16(c.typed);
        submit(typed);
        EXPECT_EQ(lastLogResult(), u'"' + QString::fromUtf16(c.logged) + u'"') << typed.toStdString();
        if (screen().CommandkakuninVisible)
            run->Commandkakunin_Click();
        else
            EXPECT_TRUE(run->run().runEnding) << typed.toStdString();
        if (run->run().runEnding) {
            start(test::kSolo);  // next case on a fresh run
        }
    }
}

TEST_F(DrillRunTest, QuestionsNeverRepeatBackToBackUnlessOnlyOneIsLeft)
{
    start(test::kFive);
    int previous = session().currentIndex;
    int draws = 0;
    while (!run->run().runEnding && draws < 100) {
        const int left = session().questionCount - session().countCleared();
        // Five wrong answers first, then only correct ones, which must end the run.
        if (draws < 5) {
            submitWrong();
            run->Commandkakunin_Click();
        } else {
            submitCorrect();
        }
        if (run->run().runEnding)
            break;
        ++draws;
        const int now = session().currentIndex;
        const int leftNow = session().questionCount - session().countCleared();
        if (leftNow > 1) {
            EXPECT_NE(now, previous) << "draw " << draws << " with " << left << " left";
        }
        EXPECT_FALSE(session().isCleared(now));
        previous = now;
    }
    EXPECT_TRUE(run->run().runEnding);
}

// ---- Choice step --------------------------------------------------------------

TEST_F(DrillRunTest, ChoiceListsOfferTheAnswerAndUpToEightOthersInListOrder)
{
    state().course.ChoiceListFlag = 1;
    for (const auto& [level, size] : {std::pair(test::kFive, 5), std::pair(test::kTwenty, 9)}) {
        start(level);
        QStringList levelAnswers;
        for (int i = 1; i <= session().questionCount; ++i)
            levelAnswers << session().answers[static_cast<size_t>(i)];
        for (int q = 0; q < 6 && !run->run().runEnding; ++q) {
            const QStringList list = screen().List1;
            EXPECT_EQ(list.size(), size) << level;
            EXPECT_TRUE(list.contains(answer()));
            EXPECT_EQ(QSet<QString>(list.begin(), list.end()).size(), list.size());
            EXPECT_TRUE(std::is_sorted(list.begin(), list.end(), listOrderLess));
            for (const QString& w : list)
                EXPECT_TRUE(levelAnswers.contains(w)) << w.toStdString();
            EXPECT_TRUE(screen().Picture5Visible);
            EXPECT_FALSE(screen().Text1Enabled);
            EXPECT_TRUE(screen().Label13Visible);
            EXPECT_TRUE(screen().Label13.isEmpty());
            EXPECT_EQ(host.focus, DrillControl::List1);

            choose(answer());
            EXPECT_EQ(screen().Label13, answer());
            EXPECT_EQ(currentWordVoice().back(), answer());
            EXPECT_EQ(school.sound.played.back(), school.correctCue());
            EXPECT_FALSE(screen().Picture5Visible);
            EXPECT_TRUE(screen().Text1Enabled);
            EXPECT_EQ(host.focus, DrillControl::Text1);
            submitCorrect();
        }
    }
}

TEST_F(DrillRunTest, EachWrongChoiceAddsTenSeconds)
{
    state().course.ChoiceListFlag = 1;
    state().course.ChoiceLabelFlag = 0;
    start(test::kFive);
    tick(29);
    EXPECT_EQ(screen().sLabel10, QStringLiteral("29"));
    school.clock.advanceMs(500);
    const QString wrong = screen().List1.at(screen().List1.at(0) == answer() ? 1 : 0);
    choose(wrong);
    EXPECT_FALSE(screen().Label13Visible);  // the course hides the chosen word once confirmed
    EXPECT_TRUE(screen().Picture5Visible);  // another choice, please
    EXPECT_FALSE(screen().Text1Enabled);
    ASSERT_EQ(school.messages.shown.size(), 1u);
    EXPECT_EQ(school.messages.shown[0].text, QStringLiteral("残念！！10秒追加。ワンモアチャンス"));
    EXPECT_EQ(school.messages.shown[0].buttons, MessageService::Buttons::Ok);
    EXPECT_EQ(school.sound.played.back(), school.wrongCue());
    school.clock.advanceMs(500);
    run->sTimer1_Timer();
    EXPECT_EQ(screen().sLabel10, QStringLiteral("40"));
    choose(wrong);
    tick();
    EXPECT_EQ(screen().sLabel10, QStringLiteral("51"));
    choose(answer());
    EXPECT_TRUE(screen().Text1Enabled);
}

// ---- Clock and the end of a run -----------------------------------------------

TEST_F(DrillRunTest, RunTimesOutAtFiveTimesTheMinimumTimeAndRecords99999)
{
    start(test::kPair);
    EXPECT_EQ(run->run().timeLimit, 200);
    EXPECT_DOUBLE_EQ(run->run().barScale, 2.0);
    EXPECT_DOUBLE_EQ(screen().targetBandWidth, 60.0);
    EXPECT_DOUBLE_EQ(screen().minimumBandWidth, 80.0);
    EXPECT_DOUBLE_EQ(screen().elapsedBandWidth, 0.0);
    EXPECT_EQ(screen().sLabel10, QStringLiteral("0"));
    tick(199);
    EXPECT_EQ(screen().sLabel10, QStringLiteral("199"));
    EXPECT_DOUBLE_EQ(screen().elapsedBandWidth, 398.0);
    EXPECT_FALSE(run->run().runEnding);
    tick();
    EXPECT_EQ(run->run().endReason, 1);
    EXPECT_DOUBLE_EQ(screen().elapsedBandWidth, 400.0);
    EXPECT_TRUE(screen().lblsss2Visible);
    EXPECT_FALSE(screen().lblsss1Visible);
    EXPECT_EQ(run->run().resultSeconds, kTimedOutResult);
    const auto records = school.results();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].seconds, 99999);
    EXPECT_EQ(school.navigator.endScreens, 1);
    EXPECT_FALSE(state().runFlags.personalBest);
    EXPECT_TRUE(school.answerLog().isEmpty());
}

TEST_F(DrillRunTest, TimeOutInsideAJudgementIsTakenAtTheNextTick)
{
    start(test::kPair);
    tick(199);
    host.later([this] { tick(); });  // second 200 arrives while the wrong answer sounds
    submitWrong();
    EXPECT_EQ(run->run().endReason, 0);
    EXPECT_EQ(screen().sLabel10, QStringLiteral("200"));
    EXPECT_TRUE(screen().CommandkakuninVisible);
    tick();
    EXPECT_EQ(run->run().endReason, 1);
    run->Commandkakunin_Click();  // too late: nothing more happens
    ASSERT_EQ(school.results().size(), 1u);
    EXPECT_EQ(school.results()[0].seconds, 99999);
    EXPECT_EQ(school.answerLog().size(), 1);
    EXPECT_EQ(school.navigator.endScreens, 1);
}

TEST_F(DrillRunTest, LastQuestionAndTimeOutAtTheSameTickEndTheRunOnce)
{
    // The time-out tick lands while the ending run lets events run: it comes
    // first and wins; the clearing's own end request is ignored.
    {
        start(test::kSolo);
        tick(199);
        host.later([this] { tick(); }, [this] { return session().isCleared(1) && !run->run().judging; });
        submitCorrect();
        const auto records = school.results();
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(records[0].seconds, 99999);
        EXPECT_EQ(school.navigator.endScreens, 1);
        EXPECT_EQ(host.closes, 1);
    }
    // The tick lands after the clearing has begun the end: the time stands.
    {
        DrillSchool other;
        FakeHost otherHost{other.clock};
        other.state->CurrentLevel = test::kSolo;
        DrillRun second(*other.state, otherHost);
        otherHost.screen = &second.screen();
        second.screen().barFrameWidth = 400;
        second.Form_Activate();
        for (int i = 0; i < 199; ++i) {
            other.clock.advanceMs(1000);
            second.sTimer1_Timer();
        }
        otherHost.later(
            [&] {
                other.clock.advanceMs(1000);
                second.sTimer1_Timer();
            },
            [&] { return other.state->run.runEnding; });
        second.Text1_Change(QStringLiteral("apple"));
        second.Text1_KeyPress(kEnterKey);
        const auto records = other.results();
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(records[0].seconds, 200);  // the late tick still moved the clock on
        EXPECT_EQ(other.state->run.endReason, 0);
        EXPECT_EQ(other.navigator.endScreens, 1);
    }
}

TEST_F(DrillRunTest, RunAcrossMidnightRecordsItsTrueLength)
{
    school.clock.set(QDate(2024, 4, 1), QTime(23, 59, 50));
    start(test::kSolo);
    tick(25);
    EXPECT_EQ(screen().sLabel10, QStringLiteral("25"));
    submitCorrect();
    ASSERT_EQ(school.results().size(), 1u);
    EXPECT_EQ(school.results()[0].seconds, 25);
}

// Another computer holds the results file for 15 s as the run ends: the run
// waits, the overlay says so with the seconds waited, and the record lands
// once the lock is free.
TEST_F(DrillRunTest, RunEndWaitsForAnotherComputersLockAndTellsTheStudent)
{
    state().PendingResultsFile = school.school.root.path() + QStringLiteral("/local/pending.dat");
    start(test::kSolo);
    tick(9);
    auto holder = test::holdLockElsewhere(QStringLiteral(VC_LOCK_HOLDER), resultsFilePath(school.school.courseFolder), 15000);
    submitCorrect();
    ASSERT_TRUE(holder->waitForFinished(30000));
    ASSERT_FALSE(host.lockWaitTexts.isEmpty());
    EXPECT_EQ(host.lockWaitTexts.front(), QStringLiteral("他のコンピューターが成績を書き込み中です。お待ちください（0秒）"));
    EXPECT_TRUE(host.lockWaitTexts.contains(QStringLiteral("他のコンピューターが成績を書き込み中です。お待ちください（14秒）")));
    EXPECT_TRUE(screen().lockWaitText.isEmpty());
    ASSERT_EQ(school.results().size(), 1u);
    EXPECT_EQ(school.results()[0].seconds, 9);
    EXPECT_FALSE(QFile::exists(state().PendingResultsFile));
    EXPECT_TRUE(school.messages.shown.empty());
    EXPECT_EQ(school.navigator.endScreens, 1);
}

// Past the limit the run is kept on this computer, the student is told so,
// and the end-of-drill screen still follows with the run counted.
TEST_F(DrillRunTest, RunKeptOnThisComputerWhenTheLockStaysTaken)
{
    state().PendingResultsFile = school.school.root.path() + QStringLiteral("/local/pending.dat");
    state().ResultLockLimit = std::chrono::milliseconds(500);
    start(test::kSolo);
    tick(9);
    auto holder = test::holdLockElsewhere(QStringLiteral(VC_LOCK_HOLDER), resultsFilePath(school.school.courseFolder), 2000);
    submitCorrect();
    EXPECT_TRUE(school.results().empty());
    ASSERT_EQ(school.messages.shown.size(), 1u);
    EXPECT_EQ(school.messages.shown[0].text, kRunKeptText);
    EXPECT_EQ(school.navigator.endScreens, 1);
    EXPECT_TRUE(state().runFlags.personalBest);
    ASSERT_TRUE(holder->waitForFinished(10000));
    // The next start stores it.
    EXPECT_EQ(deliverPendingRecords(resultsFilePath(school.school.courseFolder), state().PendingResultsFile,
                                    std::chrono::milliseconds(500)), 1);
    ASSERT_EQ(school.results().size(), 1u);
    EXPECT_EQ(school.results()[0].seconds, 9);
}

TEST_F(DrillRunTest, PracticeLevelEndsWithoutARecord)
{
    start(test::kPractice);
    EXPECT_EQ(screen().sLabel8, QStringLiteral("p練習"));
    EXPECT_EQ(screen().sLabel12, QStringLiteral("－"));
    EXPECT_EQ(screen().sLabel11, QStringLiteral("－"));
    submitCorrect();
    tick(4);
    submitCorrect();
    EXPECT_TRUE(run->closed());
    EXPECT_TRUE(screen().lblsss1Visible);
    EXPECT_EQ(host.waitForms, 1);
    EXPECT_EQ(school.navigator.levelScreens, 1);
    EXPECT_EQ(school.navigator.endScreens, 0);
    EXPECT_TRUE(school.results().empty());
    EXPECT_EQ(school.answerLog().size(), 2);  // answers are still logged
}

// ---- Give-ups -----------------------------------------------------------------

TEST_F(DrillRunTest, GiveUpsAreCountedPerDayFromTheLog)
{
    const QString log = giveUpLogPath(school.school.courseFolder, 12);
    test::writeCp932(log, {"#2024-03-31#", "#2024-03-31#", "#2024-03-31#", "#2024-04-01#", "#2024-04-01#"});
    start(test::kPair);
    EXPECT_EQ(screen().Command1Caption, QStringLiteral("ギブアップ（後3回）"));
    EXPECT_TRUE(screen().Command1Enabled);
    run->Command1_Click();
    ASSERT_EQ(school.messages.shown.size(), 1u);
    EXPECT_EQ(school.messages.shown[0].text, QStringLiteral("ギブアップできるのはあと2回です"));
    EXPECT_EQ(school.navigator.levelScreens, 1);
    EXPECT_TRUE(run->closed());
    EXPECT_TRUE(school.results().empty());
    EXPECT_EQ(readTextLines(log).size(), 6);
    EXPECT_EQ(readTextLines(log).back(), QStringLiteral("#2024-04-01#"));

    // Five today: no more give-ups in this or any later run of the day.
    for (int i = 0; i < 2; ++i)
        appendGiveUp(school.school.courseFolder, 12, school.clock);
    start(test::kPair);
    EXPECT_EQ(screen().Command1Caption, QStringLiteral("ギブアップ"));
    EXPECT_FALSE(screen().Command1Enabled);
    run->Command1_Click();
    EXPECT_EQ(school.messages.shown.back().text, QStringLiteral("本日5回ギブアップしたので、もうギブアップできません"));
    EXPECT_FALSE(run->closed());
    EXPECT_EQ(readTextLines(log).size(), 8);

    // The next day counts afresh; the first give-up leaves four.
    school.clock.set(QDate(2024, 4, 2), QTime(9, 0, 0));
    start(test::kPair);
    EXPECT_EQ(screen().Command1Caption, QStringLiteral("ギブアップ（後5回）"));
    run->Command1_Click();
    EXPECT_EQ(school.messages.shown.back().text, QStringLiteral("ギブアップできるのはあと4回です"));
}

// ---- Status panel -------------------------------------------------------------

TEST_F(DrillRunTest, StatusPanelShowsWhoWhereAndTodaysRunNumbers)
{
    // Today: two valid runs on level 2, one on level 3 and a time-out; one run yesterday.
    const ResultDestination dest{school.school.courseFolder, QStringLiteral("12345"), 12};
    appendResultRecord(dest, 2, 100, school.clock);
    appendResultRecord(dest, 2, 90, school.clock);
    appendResultRecord(dest, 3, 80, school.clock);
    appendResultRecord(dest, 3, 99999, school.clock);
    FakeClock yesterday(QDate(2024, 3, 31), QTime(10, 0, 0));
    appendResultRecord(dest, 2, 70, yesterday);
    computeStatistics(school.school.courseFolder, state().standards, school.clock, state().loadedResults,
                      state().statistics);

    start(test::kPair);
    EXPECT_EQ(screen().sLabel2, QStringLiteral("中学英単語"));
    EXPECT_DOUBLE_EQ(screen().sLabel2PointSize, 16.8);
    EXPECT_EQ(screen().sLabel7, QStringLiteral("山田　花子"));
    EXPECT_EQ(screen().sLabel8, QStringLiteral("p二問"));
    EXPECT_EQ(screen().sLabel14, QStringLiteral("北校"));
    EXPECT_EQ(screen().sLabel13, QStringLiteral("25"));
    EXPECT_EQ(screen().sLabel12, QStringLiteral("4"));
    EXPECT_EQ(screen().sLabel11, QStringLiteral("3"));
    EXPECT_EQ(screen().sLabel9, QStringLiteral("2"));
    school.clock.advanceMs(10 * 60 * 1000);
    run->sTimer2_Timer();
    EXPECT_EQ(screen().sLabel13, QStringLiteral("35"));

    state().course.SoftwareName = QStringLiteral("中学英単語　二年生用");  // ten characters
    start(test::kPair);
    EXPECT_DOUBLE_EQ(screen().sLabel2PointSize, 14.0);
}

// ---- Failures -----------------------------------------------------------------

TEST_F(DrillRunTest, AnAnswerLogThatCannotBeWrittenEndsTheRunWithAMessage)
{
    start(test::kSolo);
    ASSERT_TRUE(QDir().mkpath(answerLogPath(school.school.courseFolder, 12)));  // a folder in the log's place
    submitCorrect();
    ASSERT_EQ(school.messages.shown.size(), 1u);
    EXPECT_EQ(school.messages.shown[0].title, QStringLiteral("エラー"));
    EXPECT_TRUE(school.messages.shown[0].text.contains(QStringLiteral("結果12.csv")));
    EXPECT_TRUE(run->closed());
    EXPECT_EQ(school.navigator.levelScreens, 1);
    EXPECT_TRUE(school.results().empty());
}

TEST_F(DrillRunTest, FourthFailedAnswerCueEndsTheProgramAndTheRunStops)
{
    school.sound.otherwise = PlaybackResult{false, QStringLiteral("no device")};
    start(test::kPair);
    for (int i = 0; i < 3; ++i) {
        submitWrong();
        run->Commandkakunin_Click();
    }
    EXPECT_TRUE(school.navigator.quits.empty());
    submitWrong();
    EXPECT_THAT(school.navigator.quits, ElementsAre(1));
    EXPECT_TRUE(run->closed());
    EXPECT_FALSE(screen().CommandkakuninVisible);
    run->Commandkakunin_Click();
    EXPECT_EQ(school.answerLog().size(), 4);
}

} // namespace
} // namespace vc
