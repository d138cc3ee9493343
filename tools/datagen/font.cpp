#include "font.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cstdio>
#include <vector>

namespace datagen {

namespace {

struct FontState {
  FT_Library lib = nullptr;
  FT_Face faces[2] = {nullptr, nullptr};
  bool tried = false;
  bool ok = false;
};

FontState& State() {
  static FontState s;
  return s;
}

std::string FindFontFile(const char* family) {
  std::string path;
  FcConfig* config = FcInitLoadConfigAndFonts();
  if (!config) return path;
  FcPattern* pat = FcNameParse(reinterpret_cast<const FcChar8*>(family));
  FcConfigSubstitute(config, pat, FcMatchPattern);
  FcDefaultSubstitute(pat);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(config, pat, &result);
  if (match) {
    FcChar8* file = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file)
      path = reinterpret_cast<const char*>(file);
    FcPatternDestroy(match);
  }
  FcPatternDestroy(pat);
  FcConfigDestroy(config);
  return path;
}

bool Init() {
  FontState& s = State();
  if (s.tried) return s.ok;
  s.tried = true;
  if (FT_Init_FreeType(&s.lib) != 0) {
    std::fprintf(stderr, "datagen: FreeType could not start\n");
    return false;
  }
  const char* families[2] = {"IPAGothic:lang=ja", "IPAMincho:lang=ja"};
  for (int i = 0; i < 2; ++i) {
    const std::string file = FindFontFile(families[i]);
    if (file.empty() || FT_New_Face(s.lib, file.c_str(), 0, &s.faces[i]) != 0) {
      std::fprintf(stderr, "datagen: no Japanese font for %s\n", families[i]);
      return false;
    }
  }
  s.ok = true;
  return true;
}

std::vector<uint32_t> Decode(const std::string& s) {
  std::vector<uint32_t> out;
  for (size_t i = 0; i < s.size();) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    uint32_t cp = 0;
    int n = 0;
    if (c < 0x80) { cp = c; n = 1; }
    else if ((c & 0xE0) == 0xC0) { cp = c & 0x1F; n = 2; }
    else if ((c & 0xF0) == 0xE0) { cp = c & 0x0F; n = 3; }
    else if ((c & 0xF8) == 0xF0) { cp = c & 0x07; n = 4; }
    else { ++i; continue; }
    if (i + n > s.size()) break;
    for (int k = 1; k < n; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    out.push_back(cp);
    i += n;
  }
  return out;
}

FT_Face Prepare(const TextStyle& st) {
  if (!Init()) return nullptr;
  FT_Face f = State().faces[st.face == Face::kGothic ? 0 : 1];
  FT_Set_Pixel_Sizes(f, 0, static_cast<FT_UInt>(std::max(4, st.size)));
  return f;
}

// Renders one glyph to an 8-bit coverage bitmap; returns the advance in pixels.
int RenderGlyph(FT_Face f, uint32_t cp, const TextStyle& st, std::vector<uint8_t>& bits, int& w, int& h,
                int& left, int& top) {
  w = h = left = top = 0;
  bits.clear();
  if (FT_Load_Char(f, cp, FT_LOAD_NO_BITMAP) != 0) return st.size / 2;
  if (st.bold && f->glyph->format == FT_GLYPH_FORMAT_OUTLINE)
    FT_Outline_Embolden(&f->glyph->outline, std::max<FT_Pos>(32, st.size * 3));
  if (FT_Render_Glyph(f->glyph, FT_RENDER_MODE_NORMAL) != 0) return static_cast<int>(f->glyph->advance.x >> 6);
  const FT_Bitmap& bm = f->glyph->bitmap;
  w = static_cast<int>(bm.width);
  h = static_cast<int>(bm.rows);
  left = f->glyph->bitmap_left;
  top = f->glyph->bitmap_top;
  bits.resize(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) bits[static_cast<size_t>(y) * w + x] = bm.buffer[y * bm.pitch + x];
  return static_cast<int>(f->glyph->advance.x >> 6);
}

int Ascent(FT_Face f) { return static_cast<int>(f->size->metrics.ascender >> 6); }
int LineHeight(FT_Face f) {
  return static_cast<int>((f->size->metrics.ascender - f->size->metrics.descender) >> 6);
}

void PaintGlyph(Canvas& c, int ox, int oy, const std::vector<uint8_t>& bits, int w, int h,
                const TextStyle& st) {
  if (st.outline.a > 0) {
    const int r = st.outlineWidth;
    for (int y = -r; y < h + r; ++y)
      for (int x = -r; x < w + r; ++x) {
        int best = 0;
        for (int dy = -r; dy <= r; ++dy)
          for (int dx = -r; dx <= r; ++dx) {
            const int sx = x + dx, sy = y + dy;
            if (sx < 0 || sy < 0 || sx >= w || sy >= h) continue;
            best = std::max<int>(best, bits[static_cast<size_t>(sy) * w + sx]);
          }
        if (best) c.Blend(ox + x, oy + y, st.outline, best / 255.0);
      }
  }
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint8_t v = bits[static_cast<size_t>(y) * w + x];
      if (v) c.Blend(ox + x, oy + y, st.color, v / 255.0);
    }
}

}  // namespace

