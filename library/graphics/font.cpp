// Fonts through FreeType and fontconfig.
#include "graphics/font.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cstring>
#include <memory>
#include <unordered_map>
#include <vector>

#include "core/log.h"
#include "core/sjis.h"
#include "graphics/graph_ops.h"
#include "graphics/graph_registry.h"
#include "graphics/image_convert.h"
#include "graphics/screen.h"
#include "graphics/slot_table.h"
#include "softrender/softrender.h"

namespace {

struct Glyph {
  int32_t width = 0, rows = 0;  // coverage bitmap size
  int32_t left = 0, top = 0;    // bitmap offset from the pen (top: above the baseline)
  int32_t advance = 0;          // pixels
  std::vector<uint8_t> coverage;
};

struct Font {
  FT_Face face = nullptr;
  int32_t size = 16;
  int32_t thickness = 6;
  int32_t antialias = 1;
  int32_t ascender = 0;
  int32_t lineHeight = 0;
  std::unordered_map<uint32_t, Glyph> cache;  // by CP932 code
  ~Font() {
    if (face) FT_Done_Face(face);
  }
};

FT_Library g_freetype = nullptr;

SlotTable<Font>& Fonts() {
  static SlotTable<Font> table(FontHandleKind);
  return table;
}

bool StartFreeType() {
  if (g_freetype) return true;
  return FT_Init_FreeType(&g_freetype) == 0;
}

// The Unicode code point of one CP932 character (1 or 2 bytes).
uint32_t CodePointOf(const char* character, int length) {
  char buffer[3] = {character[0], length > 1 ? character[1] : '\0', '\0'};
  const std::string utf8 = Cp932ToUtf8(buffer);
  const unsigned char* u = reinterpret_cast<const unsigned char*>(utf8.c_str());
  if (u[0] < 0x80) return u[0];
  if ((u[0] & 0xE0) == 0xC0 && u[1]) return ((u[0] & 0x1F) << 6) | (u[1] & 0x3F);
  if ((u[0] & 0xF0) == 0xE0 && u[1] && u[2])
    return ((u[0] & 0x0F) << 12) | ((u[1] & 0x3F) << 6) | (u[2] & 0x3F);
  if ((u[0] & 0xF8) == 0xF0 && u[1] && u[2] && u[3])
    return ((u[0] & 0x07) << 18) | ((u[1] & 0x3F) << 12) | ((u[2] & 0x3F) << 6) | (u[3] & 0x3F);
  return '?';
}

const Glyph* GlyphOf(Font* font, const char* character, int length) {
  const uint32_t code = length > 1 ? (static_cast<uint8_t>(character[0]) << 8) |
                                         static_cast<uint8_t>(character[1])
                                   : static_cast<uint8_t>(character[0]);
  auto found = font->cache.find(code);
  if (found != font->cache.end()) return &found->second;
  Glyph glyph;
  const FT_UInt index = FT_Get_Char_Index(font->face, CodePointOf(character, length));
  if (FT_Load_Glyph(font->face, index, FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP) == 0) {
    FT_GlyphSlot slot = font->face->glyph;
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE && font->thickness > 6) {
      // Heavier weights: widen the outline by a share of the size.
      const FT_Pos strength = static_cast<FT_Pos>(font->size) * 64 * (font->thickness - 6) / 48;
      FT_Outline_Embolden(&slot->outline, strength);
    }
    const FT_Render_Mode mode = font->antialias ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO;
    if (FT_Render_Glyph(slot, mode) == 0) {
      const FT_Bitmap& bitmap = slot->bitmap;
      glyph.width = static_cast<int32_t>(bitmap.width);
      glyph.rows = static_cast<int32_t>(bitmap.rows);
      glyph.left = slot->bitmap_left;
      glyph.top = slot->bitmap_top;
      glyph.coverage.assign(static_cast<size_t>(glyph.width) * glyph.rows, 0);
      for (int y = 0; y < glyph.rows; ++y) {
        const unsigned char* row = bitmap.buffer + static_cast<intptr_t>(y) * bitmap.pitch;
        for (int x = 0; x < glyph.width; ++x) {
          uint8_t value;
          if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) value = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
          else value = row[x];
          glyph.coverage[static_cast<size_t>(y) * glyph.width + x] = value;
        }
      }
    }
    glyph.advance = static_cast<int32_t>((slot->advance.x + 32) >> 6);
  } else {
    glyph.advance = font->size / 2;
  }
  return &font->cache.emplace(code, std::move(glyph)).first->second;
}

// Characters of text within length bytes, never a half of a double-byte one.
template <typename Visit>
void ForEachCharacter(const char* text, int length, Visit visit) {
  int at = 0;
  while (text[at] != '\0' && (length < 0 || at < length)) {
    int bytes = SjisCharLength(text + at);
    if (bytes < 1) break;
    if (length >= 0 && at + bytes > length) break;  // a lead byte whose trail is cut off
    visit(text + at, bytes);
    at += bytes;
  }
}

}  // namespace

std::string ResolveFontFile(const char* faceNameCp932, int* faceIndex) {
  std::string family = faceNameCp932 ? Cp932ToUtf8(faceNameCp932) : std::string();
  // The Windows faces the programs name, mapped to the installed Japanese faces.
  if (family.find("明朝") != std::string::npos || family.find("Mincho") != std::string::npos)
    family = "IPAMincho";
  else if (family.find("ゴシック") != std::string::npos ||
           family.find("Gothic") != std::string::npos || family.empty())
    family = "IPAGothic";
  if (!FcInit()) return std::string();
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  std::string file;
  if (match) {
    FcChar8* path = nullptr;
    int index = 0;
    if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path)
      file = reinterpret_cast<const char*>(path);
    if (FcPatternGetInteger(match, FC_INDEX, 0, &index) != FcResultMatch) index = 0;
    if (faceIndex) *faceIndex = index;
    FcPatternDestroy(match);
  }
  FcPatternDestroy(pattern);
  return file;
}

