// Coverage of the textured triangle walk: which pixels a triangle writes and
// which texel each one takes, clipping, refusals and hostile coordinates.
#include <gtest/gtest.h>

#include <algorithm>

#include "textri_support.h"

using namespace textri_test;

namespace {

constexpr uint32_t kCanary = 0x0BADF00Du;

// Texel (x, y) of a coordinate-encoding source: never equal to the canary.
uint32_t Texel(int x, int y) { return 0x80000000u | (uint32_t(y) << 12) | uint32_t(x); }

void FillCoordinates(Image& src) {
  for (int y = 0; y < src.m.height; ++y)
    for (int x = 0; x < src.m.width; ++x) src.set(x, y, Texel(x, y));
}

}  // namespace

TEST(TexturedTriangleCoverage, RightTriangleGolden) {
  Image src(10, 10, ColorKind32);
  FillCoordinates(src);
  Image dst(16, 16, ColorKind32);
  dst.fill(kCanary);
  PlainState(16, 16);
  const TexturedTriangle t = Tri(0, 0, 0, 0, 10, 0, 10, 0, 0, 10, 0, 10);
  MemImgTexturedTriangle(&dst.m, &src.m, &t, 0, nullptr, 0);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      // Rows 0-9, columns 0 to 10 - y; (10, 0) has u equal to the width.
      const bool drawn = y <= 9 && x <= 10 - y && !(x == 10 && y == 0);
      EXPECT_EQ(dst.get(x, y), drawn ? Texel(x, y) : kCanary) << x << "," << y;
    }
  }
}

TEST(TexturedTriangleCoverage, MiddleVertexOnTheRightGolden) {
  // (2,0), (8,4), (0,8): the right side bends at the middle vertex. Each row
  // spans the columns nearest to its two edges, both included.
  Image src(10, 10, ColorKind32);
  FillCoordinates(src);
  Image dst(12, 12, ColorKind32);
  dst.fill(kCanary);
  PlainState(12, 12);
  const TexturedTriangle t = Tri(2, 0, 2, 0, 8, 4, 8, 4, 0, 8, 0, 8);
  MemImgTexturedTriangle(&dst.m, &src.m, &t, 0, nullptr, 0);
  const int span[8][2] = {{2, 2}, {2, 4}, {2, 5}, {1, 7}, {1, 8}, {1, 6}, {1, 4}, {0, 2}};
  for (int y = 0; y < 12; ++y) {
    for (int x = 0; x < 12; ++x) {
      const bool drawn = y < 8 && x >= span[y][0] && x <= span[y][1];
      EXPECT_EQ(dst.get(x, y), drawn ? Texel(x, y) : kCanary) << x << "," << y;
    }
  }
}

TEST(TexturedTriangleCoverage, DegenerateAndRefusedTrianglesDrawNothing) {
  Image src(8, 8, ColorKind32);
  FillCoordinates(src);
  Image dst(32, 32, ColorKind32);
  dst.fill(kCanary);
  PlainState(32, 32);
  const TexturedTriangle cases[] = {
      Tri(0, 0, 0, 0, 5, 5, 8, 0, 10, 10, 0, 8),   // collinear
      Tri(4, 4, 0, 0, 4, 4, 8, 0, 4, 4, 0, 8),     // three equal vertices
      Tri(0, 0, 0, 0, 8192, 0, 8, 0, 0, 8, 0, 8),  // x beyond the 14.18 range
      Tri(0, 0, 0, 0, 8, 0, 8, 0, 0, -8192, 0, 8), // y beyond the range
      Tri(0, 0, 0, 0, 8, 0, 9000, 0, 0, 8, 0, 8),  // u beyond the range
  };
  for (const auto& t : cases) MemImgTexturedTriangle(&dst.m, &src.m, &t, 0, nullptr, 0);
  MemImgTexturedTriangle(&dst.m, nullptr, &cases[0], 0, nullptr, 0);
  MemImgTexturedTriangle(nullptr, &src.m, &cases[0], 0, nullptr, 0);
  MemImgTexturedTriangle(&dst.m, &src.m, nullptr, 0, nullptr, 0);
  for (uint32_t v : dst.pixels()) ASSERT_EQ(v, kCanary);

  // The edge of the range is still drawn.
  const TexturedTriangle edge = Tri(-8191, 0, 0, 0, 8191, 0, 8, 0, 0, 8191, 0, 8);
  MemImgTexturedTriangle(&dst.m, &src.m, &edge, 0, nullptr, 0);
  EXPECT_NE(dst.get(0, 0), kCanary);
}

