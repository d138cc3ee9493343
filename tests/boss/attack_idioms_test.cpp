// The scripts' draw: one generator word, the signed product's high half, also
// through the play field's binding of the script context.
#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "boss/idioms.h"
#include "library/tesra.h"
#include "playfield/boss_context.h"
#include "shell/gamestate.h"

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

// A negative maximum n draws n+1..0 (boss 19's falling files beside a wall),
// one generator word a draw whatever n is.
TEST(AttackIdioms, PlayfieldBindingDrawsNegativeMaximumsAtOrBelowZero) {
  auto state = std::make_unique<GameState>();
  PlayfieldBossContext ctx(*state);
  const int32_t maxima[] = {-8, 5, -1, -40, 0, INT_MIN, 383, -2};
  for (uint32_t seed = 1; seed <= 20; ++seed) {
    ApiSeedRandom(seed);
    std::vector<uint32_t> words;
    for (size_t i = 0; i <= std::size(maxima); ++i)
      words.push_back(static_cast<uint32_t>(ApiRandomInRange(0xFFFFFFFFu)));
    ApiSeedRandom(seed);
    for (size_t i = 0; i < std::size(maxima); ++i) {
      const int32_t n = maxima[i], v = ctx.Rnd(n);
      EXPECT_EQ(v, RangeFromWord(words[i], n)) << "seed " << seed << " n " << n;
      EXPECT_TRUE(n < 0 ? v > n && v <= 0 : v >= 0 && v <= n) << "n " << n << " gave " << v;
    }
    EXPECT_EQ(static_cast<uint32_t>(ApiRandomInRange(0xFFFFFFFFu)), words.back());
  }
}

}  // namespace
