#include "drillrun.h"

#include "coursetable/coursetable.h"
#include "drill/drillclock.h"
#include "drill/runstate.h"
#include "drill/soundcues.h"
#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/messages.h"
#include "platform/random.h"
#include "records/logs.h"
#include "records/resultsfile.h"
#include "records/statistics.h"
#include "startup/appstate.h"
#include "startup/navigator.h"

#include <QCoreApplication>

namespace vc {

namespace {

// The day's run number counts the runs of these levels.
constexpr int kDayCountLastLevel = 15;
constexpr qint32 kTickStepMs = 10;
constexpr qsizetype kLongTitle = 9;  // characters; longer titles get the smaller font

} // namespace

void startDrill(AppState& state)
{
    state.run = RunState{};
    QCoreApplication::processEvents();
    if (state.services.navigator)
        state.services.navigator->openDrill();
}

DrillRun::DrillRun(AppState& state, DrillHost& host) : state_(state), host_(host) {}

DrillRun::~DrillRun() { releaseVoices(); }

const RunState& DrillRun::run() const { return state_.run; }
RunState& DrillRun::runState() { return state_.run; }

const StandardsRow* DrillRun::standardsRow() const { return state_.standards.level(state_.CurrentLevel); }

const QString& DrillRun::levelName() const
{
    static const QString none;
    const int level = state_.CurrentLevel;
    return level >= 0 && level <= kMaxLevel ? state_.LevelNames[static_cast<size_t>(level)] : none;
}

bool DrillRun::isTimedLevel() const
{
    const int level = state_.CurrentLevel;
    return level >= 0 && level <= kMaxLevel && state_.TimedLevel[static_cast<size_t>(level)] == 1;
}

// ---- Set-up -----------------------------------------------------------------

void DrillRun::Form_Load()
{
    if (state_.services.random && state_.services.clock)
        state_.services.random->seed(static_cast<quint32>(state_.services.clock->secondsSinceMidnight()));
}

void DrillRun::Form_Activate()
{
    if (closed_)
        return;
    screen_.Picture2Visible = state_.course.LetterTilesFlag == 1;
    try {
        setUpGiveUpButton();
    } catch (const DataError& e) {
        failWith(e);
        return;
    }
    createVoices();
    showStatusPanel();
    try {
        readScrambledTable(state_.paths.ProgramFolder + QStringLiteral("E0002.csv"), state_.courseTable);
    } catch (const DataError& e) {
        failWith(e);
        return;
    }
    loadLevelQuestions(state_.courseTable, state_.course, state_.CurrentLevel, session_);
    startClock();
    nextQuestion();
}

void DrillRun::Form_Unload()
{
    screen_.sTimer1Enabled = false;
    releaseVoices();
}

void DrillRun::setUpGiveUpButton()
{
    session_.giveUpsToday = countGiveUpsToday(state_.paths.CourseFolder, state_.CurrentStudentNumber, *state_.services.clock);
    screen_.Command1Caption = giveUpCaption(session_.giveUpsToday);
    screen_.Command1Enabled = giveUpAllowed(session_.giveUpsToday);
}

void DrillRun::createVoices()
{
    ++voiceGeneration_;
    if (!state_.services.voices)
        return;
    session_.wordVoice = state_.services.voices->createVoice();
    if (session_.wordVoice)
        session_.wordVoice->setRate(kWordVoiceRate);
    session_.letterVoice = state_.services.voices->createVoice();
    if (session_.letterVoice)
        session_.letterVoice->setRate(kLetterVoiceRate);
}

void DrillRun::releaseVoices()
{
    session_.wordVoice.reset();
    session_.letterVoice.reset();
}

void DrillRun::speakWord(const QString& text)
{
    if (session_.wordVoice)
        session_.wordVoice->speak(text);
}

void DrillRun::showStatusPanel()
{
    RunState& run = runState();
    run.runEnding = false;
    session_.judgement = DrillSession::Judgement::None;
    session_.typedAnswer.clear();

    const QString& title = state_.course.SoftwareName;
    screen_.sLabel2 = title;
    screen_.sLabel2PointSize = title.size() > kLongTitle ? 14.0 : 16.8;
    screen_.sLabel7 = trimBlanks(state_.CurrentStudentName);
    screen_.sLabel8 = levelName();
    screen_.sLabel14 = state_.settings.SchoolName;
    sTimer2_Timer();
    if (isPracticeLevel(levelName())) {
        screen_.sLabel12 = QStringLiteral("－");
        screen_.sLabel11 = QStringLiteral("－");
    } else {
        const int student = state_.CurrentStudentNumber;
        double today = 0;
        for (int level = 1; level <= kDayCountLastLevel; ++level)
            today += state_.statistics.at(level, student).todayRuns;
        screen_.sLabel12 = QString::number(static_cast<qint64>(today) + 1);
        screen_.sLabel11 = QString::number(static_cast<qint64>(state_.statistics.at(state_.CurrentLevel, student).todayRuns) + 1);
    }
    setUpTimeBar();
}

void DrillRun::setUpTimeBar()
{
    RunState& run = runState();
    const StandardsRow* row = standardsRow();
    const qint32 minimum = row ? row->minimumTime : 0;
    const qint32 target = row ? row->targetTime : 0;
    run.timeLimit = timeLimitFor(minimum);
    screen_.sLabel10 = QStringLiteral("0");
    run.barScale = barScaleFor(screen_.barFrameWidth, run.timeLimit);
    screen_.targetBandWidth = target * run.barScale;
    screen_.minimumBandWidth = minimum * run.barScale;
    screen_.elapsedBandWidth = 0;
}

void DrillRun::startClock()
{
    const ClockReading now = readClock(*state_.services.clock);
    runState().runStartTime = static_cast<float>(now.seconds);
    runState().runStartDay = now.day;
    screen_.sTimer1Enabled = true;
}

// ---- Question order ---------------------------------------------------------

void DrillRun::nextQuestion()
{
    const RunState& run = state_.run;
    // Nothing new once the run is ending, also when it ended normally.
    if (closed_ || run.timedOut() || run.judging || run.runEnding)
        return;
    session_.clearedCount = session_.countCleared();
    screen_.sLabel9 = QString::number(session_.questionCount - session_.clearedCount);
    if (session_.clearedCount == session_.questionCount) {
        endRun();
        return;
    }
    Random& random = *state_.services.random;
    const int i = drawQuestion(session_, random);
    session_.previousIndex = session_.currentIndex = i;

    screen_.qLabel1.clear();
    screen_.qLabel2.clear();
    setText1(QString());
    session_.currentPrompt = session_.prompts[static_cast<size_t>(i)];
    session_.currentAnswer = session_.answers[static_cast<size_t>(i)];
    screen_.qLabel1 = session_.currentPrompt;
    screen_.Picture2Visible = false;
    screen_.Label7 = makeTiles(session_, random);
    if (!letEventsRun())
        return;
    screen_.Picture2Visible = session_.modes.letterTiles;

    screen_.List1.clear();
    if (session_.modes.choiceStep) {
        screen_.Label13.clear();
        screen_.List1 = makeChoices(session_, random);
        screen_.Picture5Visible = true;
        screen_.Text1Enabled = false;
        screen_.Label13Visible = true;
    } else {
        screen_.Text1Enabled = true;
    }

    const int r = session_.stillNeeded(i);
    const QuestionHints hints = hintsFor(r);
    screen_.Label5Visible = hints.voiceHint;
    screen_.qLabel2 = QString::number(r);
    if (hints.listenButton)
        screen_.Command2Visible = true;
    screen_.Label12Visible = false;
    if (hints.firstLetter) {
        screen_.Label12Visible = true;
        setText1(session_.currentAnswer.left(1));
        speakWord(screen_.Text1);
    }

    screen_.Text1ReadOnly = false;
    if (screen_.Text1Enabled)
        host_.giveFocus(DrillControl::Text1);
    else
        host_.giveFocus(DrillControl::List1);
    screen_.Text1BackColor = kLightYellow;
}

// ---- Answer entry -----------------------------------------------------------

void DrillRun::setText1(const QString& text)
{
    screen_.Text1 = text;
    screen_.Label11Visible = text.size() >= kTileCount;
}

void DrillRun::Text1_Change(const QString& text)
{
    if (text != screen_.Text1 || screen_.Label11Visible != (text.size() >= kTileCount))
        setText1(text);
}

void DrillRun::Form_KeyPress(QChar key)
{
    if (closed_)
        return;
    if (key == u'+' && screen_.CommandkakuninVisible)
        speakWord(session_.currentAnswer);
}

bool DrillRun::Text1_KeyPress(QChar key)
{
    host_.clearClipboard();
    if (closed_)
        return false;
    RunState& run = runState();
    if (run.timedOut())
        return false;
    if (run.judging) {
        if (key != kEnterKey)
            return false;
        punishEnterDuringJudgement(session_);
        return true;
    }
    if (key == u'+') {
        if (session_.stillNeeded(session_.currentIndex) >= 3)
            speakWord(session_.currentAnswer);
        return true;
    }
    if (key == kEnterKey) {
        // Enter is the keyboard's "判定": while the answer box is locked after
        // a wrong answer it submits nothing, like the button.
        if (!run.inputLocked)
            submitAnswer();
        return true;
    }
    return false;
}

void DrillRun::Label7_Click(int index)
{
    if (closed_ || state_.run.inputLocked || index < 0 || index >= kTileCount)
        return;
    const QString& letter = screen_.Label7[static_cast<size_t>(index)];
    if (letter.isEmpty())
        return;
    if (session_.letterVoice)
        session_.letterVoice->speak(letter);
    setText1(screen_.Text1 + letter);
}

void DrillRun::Label9_Click()
{
    if (closed_ || state_.run.inputLocked || screen_.Text1.isEmpty())
        return;
    setText1(screen_.Text1.chopped(1));
}

void DrillRun::Label8_Click()
{
    // A second submission while one is being judged would judge it twice.
    if (closed_ || state_.run.inputLocked || state_.run.judging)
        return;
    host_.clearClipboard();
    screen_.Picture2Visible = false;
    submitAnswer();
}

void DrillRun::List1_Click(int row)
{
    if (closed_ || row < 0 || row >= screen_.List1.size())
        return;
    const QString word = screen_.List1.at(row);
    speakWord(word);
    screen_.Label13 = word;
}

void DrillRun::List1_DblClick(int row)
{
    if (closed_ || row < 0 || row >= screen_.List1.size())
        return;
    if (!letEventsRun())
        return;
    Command3_Click();
}

void DrillRun::Command3_Click()
{
    if (closed_ || !screen_.Picture5Visible)
        return;
    if (state_.course.ChoiceLabelFlag == 0)
        screen_.Label13Visible = false;
    if (screen_.Label13 == session_.currentAnswer) {
        if (!playCue(kCorrectAnswerCue))
            return;
        screen_.Picture5Visible = false;
        screen_.Text1Enabled = true;
        host_.giveFocus(DrillControl::Text1);
    } else {
        if (!playCue(kWrongAnswerCue))
            return;
        showMessage(wrongChoiceMessage());
        if (closed_)
            return;
        runState().runStartTime -= kWrongChoicePenaltySeconds;
    }
}

void DrillRun::Command2_Click()
{
    if (!closed_)
        speakWord(session_.currentAnswer);
}

void DrillRun::Label1_Click() { Command2_Click(); }

// ---- Judging ----------------------------------------------------------------

void DrillRun::submitAnswer()
{
    RunState& run = runState();
    if (run.runEnding)
        return;
    session_.typedAnswer = screen_.Text1;
    run.judging = true;
    bool correct = false;
    try {
        correct = logAnswer();
    } catch (const DataError& e) {
        run.judging = false;
        failWith(e);
        return;
    }
    if (!correct) {
        ++run.wrongAnswerTally;
        judgeAnswer(false);
        if (!letEventsRun())
            return;
        // Spelled out letter by letter, then the whole word; "次へ" cuts this
        // off by re-creating the voices, and then nothing more is queued.
        const int generation = voiceGeneration_;
        const QString answer = session_.currentAnswer;
        for (const QChar c : answer) {
            if (generation != voiceGeneration_)
                break;
            if (session_.letterVoice)
                session_.letterVoice->speak(QString(c));
            if (!letEventsRun())
                return;
        }
        if (generation == voiceGeneration_)
            speakWord(answer);
    } else {
        screen_.Text1BackColor = kLightYellow;
        judgeAnswer(true);
    }
    if (!closed_)
        state_.run.judging = false;
}

bool DrillRun::logAnswer()
{
    const bool correct = isCorrectAnswer(session_.typedAnswer, session_.currentAnswer);
    if (!state_.run.timedOut())
        appendAnswerLog(state_.paths.CourseFolder, state_.CurrentStudentNumber, *state_.services.clock, levelName(),
                        session_.currentPrompt, session_.currentAnswer,
                        correct ? kCorrectAnswerMark.toString() : trimBlanks(session_.typedAnswer));
    session_.judgement = correct ? DrillSession::Judgement::Correct : DrillSession::Judgement::Wrong;
    return correct;
}

void DrillRun::judgeAnswer(bool correct)
{
    RunState& run = runState();
    if (run.timedOut())
        return;
    const int i = session_.currentIndex;
    const int r = session_.stillNeeded(i);
    if (correct) {
        screen_.Label6 = correctFeedback(r - 1);
        screen_.Label6Visible = true;
        speakWord(session_.currentAnswer);
        if (!letEventsRun())
            return;
        session_.judgement = DrillSession::Judgement::None;
        ++session_.streak[static_cast<size_t>(i)];
        // Enter keys typed while the cue sounds arrive now, still inside the
        // judgement, and cost the question its streak.
        if (!playCue(kCorrectAnswerCue) || !letEventsRun())
            return;
        screen_.Label6Visible = false;
        state_.run.judging = false;
        session_.typedAnswer.clear();
        nextQuestion();
        return;
    }
    screen_.Text1ReadOnly = true;
    run.inputLocked = true;
    lowerStreakAfterWrong(session_);
    screen_.seitouLabel = session_.currentAnswer;
    screen_.seitouLabelVisible = true;
    if (!playCue(kWrongAnswerCue) || !letEventsRun())
        return;
    state_.run.judging = false;
    screen_.Label6 = wrongFeedback(session_.stillNeeded(i));
    screen_.Label6Visible = true;
    screen_.CommandkakuninVisible = true;
    screen_.Command2Visible = true;
    screen_.Label1Visible = true;
    screen_.Label5Visible = false;
    host_.giveFocus(DrillControl::Commandkakunin);
}

void DrillRun::Commandkakunin_Click()
{
    if (closed_ || !screen_.CommandkakuninVisible)
        return;
    releaseVoices();
    createVoices();
    screen_.CommandkakuninVisible = false;
    screen_.Command2Visible = false;
    screen_.Label6Visible = false;
    screen_.Label1Visible = false;
    if (screen_.Text1Enabled)
        host_.giveFocus(DrillControl::Text1);
    runState().inputLocked = false;
    setText1(QString());
    screen_.seitouLabelVisible = false;
    session_.typedAnswer.clear();
    nextQuestion();
}

// ---- Give-up ----------------------------------------------------------------

void DrillRun::Command1_Click()
{
    // A give-up leaves a run that is waiting for an answer, not one being
    // judged or already ending.
    if (closed_ || state_.run.judging || state_.run.runEnding)
        return;
    try {
        session_.giveUpsToday = countGiveUpsToday(state_.paths.CourseFolder, state_.CurrentStudentNumber,
                                                  *state_.services.clock);
        if (!giveUpAllowed(session_.giveUpsToday)) {
            showMessage(giveUpRefusedMessage(session_.giveUpsToday));
            return;
        }
        showMessage(giveUpGrantedMessage(session_.giveUpsToday));
        if (closed_)
            return;
        appendGiveUp(state_.paths.CourseFolder, state_.CurrentStudentNumber, *state_.services.clock);
    } catch (const DataError& e) {
        failWith(e);
        return;
    }
    leaveToLevelScreen();
}

// ---- Clock and end of run ---------------------------------------------------

void DrillRun::sTimer1_Timer()
{
    // A tick that arrives while the previous one lets events run waits for the next.
    if (closed_ || ticking_)
        return;
    ticking_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{ticking_};

    RunState& run = runState();
    const qint32 elapsed = elapsedSecondsAt(run.runStartTime, run.runStartDay, readClock(*state_.services.clock));
    run.elapsedSeconds = elapsed;
    if (isTimedLevel()) {
        screen_.sLabel10 = QString::number(elapsed);
        if (elapsed < run.timeLimit)
            screen_.elapsedBandWidth = elapsed * run.barScale;
    }
    if (!letEventsRun())
        return;
    if (elapsed < run.timeLimit) {
        screen_.elapsedBandWidth = elapsed * run.barScale;
        return;
    }
    screen_.elapsedBandWidth = screen_.barFrameWidth;
    // A time-out inside a judgement is taken at the next tick after it.
    if (!run.runEnding && !run.judging) {
        run.endReason = 1;
        screen_.sTimer1Enabled = false;
        endRun();
    }
    letEventsRun();
}

void DrillRun::sTimer2_Timer()
{
    if (closed_ || !state_.services.clock)
        return;
    screen_.sLabel13 = QString::number(minutesSinceLogin(state_.LoginTime, state_.services.clock->secondsSinceMidnight()));
}

void DrillRun::endRun()
{
    if (closed_ || !letEventsRun())
        return;
    RunState& run = runState();
    if (run.runEnding)
        return;
    run.runEnding = true;
    screen_.sPicture2Visible = true;
    screen_.lblsss1Visible = !run.timedOut();
    screen_.lblsss2Visible = run.timedOut();
    if (!letEventsRun())
        return;

    if (isPracticeLevel(levelName())) {
        host_.showWaitForm();
        leaveToLevelScreen();
        return;
    }
    if (!isTimedLevel())
        return;  // cannot occur with the course's levels: the overlay stays, nothing is recorded
    screen_.sTimer1Enabled = false;
    run.resultSeconds = run.timedOut() ? kTimedOutResult : run.elapsedSeconds;
    StoredIn stored = StoredIn::ResultsFile;
    try {
        ResultDestination destination{state_.paths.CourseFolder, state_.settings.SchoolCode, state_.CurrentStudentNumber};
        destination.lockWait = state_.ResultLockLimit;
        destination.pendingFile = state_.PendingResultsFile;
        // Another computer is storing a run: the student sees that this one waits.
        destination.whileWaiting = [this](std::chrono::milliseconds waited) {
            screen_.lockWaitText = lockWaitLine(static_cast<int>(waited.count() / 1000));
            host_.paintOnly();
        };
        stored = recordResult(destination, state_.CurrentLevel, run.resultSeconds, *state_.services.clock,
                              state_.standards, state_.statistics, state_.loadedResults, state_.runFlags);
    } catch (const DataError& e) {
        screen_.lockWaitText.clear();
        failWith(e);
        return;
    }
    screen_.lockWaitText.clear();
    if (stored == StoredIn::PendingFile)
        showMessage(kRunKeptText);
    host_.showWaitForm();
    if (!letEventsRun())
        return;
    waitThenShowResult(1);
}

void DrillRun::waitThenShowResult(int seconds)
{
    const Clock& clock = *state_.services.clock;
    quint32 t0 = clock.tickCount();
    int n = 0;
    for (;;) {
        const quint32 t = clock.tickCount();
        if (t - t0 > static_cast<quint32>(kTickStepMs)) {
            ++n;
            if (kTickStepMs * n / 1000.0 >= seconds)
                break;
            t0 += kTickStepMs;
        }
        host_.idle(kTickStepMs);
        if (closed_)
            return;
    }
    leaveToEndOfDrill();
}

// ---- Leaving ----------------------------------------------------------------

bool DrillRun::playCue(int category)
{
    if (playCategoryCue(state_, category) == CueResult::ProgramEnds) {
        closed_ = true;
        releaseVoices();
        return false;
    }
    return !closed_;
}

bool DrillRun::letEventsRun()
{
    if (closed_)
        return false;
    host_.letEventsRun();
    return !closed_;
}

void DrillRun::showMessage(const QString& text)
{
    if (state_.services.messages)
        state_.services.messages->show(text, state_.course.SoftwareName, MessageService::Buttons::Ok,
                                       MessageService::Icon::None);
}

void DrillRun::closeScreen()
{
    closed_ = true;
    screen_.sTimer1Enabled = false;
    releaseVoices();
    host_.closeScreen();
}

void DrillRun::leaveToLevelScreen()
{
    closeScreen();
    if (state_.services.navigator)
        state_.services.navigator->openLevelScreen();
}

void DrillRun::leaveToEndOfDrill()
{
    closeScreen();
    if (state_.services.navigator)
        state_.services.navigator->openEndOfDrill();
}

void DrillRun::failWith(const DataError& error)
{
    if (state_.services.messages)
        state_.services.messages->show(error.message(), QStringLiteral("エラー"), MessageService::Buttons::Ok,
                                       MessageService::Icon::Critical);
    leaveToLevelScreen();
}

} // namespace vc
