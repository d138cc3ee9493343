// Geometry of the drivers: sampled columns of the scaled blit, mirroring,
// clipping, rotation at 0 and pi/2, negative scale, boxes wholly outside, and
// the segment walk with the box outline.
#include <gtest/gtest.h>
#include <sys/mman.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "images.h"
#include "softrender/softrender.h"
#include "softrender/sr_primitives.h"

namespace {

using srtest::Image;

// 8 x 1 source whose column c has blue 20 x (c + 1).
void ColumnSource(Image& src, int width = 8) {
  src.Create(width, 1, ColorKind32);
  for (int c = 0; c < width; ++c) src.Set32(c, 0, 20u * (c + 1));
}

// Source columns the scaled blit sampled along target row 0, decoded from the
// blue channel: copy (value = 20 (c + 1)) or alpha 128 onto 0 (10 (c + 1)).
std::vector<int> Sampled(Image& t, int x1, int x2, bool halved) {
  std::vector<int> cols;
  for (int x = x1; x < x2; ++x) {
    const int blue = static_cast<int>(t.Px32(x, 0) & 0xFF);
    cols.push_back(blue == 0 ? -1 : blue / (halved ? 10 : 20) - 1);
  }
  return cols;
}

TEST(ScaledGeometry, DoubleAndHalfWidthSampling) {
  Image src;
  ColumnSource(src);
  ref::Settings s = srtest::Plain(32, 1);
  srtest::Apply(s);
  {
    Image t(32, 1, ColorKind32);
    const IntRect r{0, 0, 16, 1};
    MemImgScaledBlit(&t.m, &src.m, &r, 0, nullptr);
    EXPECT_EQ(Sampled(t, 0, 16, false),
              (std::vector<int>{0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7}));
  }
  {  // Plain copy: the tie rule takes an accumulator landing on 0.
    Image t(32, 1, ColorKind32);
    const IntRect r{0, 0, 4, 1};
    MemImgScaledBlit(&t.m, &src.m, &r, 0, nullptr);
    EXPECT_EQ(Sampled(t, 0, 4, false), (std::vector<int>{0, 1, 3, 5}));
  }
  {  // A general variant steps past it.
    s.mode = 1;
    s.param = 128;
    srtest::Apply(s);
    Image t(32, 1, ColorKind32);
    const IntRect r{0, 0, 4, 1};
    MemImgScaledBlit(&t.m, &src.m, &r, 0, nullptr);
    EXPECT_EQ(Sampled(t, 0, 4, true), (std::vector<int>{0, 2, 4, 6}));
  }
}

// A clipped start takes skip = offset / step with the remainder carried, so
// the whole-copy variant restarts its walk there: an 8-pixel source drawn 4
// wide and clipped by one column samples 2, 3, 5 where the unclipped draw
// shows 1, 3, 5; the general variant keeps 2, 4, 6 either way.
TEST(ScaledGeometry, LeftClipRestartsTheTieRuleWalk) {
  Image src;
  ColumnSource(src);
  const IntRect r{0, 0, 4, 1};
  for (const bool copy : {true, false}) {
    ref::Settings s = srtest::Plain(32, 1);
    if (!copy) {
      s.mode = 1;
      s.param = 128;
    }
    s.areaX1 = 1;
    srtest::Apply(s);
    Image t(32, 1, ColorKind32);
    MemImgScaledBlit(&t.m, &src.m, &r, 0, nullptr);
    EXPECT_EQ(Sampled(t, 0, 4, !copy),
              copy ? (std::vector<int>{-1, 2, 3, 5}) : (std::vector<int>{-1, 2, 4, 6}));
  }
}

TEST(ScaledGeometry, ReversedRectanglesMirror) {
  Image src;
  ColumnSource(src);
  srtest::Apply(srtest::Plain(32, 1));
  Image t(32, 1, ColorKind32);
  const IntRect r{8, 0, 0, 1};  // same size, reversed: through the scaled loops
  MemImgScaledBlit(&t.m, &src.m, &r, 0, nullptr);
  EXPECT_EQ(Sampled(t, 0, 9, false), (std::vector<int>{7, 6, 5, 4, 3, 2, 1, 0, -1}));

  // Top-bottom: a 1 x 3 source reversed vertically.
  Image tall(1, 3, ColorKind32);
  for (int y = 0; y < 3; ++y) tall.Set32(0, y, 100u + y);
  Image t2(1, 3, ColorKind32);
  srtest::Apply(srtest::Plain(1, 3));
  const IntRect r2{0, 3, 1, 0};
  MemImgScaledBlit(&t2.m, &tall.m, &r2, 0, nullptr);
  EXPECT_EQ(t2.Px32(0, 0), 102u);
  EXPECT_EQ(t2.Px32(0, 2), 100u);
}

TEST(ScaledGeometry, LeftClipKeepsTheImageInPlace) {
  Image src;
  ColumnSource(src);
  ref::Settings s = srtest::Plain(32, 1);
  s.mode = 1;
  s.param = 128;  // general variant: clipped and unclipped walks agree
  srtest::Apply(s);
  Image whole(32, 1, ColorKind32), clipped(32, 1, ColorKind32);
  const IntRect r{2, 0, 26, 1};  // 3x
  MemImgScaledBlit(&whole.m, &src.m, &r, 0, nullptr);
  s.areaX1 = 9;
  srtest::Apply(s);
  MemImgScaledBlit(&clipped.m, &src.m, &r, 0, nullptr);
  for (int x = 0; x < 32; ++x) EXPECT_EQ(clipped.Px32(x, 0), x < 9 ? 0u : whole.Px32(x, 0)) << x;
  // Column 9 is 7 pixels into the rectangle: source column 7 / 3 = 2.
  EXPECT_EQ(clipped.Px32(9, 0), 30u);
}

TEST(ScaledGeometry, EmptyAndOutsideRectanglesDrawNothing) {
  Image src;
  ColumnSource(src);
  srtest::Apply(srtest::Plain(16, 4));
  Image t(16, 4, ColorKind32);
  t.Fill(0xDEADBEEF);
  const auto before = t.Snapshot();
  const IntRect rects[] = {{3, 0, 3, 4}, {0, 2, 9, 2}, {20, 0, 40, 4}, {-30, -9, -1, -1}, {16, 4, 30, 9}};
  for (const IntRect& r : rects) MemImgScaledBlit(&t.m, &src.m, &r, 0, nullptr);
  EXPECT_EQ(t.Snapshot(), before);
}

TEST(ScaledGeometry, BlendGraphMirrorsWithTheImage) {
  Image src(4, 1, ColorKind32);
  src.Fill(0x000000FF);
  Image graph(4, 1, ColorKind8);
  const uint8_t bytes[4] = {0, 64, 128, 255};
  std::memcpy(graph.m.pixels, bytes, 4);
  ref::Settings s = srtest::Plain(4, 1);
  s.border = 128;  // weight = byte
  s.range = 255;
  srtest::Apply(s);
  Image t(4, 1, ColorKind32);
  const IntRect r{4, 0, 0, 1};
  MemImgScaledBlit(&t.m, &src.m, &r, 0, &graph.m);
  // Copy with weight w onto 0: 255 x w >> 8.
  EXPECT_EQ(t.Px32(0, 0), 254u);
  EXPECT_EQ(t.Px32(1, 0), 127u);
  EXPECT_EQ(t.Px32(2, 0), 63u);
  EXPECT_EQ(t.Px32(3, 0), 0u);
}

// 5 x 4 source with distinct pixels.
void Numbered(Image& src, int w, int h) {
  src.Create(w, h, ColorKind32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) src.Set32(x, y, 0x00010000u * (y + 1) + x + 1);
}

TEST(RotatedGeometry, AngleZeroScaleOnePlacesEachPixel) {
  Image src;
  Numbered(src, 5, 4);
  srtest::Apply(srtest::Plain(20, 20));
  Image t(20, 20, ColorKind32);
  MemImgRotatedBlit(&t.m, &src.m, 10, 9, 0.0f, 1.0f, 0, 0, nullptr);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) {
      const int col = x - (10 - 2), row = y - (9 - 2);
      const bool in = col >= 0 && col < 5 && row >= 0 && row < 4;
      EXPECT_EQ(t.Px32(x, y), in ? 0x00010000u * (row + 1) + col + 1 : 0u) << x << "," << y;
    }
}

