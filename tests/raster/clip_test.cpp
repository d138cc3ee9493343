// Depth-range clipping: the range test, the clipped polygon and its fan, the
// colour of a crossing point, and bounded nesting for hostile input.
#include <cmath>
#include <limits>
#include <random>

#include "raster/raster_test_util.h"

TEST(RasterClip, RangeTest) {
  const RasterVertex inside[3] = {Vtx(0, 0, 0.0f), Vtx(10, 0, 0.5f), Vtx(0, 10, 1.0f)};
  EXPECT_EQ(RasterDepthRangeTest(inside), 0);
  const RasterVertex crossing[3] = {Vtx(0, 0, -0.5f), Vtx(10, 0, 0.5f), Vtx(0, 10, 0.5f)};
  EXPECT_EQ(RasterDepthRangeTest(crossing), 1);
  const float outside[][3] = {{-0.5f, -0.5f, 1.5f}, {-1, -1, -1}, {2, 2, 2}};
  for (const auto& z : outside) {
    const RasterVertex tri[3] = {Vtx(0, 0, z[0]), Vtx(10, 0, z[1]), Vtx(0, 10, z[2])};
    EXPECT_EQ(RasterDepthRangeTest(tri), 2);
  }
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const RasterVertex withNan[3] = {Vtx(0, 0, nan), Vtx(10, 0, 0.5f), Vtx(0, 10, 0.5f)};
  EXPECT_EQ(RasterDepthRangeTest(withNan), 0);  // NaN is neither below nor above
}

TEST(RasterClip, OneVertexBelowGivesAQuadrilateral) {
  const RasterVertex tri[3] = {Vtx(0, 0, -0.5f, 1, 0xFF0000FFu), Vtx(20, 0, 0.5f, 1, 0xFFFF0000u),
                               Vtx(0, 20, 0.5f, 1, 0xFFFF0000u)};
  RasterVertex out[RasterClipCapacity];
  ASSERT_EQ(RasterClipDepthRange(tri, out), 4);
  // The first vertex is outside: the polygon starts at its crossing with edge 0-1.
  EXPECT_FLOAT_EQ(out[0].x, 10.0f);
  EXPECT_FLOAT_EQ(out[0].y, 0.0f);
  EXPECT_EQ(out[0].z, 0.0f);
  EXPECT_FLOAT_EQ(out[1].x, 20.0f);
  EXPECT_FLOAT_EQ(out[2].y, 20.0f);
  EXPECT_FLOAT_EQ(out[3].x, 0.0f);
  EXPECT_FLOAT_EQ(out[3].y, 10.0f);
  EXPECT_EQ(out[3].z, 0.0f);
  // Crossing at t = 0.5 from red (inside) to blue (outside): k = 127.
  EXPECT_EQ(out[0].color, 0xFF80007Eu);  // alpha 255, red 128, green 0, blue 126
  EXPECT_FLOAT_EQ(out[0].rhw, 1.0f);
}

TEST(RasterClip, FarPlaneUsesDepthsAfterDivision) {
  // w = 2 everywhere (rhw 0.5); z = 2 at one vertex is beyond the far plane.
  const RasterVertex tri[3] = {Vtx(0, 0, 2.0f, 0.5f), Vtx(20, 0, 0.5f, 0.5f),
                               Vtx(0, 20, 0.5f, 0.5f)};
  RasterVertex out[RasterClipCapacity];
  ASSERT_EQ(RasterClipDepthRange(tri, out), 4);
  // t = (1 - 0.5) / (2 - 0.5) = 1/3 along 1 -> 0: x = 20 - 20/3.
  EXPECT_NEAR(out[0].x, 20.0f * 2 / 3, 1e-4);
  EXPECT_NEAR(out[0].z, 1.0f, 1e-6);
  EXPECT_NEAR(out[0].rhw, 0.5f, 1e-6);
}

