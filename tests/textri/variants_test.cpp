// Every span variant of the textured fill against a slow per-pixel model
// written from the blend rules, plus the worked examples of those rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "textri_support.h"

using namespace textri_test;

namespace {

struct Config {
  uint32_t kind;   // ColorKind16 / ColorKind32
  bool palette;
  bool alpha;
  int mode;
  int p;
  bool graph;
  bool bright;
  uint8_t brightByte[3];  // blue, green, red
  bool trans;
};

std::string Describe(const Config& c) {
  return "kind " + std::to_string(c.kind) + " pal " + std::to_string(c.palette) + " alpha " +
         std::to_string(c.alpha) + " mode " + std::to_string(c.mode) + " p " +
         std::to_string(c.p) + " graph " + std::to_string(c.graph) + " bright " +
         std::to_string(c.bright) + " trans " + std::to_string(c.trans);
}

// ---- Saturating add and subtract, channel by channel ------------------------------

uint32_t Add32(uint32_t d, uint32_t s) {
  const uint32_t d0 = d & 255, d1 = (d >> 8) & 255, d2 = (d >> 16) & 255;
  const uint32_t s0 = s & 255, s1 = (s >> 8) & 255, s2 = (s >> 16) & 255;
  const uint32_t bt = d0 + s0, c0 = bt >> 8;
  const uint32_t blue = c0 ? 255 : bt;
  const uint32_t gt = (d1 & 0xFE) + (s1 & 0xFE) + c0, c1 = gt >> 8;
  const uint32_t green = c1 ? 255 : (gt | ((d1 | s1) & 1));
  const uint32_t rt = (d2 & 0xFE) + (s2 & 0xFE) + c1, c2 = rt >> 8;
  const uint32_t red = c2 ? 255 : (rt | ((d2 | s2) & 1));
  return blue | green << 8 | red << 16 | c2 << 24;
}

uint32_t Sub32(uint32_t d, uint32_t s) {
  const int d0 = d & 255, d1 = (d >> 8) & 255, d2 = (d >> 16) & 255;
  const int s0 = s & 255, s1 = (s >> 8) & 255, s2 = (s >> 16) & 255;
  const bool borrowB = d0 < s0;
  const int blue = borrowB ? 0 : d0 - s0;
  const int g = (d1 >> 1) - (s1 >> 1);
  const int green = g < 0 ? 0 : (g << 1 | (borrowB ? 0 : 1));
  const int r = (d2 >> 1) - (s2 >> 1);
  const int red = r < 0 ? 0 : (r << 1 | (g < 0 ? 0 : 1));
  return uint32_t(blue) | uint32_t(green) << 8 | uint32_t(red) << 16;
}

uint32_t Add16(uint32_t d, uint32_t s) {
  const uint32_t db = d & 31, dg = (d >> 5) & 63, dr = d >> 11;
  const uint32_t sb = s & 31, sg = (s >> 5) & 63, sr = s >> 11;
  const uint32_t bt = db + sb, cb = bt >> 5;
  const uint32_t blue = cb ? 31 : bt;
  const uint32_t gt = (dg & 0x3E) + (sg & 0x3E) + cb, cg = gt >> 6;
  const uint32_t green = cg ? (0x3E | cb | ((dg | sg) & 1)) : (gt | ((dg | sg) & 1));
  const uint32_t rt = (dr & 0x1E) + (sr & 0x1E) + cg;
  const uint32_t red = (rt >> 5) ? 31 : (rt | ((dr | sr) & 1));
  return blue | green << 5 | red << 11;
}

uint32_t Sub16(uint32_t d, uint32_t s) {
  const int db = d & 31, dg = (d >> 5) & 63, dr = d >> 11;
  const int sb = s & 31, sg = (s >> 5) & 63, sr = s >> 11;
  const int blue = db < sb ? 0 : db - sb;
  const int g = (dg >> 1) - (sg >> 1);
  const int green = g < 0 ? 0 : g << 1;
  const int r = (dr >> 1) - (sr >> 1);
  const int red = r < 0 ? 0 : (r << 1 | (g < 0 ? 0 : 1));
  return uint32_t(blue) | uint32_t(green) << 5 | uint32_t(red) << 11;
}

// ---- One pixel ------------------------------------------------------------------------

// value: palette index or direct pixel (16-bit: the 5-6-5 word); a: alpha byte;
// w: blend-graph weight. Returns false when the target pixel is left alone.
bool Model(const Config& c, const uint32_t* palette, uint32_t key, uint32_t value, uint32_t a,
           uint32_t w, uint32_t d, uint32_t* out) {
  const int mode = (c.mode == 1 && c.p == 255) ? 0 : c.mode;
  bool useAlpha = false;
  if (c.alpha) {
    if (c.trans) {
      if (a == 0 && mode != 4) return false;
      useAlpha = a != 255;
    } else {
      useAlpha = true;
    }
  } else if (c.trans && value == key) {
    return false;
  }
  const uint32_t px = c.palette ? palette[value] : value;
  const int64_t p = c.p;
  int count = 0;
  int64_t F = 1;
  if (c.graph) F *= w, ++count;
  if (useAlpha) F *= a, ++count;

  const bool is32 = c.kind == ColorKind32;
  const int shift[3] = {0, is32 ? 8 : 5, is32 ? 16 : 11};
  const int width[3] = {is32 ? 8 : 5, is32 ? 8 : 6, is32 ? 8 : 5};
  int64_t r[3];
  for (int ch = 0; ch < 3; ++ch) {
    const int64_t mask = (1 << width[ch]) - 1;
    const int64_t raw = (px >> shift[ch]) & mask;
    const int64_t s = c.bright ? raw * c.brightByte[ch] / 255 : raw;
    const int64_t dc = (d >> shift[ch]) & mask;
    switch (mode) {
      case 0:
        r[ch] = ((dc << (8 * count)) + (s - dc) * F) >> (8 * count);
        break;
      case 1:
        if (!is32 && count == 0) r[ch] = dc + (s - dc) * p / 255;  // toward zero
        else r[ch] = ((dc << (8 * count + 8)) + (s - dc) * F * p) >> (8 * count + 8);
        break;
      case 2:
      case 3:
        if (is32) {
          r[ch] = count == 0 ? s * p / 255 : (s * F * p) >> (8 * count + 8);
        } else if (useAlpha && !c.graph) {
          // 16-bit alpha without blend graph: bright after the alpha weight.
          const int64_t weighted = (raw * a) >> 8;
          const int64_t bright = c.bright ? weighted * c.brightByte[ch] / 255 : weighted;
          r[ch] = bright * p / 255;
        } else {
          r[ch] = ((s * F) >> (8 * count)) * p / 255;
        }
        break;
      default:
        r[ch] = (s * dc * F) >> ((is32 ? 8 : width[ch]) + 8 * count);
        break;
    }
  }
  const uint32_t packed = uint32_t(r[0]) | uint32_t(r[1]) << shift[1] | uint32_t(r[2]) << shift[2];
  if (mode == 2) {
    *out = is32 ? Add32(d, packed) : Add16(d, packed);
  } else if (mode == 3) {
    *out = is32 ? Sub32(d, packed) : Sub16(d, packed);
  } else if (mode == 0 && count == 0 && !c.bright) {
    *out = is32 ? px : (px & 0xFFFF);  // the whole source pixel, byte 3 included
  } else {
    *out = is32 ? ((d & 0xFF000000u) | packed) : packed;
  }
  return true;
}

// ---- The randomised comparison ---------------------------------------------------------

constexpr int kSrc = 20;     // source size
constexpr int kDst = 28;     // target size
constexpr IntRect kArea{2, 3, 25, 26};
constexpr uint32_t kNoTexel = 0x0BADF00Du;

void SetState(const Config& c, int border, int range) {
  PlainState(kDst, kDst);
  g_drawState.areaX1 = kArea.x1;
  g_drawState.areaY1 = kArea.y1;
  g_drawState.areaX2 = kArea.x2;
  g_drawState.areaY2 = kArea.y2;
  g_drawState.blendMode = c.mode;
  g_drawState.blendParam = c.p;
  if (c.bright) {
    g_drawState.brightBlue = c.brightByte[0];
    g_drawState.brightGreen = c.brightByte[1];
    g_drawState.brightRed = c.brightByte[2];
  }
  BuildBlendGraphWeightTable(border, range);
}

// Which source texel every target pixel takes: the same triangle drawn from a
// coordinate-encoding source in plain copy mode.
std::vector<uint32_t> CoverageMap(const TexturedTriangle& t) {
  Image coords(kSrc, kSrc, ColorKind32);
  for (int y = 0; y < kSrc; ++y)
    for (int x = 0; x < kSrc; ++x) coords.set(x, y, 0x80000000u | uint32_t(y) << 12 | uint32_t(x));
  Image map(kDst, kDst, ColorKind32);
  map.fill(kNoTexel);
  const DrawState saved = g_drawState;
  g_drawState.blendMode = 0;
  g_drawState.brightWord = 0xFFFFFFFF;
  MemImgTexturedTriangle(&map.m, &coords.m, &t, 0, nullptr, 0);
  g_drawState = saved;
  return map.pixels();
}

void RunConfig(const Config& c, Rng& rng) {
  Image src(kSrc, kSrc, c.kind, c.palette ? 1 : 0, c.alpha ? 1 : 0);
  Image graph(kSrc, kSrc, ColorKind8);
  Image dst(kDst, kDst, c.kind);
  const bool is32 = c.kind == ColorKind32;
  uint32_t palette[256];
  for (auto& e : palette) {
    const uint32_t draw = rng.next();
    e = is32 ? draw : (draw & 0xFFFF);
    if (src.m.palette) std::memcpy(src.m.palette + (&e - palette) * (is32 ? 4 : 2), &e, is32 ? 4 : 2);
  }
  const uint32_t key = c.palette ? uint32_t(rng.range(0, 255)) : (is32 ? rng.next() : rng.next() & 0xFFFF);
  src.m.transparentColor = key;
  for (int y = 0; y < kSrc; ++y) {
    for (int x = 0; x < kSrc; ++x) {
      const uint32_t draw = rng.next();
      const int pick = rng.range(0, 7);
      if (c.palette) {
        src.at(x, y)[0] = pick == 0 ? uint8_t(key) : uint8_t(draw);
      } else if (c.alpha) {
        uint32_t a = draw >> 24;
        if (pick == 0) a = 0;
        if (pick == 1) a = 255;
        const uint32_t colour = is32 ? (draw & 0xFFFFFF) : (draw & 0xFFFF);
        const uint32_t junk = rng.next() & 0xFF;
        const uint32_t v = is32 ? (colour | a << 24) : (colour | a << 16 | junk << 24);
        std::memcpy(src.at(x, y), &v, 4);
      } else {
        src.set(x, y, pick == 0 ? key : (is32 ? draw : draw & 0xFFFF));
      }
      graph.at(x, y)[0] = uint8_t(rng.next());
    }
  }
  for (int y = 0; y < kDst; ++y)
    for (int x = 0; x < kDst; ++x) dst.set(x, y, is32 ? rng.next() : rng.next() & 0xFFFF);

  const int border = rng.range(0, 255), range = rng.range(0, 255);
  SetState(c, border, range);
  const TexturedTriangle t = Tri(rng.range(-4, 31), rng.range(0, 31), rng.range(-2, 22),
                                 rng.range(-2, 22), rng.range(-4, 31), rng.range(0, 31),
                                 rng.range(-2, 22), rng.range(-2, 22), rng.range(-4, 31),
                                 rng.range(0, 31), rng.range(-2, 22), rng.range(-2, 22));
  const std::vector<uint32_t> map = CoverageMap(t);
  const std::vector<uint32_t> before = dst.pixels();
  MemImgTexturedTriangle(&dst.m, &src.m, &t, c.trans, c.graph ? &graph.m : nullptr, 0);

  const bool drawsNothing = ((c.mode == 1 || c.mode == 2) && c.p == 0) ||
                            (c.mode == 3 && c.p == 0 && !c.palette);
  for (int y = 0; y < kDst; ++y) {
    for (int x = 0; x < kDst; ++x) {
      const size_t i = size_t(y) * kDst + x;
      uint32_t expected = before[i];
      if (!drawsNothing && map[i] != kNoTexel) {
        const int tx = map[i] & 0xFFF, ty = (map[i] >> 12) & 0xFFF;
        uint32_t value = 0, a = 0;
        if (c.palette) {
          value = src.at(tx, ty)[0];
        } else if (c.alpha) {
          uint32_t raw;
          std::memcpy(&raw, src.at(tx, ty), 4);
          value = is32 ? raw : raw & 0xFFFF;
          a = is32 ? raw >> 24 : (raw >> 16) & 0xFF;
        } else {
          value = src.get(tx, ty);
        }
        const uint32_t w = BlendGraphWeightTable[graph.at(tx, ty)[0]];
        uint32_t out;
        if (Model(c, palette, key, value, a, w, before[i], &out)) expected = out;
      }
      ASSERT_EQ(dst.get(x, y), expected) << Describe(c) << " at " << x << "," << y;
    }
  }
}

}  // namespace

