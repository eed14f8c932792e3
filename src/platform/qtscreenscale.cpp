#include "qtscreenscale.h"

#include "screenscale.h"

#include <QByteArray>
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

namespace vc {

void applyScreenScale(int& argc, char** argv)
{
    if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR"))
        return;
    double factor = 1.0;
    {
        QGuiApplication probe(argc, argv);
        QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
        if (!screen)
            screen = QGuiApplication::primaryScreen();
        if (screen)
            factor = screenScaleFactor(screen->availableGeometry().size());
    }
    qputenv("QT_SCALE_FACTOR", QByteArray::number(factor, 'f', 4));
}

} // namespace vc
