// The documented numeric examples of the blend kernel and the primitives'
// colour rule, one table row per example, through each driver that shows it.
#include <gtest/gtest.h>

#include <cmath>

#include "images.h"
#include "softrender/softrender.h"

namespace {

using srtest::Image;

enum Source : int { Direct = 0, Alpha = 1, Palette = 2 };
enum Drive : int { Unscaled = 1, Scaled = 2, Rotated = 4, All = 7 };

struct Row {
  const char* what;
  uint32_t kind;
  int source;  // Direct / Alpha / Palette
  int mode, param;
  uint32_t bright;  // 0xRRGGBB bytes of the bright colour
  int mmx;
  bool trans;
  uint32_t key;
  uint32_t src;    // pixel value, or palette entry for index 1
  uint32_t dst;
  uint32_t expect;
  int drivers;
};

// Draws a 1 x 1 source (palette sources: index 1) onto pixel (1, 1) of a
// 3 x 3 target and returns that pixel; the rest must stay untouched.
uint32_t DrawOne(const Row& r, int driver) {
  Image src(1, 1, r.kind, r.source == Palette, r.source == Alpha);
  if (r.source == Palette) {
    *src.At(0, 0) = 1;
    std::memcpy(src.m.palette + (r.kind == 1 ? 4 : 2), &r.src, r.kind == 1 ? 4 : 2);
  } else {
    std::memcpy(src.At(0, 0), &r.src, src.Bpp());
  }
  src.m.transparentColor = r.key;
  Image t(3, 3, r.kind);
  t.Fill(r.kind == 1 ? 0x5A5A5A5Au : 0x5A5Au);
  if (r.kind == 1) t.Set32(1, 1, r.dst);
  else t.Set16(1, 1, r.dst);
  ref::Settings s = srtest::Plain(3, 3);
  s.mode = r.mode;
  s.param = r.param;
  s.brightB = r.bright & 0xFF;
  s.brightG = (r.bright >> 8) & 0xFF;
  s.brightR = (r.bright >> 16) & 0xFF;
  s.mmx = r.mmx;
  srtest::Apply(s);
  if (driver == Unscaled) {
    MemImgBlit(&t.m, &src.m, 1, 1, r.trans, nullptr);
  } else if (driver == Scaled) {
    const IntRect rect{2, 1, 1, 2};  // mirrored: through the scaled loops
    MemImgScaledBlit(&t.m, &src.m, &rect, r.trans, nullptr);
  } else {
    MemImgRotatedBlit(&t.m, &src.m, 1, 1, 0.0f, 1.0f, r.trans, 0, nullptr);
  }
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x)
      if (x != 1 || y != 1) {
        EXPECT_EQ(r.kind == 1 ? t.Px32(x, y) : t.Px16(x, y), r.kind == 1 ? 0x5A5A5A5Au : 0x5A5Au)
            << r.what;
      }
  return r.kind == 1 ? t.Px32(1, 1) : t.Px16(1, 1);
}

constexpr uint32_t kOff = 0xFFFFFF;

