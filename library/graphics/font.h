// Fonts: FreeType faces found through fontconfig, font handles, the glyph
// cache and the string drawer (CP932 text, drawn through the software blit so
// that the blend mode and parameter apply).
#pragma once
#include <cstdint>
#include <string>

// (face name in CP932, pixel height or -1, thickness 0-9 or -1, font type)
// -> font handle or -1. "ＭＳ ゴシック" finds a Gothic face, "ＭＳ 明朝" a Mincho one.
int CreateFontInner(const char* faceName, int size, int thickness, int fontType);
int DeleteFontInner(int font);
void DeleteAllFonts();
int CountFonts();
// The file of the face a name resolves to ("" when none).
std::string ResolveFontFile(const char* faceNameCp932, int* faceIndex);
// Draws text with its top-left at (x, y); color is a pixel value of the screen
// format. -1 (logged) for a bad font handle.
int DrawTextInner(int x, int y, const char* text, uint32_t color, int font, uint32_t edgeColor);
// Width in pixels of the first length bytes (a double-byte character is
// never cut in half; length -1 = up to the terminating zero). -1 for a bad handle.
int MeasureTextInner(const char* text, int length, int font);
// The font's line height in pixels (-1 for a bad handle).
int FontLineHeight(int font);
