#include "screenscale.h"

#include <algorithm>
#include <cmath>

namespace vc {

ScreenFit fitScreen(QSize available, QSize screen)
{
    ScreenFit fit;
    if (available.width() <= 0 || available.height() <= kTitleBarAllowance)
        return fit;
    const double byWidth = double(available.width()) / kDesignWidth;
    const double byHeight = double(available.height() - kTitleBarAllowance) / kDesignPanelHeight;
    // Rounded down to a step Qt renders cleanly, so the panel still fits whole.
    const double factor = std::floor(std::min(byWidth, byHeight) * 64.0) / 64.0;
    fit.scale = std::clamp(factor, 1.0, 4.0);
    fit.fullScreen = factor < 1.0 && screen.width() >= available.width() && screen.height() >= available.height();
    return fit;
}

} // namespace vc
