// Graph handles: derived graphs share pixels and outlive their parent,
// offsets accumulate, derives are cut to the parent, stale and foreign
// handles are refused, split pieces go row by row, and the release is whole.
#include <gtest/gtest.h>

#include <cstring>

#include "graphics/graph_ops.h"
#include "graphics/graph_registry.h"

namespace {

// A 32-bit image whose pixel (x, y) holds 0x00YYXX.
int MakeGraph(int width, int height) {
  MEMIMG image;
  std::memset(&image, 0, sizeof image);
  if (CreateMemImg(&image, width, height, -1, 0, ColorKind32, 0, 0, 0) != 0) return -1;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const uint32_t v = static_cast<uint32_t>((y << 8) | x);
      std::memcpy(MemImgRow(&image, y) + x * 4, &v, 4);
    }
  return AddGraphFromMemImg(&image, 0);
}

uint32_t PixelOf(int graph, int x, int y) {
  MEMIMG view;
  const MEMIMG* image = GraphHandleMemImg(graph, &view);
  if (!image) return 0xDEADBEEF;
  uint32_t v;
  std::memcpy(&v, MemImgRow(image, y) + x * 4, 4);
  return v;
}

class GraphRegistry : public ::testing::Test {
 protected:
  void TearDown() override { DeleteAllGraphs(); }
};

}  // namespace

TEST_F(GraphRegistry, DerivedGraphsSharePixelsAndOutliveTheParent) {
  const int sheet = MakeGraph(8, 6);
  ASSERT_GE(sheet, 0);
  const int part = DeriveGraph(2, 1, 4, 3, sheet);
  ASSERT_GE(part, 0);
  EXPECT_EQ(PixelOf(part, 0, 0), 0x0102u);
  const int inner = DeriveGraph(1, 1, 10, 10, part);  // cut to 3 x 2
  ASSERT_GE(inner, 0);
  EXPECT_EQ(GetGraphRecord(inner)->width, 3);
  EXPECT_EQ(GetGraphRecord(inner)->height, 2);
  EXPECT_EQ(PixelOf(inner, 0, 0), 0x0203u);  // offsets add up: (2 + 1, 1 + 1)
  EXPECT_EQ(PixelOf(inner, 2, 1), 0x0305u);
  EXPECT_EQ(DeleteGraph(sheet), 0);  // the game frees sheets right after cutting them
  EXPECT_EQ(CountSurfaceData(), 1);
  EXPECT_EQ(PixelOf(part, 3, 2), 0x0305u);
  EXPECT_EQ(DeleteGraph(part), 0);
  EXPECT_EQ(PixelOf(inner, 1, 0), 0x0204u);
  EXPECT_EQ(DeleteGraph(inner), 0);
  EXPECT_EQ(CountSurfaceData(), 0);
  EXPECT_EQ(CountSurface2D(), 0);
}

TEST_F(GraphRegistry, DeriveRectanglesAreCheckedAndCut) {
  const int sheet = MakeGraph(8, 6);
  EXPECT_EQ(DeriveGraph(8, 0, 1, 1, sheet), -1);   // starts past the right edge
  EXPECT_EQ(DeriveGraph(0, 6, 1, 1, sheet), -1);   // starts below
  EXPECT_EQ(DeriveGraph(-1, 0, 2, 2, sheet), -1);
  EXPECT_EQ(DeriveGraph(0, 0, -2, 2, sheet), -1);
  const int edge = DeriveGraph(6, 4, 5, 5, sheet);
  ASSERT_GE(edge, 0);
  EXPECT_EQ(GetGraphRecord(edge)->width, 2);
  EXPECT_EQ(GetGraphRecord(edge)->height, 2);
  const int empty = DeriveGraph(3, 3, 0, 2, sheet);  // valid, draws nothing
  ASSERT_GE(empty, 0);
  EXPECT_EQ(GetGraphRecord(empty)->width, 0);
  MEMIMG view;
  ASSERT_NE(GraphHandleMemImg(empty, &view), nullptr);
  EXPECT_EQ(view.width, 0);
}

TEST_F(GraphRegistry, StaleForeignAndInvalidHandlesAreRefused) {
  const int first = MakeGraph(2, 2);
  ASSERT_GE(first, 0);
  EXPECT_EQ(first >> 27, 1);  // the graph kind
  ASSERT_EQ(DeleteGraph(first), 0);
  const int second = MakeGraph(2, 2);  // takes the same slot with a new check value
  EXPECT_EQ(second & 0xFFFF, first & 0xFFFF);
  EXPECT_NE(second, first);
  EXPECT_EQ(GetGraphRecord(first), nullptr);
  EXPECT_EQ(DeleteGraph(first), -1);
  EXPECT_NE(GetGraphRecord(second), nullptr);
  const int foreign = (8 << 27) | (second & 0x07FFFFFF);  // same slot and check, font kind
  EXPECT_EQ(GetGraphRecord(foreign), nullptr);
  EXPECT_EQ(DeleteGraph(-1), -1);
  EXPECT_EQ(DeleteGraph(0), -1);
  EXPECT_EQ(DeriveGraph(0, 0, 1, 1, first), -1);
  EXPECT_EQ(CountGraphs(), 1);
}

TEST_F(GraphRegistry, SplitGoesRowByRowAndFailsWhole) {
  const int sheet = MakeGraph(6, 4);
  int pieces[6];
  ASSERT_EQ(SplitGraphInner(sheet, 5, 3, 2, 2, 2, pieces), 0);
  EXPECT_EQ(PixelOf(pieces[0], 0, 0), 0x0000u);
  EXPECT_EQ(PixelOf(pieces[2], 1, 1), 0x0105u);  // third piece of the first row
  EXPECT_EQ(PixelOf(pieces[4], 0, 0), 0x0202u);  // second piece of the second row
  const int before = CountGraphs();
  EXPECT_EQ(SplitGraphInner(sheet, 6, 3, 2, 2, 3, pieces), -1);  // rows past the bottom
  EXPECT_EQ(SplitGraphInner(sheet, 7, 3, 2, 2, 2, pieces), -1);  // more pieces than cells
  EXPECT_EQ(SplitGraphInner(sheet, 2, 4, 1, 2, 2, pieces), -1);  // columns past the edge
  EXPECT_EQ(CountGraphs(), before);
}

TEST_F(GraphRegistry, ReleaseOfEverything) {
  const int sheet = MakeGraph(4, 4);
  DeriveGraph(1, 1, 2, 2, sheet);
  MakeGraph(3, 3);
  DeleteAllGraphs();
  EXPECT_EQ(CountGraphs(), 0);
  EXPECT_EQ(CountSurface2D(), 0);
  EXPECT_EQ(CountSurfaceData(), 0);
  EXPECT_EQ(GetGraphRecord(sheet), nullptr);
}
