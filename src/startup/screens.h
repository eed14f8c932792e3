#pragma once
#include <QDialog>
#include <QWidget>

class QLabel;
class QPushButton;
class QTimer;

namespace vc {

struct AppState;

// Fills a QPalette background from a 0xBBGGRR colour.
void setBackColor(QWidget* widget, unsigned bgr);
// Moves `child` to the middle of the screen that shows `window`.
void centreOnScreen(QWidget* window, QWidget* child);

// The splash shown while the program starts.
class Firstfrm : public QWidget {
    Q_OBJECT
public:
    explicit Firstfrm(AppState& state, QWidget* parent = nullptr);
    // Shows the splash, sets the date and the season colour, and arms Timer1.
    void Form_Load();
    QTimer* Timer1 = nullptr;

signals:
    // Timer1's first tick: the start-up work is to run now.
    void startupDue();

protected:
    void showEvent(QShowEvent* event) override;

private:
    AppState& state_;
    QLabel* Picture1 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label19 = nullptr;
};

// "Just a moment, please." shown by screens while they do slow work.
class WaitForm : public QWidget {
    Q_OBJECT
public:
    explicit WaitForm(QWidget* parent = nullptr);
    void Form_Load();

private:
    QLabel* Picture1 = nullptr;
};

// The version dialog.
class frmver : public QDialog {
    Q_OBJECT
public:
    explicit frmver(AppState& state, QWidget* parent = nullptr);
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* Command1 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    AppState& state_;
};

} // namespace vc