TEST(TexturedSpanVariants, EveryVariantMatchesTheModel) {
  Rng rng(12345);
  const int params[] = {0, 1, 77, 128, 254, 255};
  for (uint32_t kind : {ColorKind32, ColorKind16}) {
    for (int source = 0; source < 3; ++source) {  // direct, direct with alpha, palette
      for (int mode = 0; mode <= 4; ++mode) {
        for (int p : params) {
          for (int flags = 0; flags < 8; ++flags) {
            Config c{};
            c.kind = kind;
            c.alpha = source == 1;
            c.palette = source == 2;
            c.mode = mode;
            c.p = p;
            c.graph = flags & 1;
            c.bright = (flags & 2) != 0;
            c.trans = (flags & 4) != 0;
            for (auto& b : c.brightByte) b = uint8_t(rng.range(0, 254));
            for (int rep = 0; rep < 3; ++rep) RunConfig(c, rng);
            if (HasFatalFailure()) return;
          }
        }
      }
    }
  }
}

// ---- Worked examples ----------------------------------------------------------------------

namespace {

// Draws a 4 x 4 source of one value over a 4 x 4 target of another, 1:1.
uint32_t DrawOne(uint32_t kind, uint32_t alpha, uint32_t texel, uint32_t target, int trans) {
  Image src(4, 4, kind, 0, alpha);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) std::memcpy(src.at(x, y), &texel, src.bpp());
  Image dst(4, 4, kind);
  dst.fill(target);
  const int32_t quad[8] = {0, 0, 4, 0, 0, 4, 4, 4};
  MemImgTexturedQuad(&dst.m, &src.m, quad, trans, nullptr);
  return dst.get(1, 1);
}

}  // namespace

