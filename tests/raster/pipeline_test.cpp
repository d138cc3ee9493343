// The per-pixel pipeline of the span loops (depth test and write, the
// perspective divide, texel coordinates, row guards) and the entry's refusals
// and variant choice.
#include "raster/raster_test_util.h"

namespace {

// A one-row frame over target row 0: w = 1, u = v = 0, white vertex colour.
RasterFrame HandFrame(Image& target, MEMIMG* depth, Image& texture) {
  RasterFrame f{};
  f.firstRow = 0;
  f.rowCount = 1;
  f.rhw.r = 1 << 26;
  f.blue.r = f.green.r = f.red.r = f.alpha.r = 255 * 16384;
  f.targetRow = target.m.pixels;
  f.targetPitch = target.m.pitch;
  f.depthRow = depth ? depth->pixels : nullptr;
  f.depthPitch = depth ? depth->pitch : 0;
  f.texPixels = texture.m.pixels;
  f.texPitch = texture.m.pitch;
  f.texWidth = texture.m.width;
  f.texHeight = texture.m.height;
  f.texPalette = texture.m.palette;
  f.texTransparent = texture.m.transparentColor;
  f.param = 255;
  f.paramRow = ScaleTable[255];
  f.signedParamRow = SignedScaleTable[255] + 255;
  f.brightRow[0] = f.brightRow[1] = f.brightRow[2] = ScaleTable[255];
  return f;
}

RasterVariant CopyVariant(bool depthWrite) {
  RasterVariant v{};
  v.mode = 0;
  v.depthWrite = depthWrite;
  return v;
}

class RasterPipeline : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetState(16, 4);
    for (int x = 0; x < 256; ++x) texture.Set32(x, 0, static_cast<uint32_t>(x));
    depth.Fill16(0x1234);
  }
  Image target{16, 4, ColorKind32};
  Image depth{16, 4, ColorKind16};
  Image texture{256, 1, ColorKind32};
};

}  // namespace

TEST_F(RasterPipeline, DepthOfOneWrapsToZeroAndPassesEverywhere) {
  RasterFrame f = HandFrame(target, &depth, texture);
  f.depth.r = 1 << 24;  // z = 1.0
  SpanTable[0] = SpanEntry{2, 3};
  depth.Set16(3, 0, 0);
  for (int x = 0; x < 16; ++x) target.Set32(x, 0, 0x55);
  RasterRunSpans32(f, CopyVariant(true));
  for (int x = 2; x < 5; ++x) {
    EXPECT_EQ(depth.Get16(x, 0), 0u) << x;
    EXPECT_EQ(target.Get32(x, 0), 0u);  // texel 0 drawn
  }
  EXPECT_EQ(depth.Get16(1, 0), 0x1234u);
  EXPECT_EQ(depth.Get16(5, 0), 0x1234u);
  // Just below 0 wraps to the farthest value: it passes only against 0xFFFF.
  f.depth.r = -(1 << 8);
  SpanTable[0] = SpanEntry{6, 2};
  depth.Set16(7, 0, 0xFFFF);
  RasterRunSpans32(f, CopyVariant(true));
  EXPECT_EQ(target.Get32(6, 0), 0x55u);
  EXPECT_EQ(depth.Get16(6, 0), 0x1234u);
  EXPECT_EQ(target.Get32(7, 0), 0u);
  EXPECT_EQ(depth.Get16(7, 0), 0xFFFFu);
}

TEST_F(RasterPipeline, EqualDepthPassesAndWriteIsOptional) {
  RasterFrame f = HandFrame(target, &depth, texture);
  f.depth.r = 0x1234 << 8;
  f.uRhw.r = (5 << 26) / 256;  // texel 5 (w = 1)
  SpanTable[0] = SpanEntry{0, 3};
  depth.Set16(1, 0, 0x1233);  // nearer: rejected
  depth.Set16(2, 0, 0xFFFF);
  RasterRunSpans32(f, CopyVariant(false));
  EXPECT_EQ(target.Get32(0, 0), 5u);
  EXPECT_EQ(target.Get32(1, 0), 0u);
  EXPECT_EQ(target.Get32(2, 0), 5u);
  EXPECT_EQ(depth.Get16(2, 0), 0xFFFFu);  // no depth write
  RasterRunSpans32(f, CopyVariant(true));
  EXPECT_EQ(depth.Get16(2, 0), 0x1234u);
  EXPECT_EQ(depth.Get16(1, 0), 0x1233u);
}

TEST_F(RasterPipeline, PerspectiveDivideTruncatesW) {
  RasterFrame f = HandFrame(target, nullptr, texture);
  f.rhw.r = static_cast<int32_t>(0.3 * 67108864.0);
  f.uRhw.r = f.rhw.r;  // u = 1
  SpanTable[0] = SpanEntry{0, 1};
  RasterRunSpans32(f, CopyVariant(false));
  EXPECT_EQ(target.Get32(0, 0), 249u);  // q = 26, not 26.67
  // w = 1 and u = 1: column 256 is outside and nothing is drawn.
  f.rhw.r = f.uRhw.r = 1 << 26;
  target.Set32(0, 0, 0xABCDEF);
  RasterRunSpans32(f, CopyVariant(false));
  EXPECT_EQ(target.Get32(0, 0), 0xABCDEFu);
  // rhw above 8: q = 0 and every pixel takes texel (0, 0).
  f.rhw.r = 9 << 26;
  RasterRunSpans32(f, CopyVariant(false));
  EXPECT_EQ(target.Get32(0, 0), 0u);
}

