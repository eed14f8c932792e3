#pragma once
#include <QWidget>

class QLabel;
class QPushButton;
class QTimer;

namespace vc {

struct AppState;

// The end-of-drill screen: the result of the run just recorded, its points,
// today's counts and any new record, with their cues; then the way back to
// the level screen and, unless the student must move on, a retry.
class FrmSyuuryou : public QWidget {
    Q_OBJECT
public:
    explicit FrmSyuuryou(AppState& state, QWidget* parent = nullptr);

    // Centres the panel and shows the screen.
    void Form_Load();
    // Fills the screen from a new statistics pass and plays the cues; once
    // per showing.
    void Form_Activate();
    // Settles the screen: the buttons appear.
    void Timer1_Timer();
    void Command4_Click();
    void Command5_Click();

    QWidget* Picture4 = nullptr;
    QLabel* Label15 = nullptr;  // course title
    QLabel* Label16 = nullptr;  // level name
    QLabel* Label17 = nullptr;  // student name
    QLabel* Label18 = nullptr;  // result line
    QLabel* Label19 = nullptr;  // points line
    QLabel* Label13 = nullptr;  // today's runs on this level
    QLabel* Label14 = nullptr;  // today's runs on all levels
    QLabel* Label20 = nullptr;  // record message
    QWidget* Picture1 = nullptr;  // target-level panel
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;  // move-on message
    QPushButton* Command4 = nullptr;  // "メニューへ"
    QPushButton* Command5 = nullptr;  // "もう一度"
    QTimer* Timer1 = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // Lets pending events run; false when the screen went meanwhile.
    bool letEventsRun();

    AppState& state_;
    bool activated_ = false;
    bool leaving_ = false;
    bool activating_ = false;  // Form_Activate (with its cues) is under way
    bool settleDue_ = false;   // Timer1 fired meanwhile

};

} // namespace vc
