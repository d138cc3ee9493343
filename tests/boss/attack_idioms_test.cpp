// The scripts' draw: one generator word, the signed product's high half.
#include <gtest/gtest.h>

#include <climits>

#include "boss/idioms.h"
#include "library/tesra.h"

namespace {

TEST(AttackIdioms, RangeFromWordTakesTheSignedProduct) {
  const struct {
    uint32_t word;
    int32_t n, want;
  } cases[] = {
      {0x80000000u, 9, 5},           {0xFFFFFFFFu, 383, 383}, {0, 359, 0},
      {0xFFFFFFFFu, -1, 0},          {0x80000000u, -5, -2},   {1, -2, -1},
      {0xFFFFFFFFu, INT_MAX, INT_MAX}, {0xFFFFFFFFu, INT_MIN, INT_MIN + 1},
  };
  for (const auto& c : cases) EXPECT_EQ(RangeFromWord(c.word, c.n), c.want) << c.word << " " << c.n;
}

TEST(AttackIdioms, DrawInRangeMatchesTheLibraryDrawWordForWord) {
  ApiSeedRandom(7);
  const int a = ApiRandomInRange(383), b = ApiRandomInRange(1), c = ApiRandomInRange(359);
  ApiSeedRandom(7);
  const int32_t da = DrawInRange(383), db = DrawInRange(1), dc = DrawInRange(359);
  EXPECT_EQ(std::vector<int>({a, b, c}), std::vector<int>({da, db, dc}));
}

}  // namespace