TEST_F(RasterPipeline, RowWithZeroRhwStartIsSkippedWhole) {
  RasterFrame f = HandFrame(target, &depth, texture);
  f.rhw.a = 1 << 20;
  f.rhw.r = -(3 * f.rhw.a + f.rhw.a / 2);  // 0 at the centre of pixel 3
  SpanTable[0] = SpanEntry{3, 5};
  for (int x = 0; x < 16; ++x) target.Set32(x, 0, 0x55);
  RasterRunSpans32(f, CopyVariant(true));
  for (int x = 0; x < 16; ++x) {
    EXPECT_EQ(target.Get32(x, 0), 0x55u);
    EXPECT_EQ(depth.Get16(x, 0), 0x1234u);
  }
}

TEST_F(RasterPipeline, RhwReachingZeroInsideASpanRejectsThatPixelOnly) {
  RasterFrame f = HandFrame(target, &depth, texture);
  f.rhw.a = -(1 << 20);
  f.rhw.r = 2 * (1 << 20) + (1 << 19);  // 2.5 steps: 0 at the centre of pixel 2
  f.depth.r = 0x100 << 8;
  SpanTable[0] = SpanEntry{0, 4};
  for (int x = 0; x < 16; ++x) target.Set32(x, 0, 0x55);
  RasterRunSpans32(f, CopyVariant(true));
  EXPECT_EQ(target.Get32(1, 0), 0u);
  EXPECT_EQ(target.Get32(2, 0), 0x55u);  // rhw 0: not drawn
  EXPECT_EQ(depth.Get16(2, 0), 0x100u);  // but its depth is written
  EXPECT_EQ(target.Get32(3, 0), 0u);
}

TEST_F(RasterPipeline, CountZeroOrNegativeDrawsNothing) {
  RasterFrame f = HandFrame(target, &depth, texture);
  f.rowCount = 2;
  SpanTable[0] = SpanEntry{0, 0};
  SpanTable[1] = SpanEntry{0, -3};
  const auto before = target.Bytes();
  RasterRunSpans32(f, CopyVariant(true));
  EXPECT_EQ(target.Bytes(), before);
  EXPECT_EQ(depth.Get16(0, 0), 0x1234u);
}

// ---- Through the entry ----------------------------------------------------------

namespace {

struct EntryFixture {
  Image target{32, 32, ColorKind32};
  Image depth{32, 32, ColorKind16};
  RasterVertex tri[3] = {Vtx(0, 0, 0.5f, 1, 0xFF808080u), Vtx(40, 0, 0.5f, 1, 0xFF808080u),
                         Vtx(0, 40, 0.5f, 1, 0xFF808080u)};
  EntryFixture() {
    ResetState(32, 32);
    depth.Fill16(0xFFFF);
  }
  int Drawn() {
    int n = 0;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) n += target.Get32(x, y) != 0;
    return n;
  }
};

}  // namespace

TEST(RasterEntry, SubstituteTextureIsWhite) {
  EntryFixture e;
  g_drawState.areaX2 = 4;  // the area does not cover the 8 x 8 block: still white
  MemImgRasterizeTriangle(&e.target, nullptr, nullptr, e.tri, 0, nullptr, 0, 0, 0, 0);
  EXPECT_EQ(e.target.Get32(1, 1), 0xFFFFFFFFu);
  EXPECT_EQ(e.target.Get32(5, 1), 0u);
  MemImgRasterizeTriangle(&e.target, nullptr, nullptr, e.tri, 0, nullptr, 0, 0, 1, 0);
  EXPECT_EQ(e.target.Get32(1, 1), 0xFF7F7F7Fu);  // (255 * 128) >> 8, byte 3 kept
  g_drawState.brightWord = 0xFF204060;  // bright taken once
  MemImgRasterizeTriangle(&e.target, nullptr, nullptr, e.tri, 1, nullptr, 0, 0, 0, 0);
  EXPECT_EQ(e.target.Get32(2, 2), 0xFF204060u);
  Image t16(8, 8, ColorKind16);
  MemImgRasterizeTriangle(&t16, nullptr, nullptr, e.tri, 0, nullptr, 0, 0, 1, 0);
  EXPECT_EQ(t16.Get16(3, 0), (15u << 11) | (31u << 5) | 15u);
}

