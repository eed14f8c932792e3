#include "screenscale.h"

#include <algorithm>
#include <cmath>

namespace vc {

double screenScaleFactor(QSize available)
{
    if (available.width() <= 0 || available.height() <= kTitleBarAllowance)
        return 1.0;
    const double byWidth = double(available.width()) / kDesignWidth;
    const double byHeight = double(available.height() - kTitleBarAllowance) / kDesignPanelHeight;
    // Rounded down to a step Qt renders cleanly, so the panel still fits whole.
    const double factor = std::floor(std::min(byWidth, byHeight) * 64.0) / 64.0;
    return std::clamp(factor, 0.5, 4.0);
}

} // namespace vc
