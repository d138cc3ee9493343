// Hostile inputs that the drivers refuse or bound instead of writing out of
// range: oversized draw areas, long palettes, short blend graphs, tall
// sources, 14.18 overflow, bad scales and angles, 16.16 overflow.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "images.h"
#include "softrender/softrender.h"

namespace {

using srtest::Image;

// A 10 x 8 target that is a view into the middle of a 20 x 16 parent: any
// write outside the view shows in the parent's frame.
struct FramedTarget {
  Image parent{20, 16, ColorKind32};
  MEMIMG view{};
  std::vector<uint8_t> before;
  FramedTarget() {
    parent.Fill(0xC0FFEE00);
    MakeMemImgView(&view, &parent.m, 5, 4, 10, 8);
    before = parent.Snapshot();
  }
  // Bytes of the parent outside the view that changed.
  int FrameChanges() {
    int n = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 20; ++x) {
        const bool inside = x >= 5 && x < 15 && y >= 4 && y < 12;
        if (!inside && std::memcmp(parent.At(x, y), before.data() + y * parent.m.pitch + 4 * x, 4))
          ++n;
      }
    return n;
  }
};

TEST(Guards, OversizedDrawAreaIsClampedToTheTarget) {
  ref::Settings s = srtest::Plain(0, 0);
  s.areaX1 = -100;
  s.areaY1 = -100;
  s.areaX2 = 1000;
  s.areaY2 = 1000;
  srtest::Apply(s);
  FramedTarget f;
  Image src(30, 30, ColorKind32);
  src.Fill(0x00ABCDEF);
  MemImgBlit(&f.view, &src.m, -10, -10, 0, nullptr);
  const IntRect big{-50, -50, 80, 70};
  MemImgScaledBlit(&f.view, &src.m, &big, 0, nullptr);
  MemImgRotatedBlit(&f.view, &src.m, 5, 4, 0.3f, 2.0f, 0, 0, nullptr);
  MemImgFillRect(&f.view, nullptr, 0x1234);
  MemImgFillRectAt(&f.view, -9, -9, 99, 99, 0x1234);
  MemImgDrawSegment(&f.view, -20, -3, 40, 17, 0x77);
  MemImgDrawSegment(&f.view, 12, -30, -5, 40, 0x77);
  MemImgBlendPixel(&f.view, 10, 3, 0x77);
  MemImgBlendPixel(&f.view, -1, 3, 0x77);
  EXPECT_EQ(f.FrameChanges(), 0);
  EXPECT_EQ(f.parent.Px32(5, 4), 0x1234u);  // the view itself was drawn
}

TEST(Guards, PaletteCopyIsAlways256EntriesZeroFilled) {
  srtest::Apply(srtest::Plain(4, 1));
  Image src(4, 1, ColorKind32, 1);
  for (int i = 0; i < 256; ++i) std::memset(src.m.palette + 4 * i, 0x5A, 4);
  const uint8_t idx[4] = {0, 9, 10, 255};
  std::memcpy(src.m.pixels, idx, 4);
  Image t(4, 1, ColorKind32);
  t.Fill(0xFFFFFFFF);
  src.m.paletteCount = 10;  // entries 10.. read as 0
  MemImgBlit(&t.m, &src.m, 0, 0, 0, nullptr);
  EXPECT_EQ(t.Px32(0, 0), 0x5A5A5A5Au);
  EXPECT_EQ(t.Px32(1, 0), 0x5A5A5A5Au);
  EXPECT_EQ(t.Px32(2, 0), 0u);
  EXPECT_EQ(t.Px32(3, 0), 0u);
  src.m.paletteCount = 100000;  // a count past 256 copies 256
  MemImgRotatedBlit(&t.m, &src.m, 2, 0, 0.0f, 1.0f, 0, 0, nullptr);
  EXPECT_EQ(t.Px32(3, 0), 0x5A5A5A5Au);
}

TEST(Guards, BlendGraphSmallerThanSourceIsRefused) {
  srtest::Apply(srtest::Plain(8, 8));
  Image src(4, 4, ColorKind32);
  src.Fill(0x00FFFFFF);
  Image narrow(3, 4, ColorKind8), shortGraph(4, 3, ColorKind8);
  Image t(8, 8, ColorKind32);
  const IntRect r{0, 0, 8, 8};
  for (Image* g : {&narrow, &shortGraph}) {
    MemImgBlit(&t.m, &src.m, 0, 0, 0, &g->m);
    MemImgScaledBlit(&t.m, &src.m, &r, 0, &g->m);
    MemImgRotatedBlit(&t.m, &src.m, 4, 4, 0.0f, 1.0f, 0, 0, &g->m);
  }
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(t.Px32(x, y), 0u);
}

