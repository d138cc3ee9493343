// Hit tests, float wrappers and number digit splitting.
#include <gtest/gtest.h>

#include <cmath>

#include "shell/gamemath.h"

namespace {

TEST(HitTestCircles, TouchingCirclesDoNotHit) {
  EXPECT_FALSE(HitTestCircles(2, 3, 100.0f, 100.0f, 105.0f, 100.0f));
  EXPECT_TRUE(HitTestCircles(2, 3, 100.0f, 100.0f, 104.99f, 100.0f));
  EXPECT_FALSE(HitTestCircles(2, 3, 10.0f, 10.0f, 13.0f, 14.0f));  // 3-4-5
  EXPECT_TRUE(HitTestCircles(2, 3, 10.0f, 10.0f, 13.0f, 13.99f));
  EXPECT_FALSE(HitTestCircles(0, 0, 1.0f, 1.0f, 1.0f, 1.0f));  // 0 > 0 fails
  EXPECT_TRUE(HitTestCircles(16, 2, 208.0f, 240.0f, 190.5f, 240.0f));
}

TEST(HitTestLaser, MeasuresFromTheSegment) {
  // A laser from (100, 100) pointing right, 100 long, 10 wide; target radius 2.
  // Beside the middle: R = 7.
  EXPECT_TRUE(HitTestLaser(150.0f, 106.9f, 2, 100.0f, 100.0f, 0.0f, 100.0f, 10.0f));
  EXPECT_FALSE(HitTestLaser(150.0f, 107.0f, 2, 100.0f, 100.0f, 0.0f, 100.0f, 10.0f));
  // Beyond the end: measured from the end point (200, 100).
  EXPECT_TRUE(HitTestLaser(206.9f, 100.0f, 2, 100.0f, 100.0f, 0.0f, 100.0f, 10.0f));
  EXPECT_FALSE(HitTestLaser(207.0f, 100.0f, 2, 100.0f, 100.0f, 0.0f, 100.0f, 10.0f));
  EXPECT_FALSE(HitTestLaser(205.0f, 105.0f, 2, 100.0f, 100.0f, 0.0f, 100.0f, 10.0f));  // 7.07
  // Behind the origin: measured from the origin.
  EXPECT_TRUE(HitTestLaser(93.1f, 100.0f, 2, 100.0f, 100.0f, 0.0f, 100.0f, 10.0f));
  EXPECT_FALSE(HitTestLaser(93.0f, 100.0f, 2, 100.0f, 100.0f, 0.0f, 100.0f, 10.0f));
  // Pointing down the screen (90 degrees).
  EXPECT_TRUE(HitTestLaser(100.0f, 180.0f, 0, 100.0f, 100.0f, 90.0f, 100.0f, 4.0f));
  EXPECT_FALSE(HitTestLaser(103.0f, 180.0f, 0, 100.0f, 100.0f, 90.0f, 100.0f, 4.0f));
}

TEST(HitTestLaser, ZeroLengthNeverHits) {
  EXPECT_FALSE(HitTestLaser(100.0f, 100.0f, 5, 100.0f, 100.0f, 30.0f, 0.0f, 10.0f));
}

TEST(FloatWrappers, RoundOnceFromDouble) {
  EXPECT_EQ(FloatAtan2(1.0f, 0.0f), static_cast<float>(std::atan2(1.0, 0.0)));
  EXPECT_EQ(FloatAtan2(-1.0f, -1.0f), static_cast<float>(-3.0 * 3.141592653589793 / 4.0));
  EXPECT_EQ(FloatCos(1.0f), static_cast<float>(std::cos(1.0)));
  EXPECT_EQ(FloatSin(0.5f), static_cast<float>(std::sin(0.5)));
  EXPECT_EQ(FloatSqrt(2.0f), static_cast<float>(std::sqrt(2.0)));
}

TEST(NumberDigits, FixedWidthWithLeadingZeros) {
  uint8_t d[10];
  ASSERT_EQ(NumberDigits(3, 7, d), 3);
  EXPECT_EQ(d[0], 0);
  EXPECT_EQ(d[1], 0);
  EXPECT_EQ(d[2], 7);
  ASSERT_EQ(NumberDigits(10, 4294967295u, d), 10);
  const uint8_t big[10] = {4, 2, 9, 4, 9, 6, 7, 2, 9, 5};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(d[i], big[i]);
  EXPECT_EQ(NumberDigits(0, 5, d), 0);
  EXPECT_EQ(NumberDigits(-2, 5, d), 0);
  ASSERT_EQ(NumberDigits(1, 0, d), 1);
  EXPECT_EQ(d[0], 0);
}

TEST(NumberDigits, OutOfRangeValuesStayInsideTheTable) {
  uint8_t d[10];
  ASSERT_EQ(NumberDigits(2, 123, d), 2);
  EXPECT_EQ(d[0], 9);
  EXPECT_EQ(d[1], 9);
  ASSERT_EQ(NumberDigits(12, 5, d), 10);  // more places than 32 bits hold
  EXPECT_EQ(d[9], 5);
  ASSERT_EQ(SmallNumberDigits(4, -17, d), 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(d[i], 0);
  ASSERT_EQ(SmallNumberDigits(8, 12345678, d), 8);
  EXPECT_EQ(d[0], 1);
  EXPECT_EQ(d[7], 8);
  for (uint32_t v : {0u, 9u, 10u, 99999u, 100000u, 0xFFFFFFFFu})
    for (int n = 1; n <= 10; ++n) {
      int count = NumberDigits(n, v, d);
      for (int i = 0; i < count; ++i) ASSERT_LE(d[i], 9) << v << " in " << n;
    }
}

}  // namespace
