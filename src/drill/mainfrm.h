#pragma once
#include "drill/drillrun.h"

#include <QPointer>
#include <QWidget>
#include <array>
#include <memory>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTimer;

namespace vc {

struct AppState;
class WaitForm;

// The drill screen: one run on AppState::CurrentLevel. The rules live in
// DrillRun; this window draws DrillRun's screen and passes the user's keys,
// clicks and the timers to it.
class MainFrm : public QWidget, private DrillHost {
    Q_OBJECT
public:
    explicit MainFrm(AppState& state, QWidget* parent = nullptr);
    ~MainFrm() override;

    // Seeds the random source and centres the main panel.
    void Form_Load();
    // Prepares the run and shows the first question; call once the window is shown.
    void Form_Activate();

    DrillRun& drillRun() { return *run_; }
    // Draws the run's screen onto the widgets (done after every handler; a
    // caller that drives drillRun() directly calls it itself).
    void render();

    QWidget* Picture1 = nullptr;  // main panel, centred
    // Question and answer.
    QLabel* qLabel1 = nullptr;
    QLabel* qLabel2 = nullptr;
    QLineEdit* Text1 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label11 = nullptr;
    QLabel* Label12 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* seitouLabel = nullptr;
    QPushButton* Commandkakunin = nullptr;
    QPushButton* Command2 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* Command1 = nullptr;
    // Letter tiles.
    QWidget* Picture2 = nullptr;
    std::array<QLabel*, kTileCount> Label7{};
    QLabel* Label9 = nullptr;  // "BS"
    QLabel* Label8 = nullptr;  // "判定"
    // Choice step.
    QWidget* Picture5 = nullptr;
    QListWidget* List1 = nullptr;
    QPushButton* Command3 = nullptr;
    QLabel* Label13 = nullptr;
    // Status panel and time bar.
    QWidget* sPicture1 = nullptr;
    QLabel* sLabel2 = nullptr;
    QLabel* sLabel7 = nullptr;
    QLabel* sLabel8 = nullptr;
    QLabel* sLabel9 = nullptr;
    QLabel* sLabel10 = nullptr;
    QLabel* sLabel11 = nullptr;
    QLabel* sLabel12 = nullptr;
    QLabel* sLabel13 = nullptr;
    QLabel* sLabel14 = nullptr;
    QWidget* timeFrame = nullptr;
    QWidget* targetBand = nullptr;
    QWidget* minimumBand = nullptr;
    QWidget* elapsedBand = nullptr;
    // The overlay while the run ends.
    QWidget* sPicture2 = nullptr;
    QLabel* lblsss1 = nullptr;
    QLabel* lblsss2 = nullptr;
    QLabel* lblWait = nullptr;  // the wait for another computer's lock
    QTimer* sTimer1 = nullptr;
    QTimer* sTimer2 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    // DrillHost
    void letEventsRun() override;
    void idle(int ms) override;
    void giveFocus(DrillControl control) override;
    void clearClipboard() override;
    void showWaitForm() override;
    void paintOnly() override;
    // The control that holds the keys while a question waits (the answer box,
    // the choice list or "次へ"); null when none should.
    QWidget* keyboardHome() const;
    void keepKeyboardFocus();
    void closeScreen() override;

    void buildQuestionArea();
    void buildTiles();
    void buildChoicePanel();
    void buildStatusPanel();
    void buildOverlay();
    // Runs a handler of the run, then draws the result (unless the window went meanwhile).
    template <typename F>
    void handle(F&& handler);

    AppState& state_;
    std::unique_ptr<DrillRun> run_;
    QPointer<WaitForm> waitForm_;
    bool rendering_ = false;
    bool listMousePressed_ = false;
};

} // namespace vc
