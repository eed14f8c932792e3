#pragma once
#include "startup/navigator.h"

#include <QPointer>
#include <functional>
#include <QWidget>

namespace vc {

struct AppState;

// Opens the screens: each main screen replaces the one before it and is built
// afresh every time it is shown.
class AppNavigator : public Navigator {
public:
    // `quit` ends the program; by default it leaves the event loop with the status.
    explicit AppNavigator(AppState& state, std::function<void(int)> quit = {});
    void openNameSelection() override;
    void openLevelScreen() override;
    void openDrill() override;
    void openEndOfDrill() override;
    void openResultsAdmin() override;
    void openStandardsEditor() override;
    void openFlashCards() override;
    void quitProgram(int status) override;
    QWidget* current() const { return current_; }
    bool quitting() const { return quitting_; }

private:
    void replace(QWidget* next);
    AppState& state_;
    std::function<void(int)> quit_;
    QPointer<QWidget> current_;
    bool quitting_ = false;
};

} // namespace vc
