// How the program's screens take the school's usual displays.
#include "platform/screenscale.h"

#include <gtest/gtest.h>

using namespace vc;

namespace {

TEST(ScreenScale, TheDesignFillsTheDisplayAndFitsWhole)
{
    struct Case {
        QSize screen;
        QSize available;  // what a maximised window gets, task bar excluded
        double low, high;
        bool fullScreen;
    };
    const Case cases[] = {
        {{1024, 768}, {1024, 768}, 1.0, 1.0, true},    // the design size: no room for a title bar
        {{1366, 768}, {1366, 728}, 1.0, 1.0, true},    // with a 40-pixel task bar
        {{1920, 1080}, {1920, 1080}, 1.35, 1.45, false},  // about 1.4
        {{1920, 1080}, {1920, 1040}, 1.3, 1.4, false},
        {{1280, 1024}, {1280, 1024}, 1.2, 1.25, false},   // 5:4: the width decides
    };
    // The largest panels of the program, in design pixels.
    const QSize panels[] = {{1024, 748}, {1024, 720}, {720, 560}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.available.width() << "x" << c.available.height());
        const ScreenFit fit = fitScreen(c.available, c.screen);
        EXPECT_GE(fit.scale, c.low);
        EXPECT_LE(fit.scale, c.high);
        EXPECT_EQ(fit.fullScreen, c.fullScreen);
        // The area the screens get: the whole display, or a maximised window below its title bar.
        const QSize area = fit.fullScreen ? c.screen : QSize(c.available.width(), c.available.height() - kTitleBarAllowance);
        for (const QSize& p : panels) {
            EXPECT_LE(p.width() * fit.scale, area.width());
            EXPECT_LE(p.height() * fit.scale, area.height());
        }
        // And filling it: one of the two sides is nearly taken up.
        const bool fillsWidth = kDesignWidth * fit.scale >= area.width() - 20;
        const bool fillsHeight = kDesignPanelHeight * fit.scale >= area.height() - 20;
        EXPECT_TRUE(fillsWidth || fillsHeight);
    }
}

TEST(ScreenScale, NonsenseSizesKeepTheDesignScale)
{
    EXPECT_EQ(fitScreen(QSize(), QSize()).scale, 1.0);
    EXPECT_EQ(fitScreen(QSize(100, 20), QSize(100, 20)).scale, 1.0);
    EXPECT_EQ(fitScreen(QSize(20000, 20000), QSize(20000, 20000)).scale, 4.0);  // never above four times
}

} // namespace