TEST(TexturedTriangleCoverage, RefusesMismatchedOrFlaggedTargets) {
  Image src(8, 8, ColorKind32);
  FillCoordinates(src);
  Image dst16(8, 8, ColorKind16);
  Image dstPal(8, 8, ColorKind32, 1);
  Image dstAlpha(8, 8, ColorKind32, 0, 1);
  PlainState(8, 8);
  const TexturedTriangle t = Tri(0, 0, 0, 0, 8, 0, 8, 0, 0, 8, 0, 8);
  for (Image* d : {&dst16, &dstPal, &dstAlpha}) {
    const auto before = d->pixels();
    MemImgTexturedTriangle(&d->m, &src.m, &t, 0, nullptr, 0);
    EXPECT_EQ(d->pixels(), before);
  }
}

TEST(TexturedTriangleCoverage, VertexOrderDoesNotMatterForExactGradients) {
  Image src(12, 9, ColorKind32);
  FillCoordinates(src);
  PlainState(24, 24);
  const int v[3][4] = {{3, 2, 0, 0}, {15, 2, 12, 0}, {3, 11, 0, 9}};
  const int order[6][3] = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};
  std::vector<uint32_t> first;
  for (const auto& o : order) {
    Image dst(24, 24, ColorKind32);
    dst.fill(kCanary);
    const TexturedTriangle t = Tri(v[o[0]][0], v[o[0]][1], v[o[0]][2], v[o[0]][3], v[o[1]][0],
                                   v[o[1]][1], v[o[1]][2], v[o[1]][3], v[o[2]][0], v[o[2]][1],
                                   v[o[2]][2], v[o[2]][3]);
    MemImgTexturedTriangle(&dst.m, &src.m, &t, 0, nullptr, 0);
    if (first.empty()) {
      first = dst.pixels();
      EXPECT_EQ(dst.get(3, 2), Texel(0, 0));
      EXPECT_EQ(dst.get(14, 2), Texel(11, 0));
    } else {
      EXPECT_EQ(dst.pixels(), first);
    }
  }
}

TEST(TexturedTriangleCoverage, NegativeTopWalksTheMiddleRowTwice) {
  // Top (5,-3) converts to row -2, so segment 0 ends on the middle vertex's
  // row 5, which segment 1 then starts again. Additive drawing of 1 per write
  // shows the doubled row.
  Image src(16, 16, ColorKind32);
  src.fill(0x00000001);
  Image dst(24, 24, ColorKind32);
  PlainState(24, 24);
  g_drawState.blendMode = 2;
  g_drawState.blendParam = 255;
  const TexturedTriangle t = Tri(5, -3, 7, 1, 0, 5, 2, 9, 10, 12, 12, 16);
  MemImgTexturedTriangle(&dst.m, &src.m, &t, 0, nullptr, 0);
  int maxOther = 0, maxRow5 = 0, lastRow = -1;
  for (int y = 0; y < 24; ++y) {
    for (int x = 0; x < 24; ++x) {
      const int c = static_cast<int>(dst.get(x, y) & 0xFF);
      if (c) lastRow = y;
      if (y == 5) maxRow5 = std::max(maxRow5, c);
      else maxOther = std::max(maxOther, c);
    }
  }
  EXPECT_EQ(maxRow5, 2);
  EXPECT_EQ(maxOther, 1);
  EXPECT_EQ(lastRow, 11);  // the bottom vertex's row 12 is never drawn
  EXPECT_EQ(dst.get(5, 0) & 0xFF, 1u);
}

