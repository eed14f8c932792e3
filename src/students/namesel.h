#pragma once
#include "students/namelist.h"

#include <QWidget>
#include <array>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTextBrowser;

namespace vc {

struct AppState;

// The name-selection screen, the program's home screen: the student picks
// their own name from the roster and confirms it.
class namesel : public QWidget {
    Q_OBJECT
public:
    explicit namesel(AppState& state, QWidget* parent = nullptr);
    // Lays out, refuses a second instance, builds the list and becomes
    // active. Returns false when the program is ending instead (another
    // instance runs, or the roster could not be read).
    bool Form_Load();
    void Form_Activate();

    QWidget* Picture12 = nullptr;
    QWidget* Picture5 = nullptr;
    QLabel* Label19 = nullptr;
    QLabel* Label4 = nullptr;
    QComboBox* Combo1 = nullptr;
    QListWidget* List1 = nullptr;
    QListWidget* List2 = nullptr;
    QListWidget* List3 = nullptr;
    std::array<QRadioButton*, 4> Option1{};
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* Command14 = nullptr;
    QPushButton* Command7 = nullptr;
    QTextBrowser* WebBrowser2 = nullptr;
    // The teacher's warning when the data folder cannot be shared safely.
    QLabel* ShareWarning = nullptr;

    void List1_Click();
    void List1_DblClick();
    void Combo1_Click();
    void Option1_Click(int index);
    void Command14_Click();
    void Command7_Click();
    void Label4_Click();

    DisplayMode displayMode() const { return DisplayMode_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Rebuilds List1, List2 and List3; false when the program is ending.
    bool buildNameList();
    void showNotice();
    // Keys the window sees before its controls: "1" confirms, "0" leaves.
    bool windowKey(const QString& text);

    AppState& state_;
    DisplayMode DisplayMode_ = DisplayMode::RunsTodayAndSoFar;
    bool ending_ = false;
};

} // namespace vc
