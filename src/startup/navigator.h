#pragma once

namespace vc {

// Who opens which screen. Screens ask the navigator instead of including each
// other, so the level screen → drill → end-of-drill → level screen cycle stays
// out of the include graph.
class Navigator {
public:
    virtual ~Navigator() = default;
    virtual void openNameSelection() = 0;
    virtual void openLevelScreen() = 0;
    // The drill screen on CurrentLevel; startDrill (drill/runstate.h) resets
    // the run values first and then asks for it.
    virtual void openDrill() {}
    // The end-of-drill screen after a recorded run.
    virtual void openEndOfDrill() {}
    // The teacher's screens: results administration and the standards editor.
    virtual void openResultsAdmin() {}
    virtual void openStandardsEditor() {}
    // The flash-card screen, from "練習" on the level screen.
    virtual void openFlashCards() {}
    // Ends the program at once with the given exit status.
    virtual void quitProgram(int status) = 0;
};

} // namespace vc
