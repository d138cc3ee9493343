// Text in the generated pictures: UTF-8 strings rendered with the installed
// Japanese faces (IPA Gothic / IPA Mincho, found through fontconfig) by FreeType.
#pragma once

#include <string>
#include <vector>

#include "canvas.h"

namespace datagen {

enum class Face { kGothic, kMincho };

struct TextStyle {
  Face face = Face::kGothic;
  int size = 16;                 // pixel height of the em
  Rgba color = Rgba{255, 255, 255, 255};
  Rgba outline = Rgba{0, 0, 0, 0};  // drawn around the glyphs when alpha > 0
  int outlineWidth = 1;
  bool bold = false;             // emboldened strokes
};

// A text style of the given size, face and colour, with the generator's dark
// ink outline unless outline is false.
TextStyle Style(int size, Face face = Face::kGothic, Rgba color = Rgba{255, 255, 255, 255},
                bool outline = true);

// True when both faces could be opened; the generator fails without them.
bool FontsAvailable();
// Width in pixels of the text's advance.
int MeasureText(const std::string& utf8, const TextStyle& style);
// Draws the text with its baseline at y + ascent (so (x, y) is the top-left of the line box).
// Returns the advance width.
int DrawText(Canvas& c, int x, int y, const std::string& utf8, const TextStyle& style);
// Largest size not above style.size (down to 8) at which the text fits maxWidth.
TextStyle FitText(const std::string& utf8, TextStyle style, int maxWidth);
// Draws the text centred horizontally on cx, its line box vertically centred on cy.
void DrawTextCentered(Canvas& c, double cx, double cy, const std::string& utf8, const TextStyle& style);
// Draws the characters one under another, centred on column cx, starting at y; returns the height used.
int DrawTextVertical(Canvas& c, int cx, int y, const std::string& utf8, const TextStyle& style);
// Breaks the text into lines no wider than width (a piece wider than a line alone is
// broken by code points). By words: a line breaks only at a space (dropped there) or
// after a Japanese comma or stop; otherwise between any two code points.
enum class WrapAt { kCodePoints, kWords };
std::vector<std::string> WrapText(const std::string& utf8, const TextStyle& style, int width, WrapAt at);
// Number of UTF-8 code points.
size_t CountCodePoints(const std::string& utf8);

}  // namespace datagen