TEST(RasterEntry, Refusals) {
  EntryFixture e;
  Image narrow(31, 32, ColorKind16);
  MemImgRasterizeTriangle(&e.target, &narrow, nullptr, e.tri, 0, nullptr, 1, 0, 0, 0);
  EXPECT_EQ(e.Drawn(), 0);
  Image palTarget(32, 32, ColorKind32, 1);
  MemImgRasterizeTriangle(&palTarget, nullptr, nullptr, e.tri, 0, nullptr, 0, 0, 0, 0);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) ASSERT_EQ(palTarget.Row(y)[x], 0);
  Image tex16(8, 8, ColorKind16);
  MemImgRasterizeTriangle(&e.target, nullptr, &tex16, e.tri, 0, nullptr, 0, 0, 0, 0);
  EXPECT_EQ(e.Drawn(), 0);
  g_drawState.blendMode = 5;
  MemImgRasterizeTriangle(&e.target, &e.depth, nullptr, e.tri, 0, nullptr, 1, 0, 0, 0);
  EXPECT_EQ(e.Drawn(), 0);
  EXPECT_EQ(e.depth.Get16(1, 1), 0xFFFFu);
  g_drawState.blendMode = 0;
  Image graph(4, 4, ColorKind8);  // smaller than the 8 x 8 texture it weights
  MemImgRasterizeTriangle(&e.target, nullptr, nullptr, e.tri, 0, &graph.m, 0, 0, 0, 0);
  EXPECT_EQ(e.Drawn(), 0);
  MemImgRasterizeTriangle(&e.target, &e.depth, nullptr, e.tri, 0, nullptr, 1, 0, 0, 0);
  EXPECT_GT(e.Drawn(), 400);
  EXPECT_EQ(e.depth.Get16(1, 1), 0x8000u);
}

TEST(RasterEntry, SmallestDrawnTriangle) {
  EntryFixture e;
  const RasterVertex tri[3] = {Vtx(10, 10), Vtx(11.2f, 10), Vtx(10, 11.2f)};
  MemImgRasterizeTriangle(&e.target, nullptr, nullptr, tri, 0, nullptr, 0, 0, 0, 0);
  EXPECT_EQ(e.Drawn(), 1);
  EXPECT_EQ(e.target.Get32(10, 10), 0xFFFFFFFFu);
}

TEST(RasterEntry, DepthIsWrittenBeforeTexelTests) {
  EntryFixture e;
  Image tex(8, 8, ColorKind32, 0, 0, 0x00ABCDEF);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) tex.Set32(x, y, 0x00ABCDEF);
  MemImgRasterizeTriangle(&e.target, &e.depth, &tex, e.tri, 1, nullptr, 1, 0, 0, 0);
  EXPECT_EQ(e.Drawn(), 0);
  EXPECT_EQ(e.depth.Get16(3, 3), 0x8000u);
  // u beyond 1: out of the texture, but the depth is written.
  Image depth2(32, 32, ColorKind16);
  depth2.Fill16(0xFFFF);
  RasterVertex far[3] = {e.tri[0], e.tri[1], e.tri[2]};
  for (auto& v : far) v.u = 2.0f;
  MemImgRasterizeTriangle(&e.target, &depth2, &tex, far, 0, nullptr, 1, 0, 0, 0);
  EXPECT_EQ(e.Drawn(), 0);
  EXPECT_EQ(depth2.Get16(3, 3), 0x8000u);
}

TEST(RasterEntry, ModeOneAtFullParameter) {
  EntryFixture e;
  Image copy(32, 32, ColorKind32);
  Image d2(32, 32, ColorKind16);
  d2.Fill16(0xFFFF);
  g_drawState.brightWord = 0xFF406080;
  MemImgRasterizeTriangle(&copy, &d2, nullptr, e.tri, 0, nullptr, 1, 0, 0, 0);
  g_drawState.blendMode = 1;
  g_drawState.blendParam = 255;
  MemImgRasterizeTriangle(&e.target, &e.depth, nullptr, e.tri, 0, nullptr, 1, 0, 0, 0);
  EXPECT_EQ(e.target.Bytes(), copy.Bytes());  // state-coloured: the copy, byte 3 included
  EXPECT_EQ(e.depth.Bytes(), d2.Bytes());
  // Vertex-coloured at 255: the alpha-blend loop, weighted by the vertex alpha.
  Image v(32, 32, ColorKind32);
  for (auto& vx : e.tri) vx.color = 0x80FFFFFFu;
  MemImgRasterizeTriangle(&v, nullptr, nullptr, e.tri, 0, nullptr, 0, 0, 1, 0);
  EXPECT_EQ(v.Get32(1, 1), 0x007F7F7Fu);  // (254 * 128) >> 8 each, byte 3 untouched
}

TEST(RasterEntry, DepthClipTwoDoesNotClip) {
  EntryFixture e;
  RasterVertex tri[3] = {Vtx(0, 0, -0.5f), Vtx(40, 0, 0.5f), Vtx(0, 40, 0.5f)};
  MemImgRasterizeTriangle(&e.target, nullptr, nullptr, tri, 0, nullptr, 0, 0, 0, 2);
  const int unclipped = e.Drawn();
  EXPECT_GT(unclipped, 400);
  Image clipped(32, 32, ColorKind32);
  MemImgRasterizeTriangle(&clipped, nullptr, nullptr, tri, 0, nullptr, 0, 0, 0, 1);
  int n = 0;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) n += clipped.Get32(x, y) != 0;
  EXPECT_GT(n, 0);
  EXPECT_LT(n, unclipped);
}
