// The number drawers (one digit graph per place at a fixed pitch) and the
// name-glyph drawer.
#include "shell/gamemath.h"
#include "library/tesra.h"

namespace {

void DrawDigits(int count, const uint8_t* places, int32_t x, int32_t y, int32_t pitch,
                const int32_t* table) {
  for (int i = 0; i < count; ++i) {
    ApiDrawGraphAt(x, y, table[places[i]], 1);
    x += pitch;
  }
}

}  // namespace

void DrawNumber(int32_t digits, int32_t x, int32_t y, uint32_t value, const int32_t* table) {
  uint8_t places[10];
  DrawDigits(NumberDigits(digits, value, places), places, x, y, 12, table);
}

void DrawNumberSmall(int32_t digits, int32_t x, int32_t y, int32_t value, const int32_t* table) {
  uint8_t places[10];
  DrawDigits(SmallNumberDigits(digits, value, places), places, x, y, 6, table);
}

void DrawNameGlyph(int32_t x, int32_t y, uint32_t cell, const int32_t* glyphTable) {
  if (!IsNameGlyphCell(cell)) return;
  ApiDrawGraphAt(x, y, glyphTable[cell], 1);
}
