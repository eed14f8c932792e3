#include "qtscreenscale.h"

#include "screenscale.h"

#include <QByteArray>
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace vc {
namespace {

// Decided once, with the scale, from the display in its own pixels.
bool fullScreenScreens = false;

} // namespace

void applyScreenScale(int& argc, char** argv)
{
    if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR"))
        return;
    ScreenFit fit;
    {
        QGuiApplication probe(argc, argv);
        QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
        if (!screen)
            screen = QGuiApplication::primaryScreen();
        // In the display's own device-independent pixels: a high-density
        // display's pixel ratio stays on top of this scale.
        if (screen)
            fit = fitScreen(screen->availableGeometry().size(), screen->geometry().size());
    }
    fullScreenScreens = fit.fullScreen;
    qputenv("QT_SCALE_FACTOR", QByteArray::number(fit.scale, 'f', 4));
}

void showMainScreen(QWidget* screen)
{
    if (fullScreenScreens)
        screen->showFullScreen();
    else
        screen->showMaximized();
}

} // namespace vc
