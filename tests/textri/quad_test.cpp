// The textured quad split: the 1:1 copy with its doubly drawn diagonal, the
// corner order, the bounding-box test and hostile corners.
#include <gtest/gtest.h>

#include <limits>

#include "textri_support.h"

using namespace textri_test;

namespace {

constexpr uint32_t kCanary = 0x0BADF00Du;

uint32_t Texel(int x, int y) { return 0x80000000u | (uint32_t(y) << 12) | uint32_t(x); }

// How many times each pixel is written: additive drawing of blue 1 onto 0.
std::vector<int> WriteCounts(int size, const int32_t quad[8], int srcW, int srcH) {
  Image src(srcW, srcH, ColorKind32);
  src.fill(0x00000001u);
  Image dst(size, size, ColorKind32);
  PlainState(size, size);
  g_drawState.blendMode = 2;
  g_drawState.blendParam = 255;
  MemImgTexturedQuad(&dst.m, &src.m, quad, 0, nullptr);
  std::vector<int> counts;
  for (uint32_t v : dst.pixels()) counts.push_back(static_cast<int>(v & 0xFF));
  return counts;
}

}  // namespace

TEST(TexturedQuad, OneToOneCopiesTheSourceWithTheDiagonalDrawnTwice) {
  for (const auto& wh : {std::pair{8, 8}, std::pair{13, 5}, std::pair{1, 1}}) {
    const int w = wh.first, h = wh.second;
    Image src(w, h, ColorKind32);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) src.set(x, y, Texel(x, y));
    Image dst(20, 20, ColorKind32);
    dst.fill(kCanary);
    PlainState(20, 20);
    const int32_t quad[8] = {0, 0, w, 0, 0, h, w, h};
    MemImgTexturedQuad(&dst.m, &src.m, quad, 0, nullptr);
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 20; ++x)
        ASSERT_EQ(dst.get(x, y), x < w && y < h ? Texel(x, y) : kCanary) << w << "x" << h;
  }
  // Square: the shared diagonal (8 - y, y) is written by both triangles.
  const int32_t quad[8] = {0, 0, 8, 0, 0, 8, 8, 8};
  const std::vector<int> counts = WriteCounts(12, quad, 8, 8);
  for (int y = 0; y < 12; ++y) {
    for (int x = 0; x < 12; ++x) {
      const int expected = (x >= 8 || y >= 8) ? 0 : (y >= 1 && x == 8 - y ? 2 : 1);
      EXPECT_EQ(counts[y * 12 + x], expected) << x << "," << y;
    }
  }
}

TEST(TexturedQuad, CornersGivenClockwiseOverlapAndLeaveAGap) {
  // Top-left, top-right, bottom-right, bottom-left: the two triangles meet on
  // the right-hand part and leave the left-hand part empty.
  const int32_t quad[8] = {0, 0, 16, 0, 16, 16, 0, 16};
  const std::vector<int> counts = WriteCounts(20, quad, 16, 16);
  EXPECT_EQ(counts[8 * 20 + 1], 0);
  EXPECT_EQ(counts[8 * 20 + 14], 2);
}

TEST(TexturedQuad, BoxOutsideTheDrawAreaDrawsNothing) {
  Image src(8, 8, ColorKind32);
  src.fill(0x00FFFFFFu);
  Image dst(40, 40, ColorKind32);
  dst.fill(kCanary);
  PlainState(40, 40);
  g_drawState.areaX1 = 10;
  g_drawState.areaY1 = 10;
  g_drawState.areaX2 = 30;
  g_drawState.areaY2 = 30;
  const int32_t left[8] = {0, 12, 6, 12, 0, 20, 6, 20};      // 6 + 4 = 10: outside
  const int32_t margin[8] = {0, 12, 7, 12, 0, 20, 7, 20};    // within the margin
  const int32_t right[8] = {32, 12, 40, 12, 32, 20, 40, 20}; // 32 - 2 = 30: outside
  const int32_t below[8] = {12, 32, 20, 32, 12, 40, 20, 40};
  for (const int32_t* q : {left, margin, right, below}) MemImgTexturedQuad(&dst.m, &src.m, q, 0, nullptr);
  for (uint32_t v : dst.pixels()) ASSERT_EQ(v, kCanary);
  // An empty draw area draws nothing either.
  g_drawState.areaX2 = 10;
  const int32_t inside[8] = {12, 12, 20, 12, 12, 20, 20, 20};
  MemImgTexturedQuad(&dst.m, &src.m, inside, 0, nullptr);
  for (uint32_t v : dst.pixels()) ASSERT_EQ(v, kCanary);
}

TEST(TexturedQuad, SliversHugeAndExtremeCornersStayInsideTheArea) {
  Image src(16, 400, ColorKind32);
  src.fill(0x00FFFFFFu);
  Image dst(64, 64, ColorKind32);
  PlainState(64, 64);
  g_drawState.areaX1 = 8;
  g_drawState.areaY1 = 8;
  g_drawState.areaX2 = 56;
  g_drawState.areaY2 = 56;
  const int32_t imin = std::numeric_limits<int32_t>::min();
  const int32_t imax = std::numeric_limits<int32_t>::max();
  const int32_t quads[][8] = {
      {30, 10, 31, 10, 30, 8000, 31, 8000},                // sliver, huge
      {-8191, -8191, 8191, -8190, -8190, 8191, 8191, 8191},  // the whole range
      {30, 30, 30, 30, 30, 30, 30, 30},                    // a point
      {imin, imin, imax, imin, imin, imax, imax, imax},    // far past the range
      {20, 20, 40, 21, 19, 40, 41, 41},
  };
  for (const auto& q : quads) {
    dst.fill(kCanary);
    MemImgTexturedQuad(&dst.m, &src.m, q, 0, nullptr);
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 64; ++x)
        if (x < 8 || x >= 56 || y < 8 || y >= 56) {
          ASSERT_EQ(dst.get(x, y), kCanary);
        }
  }
  // The whole-range quad does reach the area; the far one is refused.
  dst.fill(kCanary);
  MemImgTexturedQuad(&dst.m, &src.m, quads[1], 0, nullptr);
  EXPECT_EQ(dst.get(30, 30), 0x00FFFFFFu);
}

TEST(TexturedQuad, RotatedBlitTurnFlagIsTheQuadOfItsCorners) {
  // Angle 0 and scale 2 put the corners on whole pixels: the turned draw is
  // the quad (top-right, top-left, bottom-right, bottom-left), i.e. mirrored.
  Image src(6, 4, ColorKind32);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) src.set(x, y, Texel(x, y));
  Image viaBlit(40, 40, ColorKind32), viaQuad(40, 40, ColorKind32);
  viaBlit.fill(kCanary);
  viaQuad.fill(kCanary);
  PlainState(40, 40);
  MemImgRotatedBlit(&viaBlit.m, &src.m, 20, 20, 0.0f, 2.0f, 0, 1, nullptr);
  const int32_t quad[8] = {26, 16, 14, 16, 26, 24, 14, 24};
  MemImgTexturedQuad(&viaQuad.m, &src.m, quad, 0, nullptr);
  EXPECT_EQ(viaBlit.pixels(), viaQuad.pixels());
  // Mirrored: the source's top-left texel shows at the top-right.
  EXPECT_EQ(viaQuad.get(25, 16), Texel(0, 0));
  EXPECT_EQ(viaQuad.get(15, 16), Texel(5, 0));
}