TEST(Guards, RotatedRefusesTallSourcesAndOverflowingGeometry) {
  srtest::Apply(srtest::Plain(32, 32));
  Image t(32, 32, ColorKind32);
  Image tall(2, 4097, ColorKind32);
  tall.Fill(0x00FFFFFF);
  MemImgRotatedBlit(&t.m, &tall.m, 16, 16, 0.0f, 0.001f, 0, 0, nullptr);
  Image tallGraph(2, 4097, ColorKind8);
  Image small(2, 2, ColorKind32);
  small.Fill(0x00FFFFFF);
  MemImgRotatedBlit(&t.m, &small.m, 16, 16, 0.0f, 1.0f, 0, 0, &tallGraph.m);
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  MemImgRotatedBlit(&t.m, &small.m, 16, 16, 0.0f, 0.0f, 0, 0, nullptr);
  MemImgRotatedBlit(&t.m, &small.m, 16, 16, 0.0f, nan, 0, 0, nullptr);
  MemImgRotatedBlit(&t.m, &small.m, 16, 16, 0.0f, inf, 0, 0, nullptr);
  MemImgRotatedBlit(&t.m, &small.m, 16, 16, nan, 1.0f, 0, 0, nullptr);
  MemImgRotatedBlit(&t.m, &small.m, 16, 16, -inf, 1.0f, 0, 0, nullptr);
  MemImgRotatedBlit(&t.m, &small.m, 8192, 16, 0.0f, 1.0f, 0, 0, nullptr);
  MemImgRotatedBlit(&t.m, &small.m, 16, -8192, 0.0f, 1.0f, 0, 0, nullptr);
  MemImgRotatedBlit(&t.m, &small.m, 16, 16, 0.0f, 9000.0f, 0, 0, nullptr);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) ASSERT_EQ(t.Px32(x, y), 0u) << x << "," << y;
  // Inside the limits the same image draws.
  MemImgRotatedBlit(&t.m, &small.m, 8191, 16, 0.0f, 1.0f, 0, 0, nullptr);
  MemImgRotatedBlit(&t.m, &small.m, 16, 16, 0.0f, 1.0f, 0, 0, nullptr);
  EXPECT_EQ(t.Px32(15, 15), 0x00FFFFFFu);
}

TEST(Guards, ScaledRefusesOverflowingRectangles) {
  srtest::Apply(srtest::Plain(16, 16));
  Image t(16, 16, ColorKind32);
  Image src(2, 2, ColorKind32);
  src.Fill(0x00FFFFFF);
  const IntRect rects[] = {{0, 0, 32768, 4}, {0, 0, 4, 32768}, {-40000, 0, 8, 8},
                           {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, {INT32_MAX, 0, INT32_MIN, 8}};
  for (const IntRect& r : rects) MemImgScaledBlit(&t.m, &src.m, &r, 0, nullptr);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) ASSERT_EQ(t.Px32(x, y), 0u);
  const IntRect ok{-32000, 0, 767, 4};  // 32767 wide: the largest accepted
  MemImgScaledBlit(&t.m, &src.m, &ok, 0, nullptr);
  EXPECT_EQ(t.Px32(0, 0), 0x00FFFFFFu);
}

TEST(Guards, MismatchedOrUnusableRecordsDrawNothing) {
  srtest::Apply(srtest::Plain(8, 8));
  Image t32(8, 8, ColorKind32), t16(8, 8, ColorKind16), tPal(8, 8, ColorKind32, 1);
  Image tAlpha(8, 8, ColorKind32, 0, 1);
  Image s16(2, 2, ColorKind16), s32(2, 2, ColorKind32);
  s16.Fill(0xFFFF);
  s32.Fill(0xFFFFFFFF);
  MemImgBlit(&t32.m, &s16.m, 0, 0, 0, nullptr);
  MemImgBlit(&t16.m, &s32.m, 0, 0, 0, nullptr);
  MemImgBlit(&tPal.m, &s32.m, 0, 0, 0, nullptr);
  MemImgBlit(&tAlpha.m, &s32.m, 0, 0, 0, nullptr);
  MemImgRotatedBlit(&tPal.m, &s32.m, 4, 4, 0.0f, 1.0f, 0, 0, nullptr);
  MemImgFillRect(&tPal.m, nullptr, 0xFFFFFFFF);
  MemImgFillRect(&tAlpha.m, nullptr, 0xFFFFFFFF);
  MemImgDrawSegment(&tPal.m, 0, 0, 7, 7, 0xFFFFFFFF);
  // A colour kind other than 16 and 32 bits, on the source or on both.
  Image odd(2, 2, ColorKind32), oddTarget(8, 8, ColorKind32);
  odd.Fill(0xFFFFFFFF);
  odd.m.colorKind = 2;
  oddTarget.m.colorKind = 2;
  const IntRect stretch{0, 0, 5, 5};
  for (MEMIMG* target : {&t32.m, &oddTarget.m}) {
    MemImgBlit(target, &odd.m, 0, 0, 0, nullptr);
    MemImgScaledBlit(target, &odd.m, &stretch, 0, nullptr);
    MemImgRotatedBlit(target, &odd.m, 4, 4, 0.0f, 1.0f, 0, 0, nullptr);
  }
  MemImgFillRect(&oddTarget.m, nullptr, 0xFFFFFFFF);
  MemImgBlendPixel(&oddTarget.m, 1, 1, 0xFFFFFFFF);
  MemImgDrawSegment(&oddTarget.m, 0, 0, 7, 7, 0xFFFFFFFF);
  MemImgBlit(nullptr, &s32.m, 0, 0, 0, nullptr);
  MemImgBlit(&t32.m, nullptr, 0, 0, 0, nullptr);
  MemImgScaledBlit(&t32.m, &s32.m, nullptr, 0, nullptr);
  MemImgDrawSegments(&t32.m, nullptr, 4);
  for (Image* img : {&t32, &t16, &tPal, &tAlpha, &oddTarget}) {
    std::vector<uint8_t> zero(img->Bytes(), 0);
    EXPECT_EQ(img->Snapshot(), zero);
  }
}

}  // namespace
