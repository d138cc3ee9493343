// Every attack of every boss at every difficulty for 3,000 frames with the
// bullet pool nearly full and the familiar pool full: spawns that find no
// record hand -1 on to the slot operations, which must come to no harm (run
// under the sanitizers to see it).
#include <gtest/gtest.h>

#include "boss/attack_table.h"
#include "boss/fake_context.h"

namespace {

class AttackSweep : public testing::TestWithParam<int> {};

TEST_P(AttackSweep, EveryAttackWithFullPools) {
  const int id = GetParam();
  {
    for (int attack = 0; attack < AttackCount(id); ++attack) {
      for (int d = 0; d <= 4; ++d) {
        FakeContext f(id, d, static_cast<uint32_t>(id * 100 + attack * 5 + d));
        f.recording = false;
        f.bulletRoom = 5;
        f.familiarRoom = 0;
        f.BeginAttack(attack);
        f.RunFrames(3000);
        const bool skipped = id % 2 == 0 && id <= 6 && attack == 1 && d < 2;
        // The extra fight's first attack turns the play to Extra itself.
        const int rowDifficulty = id == 21 && attack == 0 ? 4 : d;
        const bool starts = !skipped && FindAttackRow(id, attack, rowDifficulty) != nullptr;
        EXPECT_EQ(f.spellStarts, starts ? 1 : 0) << id << "/" << attack << " d" << d;
        EXPECT_LE(f.bullets.size(), 5u);
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Bosses, AttackSweep, testing::Range(0, kBossCount));

}  // namespace