TEST(RotatedGeometry, QuarterTurnPutsTopEdgeOnTheRight) {
  Image src(4, 4, ColorKind32);
  src.Fill(0x000000FF);
  for (int x = 0; x < 4; ++x) src.Set32(x, 0, 0x00FF0000);  // top row red
  srtest::Apply(srtest::Plain(20, 20));
  Image t(20, 20, ColorKind32);
  MemImgRotatedBlit(&t.m, &src.m, 10, 10, static_cast<float>(M_PI / 2), 1.0f, 0, 0, nullptr);
  int red = 0, blue = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) {
      if (t.Px32(x, y) == 0x00FF0000) {
        ++red;
        EXPECT_EQ(x, 12);  // the right-hand column of the turned image
      }
      if (t.Px32(x, y) == 0x000000FF) {
        ++blue;
        EXPECT_TRUE(x >= 9 && x <= 11) << x;
      }
    }
  EXPECT_EQ(red, 4);
  EXPECT_EQ(blue, 12);
}

TEST(RotatedGeometry, NegativeScaleTurnsByHalf) {
  Image src;
  Numbered(src, 4, 4);
  srtest::Apply(srtest::Plain(20, 20));
  Image t(20, 20, ColorKind32);
  MemImgRotatedBlit(&t.m, &src.m, 10, 10, 0.0f, -1.0f, 0, 0, nullptr);
  for (int row = 0; row < 4; ++row)
    for (int col = 0; col < 4; ++col)
      EXPECT_EQ(t.Px32(12 - col, 12 - row), 0x00010000u * (row + 1) + col + 1) << col << "," << row;
  EXPECT_EQ(t.Px32(8, 8), 0u);
}

