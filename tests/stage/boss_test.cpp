// The boss's end-of-attack paths, its moves and the guards on spell values.
#include <gtest/gtest.h>

#include <cmath>

#include "playfield/backgroundframe.h"
#include "shell/sound.h"
#include "stage_field.h"

namespace {

// An attack index no script knows, so only the boss's own rules run.
constexpr int32_t kNoScript = 50;

struct EndCase {
  const char* name;
  int32_t spellId, hp, bonus;
  bool bombed;     // the player bombed: no capture
  bool timedOut;   // else won by damage
  uint32_t score;  // score gained
  uint32_t captures;
  int32_t gauge;
  int items;       // power items dropped
  int32_t barsLeft;
  int32_t hpAfter;
};

TEST(BossEnd, CaptureBombSurvivalTimeout) {
  const EndCase cases[] = {
      {"captured", 7, 6500, 2400000, false, false, 2400000, 1, 240, 8, 1, 1},
      {"bombed", 7, 6500, 2400000, true, false, 0, 0, 0, 8, 1, 1},
      {"survived", 60, 65535, 1500000, false, true, 1500000, 1, 0, 8, 1, 65535},
      {"survival bombed", 60, 65535, 1500000, true, true, 0, 0, 0, 8, 1, 65535},
      {"ordinary time-out", 0, 4000, 0, false, true, 0, 0, 0, 0, 2, 4000},
  };
  for (const EndCase& c : cases) {
    SCOPED_TRACE(c.name);
    StageField f;
    f.S().playback = 0;  // live play counts the history
    Boss& b = *f.boss;
    b.Start(1, 1, 100, 300, 0.0f, 0.0f);
    b.StartSpell(c.spellId, c.hp, 40, c.bonus);
    b.attackIndex = kNoScript;
    b.cutinFrames = 0;
    b.bonus = c.bonus;  // as it stands in the frame the attack ends
    if (c.bombed) b.capturable = 0, b.bonus = 0;
    if (c.timedOut)
      b.timeLeft = -0.01f;
    else
      b.hp = 0;
    b.Update(f.S());
    EXPECT_EQ(f.S().score, c.score);
    EXPECT_EQ(f.S().spellCaptures[c.spellId], c.captures);
    EXPECT_EQ(f.S().gauge, c.gauge);
    EXPECT_EQ(f.ActiveItems(ItemPower), c.items);
    EXPECT_EQ(b.barsLeft, c.barsLeft);
    EXPECT_EQ(b.hp, c.hpAfter);
    EXPECT_EQ(b.attackIndex, kNoScript + 1);
    EXPECT_EQ(b.phaseFrame, 1);  // reset, then advanced in the same frame
    EXPECT_EQ(b.spellId, 0);
    EXPECT_EQ(b.invulnerable, 1);
    EXPECT_EQ(b.moveFrames, 50);
    EXPECT_EQ(b.captureShowFrames, c.captures ? 99 : 0);
    // Survival items fall in the upper middle, the others around the boss
    // at (100, 300).
    const float x0 = c.timedOut ? 158.0f : 50.0f, y0 = c.timedOut ? 93.0f : 250.0f;
    for (const ItemSlot& it : f.item->slots) {
      if (!it.active) continue;
      EXPECT_TRUE(it.x >= x0 && it.x <= x0 + 100 && it.y >= y0 && it.y <= y0 + 100)
          << it.x << "," << it.y;
    }
  }
}

TEST(BossEnd, LastBarStartsDefeatAndMidBossHandsOver) {
  StageField f;
  Boss& b = *f.boss;
  b.Start(1, 0, 150, 100, 0.0f, 0.0f);
  b.StartSpell(2, 5000, 35, 2000000);
  b.attackIndex = kNoScript;
  b.hp = 0;
  f.stage->frame = 3801;
  b.Update(f.S());
  ASSERT_EQ(b.barsLeft, 0);
  ASSERT_EQ(b.defeatCounter, 1);
  int frames = 0;
  while (b.id == 0 && frames < 500) {
    b.Update(f.S());
    ++frames;
  }
  EXPECT_EQ(frames, 120);
  EXPECT_EQ(b.id, 1);
  EXPECT_EQ(b.active, 1);
  EXPECT_EQ(b.barsLeft, 2);
  EXPECT_EQ(f.stage->frame, 3802);
  EXPECT_EQ(b.moveFrames, 50);
  // Boss 1 beaten: it vanishes.
  b.barsLeft = 0;
  b.defeatCounter = 1;
  for (int i = 0; i < 120; ++i) b.Update(f.S());
  EXPECT_EQ(b.GetActiveId(), -1);
}

TEST(BossGuards, BonusDrainMovesAndHistory) {
  StageField f;
  Boss& b = *f.boss;
  b.Start(1, 9, 208, 128, 0.0f, 0.0f);
  // The drain never takes the bonus below 0, and no time means no drain.
  b.StartSpell(45, 6500, 50, 2800000);
  b.attackIndex = kNoScript;
  b.bonus = 100;
  b.Update(f.S());
  EXPECT_EQ(b.bonus, 0);
  b.StartSpell(46, 6500, 0, 2800000);
  EXPECT_EQ(b.bonusDrain, 0.0f);
  // Integer bonus per second, then per frame.
  b.StartSpell(47, 6500, 45, 2400000);
  EXPECT_EQ(b.bonusDrain, static_cast<float>(53333 / 60.0));
  // Ids above 255 touch no history; playback counts nothing.
  f.S().playback = 0;
  b.StartSpell(300, 100, 10, 1000);
  EXPECT_EQ(b.spellId, 300);
  b.StartSpell(47, 6500, 45, 2400000);
  f.S().playback = 1;
  b.StartSpell(47, 6500, 45, 2400000);
  EXPECT_EQ(f.S().spellAttempts[47], 1u);  // the one live start only
  EXPECT_EQ(f.S().spellAttempts[45], 0u);
  // MoveTo with no frames acts as one frame.
  b.x = 100.0f;
  b.y = 100.0f;
  b.MoveTo(130.0f, 140.0f, 0);
  EXPECT_EQ(b.moveFrames, 1);
  EXPECT_FLOAT_EQ(b.speed, 50.0f);
}

TEST(BossMoves, TowardPlayerTargets) {
  struct Case {
    float bossX, playerX;
    int32_t step;
    float targetX;
  };
  const Case cases[] = {{100, 300, 50, 150}, {120, 20, 50, 80}, {320, 330, 30, 336}, {200, 200, 10, 210}};
  for (const Case& c : cases) {
    StageField f;
    Boss& b = *f.boss;
    b.x = c.bossX;
    b.y = 100.0f;
    f.player->x = c.playerX;
    b.MoveTowardPlayer(c.step, 20, 30);
    const double a = b.angle / 180.0 * 3.141592653589793;
    EXPECT_NEAR(b.x + std::cos(a) * b.speed * 30, c.targetX, 1e-2) << c.bossX;
  }
}

TEST(BossBar, ColumnsClamped) {
  const int32_t cases[][3] = {{1000, 1000, 368}, {500, 1000, 184}, {1, 3, 123}, {5, 0, 0},
                              {2000, 1000, 368}, {0, 1000, 0},     {-5, 1000, 0}};
  for (const auto& c : cases) EXPECT_EQ(BossBarColumns(c[0], c[1]), c[2]) << c[0] << "/" << c[1];
}

TEST(BossCutin, PlacesAlongItsPath) {
  struct Case {
    int32_t c;
    bool boss;
    CutinPlace at;
  };
  const Case cases[] = {
      {180, true, {64, 28, 14}},   {165, true, {64, 188, 94}},  {155, true, {64, 188, -66}},
      {145, true, {128, 108, 14}}, {100, true, {128, 208, 14}}, {20, true, {128, 568, 14}},
      {180, false, {64, 188, 164}}, {100, false, {128, 8, 164}}, {20, false, {128, -352, 164}},
  };
  for (const Case& c : cases) {
    CutinPlace at = CutinPlaceAt(c.c, c.boss);
    EXPECT_EQ(at.alpha, c.at.alpha) << c.c;
    EXPECT_EQ(at.x, c.at.x) << c.c;
    EXPECT_EQ(at.y, c.at.y) << c.c;
  }
}

}  // namespace