bool FontsAvailable() { return Init(); }

size_t CountCodePoints(const std::string& utf8) { return Decode(utf8).size(); }

int MeasureText(const std::string& utf8, const TextStyle& st) {
  FT_Face f = Prepare(st);
  if (!f) return 0;
  int width = 0;
  for (uint32_t cp : Decode(utf8)) {
    if (FT_Load_Char(f, cp, FT_LOAD_NO_BITMAP) == 0) width += static_cast<int>(f->glyph->advance.x >> 6);
    else width += st.size / 2;
  }
  return width + (st.outline.a > 0 ? 2 * st.outlineWidth : 0);
}

int DrawText(Canvas& c, int x, int y, const std::string& utf8, const TextStyle& st) {
  FT_Face f = Prepare(st);
  if (!f) return 0;
  const int base = y + Ascent(f) + (st.outline.a > 0 ? st.outlineWidth : 0);
  int pen = x + (st.outline.a > 0 ? st.outlineWidth : 0);
  std::vector<uint8_t> bits;
  for (uint32_t cp : Decode(utf8)) {
    int w, h, left, top;
    const int adv = RenderGlyph(f, cp, st, bits, w, h, left, top);
    PaintGlyph(c, pen + left, base - top, bits, w, h, st);
    pen += adv;
  }
  return pen - x;
}

std::vector<std::string> WrapText(const std::string& utf8, const TextStyle& st, int width, WrapAt at) {
  // The pieces a line may break between: code points, or words with a space as a piece of its own.
  std::vector<std::string> pieces;
  bool open = false;  // the last piece is a word that may go on
  for (size_t i = 0; i < utf8.size();) {
    const unsigned char c = static_cast<unsigned char>(utf8[i]);
    const size_t n = std::min(utf8.size() - i, size_t{c < 0x80 ? 1u : ((c & 0xE0) == 0xC0 ? 2u : ((c & 0xF0) == 0xE0 ? 3u : 4u))});
    const std::string cp = utf8.substr(i, n);
    i += n;
    const bool space = cp == " " || cp == "\u3000";
    if (at == WrapAt::kWords && open && !space) {
      pieces.back() += cp;
    } else {
      pieces.push_back(cp);
    }
    open = at == WrapAt::kWords && !space && cp != "\u3001" && cp != "\u3002" && cp != "\uFF01" && cp != "\uFF1F";
  }
  std::vector<std::string> lines;
  std::string line;
  auto finish = [&] {
    for (;;) {  // no space at a line's end
      if (!line.empty() && line.back() == ' ') line.pop_back();
      else if (line.size() >= 3 && line.compare(line.size() - 3, 3, "\u3000") == 0) line.resize(line.size() - 3);
      else break;
    }
    if (!line.empty()) lines.push_back(line);
    line.clear();
  };
  for (const std::string& p : pieces) {
    if (p == " " || p == "\u3000") {
      if (!line.empty()) line += p;
      continue;
    }
    if (!line.empty() && MeasureText(line + p, st) > width) finish();
    // A code point wider than the line goes on a line of its own.
    if (at == WrapAt::kCodePoints || MeasureText(p, st) <= width) {
      line += p;
      continue;
    }
    for (const std::string& cp : WrapText(p, st, width, WrapAt::kCodePoints)) {
      if (!line.empty()) finish();
      line = cp;
    }
  }
  finish();
  return lines;
}

TextStyle FitText(const std::string& utf8, TextStyle st, int maxWidth) {
  while (st.size > 8 && MeasureText(utf8, st) > maxWidth) --st.size;
  return st;
}

void DrawTextCentered(Canvas& c, double cx, double cy, const std::string& utf8, const TextStyle& st) {
  FT_Face f = Prepare(st);
  if (!f) return;
  const int w = MeasureText(utf8, st);
  const int lh = LineHeight(f) + (st.outline.a > 0 ? 2 * st.outlineWidth : 0);
  DrawText(c, static_cast<int>(cx - w / 2.0), static_cast<int>(cy - lh / 2.0), utf8, st);
}

int DrawTextVertical(Canvas& c, int cx, int y, const std::string& utf8, const TextStyle& st) {
  FT_Face f = Prepare(st);
  if (!f) return 0;
  int pen = y;
  std::vector<uint8_t> bits;
  const int step = st.size + 2;
  for (uint32_t cp : Decode(utf8)) {
    int w, h, left, top;
    if (cp == ' ' || cp == 0x3000) { pen += step / 2; continue; }
    RenderGlyph(f, cp, st, bits, w, h, left, top);
    // Centre each glyph's ink in its square cell.
    PaintGlyph(c, cx - w / 2, pen + (step - h) / 2, bits, w, h, st);
    pen += step;
  }
  return pen - y;
}

TextStyle Style(int size, Face face, Rgba color, bool outline) {
  TextStyle st;
  st.size = size;
  st.face = face;
  st.color = color;
  if (outline) st.outline = Rgba{20, 16, 40, 255};
  return st;
}

}  // namespace datagen
