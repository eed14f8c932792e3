#pragma once
#include <QWidget>

class QLabel;
class QPushButton;

namespace vc {

struct AppState;

// The name-selection screen, the program's home screen.
class namesel : public QWidget {
    Q_OBJECT
public:
    explicit namesel(AppState& state, QWidget* parent = nullptr);
    // Returns false when this instance was refused (another one runs).
    bool Form_Load();

    QLabel* Label4 = nullptr;
    QPushButton* Command7 = nullptr;

    void Command7_Click();
    void Label4_Click();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    AppState& state_;
    QWidget* Picture12 = nullptr;
};

} // namespace vc
