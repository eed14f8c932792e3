#pragma once
#include "platform/speech.h"

#include <QString>
#include <QStringList>
#include <array>
#include <memory>

namespace vc {

class CourseTable;
class Random;
struct CourseConfig;

inline constexpr int kMaxQuestions = 100;
inline constexpr int kTileCount = 9;
inline constexpr int kTileSwaps = 20;
inline constexpr int kMaxOtherChoices = 8;
inline constexpr int kGiveUpsPerDay = 5;
inline constexpr int kWordVoiceRate = -4;
inline constexpr int kLetterVoiceRate = 3;
inline constexpr int kWrongChoicePenaltySeconds = 10;
inline constexpr unsigned kLightYellow = 0xC0FFFF;  // RGB 255, 255, 192 written 0xBBGGRR

// The answer box texts a student types and the course's cells are compared
// without the blanks (half- and full-width spaces) around them.
QString trimBlanks(const QString& text);

// How the student answers on a level.
struct InputModes {
    bool choiceStep = false;   // pick the word from a list first
    bool letterTiles = false;  // the on-screen letter tiles
};
// With levels grouped by three, the level's place in its group decides:
// 1st (1, 4, 7 …) choice and tiles, 2nd tiles only, 3rd neither.
InputModes groupedInputModes(int level);

// The state of one drill run: the level's questions and how far each has got.
// Questions are numbered 1..questionCount.
struct DrillSession {
    std::array<QString, kMaxQuestions + 1> prompts{};
    std::array<QString, kMaxQuestions + 1> answers{};
    int questionCount = 0;
    // Correct answers in a row per question; negative after wrong answers.
    std::array<int, kMaxQuestions + 1> streak{};
    int requiredStreak = 1;  // the streak at which a question is cleared
    int streakFloor = -2;    // lowest streak wrong answers lead to; the Enter penalty lowers it
    int clearedCount = 0;
    int currentIndex = 0;
    int previousIndex = 0;  // 0 before the first question
    QString currentPrompt;
    QString currentAnswer;
    QString typedAnswer;
    int giveUpsToday = 0;
    InputModes modes;
    // The result of the last judged answer, until the next submission.
    enum class Judgement { None, Correct, Wrong } judgement = Judgement::None;

    std::unique_ptr<Voice> wordVoice;    // whole words, rate −4
    std::unique_ptr<Voice> letterVoice;  // single letters, rate 3

    bool isCleared(int i) const { return streak[static_cast<size_t>(i)] == requiredStreak; }
    // r: the correct answers question i still needs.
    int stillNeeded(int i) const { return requiredStreak - streak[static_cast<size_t>(i)]; }
    int countCleared() const;
};

// The unit key (column 1 of the course table) whose rows are the level's questions.
QString levelUnitKey(const CourseConfig& course, int level);

// Takes the rows of the level's unit, in table order, as the questions (prompt
// and answer without surrounding blanks); every streak starts at 0, the floor
// at −2. The input modes come from the course's flags, or with levels grouped
// by three from the level's place in its group. A unit of more than 100 rows
// keeps its first 100.
void loadLevelQuestions(const CourseTable& table, const CourseConfig& course, int level, DrillSession& session);

// Draws the next question: never a cleared one, and never the previous one
// again unless it is the only one left. At least one question must be uncleared.
int drawQuestion(const DrillSession& session, Random& random);

// The nine tile captions for the question on screen: tile p shows the p-th
// character of the answer followed by three randomly drawn answers (so the
// answer's first letters are always there, the rest come from other words),
// then 20 random swaps.
std::array<QString, kTileCount> makeTiles(const DrillSession& session, Random& random);

// The choice list for the question on screen: its answer and up to eight
// answers of other questions, no question twice, in list order.
QStringList makeChoices(const DrillSession& session, Random& random);

// What the question on screen offers, by r, the correct answers it still needs.
struct QuestionHints {
    bool voiceHint = false;    // "音声ヒント＝”＋”" and the "+" key: r ≥ 3
    bool listenButton = false; // "発音を聞く" is shown (never hidden here): r ≥ 2
    bool firstLetter = false;  // "1文字ヒント": the first letter in the answer box, spoken: r ≥ 3
};
QuestionHints hintsFor(int stillNeeded);

// Exact, case- and width-sensitive, after dropping the typed answer's blanks.
bool isCorrectAnswer(const QString& typed, const QString& expected);

// Feedback after a correct answer, by r′ = the correct answers still needed after it.
QString correctFeedback(int stillNeededAfter);
// Feedback after a wrong answer, by the correct answers now needed.
QString wrongFeedback(int stillNeeded);

// A wrong answer lowers the question's streak by one, not below the floor.
void lowerStreakAfterWrong(DrillSession& session);
// Enter pressed while an answer is being judged: the floor and the question's
// streak both go down by one.
void punishEnterDuringJudgement(DrillSession& session);

// The give-up button for today's count: "ギブアップ（後n回）" while some are left.
QString giveUpCaption(int giveUpsToday);
bool giveUpAllowed(int giveUpsToday);
// The message when no give-up is left today.
QString giveUpRefusedMessage(int giveUpsToday);
// The message for a give-up that is granted (counted before it is logged).
QString giveUpGrantedMessage(int giveUpsToday);

// The message for a wrong choice in the choice step.
QString wrongChoiceMessage();

// While the end of a run waits for another computer to finish storing its run.
QString lockWaitLine(int secondsWaited);
// The run could not reach the shared results file in time and is kept on this
// computer until the next run (or the next start) stores it.
inline const QString kRunKeptText = QStringLiteral(
    "他のコンピューターが成績ファイルを使い続けているため、今回の成績はこのコンピューターに預かりました。"
    "次に成績を記録するとき（または次にこのプログラムを起動したとき）に、成績ファイルへ書き込まれます。");

// A level whose name contains "練" is for practice: timed, never recorded.
bool isPracticeLevel(const QString& levelName);

} // namespace vc
