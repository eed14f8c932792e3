// The drill's rules one at a time: loading a level, tiles, choice lists,
// the clock maths and the list order.
#include "drillfixture.h"

#include "drill/drillclock.h"
#include "drill/drillsession.h"
#include "platform/listorder.h"

#include <gmock/gmock.h>
#include <vector>

namespace vc {
namespace {

using ::testing::ElementsAre;

// ---- Loading a level ----------------------------------------------------------

TEST(LoadLevelQuestions, GroupedLevelsShareTheirUnitAndTakeTheInputModeFromTheirPlace)
{
    test::DrillSchool school({QStringLiteral("Lesson1,りんご,apple"), QStringLiteral("Lesson1,本,book"),
                              QStringLiteral("Lesson2,ねこ,cat"), QStringLiteral("Lesson2,いぬ,dog"),
                              QStringLiteral("Lesson2,鳥,bird")},
                             1);
    const AppState& state = *school.state;

    struct Case {
        int level;
        QStringList answers;
        bool choice, tiles;
    };
    const Case cases[] = {
        {1, {"apple", "book"}, true, true},
        {2, {"apple", "book"}, false, true},
        {4, {"cat", "dog", "bird"}, true, true},
        {5, {"cat", "dog", "bird"}, false, true},
        {6, {"cat", "dog", "bird"}, false, false},
    };
    for (const Case& c : cases) {
        DrillSession session;
        session.streak.fill(5);
        session.streakFloor = -9;
        loadLevelQuestions(state.courseTable, state.course, c.level, session);
        QStringList answers;
        for (int i = 1; i <= session.questionCount; ++i)
            answers << session.answers[static_cast<size_t>(i)];
        EXPECT_EQ(answers, c.answers) << c.level;
        EXPECT_EQ(session.modes.choiceStep, c.choice) << c.level;
        EXPECT_EQ(session.modes.letterTiles, c.tiles) << c.level;
        EXPECT_EQ(session.streak[1], 0);
        EXPECT_EQ(session.streakFloor, -2);
        EXPECT_EQ(session.requiredStreak, 1);
    }
}

TEST(LoadLevelQuestions, UngroupedLevelIsItsUnitWithTheCourseFlagsAndTrimmedTexts)
{
    CourseTable table;
    const QStringList rows[] = {{"U1", "一", "one"}, {"U2", "  二\u3000", " two  "}, {"U1", "三", "three"}, {"U2", "四", "four"}};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 3; ++c)
            table.setCell(r + 1, c + 1, rows[r][c]);
    table.setRowCount(4);
    CourseConfig course;
    course.UnitNames[1] = QStringLiteral("U1");
    course.UnitNames[2] = QStringLiteral("U2");
    course.UnitCount = 2;
    course.ChoiceListFlag = 1;
    course.LetterTilesFlag = 0;

