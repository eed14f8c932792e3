#pragma once

class QWidget;

namespace vc {

// Sets the program's one screen scale (screenscale.h) for the screen it
// starts on, before the application object exists: it asks the window
// system for the screen's available area with a short-lived probe, then
// hands the factor to Qt, which scales every window, font and picture by it
// on top of the screen's own device pixel ratio. A scale already set in the
// environment (QT_SCALE_FACTOR) is kept.
void applyScreenScale(int& argc, char** argv);

// Shows a main screen over the whole of its display: maximised, or full
// screen where the design would not fit a maximised window.
void showMainScreen(QWidget* screen);

} // namespace vc
