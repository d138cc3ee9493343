// Triangle set-up: first rows, span ends on pixel centres, rejections, the
// right edge below a middle vertex on the right, and draw-area clipping.
#include "raster/raster_test_util.h"

namespace {

struct SetUpResult {
  int ok;
  RasterFrame frame;
};

SetUpResult RunSetUp(MEMIMG* target, const RasterVertex* tri, const MEMIMG* texture) {
  SetUpResult r{};
  IntRect area;
  if (!RasterDrawArea(target, &area)) return r;
  r.ok = RasterSetUp(target, nullptr, texture, nullptr, tri, area, &r.frame);
  return r;
}

// Span of target row y after a set-up, or {0, 0} outside the rows.
SpanEntry RowSpan(const SetUpResult& r, int y) {
  const int i = y - r.frame.firstRow;
  if (i < 0 || i >= r.frame.rowCount) return SpanEntry{0, 0};
  return SpanTable[i];
}

class RasterSetUpTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetState(64, 64); }
  Image target{64, 64, ColorKind32};
  Image texture{8, 8, ColorKind32};
};

}  // namespace

TEST_F(RasterSetUpTest, FirstRowFollowsTheRowCentre) {
  RasterVertex tri[3] = {Vtx(10, 2.5f), Vtx(30, 20), Vtx(5, 20)};
  SetUpResult r = RunSetUp(&target, tri, &texture);
  ASSERT_EQ(r.ok, 1);
  EXPECT_EQ(r.frame.firstRow, 3);
  tri[0].y = 2.4f;
  r = RunSetUp(&target, tri, &texture);
  ASSERT_EQ(r.ok, 1);
  EXPECT_EQ(r.frame.firstRow, 2);
  // Rows run while their centre is above the bottom vertex: 19.5 is, 20.5 is not.
  EXPECT_EQ(r.frame.firstRow + r.frame.rowCount, 20);
}

TEST_F(RasterSetUpTest, SpanEndsOnPixelCentres) {
  // Flat bottom; at row 4 (centre 4.5) the edges cross x = 10.5 and x = 20.5.
  const RasterVertex tri[3] = {Vtx(15.5f, 0.5f), Vtx(5.5f, 8.5f), Vtx(25.5f, 8.5f)};
  const SetUpResult r = RunSetUp(&target, tri, &texture);
  ASSERT_EQ(r.ok, 1);
  const SpanEntry s = RowSpan(r, 4);
  EXPECT_EQ(s.firstX, 11);  // centre 10.5 on the left edge: outside
  EXPECT_EQ(s.count, 10);   // through pixel 20, whose centre lies on the right edge
}

TEST_F(RasterSetUpTest, RejectsThinAndCollinearTriangles) {
  RasterVertex tri[3] = {Vtx(10, 10), Vtx(11, 30), Vtx(10, 40)};  // 1.0 wide
  EXPECT_EQ(RunSetUp(&target, tri, &texture).ok, 0);
  tri[1].x = 11.2f;
  EXPECT_EQ(RunSetUp(&target, tri, &texture).ok, 1);
  const RasterVertex flat[3] = {Vtx(10, 10), Vtx(40, 11), Vtx(20, 11)};  // 1.0 high
  EXPECT_EQ(RunSetUp(&target, flat, &texture).ok, 0);
  const RasterVertex small[3] = {Vtx(10, 10), Vtx(11.2f, 10), Vtx(10, 11.2f)};
  EXPECT_EQ(RunSetUp(&target, small, &texture).ok, 1);
  const RasterVertex line[3] = {Vtx(0, 0), Vtx(10, 10), Vtx(20, 20)};
  EXPECT_EQ(RunSetUp(&target, line, &texture).ok, 0);
}

TEST_F(RasterSetUpTest, RejectsOutsideAreaAndDepthRange) {
  g_drawState.areaX1 = 20;
  const RasterVertex left[3] = {Vtx(0, 0), Vtx(19.9f, 10), Vtx(0, 20)};
  EXPECT_EQ(RunSetUp(&target, left, &texture).ok, 0);
  g_drawState.areaX1 = 0;
  RasterVertex tri[3] = {Vtx(0, 0, 1.0f), Vtx(20, 10, 1.0f), Vtx(0, 20, 1.0f)};
  EXPECT_EQ(RunSetUp(&target, tri, &texture).ok, 0);
  for (auto& v : tri) v.z = -0.01f;
  EXPECT_EQ(RunSetUp(&target, tri, &texture).ok, 0);
  tri[0].z = 0.0f;
  EXPECT_EQ(RunSetUp(&target, tri, &texture).ok, 1);
}

TEST_F(RasterSetUpTest, MiddleVertexOnTheRightMovesTheLowerEdge) {
  // Left edge x = 10.5; right edge to the middle vertex (30.5, 10.5), below it
  // from (31.5, 10.5) to the bottom.
  const RasterVertex tri[3] = {Vtx(10.5f, 0.5f), Vtx(30.5f, 10.5f), Vtx(10.5f, 20.5f)};
  const SetUpResult r = RunSetUp(&target, tri, &texture);
  ASSERT_EQ(r.ok, 1);
  EXPECT_EQ(RowSpan(r, 9).firstX, 11);
  EXPECT_EQ(RowSpan(r, 9).firstX + RowSpan(r, 9).count - 1, 28);   // x = 28.5 on the edge
  EXPECT_EQ(RowSpan(r, 10).firstX + RowSpan(r, 10).count - 1, 31); // x = 31.5 one pixel right
  // Middle vertex on the left: the left side switches at the middle vertex.
  const RasterVertex mirrored[3] = {Vtx(40.5f, 0.5f), Vtx(20.5f, 10.5f), Vtx(40.5f, 20.5f)};
  const SetUpResult m = RunSetUp(&target, mirrored, &texture);
  ASSERT_EQ(m.ok, 1);
  EXPECT_EQ(RowSpan(m, 10).firstX, 21);
  EXPECT_EQ(RowSpan(m, 10).firstX + RowSpan(m, 10).count - 1, 40);
}