TEST(TexturedSpanVariants, WorkedExamples) {
  PlainState(4, 4);
  g_drawState.blendMode = 2;
  g_drawState.blendParam = 255;
  EXPECT_EQ(DrawOne(ColorKind32, 0, 0x00C08040u, 0x00808080u, 0), 0x01FFFFC0u);

  // Alpha 255 without the transparency flag is one step short; with it, an
  // exact copy of the whole pixel.
  g_drawState.blendMode = 0;
  EXPECT_EQ(DrawOne(ColorKind32, 1, 0xFF204060u, 0x00102030u, 0), 0x001F3F5Fu);
  EXPECT_EQ(DrawOne(ColorKind32, 1, 0xFF204060u, 0x00102030u, 1), 0xFF204060u);
  // Alpha 0: left alone with the flag, and with it off the weight is 0.
  EXPECT_EQ(DrawOne(ColorKind32, 1, 0x00204060u, 0x77102030u, 1), 0x77102030u);
  EXPECT_EQ(DrawOne(ColorKind32, 1, 0x00204060u, 0x77102030u, 0), 0x77102030u);

  // Multiply has no alpha-0 shortcut: the pixel turns black, byte 3 kept.
  g_drawState.blendMode = 4;
  EXPECT_EQ(DrawOne(ColorKind32, 1, 0x00FFFFFFu, 0x77102030u, 1), 0x77000000u);
  EXPECT_EQ(DrawOne(ColorKind16, 1, 0x0000FFFFu, 0xFFFFu, 1), 0u);

  // Mode 1 at p 255 equals the copy; at p 0 nothing is drawn.
  g_drawState.blendMode = 1;
  g_drawState.blendParam = 255;
  EXPECT_EQ(DrawOne(ColorKind32, 0, 0xAB123456u, 0x00102030u, 0), 0xAB123456u);
  g_drawState.blendParam = 0;
  EXPECT_EQ(DrawOne(ColorKind32, 0, 0xAB123456u, 0x00102030u, 0), 0x00102030u);

  // Mode 3 at p 0: a direct source leaves the target; a palette source
  // subtracts zero, setting green's and red's lowest bit and clearing byte 3.
  g_drawState.blendMode = 3;
  EXPECT_EQ(DrawOne(ColorKind32, 0, 0x00FFFFFFu, 0xAA102030u, 0), 0xAA102030u);
  {
    Image src(4, 4, ColorKind32, 1);
    Image dst(4, 4, ColorKind32);
    dst.fill(0xAA102030u);
    const int32_t quad[8] = {0, 0, 4, 0, 0, 4, 4, 4};
    MemImgTexturedQuad(&dst.m, &src.m, quad, 0, nullptr);
    EXPECT_EQ(dst.get(2, 2), 0x00112130u);
  }

  // A blend mode above 4 draws nothing.
  g_drawState.blendMode = 5;
  g_drawState.blendParam = 255;
  EXPECT_EQ(DrawOne(ColorKind32, 0, 0x00FFFFFFu, 0x00102030u, 0), 0x00102030u);
}

