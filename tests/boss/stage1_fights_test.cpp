// The stage 1 bosses of every route fought headless at every difficulty with
// the real boss, bullet, familiar and item objects, from the mid-boss through
// its hand-over to the stage boss: every attack that runs at the difficulty
// starts, the spells skipped below Hard never do, the fight ends, and a second
// fight from the same seed matches the first in its digest every second.
#include <gtest/gtest.h>

#include "library/tesra.h"
#include "playfield/digest.h"
#include "stage/stage_field.h"

namespace {

struct Fight {
  uint32_t started[2] = {0, 0};  // bit per attack index started, mid-boss and stage boss
  bool ended = false;
  std::vector<uint64_t> digests;
};

// The player never shoots: an attack loses all its hit points once its
// pattern has run for a while.
Fight FightRoute(int route, uint32_t difficulty, uint32_t seed) {
  StageField f;
  GameState& s = f.S();
  s.difficulty = difficulty;
  ApiSeedRandom(seed);
  Boss& b = *f.boss;
  b.Start(1, 2 * route, 208, 128, 0.0f, 0.0f);
  Fight fight;
  for (int frame = 1; frame <= 60000; ++frame) {
    if (!b.active) {
      fight.ended = true;
      break;
    }
    if (b.defeatCounter == 0 && b.phaseFrame == 121 && b.attackIndex < 32)
      fight.started[b.id - 2 * route] |= 1u << b.attackIndex;
    if (b.phaseFrame >= 700) b.hp = 0;
    b.Update(s);
    f.maho->Update(s);
    f.item->Update(s);
    f.bullet->Update(s);
    ++s.frameCount;
    if (frame % 60 == 0) fight.digests.push_back(ComputeFrameDigest(s).Combined());
  }
  return fight;
}

class Stage1Fights : public testing::TestWithParam<int> {};

TEST_P(Stage1Fights, EveryAttackAtEveryDifficulty) {
  const int route = GetParam();
  for (uint32_t d = 0; d < 4; ++d) {
    const Fight first = FightRoute(route, d, 10 + route);
    EXPECT_TRUE(first.ended) << "d" << d;
    EXPECT_EQ(first.started[0], d < 2 ? 0x1u : 0x3u) << "d" << d;
    EXPECT_EQ(first.started[1], 0xFu) << "d" << d;
    if (d != static_cast<uint32_t>(3 - route % 2)) continue;
    const Fight again = FightRoute(route, d, 10 + route);
    EXPECT_EQ(again.digests, first.digests) << "d" << d;
  }
}

INSTANTIATE_TEST_SUITE_P(Routes, Stage1Fights, testing::Range(0, 4));

}  // namespace
