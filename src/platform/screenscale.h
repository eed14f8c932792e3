#pragma once
#include <QSize>

namespace vc {

// Every screen is laid out for a 1024×768 display: its panel at most 1024
// wide and 748 high (what a maximised window kept below its title bar there).
inline constexpr int kDesignWidth = 1024;
inline constexpr int kDesignPanelHeight = 748;
// Room left for the window's title bar above the panel.
inline constexpr int kTitleBarAllowance = 28;

// How the program's screens take the display.
struct ScreenFit {
    // The one scale of the whole program: the design fitted to the area a
    // maximised window gets (task bar excluded), as large as fits whole;
    // about 1.4 on 1920×1080. Never below 1: Qt 6.4's widgets clip their
    // text when drawn at a device pixel ratio under 1, so a display smaller
    // than the design is not shrunk to but taken whole (below).
    double scale = 1.0;
    // The design does not fit a maximised window (1024×768, or 1366×768 with
    // a task bar): the main screens open full screen, over the task bar.
    bool fullScreen = false;
};

// `available`: what a maximised window gets; `screen`: the whole display.
ScreenFit fitScreen(QSize available, QSize screen);

} // namespace vc