TEST(RasterClip, PiecesAreDrawnVertexColouredAsAFan) {
  ResetState(32, 32);
  Image target(32, 32, ColorKind32);
  // All vertex colours black: a piece drawn vertex-coloured comes out black,
  // one drawn state-coloured would be white.
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) target.Set32(x, y, 0x11111111);
  const RasterVertex tri[3] = {Vtx(0, 0, -0.5f, 1, 0xFF000000u), Vtx(40, 0, 0.5f, 1, 0xFF000000u),
                               Vtx(0, 40, 0.5f, 1, 0xFF000000u)};
  MemImgRasterizeTriangle(&target, nullptr, nullptr, tri, 0, nullptr, 0, 0, 0, 1);
  EXPECT_EQ(target.Get32(1, 1), 0x11111111u);   // clipped away (x + y < 20)
  EXPECT_EQ(target.Get32(15, 10), 0x11000000u);  // piece (p0, p1, p2)
  EXPECT_EQ(target.Get32(5, 18), 0x11000000u);   // piece (p3, p0, p2)
  // Pieces take pieceDepthWrite as their depth write.
  Image depth(32, 32, ColorKind16);
  depth.Fill16(0xFFFF);
  MemImgRasterizeTriangle(&target, &depth, nullptr, tri, 0, nullptr, 0, 1, 0, 1);
  EXPECT_LT(depth.Get16(15, 10), 0xFFFFu);
  depth.Fill16(0xFFFF);
  MemImgRasterizeTriangle(&target, &depth, nullptr, tri, 0, nullptr, 1, 0, 0, 1);
  EXPECT_EQ(depth.Get16(15, 10), 0xFFFFu);
}

TEST(RasterClip, WhollyOutsideOrUnusableDrawsNothing) {
  ResetState(32, 32);
  Image target(32, 32, ColorKind32);
  const float cases[][3] = {{-0.5f, -0.5f, 1.5f}, {-1, -1, -1}, {2, 2, 2}};
  for (const auto& z : cases) {
    const RasterVertex tri[3] = {Vtx(0, 0, z[0]), Vtx(40, 0, z[1]), Vtx(0, 40, z[2])};
    MemImgRasterizeTriangle(&target, nullptr, nullptr, tri, 0, nullptr, 0, 0, 0, 1);
  }
  // rhw 0 makes w infinite: the crossing is not finite and the piece is dropped.
  const RasterVertex bad[3] = {Vtx(0, 0, -0.5f, 0.0f), Vtx(40, 0, 0.5f), Vtx(0, 40, 0.5f)};
  RasterVertex out[RasterClipCapacity];
  EXPECT_EQ(RasterClipDepthRange(bad, out), 0);
  MemImgRasterizeTriangle(&target, nullptr, nullptr, bad, 0, nullptr, 0, 0, 0, 1);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) ASSERT_EQ(target.Get32(x, y), 0u);
}

TEST(RasterClip, HostileTrianglesStayBoundedAndInsideTheArea) {
  ResetState(48, 48);
  g_drawState.areaX1 = 8;
  g_drawState.areaY1 = 8;
  g_drawState.areaX2 = 40;
  g_drawState.areaY2 = 40;
  Image target(48, 48, ColorKind16);
  Image depth(48, 48, ColorKind16);
  depth.Fill16(0xFFFF);
  std::mt19937 rng(1234);
  std::uniform_real_distribution<float> pos(-30.0f, 80.0f), z(-3.0f, 3.0f), rhw(-2.0f, 4.0f);
  const float specials[] = {0.0f, -0.0f, 1.0f, 1e-30f, -1e-30f, 1e30f,
                            std::numeric_limits<float>::infinity(),
                            std::numeric_limits<float>::quiet_NaN()};
  for (int i = 0; i < 20000; ++i) {
    RasterVertex tri[3];
    for (auto& v : tri) {
      const float px = pos(rng), py = pos(rng), pz = z(rng), pw = rhw(rng);
      const uint32_t pick = rng();
      v = Vtx(px, py, pz, pw, static_cast<uint32_t>(rng()), 0.5f, 0.5f);
      if ((pick & 15) == 0) v.z = specials[(pick >> 4) % 8];
      if ((pick & 0xF00) == 0) v.rhw = specials[(pick >> 12) % 8];
    }
    g_drawState.blendMode = static_cast<int>(rng() % 5);
    MemImgRasterizeTriangle(&target, &depth, nullptr, tri, 0, nullptr, 1, 1,
                            static_cast<int>(rng() & 1), 1);
  }
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 48; ++x) {
      if (x >= 8 && x < 40 && y >= 8 && y < 40) continue;
      ASSERT_EQ(target.Get16(x, y), 0u) << x << "," << y;
      ASSERT_EQ(depth.Get16(x, y), 0xFFFFu) << x << "," << y;
    }
}
