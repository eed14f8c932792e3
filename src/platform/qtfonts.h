#pragma once
#include <QFont>
#include <QRect>
#include <QString>

class QLabel;
class QPushButton;
class QWidget;

namespace vc {

// The screens' faces, in design pixels (the program's screen scale applies
// on top). Every screen uses these, so the program reads as one.
//
// The Japanese interface face.
QFont uiFont(int pixels, bool bold = false);
// Lines that line up in columns: a full-width character is exactly two
// half-width ones.
QFont listFont(int pixels);

// A label and a button in the interface face, named and placed in design pixels.
QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text, const QRect& at, int pixels, bool bold = false);
QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption, const QRect& at, int pixels = 17);

} // namespace vc