TEST(RotatedGeometry, BoxWhollyOutsideReadsNoSource) {
  // The source pixels lie on a page that cannot be read.
  const long page = 4096;
  void* block = mmap(nullptr, page, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(block, MAP_FAILED);
  MEMIMG src{};
  src.pixels = static_cast<uint8_t*>(block);
  ASSERT_EQ(CreateMemImg(&src, 16, 16, 64, 0, ColorKind32, 0, 0, 0), 0);
  srtest::Apply(srtest::Plain(64, 64));
  Image t(64, 64, ColorKind32);
  MemImgRotatedBlit(&t.m, &src, 200, 30, 0.5f, 1.0f, 1, 0, nullptr);
  MemImgRotatedBlit(&t.m, &src, -30, -40, 2.0f, 2.0f, 0, 0, nullptr);
  const IntRect r{70, 0, 100, 20};
  MemImgScaledBlit(&t.m, &src, &r, 0, nullptr);
  MemImgBlit(&t.m, &src, -16, 5, 0, nullptr);
  FreeMemImg(&src);
  munmap(block, page);
  SUCCEED();
}

// Pixels of a 16 x 16 target changed from 0, as (x, y) pairs.
std::vector<std::pair<int, int>> Drawn(Image& t) {
  std::vector<std::pair<int, int>> out;
  for (int y = 0; y < t.m.height; ++y)
    for (int x = 0; x < t.m.width; ++x)
      if (t.Px32(x, y) != 0) out.emplace_back(x, y);
  return out;
}

TEST(Segments, WalkDrawsStartNotEnd) {
  srtest::Apply(srtest::Plain(16, 16));
  Image t(16, 16, ColorKind32);
  MemImgDrawSegment(&t.m, 0, 0, 4, 2, 0x00FFFFFF);
  EXPECT_EQ(Drawn(t), (std::vector<std::pair<int, int>>{{0, 0}, {1, 0}, {2, 1}, {3, 1}}));
  Image t2(16, 16, ColorKind32);
  MemImgDrawSegment(&t2.m, 5, 5, 5, 5, 0x00FFFFFF);
  EXPECT_TRUE(Drawn(t2).empty());
  Image t3(16, 16, ColorKind32);  // y-major, upward
  MemImgDrawSegment(&t3.m, 3, 6, 2, 2, 0x00FFFFFF);
  EXPECT_EQ(Drawn(t3), (std::vector<std::pair<int, int>>{{3, 3}, {3, 4}, {3, 5}, {3, 6}}));
}

TEST(Segments, CrossingTheRightEdgeStopsAtRMinusOne) {
  ref::Settings s = srtest::Plain(16, 16);
  s.areaX2 = 10;
  srtest::Apply(s);
  Image t(16, 16, ColorKind32);
  MemImgDrawSegment(&t.m, 4, 3, 40, 3, 0x00FFFFFF);
  const auto px = Drawn(t);
  ASSERT_EQ(px.size(), 6u);
  EXPECT_EQ(px.front(), std::make_pair(4, 3));
  EXPECT_EQ(px.back(), std::make_pair(9, 3));
  // Wholly outside, and a list with count 0 or below: nothing.
  Image t2(16, 16, ColorKind32);
  MemImgDrawSegment(&t2.m, 11, 0, 15, 9, 0x00FFFFFF);
  const int32_t list[6] = {0, 0, 5, 5, 0x00FFFFFF, 255};
  MemImgDrawSegments(&t2.m, list, 0);
  MemImgDrawSegments(&t2.m, list, -3);
  EXPECT_TRUE(Drawn(t2).empty());
  MemImgDrawSegments(&t2.m, list, 1);
  EXPECT_EQ(Drawn(t2).size(), 5u);
}

// Clipped end points follow the line through the original ones: the start
// moves onto the area, the (undrawn) end one pixel outside it.
struct ClipRow {
  const char* what;
  int areaX1, areaX2;
  int x1, y1, x2, y2;
  std::vector<std::pair<int, int>> pixels;
};

TEST(Segments, ClippedEndsFollowTheLine) {
  const ClipRow rows[] = {
      {"start left of the area", 0, 16, -4, -2, 6, 3, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}}},
      {"end past the right edge", 0, 10, 2, 1, 20, 10,
       {{2, 1}, {3, 1}, {4, 2}, {5, 2}, {6, 3}, {7, 3}, {8, 4}, {9, 4}}},
      {"start above the area, x truncated", 0, 16, 5, -7, 1, 5, {{2, 0}, {2, 1}, {2, 2}, {2, 3}, {2, 4}}},
      {"start clipped by x, then by y", 0, 16, -10, -8, 8, 1, {{6, 0}, {7, 0}}},
      {"both ends outside, right to left", 3, 10, 12, 4, 0, 4,
       {{3, 4}, {4, 4}, {5, 4}, {6, 4}, {7, 4}, {8, 4}, {9, 4}}},
  };
  for (const ClipRow& r : rows) {
    ref::Settings s = srtest::Plain(16, 16);
    s.areaX1 = r.areaX1;
    s.areaX2 = r.areaX2;
    srtest::Apply(s);
    Image t(16, 16, ColorKind32);
    MemImgDrawSegment(&t.m, r.x1, r.y1, r.x2, r.y2, 0x00FFFFFF);
    // Drawn() lists row by row, left to right.
    auto want = r.pixels;
    std::sort(want.begin(), want.end(), [](const auto& a, const auto& b) {
      return a.second != b.second ? a.second < b.second : a.first < b.first;
    });
    EXPECT_EQ(Drawn(t), want) << r.what;
  }
}

