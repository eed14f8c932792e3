#pragma once
#include <QFont>

namespace vc {

// The screens' faces, in design pixels (the program's screen scale applies
// on top). Every screen uses these, so the program reads as one.
//
// The Japanese interface face.
QFont uiFont(int pixels, bool bold = false);
// Lines that line up in columns: a full-width character is exactly two
// half-width ones.
QFont listFont(int pixels);

} // namespace vc
