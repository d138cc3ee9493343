#include "pixfont.h"

#include <cctype>

namespace datagen {

namespace {

// Rows of 3 bits, top row first (bit 2 = left column).
struct Glyph35 {
  char ch;
  unsigned char rows[5];
};

const Glyph35 kFont35[] = {
    {'0', {7, 5, 5, 5, 7}}, {'1', {2, 6, 2, 2, 7}}, {'2', {7, 1, 7, 4, 7}}, {'3', {7, 1, 7, 1, 7}},
    {'4', {5, 5, 7, 1, 1}}, {'5', {7, 4, 7, 1, 7}}, {'6', {7, 4, 7, 5, 7}}, {'7', {7, 1, 1, 2, 2}},
    {'8', {7, 5, 7, 5, 7}}, {'9', {7, 5, 7, 1, 7}}, {'A', {2, 5, 7, 5, 5}}, {'B', {6, 5, 6, 5, 6}},
    {'C', {3, 4, 4, 4, 3}}, {'D', {6, 5, 5, 5, 6}}, {'E', {7, 4, 6, 4, 7}}, {'F', {7, 4, 6, 4, 4}},
    {'G', {3, 4, 5, 5, 3}}, {'H', {5, 5, 7, 5, 5}}, {'I', {7, 2, 2, 2, 7}}, {'J', {1, 1, 1, 5, 2}},
    {'K', {5, 5, 6, 5, 5}}, {'L', {4, 4, 4, 4, 7}}, {'M', {5, 7, 7, 5, 5}}, {'N', {6, 5, 5, 5, 5}},
    {'O', {2, 5, 5, 5, 2}}, {'P', {6, 5, 6, 4, 4}}, {'Q', {2, 5, 5, 6, 3}}, {'R', {6, 5, 6, 5, 5}},
    {'S', {3, 4, 2, 1, 6}}, {'T', {7, 2, 2, 2, 2}}, {'U', {5, 5, 5, 5, 7}}, {'V', {5, 5, 5, 5, 2}},
    {'W', {5, 5, 7, 7, 5}}, {'X', {5, 5, 2, 5, 5}}, {'Y', {5, 5, 2, 2, 2}}, {'Z', {7, 1, 2, 4, 7}},
    {'.', {0, 0, 0, 0, 2}}, {'/', {1, 1, 2, 4, 4}}, {':', {0, 2, 0, 2, 0}}, {'-', {0, 0, 7, 0, 0}},
    {'!', {2, 2, 2, 0, 2}}, {'?', {6, 1, 2, 0, 2}}, {' ', {0, 0, 0, 0, 0}},
};

const unsigned char* Find35(char ch) {
  const char up = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  for (const Glyph35& g : kFont35)
    if (g.ch == up) return g.rows;
  return nullptr;
}

// 5 x 7 rows, bit 4 = left column.
struct Glyph57 {
  char ch;
  unsigned char rows[7];
};
const Glyph57 kFont57[] = {
    {'0', {14, 17, 19, 21, 25, 17, 14}}, {'1', {4, 12, 4, 4, 4, 4, 14}},  {'2', {14, 17, 1, 2, 4, 8, 31}},
    {'3', {31, 2, 4, 2, 1, 17, 14}},     {'4', {2, 6, 10, 18, 31, 2, 2}}, {'5', {31, 16, 30, 1, 1, 17, 14}},
    {'6', {6, 8, 16, 30, 17, 17, 14}},   {'7', {31, 1, 2, 4, 8, 8, 8}},   {'8', {14, 17, 17, 14, 17, 17, 14}},
    {'9', {14, 17, 17, 15, 1, 2, 12}},   {'.', {0, 0, 0, 0, 0, 12, 12}},  {'/', {1, 1, 2, 4, 8, 16, 16}},
    {':', {0, 12, 12, 0, 12, 12, 0}},    {'-', {0, 0, 0, 31, 0, 0, 0}},
};

}  // namespace

int PixelTextWidth(const std::string& text, int scale) {
  return static_cast<int>(text.size()) * 4 * scale - (text.empty() ? 0 : scale);
}

int DrawPixelText(Canvas& c, int x, int y, const std::string& text, Rgba color, int scale) {
  int pen = x;
  for (char ch : text) {
    const unsigned char* rows = Find35(ch);
    if (rows) {
      for (int r = 0; r < 5; ++r)
        for (int b = 0; b < 3; ++b)
          if (rows[r] & (4 >> b)) c.BlendRect(pen + b * scale, y + r * scale, scale, scale, color);
    }
    pen += 4 * scale;
  }
  return pen - x;
}

void DrawPixelDigit57(Canvas& c, int x, int y, char ch, Rgba color) {
  for (const Glyph57& g : kFont57) {
    if (g.ch != ch) continue;
    for (int r = 0; r < 7; ++r)
      for (int b = 0; b < 5; ++b)
        if (g.rows[r] & (16 >> b)) c.Blend(x + b, y + r, color);
    return;
  }
}

}  // namespace datagen
