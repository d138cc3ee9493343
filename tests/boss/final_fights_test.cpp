// The late bosses (stage 5, the final stage, the extra stage) fought to their
// ends headless with the real boss, bullet, familiar and item objects: every
// attack runs (the shootable ones 600 frames, the survival cards to their
// time-out) and each fight ends; the stage plays replay them
// (final_play_test.cpp).
#include <gtest/gtest.h>

#include "library/tesra.h"
#include "stage/stage_field.h"

namespace {

struct Fight {
  uint32_t attacksSeen = 0;  // bit per attack index that ran
  int frames = 0;
  bool ended = false;
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
    ++fight.frames;
  }
  return fight;
}

TEST(LateBossFights, EveryAttackRunsAndTheFightEnds) {
  struct Case {
    int32_t id;
    uint32_t difficulty;
    int attacks;
  } cases[] = {{16, 0, 2}, {16, 3, 2}, {17, 1, 7}, {17, 2, 7}, {18, 0, 1},
               {19, 0, 9}, {19, 3, 9}, {20, 1, 1}, {21, 4, 18}, {22, 4, 1}};
  for (const Case& c : cases) {
    const Fight fight = FightBoss(c.id, c.difficulty, 40 + c.id, 600);
    EXPECT_TRUE(fight.ended) << "boss " << c.id;
    EXPECT_EQ(fight.attacksSeen, (1u << c.attacks) - 1) << "boss " << c.id;
  }
}

}  // namespace