TEST(TexturedTriangleCoverage, ClippingKeepsTextureCoordinates) {
  Image src(40, 40, ColorKind32);
  FillCoordinates(src);
  Rng rng(7);
  for (int i = 0; i < 200; ++i) {
    const TexturedTriangle t = Tri(rng.range(-10, 50), rng.range(-10, 50), rng.range(0, 40),
                                   rng.range(0, 40), rng.range(-10, 50), rng.range(-10, 50),
                                   rng.range(0, 40), rng.range(0, 40), rng.range(-10, 50),
                                   rng.range(-10, 50), rng.range(0, 40), rng.range(0, 40));
    Image whole(48, 48, ColorKind32), clipped(48, 48, ColorKind32);
    whole.fill(kCanary);
    clipped.fill(kCanary);
    PlainState(48, 48);
    MemImgTexturedTriangle(&whole.m, &src.m, &t, 0, nullptr, 0);
    const IntRect area{rng.range(0, 20), rng.range(0, 20), rng.range(20, 48), rng.range(20, 48)};
    g_drawState.areaX1 = area.x1;
    g_drawState.areaY1 = area.y1;
    g_drawState.areaX2 = area.x2;
    g_drawState.areaY2 = area.y2;
    MemImgTexturedTriangle(&clipped.m, &src.m, &t, 0, nullptr, 0);
    for (int y = 0; y < 48; ++y) {
      for (int x = 0; x < 48; ++x) {
        const bool inside = x >= area.x1 && x < area.x2 && y >= area.y1 && y < area.y2;
        ASSERT_EQ(clipped.get(x, y), inside ? whole.get(x, y) : kCanary)
            << "triangle " << i << " at " << x << "," << y;
      }
    }
  }
}

TEST(TexturedTriangleCoverage, TexelsAtTheWidthAreNeverRead) {
  // The source is a view of a wider image whose extra column and row hold a
  // marker: a 1:1 quad over the view must never show it.
  Image parent(9, 9, ColorKind32);
  parent.fill(0xFFFF00FFu);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) parent.set(x, y, Texel(x, y));
  MEMIMG view{};
  MakeMemImgView(&view, &parent.m, 0, 0, 8, 8);
  Image dst(16, 16, ColorKind32);
  dst.fill(kCanary);
  PlainState(16, 16);
  const int32_t quad[8] = {0, 0, 8, 0, 0, 8, 8, 8};
  MemImgTexturedQuad(&dst.m, &view, quad, 0, nullptr);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      EXPECT_EQ(dst.get(x, y), x < 8 && y < 8 ? Texel(x, y) : kCanary) << x << "," << y;
    }
  }
}

TEST(TexturedTriangleCoverage, DrawAreaBeyondTheTargetIsKeptInside) {
  // A draw area larger than the image must not let the walk write past it.
  Image src(8, 8, ColorKind32);
  FillCoordinates(src);
  Image dst(10, 10, ColorKind32);
  dst.fill(kCanary);
  PlainState(10, 10);
  g_drawState.areaX1 = -100;
  g_drawState.areaY1 = -100;
  g_drawState.areaX2 = 1000;
  g_drawState.areaY2 = 1000;
  const TexturedTriangle t = Tri(-20, -20, 0, 0, 40, -20, 8, 0, -20, 40, 0, 8);
  MemImgTexturedTriangle(&dst.m, &src.m, &t, 0, nullptr, 0);  // ASan guards the rest
  EXPECT_NE(dst.get(0, 0), kCanary);
  EXPECT_NE(dst.get(9, 0), kCanary);
}