    DrillSession session;
    loadLevelQuestions(table, course, 2, session);
    ASSERT_EQ(session.questionCount, 2);
    EXPECT_EQ(session.prompts[1], QStringLiteral("二"));
    EXPECT_EQ(session.answers[1], QStringLiteral("two"));
    EXPECT_EQ(session.answers[2], QStringLiteral("four"));
    EXPECT_TRUE(session.modes.choiceStep);
    EXPECT_FALSE(session.modes.letterTiles);
}

// ---- Tiles and choices ----------------------------------------------------------

DrillSession lengthsSession(int current)
{
    DrillSession s;
    s.questionCount = 3;
    s.answers[1] = QStringLiteral("on");
    s.answers[2] = QStringLiteral("encyclopedia");
    s.answers[3] = QStringLiteral("sky");
    s.currentIndex = current;
    s.currentAnswer = s.answers[static_cast<size_t>(current)];
    return s;
}

// Random values for one tile layout: the 27 answer draws (0.9 picks answer 3
// of 3), then the 40 position draws of the 20 swaps.
std::vector<double> tileDraws(std::vector<double> swaps)
{
    std::vector<double> v(27, 0.9);
    swaps.resize(40, 0.0);  // swapping tile 0 with itself changes nothing
    v.insert(v.end(), swaps.begin(), swaps.end());
    return v;
}

TEST(Tiles, AnswerLettersFirstThenLettersOfDrawnAnswers)
{
    struct Case {
        int current;
        std::vector<double> swaps;
        std::vector<const char*> tiles;
    };
    const Case cases[] = {
        // Shorter than nine: "on" + "skyskysky".
        {1, {}, {"o", "n", "s", "k", "y", "s", "k", "y", "s"}},
        // Longer than nine: only its first nine letters.
        {2, {}, {"e", "n", "c", "y", "c", "l", "o", "p", "e"}},
        // A swap of tiles 0 and 8, then one of 1 and 2.
        {1, {0.0, 0.99, 0.15, 0.25}, {"s", "s", "n", "k", "y", "s", "k", "y", "o"}},
    };
    for (const Case& c : cases) {
        const DrillSession s = lengthsSession(c.current);
        ScriptedRandom random(tileDraws(c.swaps));
        const auto tiles = makeTiles(s, random);
        std::vector<QString> expected(c.tiles.begin(), c.tiles.end());
        EXPECT_EQ(std::vector<QString>(tiles.begin(), tiles.end()), expected) << c.current;
    }
}

TEST(Tiles, AnAnswerWithEmptyOthersLeavesTheLastTilesBlank)
{
    DrillSession s;
    s.questionCount = 1;
    s.currentIndex = 1;
    s.currentAnswer = QStringLiteral("cat");  // the drawn answer (slot 1) is empty: nothing to add
    ScriptedRandom random(tileDraws({}));
    const auto tiles = makeTiles(s, random);
    EXPECT_THAT(std::vector<QString>(tiles.begin(), tiles.end()), ElementsAre("c", "a", "t", "", "", "", "", "", ""));
}

TEST(Choices, ScriptedDrawsSkipTheCurrentQuestionAndRepeats)
{
    DrillSession s;
    s.questionCount = 4;
    const char* words[] = {"", "delta", "Bravo", "alpha", "charlie"};
    for (int i = 1; i <= 4; ++i)
        s.answers[static_cast<size_t>(i)] = QString::fromLatin1(words[i]);
    s.currentIndex = 2;
    s.currentAnswer = s.answers[2];
    // Draws 2 (current), 1, 1 (repeat), 3, 4: three others for four questions.
    ScriptedRandom random({0.3, 0.1, 0.1, 0.6, 0.9});
    EXPECT_THAT(makeChoices(s, random), ElementsAre("alpha", "Bravo", "charlie", "delta"));
}

// ---- Hints and give-up texts ------------------------------------------------------

TEST(Hints, ByTheCorrectAnswersStillNeeded)
{
    struct Case {
        int r;
        bool voice, listen, letter;
    };
    for (const Case& c : {Case{1, false, false, false}, Case{2, false, true, false}, Case{3, true, true, true},
                          Case{4, true, true, true}}) {
        const QuestionHints h = hintsFor(c.r);
        EXPECT_EQ(h.voiceHint, c.voice) << c.r;
        EXPECT_EQ(h.listenButton, c.listen) << c.r;
        EXPECT_EQ(h.firstLetter, c.letter) << c.r;
    }
}

TEST(GiveUp, CaptionAndMessagesByTodaysCount)
{
    struct Case {
        int count;
        const char16_t* caption;
        bool allowed;
    };
    for (const Case& c : {Case{0, u"ギブアップ（後5回）", true}, Case{4, u"ギブアップ（後1回）", true},
                          Case{5, u"ギブアップ", false}, Case{7, u"ギブアップ", false}}) {
        EXPECT_EQ(giveUpCaption(c.count), QString::fromUtf16(c.caption)) << c.count;
        EXPECT_EQ(giveUpAllowed(c.count), c.allowed) << c.count;
    }
    EXPECT_EQ(giveUpGrantedMessage(0), QStringLiteral("ギブアップできるのはあと4回です"));
    EXPECT_EQ(giveUpGrantedMessage(4), QStringLiteral("ギブアップできるのはあと0回です"));
    EXPECT_EQ(giveUpRefusedMessage(6), QStringLiteral("本日6回ギブアップしたので、もうギブアップできません"));
}

TEST(Feedback, CorrectAnswerTextsByWhatIsLeft)
{
    EXPECT_EQ(correctFeedback(2), QStringLiteral("GOOD!!\r\nこの問題はあと2回連続正解でクリアとなります。"));
    EXPECT_EQ(correctFeedback(1), QStringLiteral("GOOD!!\r\nこの問題はあと１回でクリア！！\r\nがんばれ!!"));
    EXPECT_EQ(correctFeedback(0), QStringLiteral("！！！この問題クリア！！！"));
    EXPECT_EQ(correctFeedback(-1), QStringLiteral("！！！この問題クリア！！！"));
}

TEST(Levels, PracticeLevelsAreNamedWithRen)
{
    EXPECT_TRUE(isPracticeLevel(QStringLiteral("p練習")));
    EXPECT_TRUE(isPracticeLevel(QStringLiteral("復習練")));
    EXPECT_FALSE(isPracticeLevel(QStringLiteral("pLesson1_1")));
}

// ---- Clock maths ------------------------------------------------------------------

TEST(DrillClock, RoundsHalvesToEven)
{
    const std::pair<double, qint64> cases[] = {{0.5, 0},  {1.5, 2},  {2.5, 2},   {3.5, 4},  {2.4999, 2},
                                               {2.5001, 3}, {-0.5, 0}, {-1.5, -2}, {-2.5, -2}, {7.0, 7}};
    for (const auto& [value, rounded] : cases)
        EXPECT_EQ(roundHalfEven(value), rounded) << value;
}

TEST(DrillClock, ElapsedSecondsCountWholeDaysAndNeverGoNegative)
{
    struct Case {
        float start;
        qint64 startDay, nowDay;
        double now;
        qint32 elapsed;
    };
    const Case cases[] = {
        {36000.0f, 100, 100, 36012.5, 12},  // half to even
        {36000.0f, 100, 100, 36013.5, 14},
        {86390.0f, 100, 101, 15.0, 25},     // across midnight
        {-5.0f, 100, 100, 20.0, 25},        // wrong choices just after midnight
        {36000.0f, 100, 100, 35990.0, 0},   // clock set back
        {3600.0f, 100, 102, 3600.0, 172800},
    };
    for (const Case& c : cases)
        EXPECT_EQ(elapsedSecondsAt(c.start, c.startDay, {c.nowDay, c.now}), c.elapsed) << c.now;
}

TEST(DrillClock, TimeLimitBarScaleAndMinutesSinceLogin)
{
    EXPECT_EQ(timeLimitFor(40), 200);
    EXPECT_DOUBLE_EQ(barScaleFor(400, 200), 2.0);
    EXPECT_DOUBLE_EQ(barScaleFor(400, 0), 0.0);
    EXPECT_EQ(minutesSinceLogin(36000, 36000 + 59.4), 0);
    EXPECT_EQ(minutesSinceLogin(36000, 36000 + 59.5), 1);  // 59.5 rounds to 60
    EXPECT_EQ(minutesSinceLogin(36000, 36000 + 25 * 60 + 10), 25);
    EXPECT_EQ(minutesSinceLogin(86400 - 600, 600), 20);  // logged in before midnight
    EXPECT_EQ(minutesSinceLogin(36000, 35999.7), 0);     // just after a login rounded up

    // The level screen truncates instead.
    EXPECT_EQ(wholeMinutesSinceLogin(36000, 36000 + 59.5), 0);
    EXPECT_EQ(wholeMinutesSinceLogin(36000, 36000 + 60), 1);
    EXPECT_EQ(wholeMinutesSinceLogin(36000, 36000 + 25 * 60 + 59.9), 25);
    EXPECT_EQ(wholeMinutesSinceLogin(86400 - 600, 600.5), 20);
    EXPECT_EQ(wholeMinutesSinceLogin(36000, 35999.7), 0);
}

// ---- List order ---------------------------------------------------------------------

TEST(ListOrder, CaseInsensitiveThenCapitalsFirst)
{
    QStringList texts{"delta", "Bravo", "apple", "Apple", "APPLE", "charlie", "b", "ｂ", "りんご", "10", "9"};
    sortListTexts(texts);
    EXPECT_THAT(texts, ElementsAre("10", "9", "APPLE", "Apple", "apple", "b", "Bravo", "charlie", "delta", "りんご", "ｂ"));
    EXPECT_TRUE(listOrderLess(QStringLiteral("apple"), QStringLiteral("Banana")));
    EXPECT_FALSE(listOrderLess(QStringLiteral("Banana"), QStringLiteral("apple")));
    EXPECT_FALSE(listOrderLess(QStringLiteral("same"), QStringLiteral("same")));
}

} // namespace
} // namespace vc
