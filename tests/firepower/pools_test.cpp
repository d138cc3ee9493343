// The enemy and familiar pools: slots, shot hits and deaths, damage passed to
// the owner, leaving the field and the guards against bad values.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "field.h"

namespace {

constexpr int kStill = 3;  // an enemy kind without a script

TEST(Pools, FullPoolsRefuseAndFirstFreeSlotIsTaken) {
  Field f;
  for (int i = 0; i < kEnemyPoolSize; ++i) EXPECT_EQ(f.enemy->Spawn(kStill, 100, 100, 0, 0, -1), i);
  EXPECT_EQ(f.enemy->Spawn(kStill, 100, 100, 0, 0, -1), -1);
  f.enemy->slots[37].active = 0;
  EXPECT_EQ(f.enemy->Spawn(kStill, 100, 100, 0, 0, -1), 37);
  for (int i = 0; i < kMahoPoolSize; ++i) EXPECT_EQ(f.maho->Spawn(99, 100, 100, 0, 0.3f, 0, 0), i);
  EXPECT_EQ(f.maho->Spawn(99, 100, 100, 0, 0.3f, 0, 0), -1);
  f.maho->slots[200].active = 0;
  EXPECT_EQ(f.maho->Spawn(99, 100, 100, 0, 0.3f, 0, 0), 200);
  // A kind without a script keeps its spawn values.
  Field g;
  int s = g.enemy->Spawn(414, 100, 100, 0, 0, -1);
  for (int k = 0; k < 30; ++k) g.enemy->Update(g.S());
  EXPECT_EQ(g.enemy->slots[s].hp, 10000);
  EXPECT_FLOAT_EQ(g.enemy->slots[s].y, 100.0f);
}

TEST(Pools, TwoHitsInOneFrameKillOnceWithScoreAndItem) {
  Field f;
  int s = f.enemy->Spawn(kStill, 200, 200, 9, 0, ItemPoint);
  f.enemy->slots[s].hp = 50;
  f.player->SpawnShot(200, 210, 0, 0, 270, 0, 17, 30, 0);
  f.player->SpawnShot(195, 200, 0, 0, 270, 0, 17, 30, 0);
  f.player->SpawnShot(200, 260, 0, 0, 270, 0, 17, 30, 0);  // 60 px off: (16 + 24)^2 < 60^2
  f.enemy->Update(f.S());
  EXPECT_EQ(f.S().score, 2000u);
  EXPECT_EQ(f.enemy->slots[s].hp, -10);
  EXPECT_EQ(f.enemy->slots[s].deathTimer, 2);
  EXPECT_EQ(f.player->shots[0].active, 0);
  EXPECT_EQ(f.player->shots[2].active, 1);
  ASSERT_EQ(f.item->CountActive(), 1);
  EXPECT_EQ(f.item->slots[0].kind, ItemPoint);
  EXPECT_FLOAT_EQ(f.item->slots[0].speed, -3.0f);
  // The burst shows for 8 more updates; no second item.
  for (int k = 0; k < 7; ++k) f.enemy->Update(f.S());
  EXPECT_EQ(f.enemy->slots[s].active, 1);
  f.enemy->Update(f.S());
  EXPECT_EQ(f.enemy->slots[s].active, 0);
  EXPECT_EQ(f.item->CountActive(), 1);
}

TEST(Pools, BeamHitsEveryFrame) {
  Field f;
  int s = f.enemy->Spawn(kStill, 208, 200, 0, 0, -1);
  int beam = f.player->SpawnShot(208, 400, 0, 0, 270, 0, 15, 4, 0);
  for (int k = 0; k < 3; ++k) f.enemy->Update(f.S());
  EXPECT_EQ(f.enemy->slots[s].hp, 10000 - 12);
  EXPECT_EQ(f.player->shots[beam].active, 1);
}

TEST(Pools, FamiliarsShareDamageAndDieWithTheirOwner) {
  Field f;
  int owner = f.enemy->Spawn(kStill, 100, 100, 0, 0, -1);
  f.enemy->slots[owner].hp = 100;
  int m = f.maho->Spawn(99, 300, 300, owner, 0.3f, 0, 0);
  f.player->slow = 1;  // shots pass through familiars in slow mode
  f.player->SpawnShot(300, 300, 0, 0, 270, 0, 17, 10, 0);
  f.maho->Update(f.S());
  EXPECT_EQ(f.maho->slots[m].hp, 10000);
  f.player->slow = 0;
  f.maho->Update(f.S());
  EXPECT_EQ(f.maho->slots[m].hp, 9990);
  EXPECT_EQ(f.enemy->slots[owner].hp, 97);
  EXPECT_EQ(f.S().score, 1000u);
  // The owner starts dying: the familiar dies in the next update and turns
  // the bullets within 32 px into items, feeding the gauge twice their count.
  f.bullet->Spawn(0, 310, 300, 0, 0, 0, 0);
  f.bullet->Spawn(0, 300, 400, 0, 0, 0, 0);
  f.enemy->slots[owner].hp = 0;
  f.enemy->Update(f.S());
  f.maho->Update(f.S());
  EXPECT_EQ(f.maho->slots[m].deathTimer, 9);
  EXPECT_EQ(f.S().gauge, 2);
  EXPECT_EQ(f.bullet->CountActive(), 1);
  for (int k = 0; k < 9; ++k) f.maho->Update(f.S());
  EXPECT_EQ(f.maho->slots[m].active, 0);
  // A boss familiar dies once the boss is gone.
  int b = f.maho->Spawn(99, 300, 300, -1, 1.0f, 1, 0);
  f.boss->active = 0;
  f.maho->Update(f.S());
  EXPECT_EQ(f.maho->slots[b].deathTimer, 9);
}

TEST(Pools, EnemyFamiliarsVanishOrStayWhenTheOwnerIsRemoved) {
  Field f;
  int owner = f.enemy->Spawn(kStill, 200, 200, 0, 0, -1);
  int orbiter = f.maho->Spawn(8, 248, 200, owner, 0.3f, 0, 1);
  int gunner = f.maho->Spawn(36, 248, 200, owner, 0.3f, 0, 0);
  f.maho->Update(f.S());
  f.enemy->slots[owner].active = 0;
  f.maho->Update(f.S());
  EXPECT_EQ(f.maho->slots[orbiter].active, 0);
  EXPECT_EQ(f.maho->slots[orbiter].deathTimer, 0);
  EXPECT_EQ(f.maho->slots[gunner].active, 1);
}

// A familiar that vanishes in its own script (kind 30 on its frame 240) still
// takes that frame's shot with its score and damage, and still dies with a
// boss that has gone, cancelling the bullets around it.
TEST(Pools, AFamiliarThatVanishesFinishesItsFrame) {
  for (const bool bossGone : {false, true}) {
    Field f;
    f.boss->active = 1;
    f.boss->hp = 1000;
    f.boss->x = 208.0f;
    f.boss->y = 128.0f;
    int m = f.maho->Spawn(30, 300, 200, -1, 1.0f, 0, 0);
    for (int k = 0; k < 240; ++k) f.maho->Update(f.S());
    ASSERT_EQ(f.maho->slots[m].frame, 240);
    const int shot = f.player->SpawnShot(300, 200, 0, 0, 270, 0, 17, 30, 0);
    f.bullet->Spawn(0, 310, 200, 0, 0, 0, 0);
    const int near = f.bullet->CountActive();  // with the one it fired in place
    f.boss->active = bossGone ? 0 : 1;
    const uint32_t score = f.S().score;
    f.maho->Update(f.S());
    SCOPED_TRACE(bossGone ? "boss gone" : "boss fighting");
    EXPECT_EQ(f.maho->slots[m].active, 0);
    EXPECT_EQ(f.player->shots[shot].active, 0);
    EXPECT_EQ(f.S().score - score, 1000u);
    EXPECT_EQ(f.boss->hp, 970);
    EXPECT_EQ(f.maho->slots[m].deathTimer, bossGone ? 9 : 0);
    EXPECT_EQ(f.bullet->CountActive(), bossGone ? 0 : near);
    EXPECT_EQ(f.S().gauge, bossGone ? 2 * near : 0);
  }
}

TEST(Pools, LeavingTheFieldAndPositionsThatAreNoNumber) {
  const struct { float x, y; bool stays; } cases[] = {
      {464.0f, 100.0f, false}, {463.9f, 100.0f, true}, {100.0f, -48.0f, false},
      {100.0f, -47.9f, true},  {-48.0f, 100.0f, false}, {100.0f, 463.9f, true},
      {std::numeric_limits<float>::quiet_NaN(), 100.0f, false},
      {100.0f, std::numeric_limits<float>::infinity(), false}};
  for (const auto& c : cases) {
    Field f;
    int e = f.enemy->Spawn(kStill, 0, 0, 0, 0, -1);
    f.enemy->slots[e].x = c.x;
    f.enemy->slots[e].y = c.y;
    int m = f.maho->Spawn(99, 0, 0, -1, 0.0f, 0, 0);
    f.boss->active = 1;
    f.maho->slots[m].x = c.x;
    f.maho->slots[m].y = c.y;
    f.enemy->Update(f.S());
    f.maho->Update(f.S());
    EXPECT_EQ(f.enemy->slots[e].active != 0, c.stays) << c.x << ", " << c.y;
    EXPECT_EQ(f.maho->slots[m].active != 0, c.stays) << c.x << ", " << c.y;
  }
}

TEST(Guards, ApproachNearTheTopNeverGoesNaN) {
  // With the player near the top the two halves of the approach can point
  // opposite ways; the speed is then 0, never a NaN.
  for (int kind : {0, 700}) {
    int clamped = 0;
    for (uint32_t seed = 0; seed < 64; ++seed) {
      Field f;
      f.player->x = 208.0f;
      f.player->y = 24.0f;
      ApiSeedRandom(seed);
      int e = f.enemy->Spawn(kind, 208, 16, 0, 0, -1);
      f.enemy->Update(f.S());
      const EnemySlot& s = f.enemy->slots[e];
      ASSERT_TRUE(std::isfinite(s.speed) && std::isfinite(s.x) && std::isfinite(s.y))
          << "kind " << kind << " seed " << seed;
      clamped += s.speed == 0.0f;
    }
    EXPECT_GT(clamped, 0) << "kind " << kind;
  }
}

TEST(Guards, HighSlotFamiliarTypesAndBadSprites) {
  // Kind 23 fires type 60 + its slot: slot 7 gives 67, slot 200 would be 260
  // and fires nothing.
  for (int fill : {7, 200}) {
    Field f(2);
    f.boss->active = 1;
    f.boss->x = 208.0f;
    f.boss->y = 128.0f;
    for (int i = 0; i < fill; ++i) f.maho->Spawn(99, 208, 300, -1, 0.0f, 0, 0);
    int m = f.maho->Spawn(23, 272, 128, -1, 0.0f, 0, 0);
    ASSERT_EQ(m, fill);
    for (int k = 0; k < 100; ++k) f.maho->Update(f.S());
    if (fill == 7) {
      EXPECT_EQ(f.bullet->CountActive(), 8);
      EXPECT_EQ(f.bullet->records[0].type, 67);
    } else {
      EXPECT_EQ(f.bullet->CountActive(), 0);
    }
  }
  // Sprites outside the tables draw nothing (and read nothing out of bounds),
  // alive and dying.
  Field f;
  for (int32_t sprite : {-9, 31, 32, 1000, -2147483647}) {
    f.enemy->Spawn(kStill, 100, 100, sprite, 1, -1);
    f.maho->Spawn(99, 100, 100, -1, 0.0f, sprite, 0);
  }
  f.enemy->Draw(f.S());
  f.maho->Draw(f.S());
  for (EnemySlot& s : f.enemy->slots) s.hp = 0;
  f.boss->active = 0;
  f.enemy->Update(f.S());
  f.maho->Update(f.S());
  f.enemy->Draw(f.S());
  f.maho->Draw(f.S());
  EXPECT_EQ(f.enemy->slots[0].deathTimer, 2);
  EXPECT_EQ(f.maho->slots[0].deathTimer, 9);
}

TEST(Pools, CharacterFourInGaugeModeCancelsAroundDyingEnemies) {
  Field f(1, 4);
  f.S().gaugeActive = 1;
  int e = f.enemy->Spawn(kStill, 200, 200, 0, 0, -1);
  f.bullet->Spawn(0, 220, 200, 0, 0, 0, 0);
  f.enemy->slots[e].hp = 0;
  f.enemy->Update(f.S());
  EXPECT_EQ(f.S().gauge, 2);
  EXPECT_EQ(f.bullet->CountActive(), 0);
}

}  // namespace