const Row kRows[] = {
    // Mode 1 at p 255 is the plain copy, byte 3 included.
    {"alpha p255 copies whole pixel", 1, Direct, 1, 255, kOff, 1, false, 0, 0x11223344, 0xAABBCCDD, 0x11223344, All},
    {"alpha p0 leaves target", 1, Direct, 1, 0, kOff, 1, false, 0, 0x11223344, 0xAABBCCDD, 0xAABBCCDD, All},
    {"add p0 leaves target", 1, Direct, 2, 0, kOff, 1, false, 0, 0x11223344, 0xAABBCCDD, 0xAABBCCDD, All},
    {"subtract p0 direct leaves target", 1, Direct, 3, 0, kOff, 1, false, 0, 0x11223344, 0xAABBCCDD, 0xAABBCCDD, All},
    // Palette, p 0: packed subtract of zero sets green/red low bits, clears byte 3.
    {"subtract p0 palette", 1, Palette, 3, 0, kOff, 1, false, 0, 0x11223344, 0xAA00CC10, 0x0001CD10, All},
    {"mode 5 draws nothing", 1, Direct, 5, 128, kOff, 1, false, 0, 0x11223344, 0xAABBCCDD, 0xAABBCCDD, All},
    {"add green 1 onto 1", 1, Direct, 2, 255, kOff, 1, false, 0, 0x00000100, 0x00000100, 0x00000100, All},
    {"add green 200 onto 100", 1, Direct, 2, 255, kOff, 1, false, 0, 0x0000C800, 0x00006400, 0x0001FF00, All},
    {"add blue 200 onto 100 carries into green", 1, Direct, 2, 255, kOff, 1, false, 0, 0x000000C8, 0x00000064, 0x000001FF, All},
    {"add red overflow sets byte 3", 1, Direct, 2, 255, kOff, 1, false, 0, 0x00C08040, 0x00808080, 0x01FFFFC0, All},
    {"subtract green 1 from 2, no borrow", 1, Direct, 3, 255, kOff, 0, false, 0, 0x00000100, 0x00000205, 0x00010305, All},
    {"subtract green 1 from 2, blue borrows", 1, Direct, 3, 255, kOff, 0, false, 0, 0x00000109, 0x00000205, 0x00010200, All},
    {"subtract green 3 from 2", 1, Direct, 3, 255, kOff, 0, false, 0, 0x00000300, 0x00000205, 0x00010105, All},
    {"subtract green 4 from 2", 1, Direct, 3, 255, kOff, 0, false, 0, 0x00000400, 0x00000205, 0x00000005, All},
    {"subtract clears byte 3", 1, Direct, 3, 200, kOff, 1, false, 0, 0x00000000, 0x7F000000, 0x00010100, All},
    {"exact subtract green 1 from 2", 1, Direct, 3, 255, kOff, 1, false, 0, 0x10000100, 0x30000205, 0x20000105, Unscaled | Scaled},
    {"rotated has no exact subtract", 1, Direct, 3, 255, kOff, 1, false, 0, 0x10000100, 0x30000205, 0x00010305, Rotated},
    {"alpha p128 0 towards 255", 1, Direct, 1, 128, kOff, 1, false, 0, 0x000000FF, 0x00000000, 0x0000007F, All},
    {"alpha p128 255 towards 0", 1, Direct, 1, 128, kOff, 1, false, 0, 0x00000000, 0x000000FF, 0x0000007F, All},
    {"alpha keeps byte 3", 1, Direct, 1, 128, kOff, 1, false, 0, 0xFF000000, 0x12000000, 0x12000000, All},
    {"16-bit alpha p128 green 0 towards 63", 0, Direct, 1, 128, kOff, 1, false, 0, 0x07E0, 0x0000, 31u << 5, All},
    {"16-bit alpha p128 green 63 towards 0", 0, Direct, 1, 128, kOff, 1, false, 0, 0x0000, 0x07E0, 32u << 5, All},
    {"palette key by index", 1, Palette, 0, 255, kOff, 1, true, 1, 0x00ABCDEF, 0x00111111, 0x00111111, All},
    {"palette other index drawn", 1, Palette, 0, 255, kOff, 1, true, 2, 0x00ABCDEF, 0x00111111, 0x00ABCDEF, All},
    {"key compares byte 3", 1, Direct, 0, 255, kOff, 1, true, 0x0000FF00, 0xFF00FF00, 0x00111111, 0xFF00FF00, All},
    {"key hit", 1, Direct, 0, 255, kOff, 1, true, 0xFF00FF00, 0xFF00FF00, 0x00111111, 0x00111111, All},
    {"alpha 0 without key test: unchanged", 1, Alpha, 0, 255, kOff, 1, false, 0, 0x00FFFFFF, 0x44102030, 0x44102030, All},
    {"alpha 255 without key test: one step short", 1, Alpha, 0, 255, kOff, 1, false, 0, 0xFFFFFFFF, 0x44000000, 0x44FEFEFE, All},
    {"alpha 255 with key test: exact copy", 1, Alpha, 0, 255, kOff, 1, true, 0, 0xFFFFFFFF, 0x44000000, 0xFFFFFFFF, All},
    {"alpha 0 with key test: skipped in multiply", 1, Alpha, 4, 255, kOff, 1, true, 0, 0x00FFFFFF, 0x44102030, 0x44102030, All},
    {"multiply ignores p 0", 1, Direct, 4, 0, kOff, 1, false, 0, 0x00808080, 0x33FF4000, 0x337F2000, All},
    {"16-bit multiply by fields", 0, Direct, 4, 0, kOff, 1, false, 0, 0xFFFF, 0x8410, 0x7BEF, All},
    {"bright 128 on 255 through the table", 1, Direct, 0, 255, 0x808080, 1, false, 0, 0x00FFFFFF, 0x99000000, 0x99808080, All},
    {"16-bit add saturates", 0, Direct, 2, 255, kOff, 1, false, 0, 0xFFFF, 0x0841, 0xFFFF, All},
    {"16-bit subtract clamps", 0, Direct, 3, 255, kOff, 0, false, 0, 0xFFFF, 0x0841, 0x0000, All},
};

