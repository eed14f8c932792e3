// The program's one screen scale for the school's usual displays.
#include "platform/screenscale.h"

#include <gtest/gtest.h>

using namespace vc;

namespace {

TEST(ScreenScale, FitsTheDesignIntoTheAvailableArea)
{
    struct Case {
        QSize available;  // what a maximised window gets, task bar excluded
        double low, high;
    };
    const Case cases[] = {
        {{1024, 768}, 0.97, 1.0},   // about the design size
        {{1366, 728}, 0.9, 0.99},   // 1366×768 with a 40-pixel task bar: a little under 1
        {{1920, 1080}, 1.35, 1.45}, // about 1.4
        {{1280, 1024}, 1.2, 1.25},  // 5:4: the width decides
    };
    // The largest panels of the program, in design pixels.
    const QSize panels[] = {{1024, 748}, {1024, 720}, {720, 560}};
    for (const Case& c : cases) {
        const double f = screenScaleFactor(c.available);
        EXPECT_GE(f, c.low) << c.available.width() << "x" << c.available.height();
        EXPECT_LE(f, c.high) << c.available.width() << "x" << c.available.height();
        for (const QSize& p : panels) {
            // Wholly inside the area, below a title bar.
            EXPECT_LE(p.width() * f, c.available.width());
            EXPECT_LE(p.height() * f + kTitleBarAllowance, c.available.height());
        }
        // And filling it: one of the two sides is nearly taken up.
        const bool fillsWidth = kDesignWidth * f >= c.available.width() - 20;
        const bool fillsHeight = kDesignPanelHeight * f + kTitleBarAllowance >= c.available.height() - 20;
        EXPECT_TRUE(fillsWidth || fillsHeight) << c.available.width() << "x" << c.available.height();
    }
}

TEST(ScreenScale, NonsenseSizesKeepTheDesignScale)
{
    EXPECT_EQ(screenScaleFactor(QSize()), 1.0);
    EXPECT_EQ(screenScaleFactor(QSize(0, 0)), 1.0);
    EXPECT_EQ(screenScaleFactor(QSize(100, 20)), 1.0);
    EXPECT_EQ(screenScaleFactor(QSize(200, 150)), 0.5);    // never below half
    EXPECT_EQ(screenScaleFactor(QSize(20000, 20000)), 4.0);  // nor above four times
}

} // namespace