TEST(TexturedSpanVariants, PaletteIndicesPastTheCountReadZero) {
  Image src(4, 4, ColorKind32, 1);
  for (int i = 0; i < 256; ++i) std::memset(src.m.palette + 4 * i, 0x5A, 4);
  src.m.paletteCount = 2;
  src.at(1, 1)[0] = 1;    // inside the count
  src.at(2, 2)[0] = 200;  // past it
  Image dst(4, 4, ColorKind32);
  dst.fill(0x11111111u);
  PlainState(4, 4);
  const int32_t quad[8] = {0, 0, 4, 0, 0, 4, 4, 4};
  MemImgTexturedQuad(&dst.m, &src.m, quad, 0, nullptr);
  EXPECT_EQ(dst.get(1, 1), 0x5A5A5A5Au);
  EXPECT_EQ(dst.get(2, 2), 0u);
}

TEST(TexturedSpanVariants, BlendGraphSmallerThanTheSourceIsNotOverread) {
  Image src(8, 8, ColorKind32);
  src.fill(0x00FFFFFFu);
  Image graph(4, 4, ColorKind8);
  for (int y = 0; y < 4; ++y) std::memset(graph.at(0, y), 255, 4);
  Image dst(8, 8, ColorKind32);
  PlainState(8, 8);
  BuildBlendGraphWeightTable(0, 255);  // every byte weighs 255
  const int32_t quad[8] = {0, 0, 8, 0, 0, 8, 8, 8};
  MemImgTexturedQuad(&dst.m, &src.m, quad, 0, &graph.m);
  EXPECT_EQ(dst.get(3, 3), 0x00FEFEFEu);  // (0 * 256 + 255 * 255) >> 8
  EXPECT_EQ(dst.get(5, 5), 0u);           // no graph byte there: left alone
  EXPECT_EQ(dst.get(2, 6), 0u);
}