TEST(KernelExamples, EachRowThroughEachDriver) {
  for (const Row& r : kRows) {
    for (int driver : {Unscaled, Scaled, Rotated}) {
      if (!(r.drivers & driver)) continue;
      EXPECT_EQ(DrawOne(r, driver), r.expect) << r.what << " driver " << driver;
    }
  }
}

// Mode 3 at p 255: the rotated blit gives the same result with the exact
// subtract flag on and off.
TEST(KernelExamples, RotatedSubtractIgnoresExactFlag) {
  Row r{"", 1, Direct, 3, 255, kOff, 1, false, 0, 0x40102030, 0x80201008, 0, Rotated};
  const uint32_t withFlag = DrawOne(r, Rotated);
  r.mmx = 0;
  EXPECT_EQ(DrawOne(r, Rotated), withFlag);
}

// Primitives: bright divides by 256, and the rest of the colour rule.
struct PrimRow {
  const char* what;
  uint32_t kind;
  int mode, param;
  uint32_t bright;
  uint32_t colour, dst, expect;
};

const PrimRow kPrimRows[] = {
    {"bright 128 on 255 gives 127", 1, 0, 255, 0x808080, 0xAAFFFFFF, 0x00000000, 0xAA7F7F7F},
    {"copy writes byte 3", 1, 0, 255, kOff, 0x12345678, 0xFFFFFFFF, 0x12345678},
    {"alpha p255 is copy", 1, 1, 255, kOff, 0x12345678, 0xFFFFFFFF, 0x12345678},
    {"alpha p0 nothing", 1, 1, 0, kOff, 0x12345678, 0xFFFFFFFF, 0xFFFFFFFF},
    {"alpha p128 keeps byte 3", 1, 1, 128, kOff, 0x000000FF, 0x77000000, 0x7700007F},
    {"add p0 nothing", 1, 2, 0, kOff, 0x00FFFFFF, 0x00010101, 0x00010101},
    {"subtract p0 nothing", 1, 3, 0, kOff, 0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF},
    {"subtract p255 packed, no exact form", 1, 3, 255, kOff, 0x00000100, 0x00000205, 0x00010305},
    {"multiply p0 still multiplies", 1, 4, 0, kOff, 0x00808080, 0x55FFFFFF, 0x557F7F7F},
    {"16-bit multiply", 0, 4, 0, kOff, 0xFFFF, 0xFFFF, 0xF7DE},
    {"16-bit alpha via signed table", 0, 1, 128, kOff, 0x07E0, 0x0000, 31u << 5},
    {"16-bit colour upper bits ignored", 0, 0, 255, kOff, 0xABCD1234, 0x0000, 0x1234},
    {"mode 5 nothing", 1, 5, 255, kOff, 0x12345678, 0x00000000, 0x00000000},
};

TEST(PrimitiveExamples, ColourRuleRows) {
  for (const PrimRow& r : kPrimRows) {
    for (int op = 0; op < 3; ++op) {
      Image t(4, 4, r.kind);
      t.Fill(r.dst);
      ref::Settings s = srtest::Plain(4, 4);
      s.mode = r.mode;
      s.param = r.param;
      s.brightB = r.bright & 0xFF;
      s.brightG = (r.bright >> 8) & 0xFF;
      s.brightR = (r.bright >> 16) & 0xFF;
      srtest::Apply(s);
      if (op == 0) MemImgBlendPixel(&t.m, 2, 1, r.colour);
      if (op == 1) MemImgFillRectAt(&t.m, 2, 1, 3, 2, r.colour);
      if (op == 2) MemImgDrawSegment(&t.m, 2, 1, 3, 1, r.colour);
      const uint32_t got = r.kind == 1 ? t.Px32(2, 1) : t.Px16(2, 1);
      EXPECT_EQ(got, r.expect) << r.what << " op " << op;
      const uint32_t other = r.kind == 1 ? t.Px32(1, 1) : t.Px16(1, 1);
      EXPECT_EQ(other, r.kind == 1 ? r.dst : (r.dst & 0xFFFF)) << r.what;
    }
  }
}

}  // namespace
