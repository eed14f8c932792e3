#pragma once
#include <QSize>

namespace vc {

// Every screen is laid out for a 1024×768 display: its panel at most 1024
// wide and 748 high (what a maximised window kept below its title bar there).
inline constexpr int kDesignWidth = 1024;
inline constexpr int kDesignPanelHeight = 748;
// Room left for the window's title bar above the panel.
inline constexpr int kTitleBarAllowance = 28;

// The one scale of the whole program: the design fitted to the area a
// maximised window gets (task bar excluded), as large as fits whole.
// About 0.99 on 1024×768, a little under 1 on 1366×768 with a task bar,
// about 1.4 on 1920×1080. Never below 0.5 or above 4.
double screenScaleFactor(QSize available);

} // namespace vc
