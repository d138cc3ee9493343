// The blend lookup tables the screens start builds: exact entries of the two
// scale tables and of the blend-graph weight table for border/range pairs.
#include <gtest/gtest.h>

#include "graphics/drawstate.h"
#include "graphics/screen.h"

TEST(StartTables, ScaleTablesAreBuiltWithTheScreens) {
  g_screenSettings = ScreenSettings{};
  ASSERT_EQ(CreateScreens(), 0);
  EXPECT_EQ(ScaleTable[200][100], 78u);         // 20000 / 255 = 78.43
  EXPECT_EQ(ScaleTable[255][255], 255u);
  EXPECT_EQ(ScaleTable[0][255], 0u);
  EXPECT_EQ(ScaleTable[254][1], 0u);
  EXPECT_EQ(SignedScaleTable[200][255 - 100], -78);  // toward zero
  EXPECT_EQ(SignedScaleTable[200][255 + 100], 78);
  EXPECT_EQ(SignedScaleTable[1][0], -1);
  EXPECT_EQ(SignedScaleTable[1][1], 0);             // -254 / 255
  EXPECT_EQ(SignedScaleTable[255][510], 255);
  EXPECT_EQ(&BlendMulTable[3][0], &ScaleTable[3][0]);  // one storage, row stride 256
  EXPECT_EQ(&BlendDiffTable[1][0] - &BlendDiffTable[0][0], 512);
  DestroyScreens();
}

TEST(StartTables, WeightTableForBorderAndRangePairs) {
  struct Case {
    int border, range, b, weight;
  };
  // entry b = clamp(b * 256 / (range + 1) + 256 - (((65536 / (range + 1)) + 256) * border >> 8))
  const Case cases[] = {
      {128, 255, 0, 0},   {128, 255, 200, 200}, {128, 255, 255, 255},  // offset 0: identity
      {64, 127, 0, 64},   {64, 127, 95, 254},   {64, 127, 96, 255},    // 2b + 64
      {0, 0, 0, 255},     {255, 0, 254, 0},     {255, 0, 255, 1},      // offset -65279
      {10, 50, 0, 196},   {10, 50, 1, 201},                            // 256 / 51 = 5 per step
  };
  for (const Case& c : cases) {
    BuildBlendGraphWeightTable(c.border, c.range);
    EXPECT_EQ(BlendGraphWeightTable[c.b], c.weight) << c.border << "/" << c.range << " b " << c.b;
  }
  // Out-of-range settings are clamped to 0-255 first.
  BuildBlendGraphWeightTable(-40, 999);
  EXPECT_EQ(BlendGraphWeightTable[0], 255);  // border 0: everything at full weight
}