TEST(Segments, BoxFrameDrawsEachOutlinePixelOnce) {
  ref::Settings s = srtest::Plain(32, 32);
  s.mode = 2;  // add: a pixel drawn twice would show 2
  s.param = 255;
  srtest::Apply(s);
  Image t(32, 32, ColorKind32);
  int32_t segs[24];
  sr::BuildBoxFrameSegments(10, 10, 20, 15, 1, 255, segs);
  MemImgDrawSegments(&t.m, segs, 4);
  int count = 0;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      const bool edge = (y == 10 || y == 14 || x == 10 || x == 19) && x >= 10 && x <= 19 &&
                        y >= 10 && y <= 14;
      EXPECT_EQ(t.Px32(x, y), edge ? 1u : 0u) << x << "," << y;
      count += edge;
    }
  EXPECT_EQ(count, 26);

  // One pixel wide: the right and left segments both draw the inner column.
  Image t2(32, 32, ColorKind32);
  sr::BuildBoxFrameSegments(5, 5, 6, 9, 1, 255, segs);
  MemImgDrawSegments(&t2.m, segs, 4);
  EXPECT_EQ(t2.Px32(5, 5), 1u);
  EXPECT_EQ(t2.Px32(5, 6), 2u);
  EXPECT_EQ(t2.Px32(5, 7), 2u);
  EXPECT_EQ(t2.Px32(5, 8), 1u);
}

