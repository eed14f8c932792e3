#include "qtfonts.h"

#include <QStringList>

namespace vc {

QFont uiFont(int pixels, bool bold)
{
    QFont f;
    f.setFamilies({QStringLiteral("Noto Sans CJK JP"), QStringLiteral("MS UI Gothic"), QStringLiteral("sans-serif")});
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

QFont listFont(int pixels)
{
    QFont f;
    f.setFamilies({QStringLiteral("MS Gothic"), QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("monospace")});
    f.setStyleHint(QFont::TypeWriter);
    f.setPixelSize(pixels);
    return f;
}

} // namespace vc