int CreateFontInner(const char* faceName, int size, int thickness, int fontType) {
  if (!StartFreeType()) {
    LogFormatLine("フォントシステムの初期化に失敗しました");
    return -1;
  }
  if (size < 0) size = 16;
  if (thickness < 0) thickness = 6;
  if (size == 0 || size > 512) return -1;
  int faceIndex = 0;
  const std::string file = ResolveFontFile(faceName, &faceIndex);
  auto font = std::make_unique<Font>();
  if (file.empty() || FT_New_Face(g_freetype, file.c_str(), faceIndex, &font->face) != 0) {
    LogFormatLine("フォントの作成に失敗しました");
    return -1;
  }
  if (FT_Set_Pixel_Sizes(font->face, 0, static_cast<FT_UInt>(size)) != 0) {
    LogFormatLine("フォントサイズの設定に失敗しました");
    return -1;
  }
  font->size = size;
  font->thickness = thickness > 9 ? 9 : thickness;
  font->antialias = (fontType == 2 || fontType == 3) ? 1 : 0;
  font->ascender = static_cast<int32_t>((font->face->size->metrics.ascender + 63) >> 6);
  font->lineHeight = static_cast<int32_t>((font->face->size->metrics.height + 63) >> 6);
  return Fonts().Add(std::move(font));
}

int DeleteFontInner(int font) { return Fonts().Remove(font) ? 0 : -1; }

void DeleteAllFonts() {
  for (int32_t handle : Fonts().Handles()) Fonts().Remove(handle);
  if (g_freetype) {
    FT_Done_FreeType(g_freetype);
    g_freetype = nullptr;
  }
}

int CountFonts() { return Fonts().Count(); }

int MeasureTextInner(const char* text, int length, int font) {
  Font* record = Fonts().Get(font);
  if (!record) {
    LogFormatLine("フォントハンドルが無効です in GetDrawStringWidthToHandle");
    return -1;
  }
  if (!text) return 0;
  int width = 0;
  ForEachCharacter(text, length, [&](const char* c, int bytes) {
    width += GlyphOf(record, c, bytes)->advance;
  });
  return width;
}

int FontLineHeight(int font) {
  const Font* record = Fonts().Get(font);
  return record ? record->lineHeight : -1;
}

int DrawTextInner(int x, int y, const char* text, uint32_t color, int font, uint32_t) {
  Font* record = Fonts().Get(font);
  if (!record) {
    LogFormatLine("フォントハンドルが無効です in DrawStringToHandle");
    return -1;
  }
  MEMIMG* target = g_drawState.maskOn ? GetMaskMemImg() : GetDrawTargetMemImg();
  if (!text || !target || target->aliveMark != MemImgAliveMark) return text ? -1 : 0;
  // Lay the glyphs out, then draw them as one picture whose alpha is the
  // coverage: the blit's blend mode and parameter act on the whole text.
  struct Placed {
    const Glyph* glyph;
    int32_t penX;
  };
  std::vector<Placed> placed;
  int pen = 0, left = 0, right = 0;
  int top = 0, bottom = record->lineHeight;
  ForEachCharacter(text, -1, [&](const char* c, int bytes) {
    const Glyph* glyph = GlyphOf(record, c, bytes);
    placed.push_back({glyph, pen});
    if (glyph->width > 0) {
      left = std::min(left, pen + glyph->left);
      right = std::max(right, pen + glyph->left + glyph->width);
      top = std::min(top, record->ascender - glyph->top);
      bottom = std::max(bottom, record->ascender - glyph->top + glyph->rows);
    }
    pen += glyph->advance;
  });
  const int width = right - left, height = bottom - top;
  if (width <= 0 || height <= 0) return 0;
  MEMIMG image;
  std::memset(&image, 0, sizeof image);
  const uint32_t kind = target->colorKind == ColorKind32 ? ColorKind32 : ColorKind16;
  if (CreateMemImg(&image, width, height, -1, 0, kind, 0, 1, 0) != 0) return -1;
  std::memset(image.pixels, 0, static_cast<size_t>(image.pitch) * height);
  // The colour without alpha; coverage goes into the alpha byte.
  const uint32_t colour = kind == ColorKind32 ? (color & 0xFFFFFF) : (color & 0xFFFF);
  for (const Placed& p : placed) {
    const Glyph* g = p.glyph;
    const int ox = p.penX + g->left - left;
    const int oy = record->ascender - g->top - top;
    for (int gy = 0; gy < g->rows; ++gy) {
      uint8_t* row = MemImgRow(&image, oy + gy);
      for (int gx = 0; gx < g->width; ++gx) {
        const uint8_t cover = g->coverage[static_cast<size_t>(gy) * g->width + gx];
        if (!cover) continue;
        uint8_t* px = row + (ox + gx) * 4;
        const uint8_t before = kind == ColorKind32 ? px[3] : px[2];
        if (cover <= before) continue;  // overlapping glyphs keep the stronger cover
        const uint32_t v = kind == ColorKind32 ? (colour | (static_cast<uint32_t>(cover) << 24))
                                               : (colour | (static_cast<uint32_t>(cover) << 16));
        std::memcpy(px, &v, 4);
      }
    }
  }
  MemImgBlit(target, &image, x + left, y + top, 1, nullptr);
  FreeMemImg(&image);
  AfterDraw();
  return 0;
}
