#include "qtfonts.h"

#include <QLabel>
#include <QPushButton>
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

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text, const QRect& at, int pixels, bool bold)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFont(uiFont(pixels, bold));
    label->setGeometry(at);
    return label;
}

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption, const QRect& at, int pixels)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setFont(uiFont(pixels));
    button->setGeometry(at);
    return button;
}

} // namespace vc
