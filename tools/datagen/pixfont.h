// Two tiny bitmap fonts for text too small for outlines: 3 x 5 capitals and
// digits (labels, debug indices) and 5 x 7 digits (the status display's small numbers).
#pragma once

#include <string>

#include "canvas.h"

namespace datagen {

// Draws text in the 3 x 5 font (upper case, digits, a few signs), each dot scale x scale,
// 4 x scale pixels per character. Returns the width drawn.
int DrawPixelText(Canvas& c, int x, int y, const std::string& text, Rgba color, int scale = 1);
int PixelTextWidth(const std::string& text, int scale = 1);
// Draws a 5 x 7 glyph: digits '0'-'9', '.', '/', ':', '-'.
void DrawPixelDigit57(Canvas& c, int x, int y, char ch, Rgba color);

}  // namespace datagen
