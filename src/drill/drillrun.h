#pragma once
#include "drill/drillsession.h"

#include <QString>
#include <QStringList>
#include <array>

namespace vc {

struct AppState;
struct RunState;
struct StandardsRow;
class DataError;

// The controls the run gives the keyboard focus to.
enum class DrillControl { Text1, List1, Commandkakunin };

// What the drill screen shows, control by control. The run changes it; the
// screen draws it whenever the run lets events run and after every handler.
struct DrillScreen {
    // Question and answer.
    QString qLabel1;  // the prompt
    QString qLabel2;  // correct answers still needed, between "この問題あと" and "回でクリア"
    QString Text1;    // the answer box
    bool Text1Enabled = true;
    bool Text1ReadOnly = false;
    unsigned Text1BackColor = kLightYellow;  // 0xBBGGRR
    bool Label5Visible = false;   // "音声ヒント＝”＋”"
    bool Label11Visible = false;  // "10文字目からはキーボードで入力してください"
    bool Label12Visible = false;  // "1文字ヒント"
    QString Label6;               // feedback
    bool Label6Visible = false;
    QString seitouLabel;          // the correct answer after a wrong one
    bool seitouLabelVisible = false;
    bool CommandkakuninVisible = false;  // "次へ"
    bool Command2Visible = false;        // "発音を聞く"
    bool Label1Visible = false;          // "もう一度聞く＝”＋”"
    QString Command1Caption = QStringLiteral("ギブアップ(１日５回)");
    bool Command1Enabled = true;

    // Letter tiles.
    bool Picture2Visible = false;
    std::array<QString, kTileCount> Label7{};

    // Choice step.
    bool Picture5Visible = false;
    QStringList List1;
    QString Label13;  // the word picked in the list
    bool Label13Visible = false;

    // Status panel.
    QString sLabel2;  // course title
    double sLabel2PointSize = 16.8;
    QString sLabel7;   // student
    QString sLabel8;   // level
    QString sLabel14;  // school
    QString sLabel13;  // minutes since login
    QString sLabel12;  // today's run number over levels 1..15
    QString sLabel11;  // today's run number on this level
    QString sLabel10;  // elapsed seconds
    QString sLabel9;   // questions left
    // The time bar in the frame's width units; the screen sets the frame width
    // before the run starts.
    double barFrameWidth = 0;
    double targetBandWidth = 0;
    double minimumBandWidth = 0;
    double elapsedBandWidth = 0;

    // The overlay while the run ends.
    bool sPicture2Visible = false;
    bool lblsss1Visible = false;  // "成績記録中"
    bool lblsss2Visible = false;  // "時間切れ"
    // While the record waits for another computer's lock: what the student
    // is told, with the seconds waited; empty otherwise.
    QString lockWaitText;

    bool sTimer1Enabled = false;  // the run clock, every second
};

// What the run needs from the window it runs in.
class DrillHost {
public:
    virtual ~DrillHost() = default;
    // Draws the screen as the run has it, then lets pending events run: keys,
    // clicks and timer ticks, which may call back into the run.
    virtual void letEventsRun() = 0;
    // Lets events run for about `ms` milliseconds.
    virtual void idle(int ms) = 0;
    virtual void giveFocus(DrillControl control) = 0;
    virtual void clearClipboard() = 0;
    virtual void showWaitForm() = 0;
    // Draws the screen as the run has it and lets timers and painting run,
    // but holds back keys and clicks.
    virtual void paintOnly() = 0;
    // The drill screen goes: timers stop and it hides; the navigator is then
    // asked for the next screen.
    virtual void closeScreen() = 0;
};

// The Enter key as the answer box reports it.
inline constexpr QChar kEnterKey = u'\r';

// One drill run on AppState::CurrentLevel: the handlers of the drill screen
// with the rules of question order, answer entry, judging, give-ups, the
// clock and the end of the run. Logs and results go to the files of the
// course folder; sounds, voices, messages and screens through AppState's
// services.
class DrillRun {
public:
    DrillRun(AppState& state, DrillHost& host);
    ~DrillRun();
    DrillRun(const DrillRun&) = delete;
    DrillRun& operator=(const DrillRun&) = delete;

    DrillScreen& screen() { return screen_; }
    const DrillScreen& screen() const { return screen_; }
    DrillSession& session() { return session_; }
    const DrillSession& session() const { return session_; }
    const RunState& run() const;
    // The screen has been left (end of run, give-up, data error, program end):
    // every handler does nothing from now on.
    bool closed() const { return closed_; }

    void Form_Load();
    // Prepares the run and shows the first question.
    void Form_Activate();
    // The screen closes: the voices go.
    void Form_Unload();

    // Keys. Form_KeyPress sees every key first; Text1_KeyPress returns true
    // when the key is swallowed instead of typed.
    void Form_KeyPress(QChar key);
    bool Text1_KeyPress(QChar key);
    void Text1_Change(const QString& text);

    void Label7_Click(int index);  // a letter tile
    void Label9_Click();           // "BS"
    void Label8_Click();           // "判定"
    void List1_Click(int row);
    void List1_DblClick(int row);
    void Command3_Click();         // "OK" of the choice list
    void Command2_Click();         // "発音を聞く"
    void Label1_Click();           // "もう一度聞く＝”＋”"
    void Commandkakunin_Click();   // "次へ"
    void Command1_Click();         // give up
    void sTimer1_Timer();          // the run clock
    void sTimer2_Timer();          // the minute display

    void showStatusPanel();
    void setUpTimeBar();
    void startClock();
    void nextQuestion();
    void endRun();
    void waitThenShowResult(int seconds);

private:
    RunState& runState();
    const StandardsRow* standardsRow() const;
    const QString& levelName() const;
    bool isTimedLevel() const;
    void setText1(const QString& text);
    void setUpGiveUpButton();
    void createVoices();
    void releaseVoices();
    void speakWord(const QString& text);
    // Plays an answer cue to its end; false when the program is ending.
    bool playCue(int category);
    // Lets events run; false when the run was left meanwhile.
    bool letEventsRun();
    void submitAnswer();
    bool logAnswer();
    void judgeAnswer(bool correct);
    void showMessage(const QString& text);
    // Leaves the drill for the level screen, or the end-of-drill screen.
    void leaveToLevelScreen();
    void leaveToEndOfDrill();
    void closeScreen();
    // A file the run needs could not be read or written: says so, leaves the
    // drill for the level screen; the run is not recorded.
    void failWith(const DataError& error);

    AppState& state_;
    DrillHost& host_;
    DrillScreen screen_;
    DrillSession session_;
    bool closed_ = false;
    bool ticking_ = false;
    int voiceGeneration_ = 0;  // counts re-creations of the voices
};

} // namespace vc
