// Shared math and hit tests of the game: float wrappers of the trigonometric
// and square-root functions (computed in double, rounded once), the strict
// circle and laser hit tests, and the fixed-width number drawers.
#pragma once
#include <cstdint>

float FloatAtan2(float y, float x);
float FloatCos(float angle);
float FloatSin(float angle);
float FloatSqrt(float value);

// Circles of radii r1, r2 hit when (r1 + r2)^2 > distance^2 (touching misses).
bool HitTestCircles(int32_t r1, int32_t r2, float x1, float y1, float x2, float y2);

// A laser: a segment from (lx, ly) along angleDegrees of the given length,
// thickened to a capsule of half-width width / 2, against a target circle.
bool HitTestLaser(float px, float py, int32_t r, float lx, float ly, float angleDegrees,
                  float length, float width);

// Exactly digits digits, leading zeros drawn, from a table of 10 graph
// handles: 12 pixels apart, or 6 for the small drawer. A value that does not
// fit draws as all nines; a negative small value as zeros.
void DrawNumber(int32_t digits, int32_t x, int32_t y, uint32_t value, const int32_t* table);
void DrawNumberSmall(int32_t digits, int32_t x, int32_t y, int32_t value, const int32_t* table);

// The digit indices DrawNumber and DrawNumberSmall draw, most significant
// first; returns the count written (0 for digits <= 0, at most 10).
int NumberDigits(int32_t digits, uint32_t value, uint8_t* out);
int SmallNumberDigits(int32_t digits, int32_t value, uint8_t* out);

// Name glyphs: cells 0-103 of the glyph alphabet (101 blank, 102 end mark,
// 103 cursor frame). A cell above 103, as a damaged file may hold, draws
// nothing.
constexpr uint32_t kNameGlyphCount = 104;
inline bool IsNameGlyphCell(uint32_t cell) { return cell < kNameGlyphCount; }
void DrawNameGlyph(int32_t x, int32_t y, uint32_t cell, const int32_t* glyphTable);