namespace {

// Below 10 seconds the countdown ticks once per whole second; a dialogue
// stops the clock (and the bonus drain) while the boss goes on.
TEST(BossClock, TicksBelowTenAndStandsInDialogue) {
  StageField f;
  Sound sound(f.S());
  f.S().sound = &sound;
  Boss& b = *f.boss;
  b.Start(1, 9, 208, 128, 0.0f, 0.0f);
  b.StartSpell(45, 6500, 11, 1100000);
  b.attackIndex = kNoScript;
  int ticks = 0;
  int32_t last = sound.lastStart[SeTimeout];
  for (int i = 0; i < 200; ++i) {
    ++f.S().frameCount;
    b.Update(f.S());
    if (sound.lastStart[SeTimeout] != last) {
      ++ticks;
      last = sound.lastStart[SeTimeout];
      EXPECT_LT(b.timeLeft, 10.0f);
    }
  }
  EXPECT_EQ(ticks, 3);  // 10 -> 9, 9 -> 8, 8 -> 7
  const float time = b.timeLeft;
  const int32_t bonus = b.bonus, phase = b.phaseFrame;
  f.talk->Start(0);
  for (int i = 0; i < 30; ++i) b.Update(f.S());
  EXPECT_EQ(b.timeLeft, time);
  EXPECT_EQ(b.bonus, bonus);
  EXPECT_EQ(b.phaseFrame, phase);
}

}  // namespace
