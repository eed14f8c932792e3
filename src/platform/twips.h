#pragma once
#include <QtGlobal>
#include <cmath>

namespace vc {

// Screen layouts are given in twips (1440 per inch); on screen 15 twips make a
// pixel at 96 dpi. Colours are written 0xBBGGRR in the data.
inline int twipsToPixels(double twips) { return static_cast<int>(std::lround(twips / 15.0)); }
inline double pixelsToTwips(int pixels) { return pixels * 15.0; }

inline unsigned bgrToRgb(unsigned bgr)
{
    return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
}

} // namespace vc
