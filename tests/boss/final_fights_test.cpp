// The late bosses (stage 5, the final stage, the extra stage) fought to their
// ends headless with the real boss, bullet, familiar and item objects: every
// attack runs, each fight ends, and a second fight from the same seed matches
// the first in its digest every second.
#include <gtest/gtest.h>

#include "library/tesra.h"
#include "playfield/digest.h"
#include "stage/stage_field.h"

namespace {

struct Fight {
  uint32_t attacksSeen = 0;  // bit per attack index that ran
  int frames = 0;
  bool ended = false;
  std::vector<uint64_t> digests;
};

// The player never shoots: an attack that can be shot down loses all its hit
// points after `shootFrames` frames; a survival card runs until its time is up.
Fight FightBoss(int32_t id, uint32_t difficulty, uint32_t seed, int32_t shootFrames) {
  StageField f;
  GameState& s = f.S();
  s.difficulty = difficulty;
  ApiSeedRandom(seed);
  Boss& b = *f.boss;
  b.Start(1, id, 208, 128, 0.0f, 0.0f);
  Fight fight;
  while (fight.frames < 60000) {
    if (b.defeatCounter != 0 || !b.active) {
      fight.ended = true;
      break;
    }
    if (b.attackIndex >= 0 && b.attackIndex < 32) fight.attacksSeen |= 1u << b.attackIndex;
    if (b.phaseFrame >= shootFrames && b.hp != 65535) b.hp = 0;
    f.player->x = 208.0f;
    f.player->y = 420.0f;
    b.Update(s);
    f.maho->Update(s);
    f.item->Update(s);
    f.bullet->Update(s);
    ++s.frameCount;
    if (++fight.frames % 60 == 0) fight.digests.push_back(ComputeFrameDigest(s).Combined());
  }
  return fight;
}

TEST(LateBossFights, EveryAttackRunsAndTheFightEnds) {
  struct Case {
    int32_t id;
    uint32_t difficulty;
    int attacks;
    bool twice;  // fought a second time from the same seed
  } cases[] = {{16, 0, 2, false}, {16, 3, 2, true},  {17, 1, 7, false}, {17, 2, 7, true},
               {18, 0, 1, false}, {19, 0, 9, true},  {19, 3, 9, false}, {20, 1, 1, false},
               {21, 4, 18, false}, {22, 4, 1, true}};
  for (const Case& c : cases) {
    const Fight first = FightBoss(c.id, c.difficulty, 40 + c.id, 600);
    EXPECT_TRUE(first.ended) << "boss " << c.id;
    EXPECT_EQ(first.attacksSeen, (1u << c.attacks) - 1) << "boss " << c.id;
    if (!c.twice) continue;
    const Fight again = FightBoss(c.id, c.difficulty, 40 + c.id, 600);
    ASSERT_EQ(again.digests.size(), first.digests.size()) << "boss " << c.id;
    for (size_t i = 0; i < first.digests.size(); ++i)
      ASSERT_EQ(again.digests[i], first.digests[i]) << "boss " << c.id << " second " << i;
  }
}

}  // namespace