TEST_F(RasterSetUpTest, AreaTopBelowTheMiddleVertex) {
  g_drawState.areaY1 = 15;
  const RasterVertex tri[3] = {Vtx(10.5f, 0.5f), Vtx(30.5f, 10.5f), Vtx(10.5f, 20.5f)};
  const SetUpResult r = RunSetUp(&target, tri, &texture);
  ASSERT_EQ(r.ok, 1);
  EXPECT_EQ(r.frame.firstRow, 15);
  // Row 15 (centre 15.5) follows the lower right edge: 31.5 - 2.1 * 5 = 21.
  EXPECT_EQ(SpanTable[0].firstX, 11);
  EXPECT_EQ(SpanTable[0].firstX + SpanTable[0].count - 1, 20);
}

TEST_F(RasterSetUpTest, SpansAreCutToTheArea) {
  g_drawState.areaX1 = 20;
  g_drawState.areaX2 = 30;
  // A triangle whose upper rows lie wholly left of x = 20.
  const RasterVertex tri[3] = {Vtx(0, 0), Vtx(40, 40), Vtx(0, 40)};
  const SetUpResult r = RunSetUp(&target, tri, &texture);
  ASSERT_EQ(r.ok, 1);
  EXPECT_EQ(RowSpan(r, 5).count, 0);
  EXPECT_EQ(RowSpan(r, 25).firstX, 20);
  EXPECT_EQ(RowSpan(r, 25).count, 6);   // pixels 20..25 (right edge at 25.5)
  EXPECT_EQ(RowSpan(r, 35).count, 10);  // 20..29, cut at the area's right edge
  for (int i = 0; i < r.frame.rowCount; ++i) {
    if (SpanTable[i].count == 0) continue;
    EXPECT_GE(SpanTable[i].firstX, 20);
    EXPECT_LE(SpanTable[i].firstX + SpanTable[i].count, 30);
  }
}

TEST_F(RasterSetUpTest, DrawAreaIsCutToTargetAndBounded) {
  IntRect area;
  g_drawState.areaX1 = -5;
  g_drawState.areaY2 = 100;  // beyond the 64-row target
  ASSERT_EQ(RasterDrawArea(&target, &area), 1);
  EXPECT_EQ(area.x1, 0);
  EXPECT_EQ(area.y2, 64);
  Image tall(4, 5000, ColorKind16);
  ResetState(4, 5000);
  EXPECT_EQ(RasterDrawArea(&tall, &area), 0);  // more rows than the span table holds
  g_drawState.areaY2 = 4096;
  EXPECT_EQ(RasterDrawArea(&tall, &area), 1);
  g_drawState.areaX2 = g_drawState.areaX1;
  EXPECT_EQ(RasterDrawArea(&tall, &area), 0);
}

TEST_F(RasterSetUpTest, PlanesInterpolateAtPixelCentres) {
  // Colour red rises 0 -> 255 from x = 0 to x = 51 along the top edge.
  const RasterVertex tri[3] = {Vtx(0, 0, 0.25f, 1, 0xFF000000u), Vtx(51, 0, 0.25f, 1, 0xFFFF0000u),
                               Vtx(0, 51, 0.75f, 1, 0xFF000000u)};
  const SetUpResult r = RunSetUp(&target, tri, &texture);
  ASSERT_EQ(r.ok, 1);
  EXPECT_EQ(r.frame.red.a, 5 * 16384);
  EXPECT_EQ(r.frame.red.b, 0);
  EXPECT_EQ(r.frame.rhw.a, 0);
  EXPECT_EQ(r.frame.rhw.r, 1 << 26);
  EXPECT_EQ(r.frame.alpha.r, 255 * 16384);
  // depth = 0.25 + y / 102: the row start is the value at row centre 0.5.
  EXPECT_NEAR(r.frame.depth.r / 16777216.0, 0.25 + 0.5 / 102, 1e-6);
  EXPECT_NEAR(r.frame.depth.b / 16777216.0, 1.0 / 102, 1e-6);
}

TEST(RasterSetUpRange, OutOfRangePlanesGiveTheIndefiniteValue) {
  ResetState(32, 32);
  Image target(32, 32, ColorKind32);
  Image texture(8, 8, ColorKind32);
  // rhw 40 does not fit 6.26 fixed point.
  const RasterVertex tri[3] = {Vtx(0, 0, 0.5f, 40), Vtx(20, 0, 0.5f, 40), Vtx(0, 20, 0.5f, 40)};
  IntRect area;
  ASSERT_EQ(RasterDrawArea(&target, &area), 1);
  RasterFrame f;
  ASSERT_EQ(RasterSetUp(&target, nullptr, &texture, nullptr, tri, area, &f), 1);
  EXPECT_EQ(static_cast<uint32_t>(f.rhw.r) - static_cast<uint32_t>(f.rhw.b / 2) -
                static_cast<uint32_t>(f.firstRow) * static_cast<uint32_t>(f.rhw.b),
            0x80000000u);
}