TEST(Fills, CornerOrderNullRectAndAreaEdges) {
  ref::Settings s = srtest::Plain(12, 10);
  s.areaX1 = 1;
  s.areaY1 = 2;
  s.areaX2 = 11;
  s.areaY2 = 9;
  srtest::Apply(s);
  Image a(12, 10, ColorKind32), b(12, 10, ColorKind32);
  MemImgFillRectAt(&a.m, 2, 3, 7, 6, 0x11);
  MemImgFillRectAt(&b.m, 7, 6, 2, 3, 0x11);
  EXPECT_EQ(a.Snapshot(), b.Snapshot());
  EXPECT_EQ(a.Px32(2, 3), 0x11u);
  EXPECT_EQ(a.Px32(6, 5), 0x11u);
  EXPECT_EQ(a.Px32(7, 5), 0u);
  Image c(12, 10, ColorKind32);
  MemImgFillRect(&c.m, nullptr, 0x22);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 12; ++x)
      EXPECT_EQ(c.Px32(x, y), (x >= 1 && x < 11 && y >= 2 && y < 9) ? 0x22u : 0u);
  Image d(12, 10, ColorKind32);
  MemImgBlendPixel(&d.m, 11, 5, 1);
  MemImgBlendPixel(&d.m, 5, 9, 1);
  MemImgBlendPixel(&d.m, 0, 5, 1);
  EXPECT_TRUE(Drawn(d).empty());
  MemImgBlendPixel(&d.m, 1, 2, 1);
  EXPECT_EQ(d.Px32(1, 2), 1u);
}

TEST(Fills, SixteenBitPairsAndOddEdges) {
  srtest::Apply(srtest::Plain(9, 2));
  Image t(9, 2, ColorKind16);
  t.Fill(0x1111);
  // Upper bits of the colour must not reach the neighbour of a pair store.
  MemImgFillRectAt(&t.m, 1, 0, 6, 1, 0xFFFF8421u);
  for (int x = 0; x < 9; ++x) EXPECT_EQ(t.Px16(x, 0), (x >= 1 && x < 6) ? 0x8421u : 0x1111u) << x;
  for (int x = 0; x < 9; ++x) EXPECT_EQ(t.Px16(x, 1), 0x1111u);
}

}  // namespace

namespace {

// The turn flag hands the corners to the textured quad: the image comes out
// mirrored left-right.
TEST(RotatedGeometry, TurnFlagMirrorsThroughTheQuad) {
  Image src(8, 8, ColorKind32);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) src.Set32(x, y, x < 4 ? 0x00FF0000u : 0x000000FFu);
  srtest::Apply(srtest::Plain(40, 40));
  Image plain(40, 40, ColorKind32), turned(40, 40, ColorKind32);
  MemImgRotatedBlit(&plain.m, &src.m, 20, 20, 0.0f, 1.0f, 0, 0, nullptr);
  MemImgRotatedBlit(&turned.m, &src.m, 20, 20, 0.0f, 1.0f, 0, 1, nullptr);
  EXPECT_EQ(plain.Px32(17, 20), 0x00FF0000u);
  EXPECT_EQ(plain.Px32(22, 20), 0x000000FFu);
  EXPECT_EQ(turned.Px32(17, 20), 0x000000FFu);
  EXPECT_EQ(turned.Px32(22, 20), 0x00FF0000u);
  EXPECT_EQ(turned.Px32(30, 20), 0u);
}

}  // namespace

namespace {

// Many turns, scales (negative and tiny ones included) and centres against
// the reference's pixel-by-pixel bounds test.
TEST(RotatedGeometry, RandomTurnsMatchReference) {
  std::mt19937 rng(77);
  Image src(13, 9, ColorKind32);
  srtest::RandomBytes(rng, src.m.pixels, src.Bytes());
  const ref::Settings s = srtest::Plain(64, 48);
  srtest::Apply(s);
  for (int i = 0; i < 300; ++i) {
    const uint32_t ra = rng(), rs = rng(), rx = rng(), ry = rng();
    const float angle = static_cast<float>(ra % 14000) / 1000.0f - 7.0f;
    float scale = static_cast<float>(rs % 6000) / 1000.0f - 3.0f;
    if (i % 17 == 0) scale = 0.01f;
    if (scale == 0.0f) scale = 1.0f;
    const int cx = static_cast<int>(rx % 90) - 13, cy = static_cast<int>(ry % 70) - 11;
    Image fast(64, 48, ColorKind32), slow(64, 48, ColorKind32);
    MemImgRotatedBlit(&fast.m, &src.m, cx, cy, angle, scale, 0, 0, nullptr);
    ref::RotatedBlit(s, slow.m, src.m, cx, cy, angle, scale, false, nullptr);
    ASSERT_EQ(fast.Snapshot(), slow.Snapshot()) << angle << " " << scale << " " << cx << "," << cy;
  }
}

}  // namespace
