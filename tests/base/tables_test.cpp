// Blend lookup tables and the float-to-int helpers.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/numeric.h"
#include "graphics/drawstate.h"

TEST(BlendTables, ScaleTablesFollowTheirRules) {
  BuildScaleTables();
  EXPECT_EQ(ScaleTable[255][200], 200u);
  EXPECT_EQ(ScaleTable[128][255], 128u);
  EXPECT_EQ(ScaleTable[128][63], 31u);  // 63*128/255 = 31.6
  EXPECT_EQ(SignedScaleTable[128][255 + 63], 31);
  EXPECT_EQ(SignedScaleTable[128][255 - 63], -31);  // toward zero, not floor
  EXPECT_EQ(SignedScaleTable[255][0], -255);
  EXPECT_EQ(SignedScaleTable[0][510], 0);
}

TEST(BlendTables, WeightTableForBorderAndRange) {
  BuildBlendGraphWeightTable(0, 255);  // offset 256 - 0 -> everything saturates
  EXPECT_EQ(BlendGraphWeightTable[0], 255);
  BuildBlendGraphWeightTable(255, 255);
  // offset = 256 - ((256 + 256) * 255 >> 8) = 256 - 510 = -254; b = 255 -> 255 - 254 = 1
  EXPECT_EQ(BlendGraphWeightTable[255], 1);
  EXPECT_EQ(BlendGraphWeightTable[0], 0);
  BuildBlendGraphWeightTable(128, 0);  // range 0: steep ramp
  // offset = 256 - ((65536 + 256) * 128 >> 8) = -32640: 0 up to 127, 128 at 128, 255 above
  EXPECT_EQ(BlendGraphWeightTable[128], 128);
  EXPECT_EQ(BlendGraphWeightTable[129], 255);
  EXPECT_EQ(BlendGraphWeightTable[127], 0);
}

TEST(Truncation, OutOfRangeAndNaNGiveIndefinite) {
  EXPECT_EQ(FloatToIntTrunc(-2.9f), -2);
  EXPECT_EQ(FloatToIntTrunc(2.9f), 2);
  EXPECT_EQ(DoubleToIntTrunc(2147483647.9), 2147483647);
  EXPECT_EQ(DoubleToIntTrunc(-2147483648.9), INT32_MIN);
  EXPECT_EQ(DoubleToIntTrunc(2147483648.0), INT32_MIN);
  EXPECT_EQ(FloatToIntTrunc(std::numeric_limits<float>::quiet_NaN()), INT32_MIN);
  EXPECT_EQ(FloatToIntTrunc(std::numeric_limits<float>::infinity()), INT32_MIN);
}

TEST(Rectangles, IntersectClampsAndNeverInverts) {
  IntRect clip{0, 0, 640, 480};
  IntRect r{-10, 470, 700, 460};  // y2 < y1 is raised first
  IntersectRectangles(&r, &clip);
  EXPECT_EQ(r.x1, 0);
  EXPECT_EQ(r.x2, 640);
  EXPECT_EQ(r.y1, 470);
  EXPECT_EQ(r.y2, 470);
}
