// The player: movement, grazes, the hit window and the miss, bombs, respawn
// and game over, the replay input limits, and the player's shots.
#include <gtest/gtest.h>

#include <cmath>

#include "field.h"
#include "playfield/boss.h"
#include "playfield/enemy.h"
#include "playfield/maho.h"
#include "scenes/scene.h"
#include "shell/input.h"

namespace {

TEST(Player, MovementByHeldDirections) {
  const float d = 4.5f * std::sqrt(0.5f);
  struct Case {
    uint8_t bits;
    uint32_t character;
    float dx, dy;
    int moveDir;
  } cases[] = {
      {FrameLeft, 0, -4.5f, 0, 1},
      {FrameRight, 0, 4.5f, 0, 2},
      {FrameLeft | FrameRight, 0, 4.5f, 0, 2},  // both: right at full speed
      {FrameUp | FrameDown, 0, 4.5f, 0, 0},     // also right
      {FrameUp, 0, 0, -4.5f, 0},
      {FrameUp | FrameRight, 0, d, -d, 2},
      {FrameDown | FrameLeft, 0, -d, d, 1},
      {FrameSlow | FrameLeft, 0, -2.0f, 0, 1},
      {FrameSlow | FrameDown, 1, 0, 1.0f, 0},
      {FrameRight, 4, 5.0f, 0, 2},
      {FrameSlow, 3, 0, 0, 0},
  };
  for (const Case& c : cases) {
    Field f;
    f.S().character = c.character;
    f.player->Reset(f.S());
    f.player->x = 208;
    f.player->y = 300;
    f.Input(c.bits);
    f.player->Update(f.S());
    SCOPED_TRACE(testing::Message() << "bits " << int(c.bits) << " character " << c.character);
    EXPECT_NEAR(f.player->x - 208.0f, c.dx, 1e-4);
    EXPECT_NEAR(f.player->y - 300.0f, c.dy, 1e-4);
    EXPECT_EQ(f.player->moveDir, c.moveDir);
    EXPECT_EQ(f.player->slow, (c.bits & FrameSlow) ? 1 : 0);
    EXPECT_EQ(f.S().inputIndex, 1u);
  }
  Field f;
  f.player->x = 25;
  f.player->y = 457;
  f.Input(FrameLeft | FrameDown);
  f.player->Update(f.S());
  EXPECT_FLOAT_EQ(f.player->x, 24.0f);
  EXPECT_FLOAT_EQ(f.player->y, 456.0f);
}

TEST(Player, GrazeCountsOncePerBulletAndEvery12thFrameForLasers) {
  Field f;
  f.player->x = 200;
  f.player->y = 300;
  int b = f.bullet->Spawn(0, 210, 300, 0, 0, 0, 0);
  int harmless = f.bullet->Spawn(0, 190, 300, 0, 0, 0, 0);
  f.bullet->SetHarmless(harmless);
  for (int i = 0; i < 3; ++i) f.player->Update(f.S());
  EXPECT_EQ(f.S().graze, 1);
  EXPECT_EQ(f.S().stageGraze, 1);
  EXPECT_EQ(f.S().score, 2000u);
  EXPECT_TRUE(f.R(b).grazed);
  EXPECT_EQ(f.player->hitCounter, 0);
  EXPECT_EQ(f.player->sparkActive[0], 1);

  Field g;
  g.player->x = 200;
  g.player->y = 300;
  g.bullet->SpawnLaser(212, 250, 0, 90, 0, 100, 4, -10, 0);  // on, 12 px beside
  for (int frame = 0; frame < 24; ++frame) {
    g.S().frameCount = frame;
    g.player->Update(g.S());
  }
  EXPECT_EQ(g.S().graze, 2);
  EXPECT_EQ(g.player->hitCounter, 0);
  EXPECT_EQ(g.S().gauge, 2);
}

// During the stage 3 boss's spell cards a bullet grazes within its widened
// radius trunc(1.5 r), also one of type 117 that never hits.
TEST(Player, GrazeWithinTheStage3BossesWidenedRadius) {
  const struct {
    int type, spellId, graze;
  } cases[] = {{100, 5, 1}, {100, 0, 0}, {117, 5, 1}};
  for (const auto& c : cases) {
    Field f;
    GameState& s = f.S();
    auto boss = std::make_unique<Boss>(s);
    s.boss = boss.get();
    boss->active = 1;
    boss->id = 11;
    boss->spellId = c.spellId;
    f.player->x = 200;
    f.player->y = 300;
    ASSERT_GE(BulletRadius(c.type), 2);  // the widened radius reaches further
    f.bullet->Spawn(c.type, 200.5f + 16 + BulletRadius(c.type), 300, 0, 0, 0, 0);
    f.player->Update(s);
    EXPECT_EQ(s.graze, c.graze) << "type " << c.type << " spell " << c.spellId;
    EXPECT_EQ(f.player->hitCounter, 0);
  }
}

TEST(Player, HitWindowOnlyThePlayerRunsThenMiss) {
  Field f;
  GameState& s = f.S();
  s.lives = 2;
  s.power = 20;
  s.bombs = 1;
  s.gauge = 300;
  f.player->x = 200;
  f.player->y = 300;
  f.bullet->Spawn(0, 200, 300, 0, 0, 0, 0);
  int mover = f.bullet->Spawn(40, 100, 100, 1, 0, 0, 0);
  UpdateScene(s);
  EXPECT_EQ(f.player->hitCounter, 2);
  float moverX = f.R(mover).x;
  for (int n = 2; n <= 8; ++n) UpdateScene(s);
  EXPECT_EQ(f.R(mover).x, moverX);  // the field stands
  EXPECT_EQ(f.player->missed, 0);
  EXPECT_EQ(s.lives, 2);
  UpdateScene(s);  // the ninth update reaches the window's end
  EXPECT_EQ(f.player->missed, 1);
  EXPECT_EQ(f.player->hitCounter, 0);
  EXPECT_EQ(s.lives, 1);
  EXPECT_EQ(s.power, 4);
  EXPECT_EQ(s.bombs, 3);
  EXPECT_EQ(s.gauge, 0);
  EXPECT_EQ(f.player->invulnerable, 300);
  EXPECT_EQ(f.bullet->CountActive(), 0);
  int kinds[8] = {};
  for (const ItemSlot& it : f.item->slots)
    if (it.active) ++kinds[it.kind];
  EXPECT_EQ(kinds[ItemPower], 4);
  EXPECT_EQ(kinds[ItemBigPower], 1);
}

TEST(Player, BombInTheHitWindowCancelsTheMiss) {
  Field f;
  GameState& s = f.S();
  s.lives = 2;
  s.bombs = 2;
  s.gauge = 150;
  f.player->x = 200;
  f.player->y = 300;
  f.bullet->Spawn(0, 200, 300, 0, 0, 0, 0);
  UpdateScene(s);
  ASSERT_EQ(f.player->hitCounter, 2);
  f.Input(FrameBomb);
  UpdateScene(s);
  EXPECT_EQ(f.player->hitCounter, 0);
  EXPECT_EQ(s.bombs, 1);
  EXPECT_EQ(s.gauge, 0);  // 150 - 200 is raised to 0
  EXPECT_EQ(f.player->invulnerable, 299);
  EXPECT_EQ(f.player->bombTimer, 199);
  for (int i = 0; i < 20; ++i) UpdateScene(s);
  EXPECT_EQ(s.lives, 2);
  EXPECT_EQ(f.player->missed, 0);
}

TEST(Player, HeldBombRestartsTheFrameAfterTheLastEnds) {
  Field f;
  f.S().bombs = 2;
  for (int i = 0; i < 201; ++i) {
    f.Input(FrameBomb);
    f.player->Update(f.S());
    if (i == 199) {
      EXPECT_EQ(f.player->bombTimer, 0);
      EXPECT_EQ(f.S().bombs, 1);
    }
  }
  EXPECT_EQ(f.S().bombs, 0);
  EXPECT_EQ(f.player->bombTimer, 199);

  struct Timer {
    int kind, frames;
  } timers[] = {{0, 200}, {1, 180}, {7, 250}, {9, 200}};
  for (const Timer& t : timers) {
    f.player->SetBombTimers(t.kind);
    EXPECT_EQ(f.player->bombTimer, t.frames) << t.kind;
    EXPECT_EQ(f.player->cutinTimer, 180);
    EXPECT_EQ(f.player->invulnerable, 300);
  }
}

TEST(Player, LastBossAbsorbsTheMissAndRefusesBombs) {
  Field f;
  GameState& s = f.S();
  auto boss = std::make_unique<Boss>(s);
  s.boss = boss.get();
  boss->active = 1;
  boss->id = 22;
  boss->capturable = 1;
  s.lives = 2;
  s.bombs = 2;
  s.power = 40;
  f.Input(FrameBomb);
  f.player->Update(s);
  EXPECT_EQ(s.bombs, 2);
  f.bullet->Spawn(0, 10, 10, 0, 0, 0, 0);
  f.player->Miss(s);
  EXPECT_EQ(boss->capturable, 0);
  EXPECT_EQ(f.bullet->CountActive(), 0);
  EXPECT_EQ(s.lives, 2);
  EXPECT_EQ(s.power, 40);
  EXPECT_EQ(f.player->missed, 0);
}

TEST(Player, RespawnAndGameOver) {
  struct Case {
    int lives;
    uint32_t difficulty;
    bool practice, playback;
    uint32_t scene;
  } cases[] = {
      {1, 1, false, false, ScenePlaying}, {0, 1, false, false, SceneContinue},
      {0, 4, false, false, SceneNameEntry}, {0, 2, true, false, SceneTitle},
      {0, 2, false, true, SceneReplaySelect},
  };
  for (const Case& c : cases) {
    Field f;
    GameState& s = f.S();
    s.lives = c.lives;
    s.difficulty = c.difficulty;
    s.practice = c.practice;
    s.playback = c.playback;
    f.player->x = 100;
    f.player->y = 200;
    f.player->Miss(s);
    for (int i = 0; i < 30; ++i) f.player->Update(s);
    SCOPED_TRACE(testing::Message() << "lives " << c.lives << " difficulty " << c.difficulty);
    EXPECT_EQ(f.player->missed, 1);
    EXPECT_EQ(s.scene, static_cast<uint32_t>(ScenePlaying));
    f.player->Update(s);
    EXPECT_EQ(f.player->missed, 0);
    EXPECT_FLOAT_EQ(f.player->x, 208.0f);
    EXPECT_FLOAT_EQ(f.player->y, 420.0f);
    EXPECT_EQ(s.scene, c.scene);
    if (c.playback) {
      EXPECT_EQ(s.playback, 0);
    }
    if (c.lives == 0) {
      int full = 0;
      for (const ItemSlot& it : f.item->slots) full += it.kind == ItemFullPower ? 1 : 0;
      EXPECT_EQ(full, 4);
    }
  }
}

TEST(Player, HitsByBodiesAndTheThirdBossesSpell) {
  enum Source { EnemyBody, BossBody, Familiar, Bullet117, BigBullet };
  struct Case {
    Source source;
    float dx;
    int param;       // familiar parameter, or the boss's spell id
    bool slow;
    bool hit;
  } cases[] = {
      {EnemyBody, 9.9f, 0, false, true},  {EnemyBody, 10, 0, false, false},   // 16 / 2 + 2
      {BossBody, 17.9f, 0, false, true},  {BossBody, 18, 0, false, false},    // 32 / 2 + 2
      {Familiar, 13.9f, 1, false, true},  {Familiar, 13.9f, 2, false, false}, // odd parameter only
      {Familiar, 13.9f, 1, true, false},                                      // never when slow
      {Bullet117, 0, 5, false, false},    {Bullet117, 0, 0, false, true},     // 117 harmless in spell
      {BigBullet, 7.9f, 5, false, true},  {BigBullet, 7.9f, 0, false, false}, // radius 4 x 1.5
  };
  for (const Case& c : cases) {
    Field f;
    GameState& s = f.S();
    auto boss = std::make_unique<Boss>(s);
    auto enemy = std::make_unique<Enemy>(s);
    auto maho = std::make_unique<Maho>(s);
    s.boss = boss.get();
    s.enemy = enemy.get();
    s.maho = maho.get();
    f.player->x = 200;
    f.player->y = 300;
    const float x = 200 + c.dx;
    switch (c.source) {
      case EnemyBody:
        enemy->slots[7] = EnemySlot{};
        enemy->slots[7].active = 1;
        enemy->slots[7].x = x;
        enemy->slots[7].y = 300;
        break;
      case BossBody:
        boss->active = 1;
        boss->id = 3;
        boss->x = x;
        boss->y = 300;
        break;
      case Familiar:
        maho->slots[0].active = 1;
        maho->slots[0].x = x;
        maho->slots[0].y = 300;
        maho->slots[0].sprite = c.param;
        break;
      case Bullet117:
      case BigBullet:
        boss->active = 1;
        boss->id = 11;
        boss->x = 0;
        boss->y = 0;
        boss->spellId = c.param;
        f.bullet->Spawn(c.source == Bullet117 ? 117 : 100, x, 300, 0, 0, 0, 0);
        break;
    }
    if (c.slow) f.Input(FrameSlow);
    f.player->Update(s);
    EXPECT_EQ(f.player->hitCounter != 0, c.hit) << "source " << c.source << " dx " << c.dx;
  }
}

TEST(Player, PauseOnAFreshPressOnly) {
  struct Case {
    bool now, before;
    uint32_t scene;
  } cases[] = {{true, false, ScenePause}, {true, true, ScenePlaying}, {false, false, ScenePlaying}};
  for (const Case& c : cases) {
    Field f;
    Input input;
    input.pressed[0][ButtonEscape] = c.now;
    input.previous[0][ButtonEscape] = c.before;
    f.S().input = &input;
    f.player->Update(f.S());
    EXPECT_EQ(f.S().scene, c.scene);
  }
}

TEST(Player, ReplayInputLimits) {
  // Playback stops before the last recorded byte.
  Field f;
  f.S().replayHeader.inputCount = 5;
  int updates = 0;
  while (f.S().playback && updates < 10) {
    f.player->Update(f.S());
    ++updates;
  }
  EXPECT_EQ(updates, 4);
  EXPECT_EQ(f.S().scene, static_cast<uint32_t>(SceneReplaySelect));
  EXPECT_EQ(f.S().inputIndex, 0u);

  // Recording ends where a replay file ends.
  Field g;
  g.S().playback = 0;
  g.S().inputIndex = kMaxReplayFrames - 1;
  g.S().recordInputs[kMaxReplayFrames] = 0xAB;
  g.player->Update(g.S());
  g.player->Update(g.S());
  EXPECT_EQ(g.S().inputIndex, kMaxReplayFrames);
  EXPECT_EQ(g.S().recordInputs[kMaxReplayFrames], 0xAB);
}

TEST(Player, ResetClearsWhatAnEarlierPlayLeft) {
  Field f;
  f.player->sparkActive[3] = 1;
  f.player->optionPos[2][0] = 99;
  f.player->shots[7].active = 1;
  f.S().difficulty = 2;
  f.S().hiScore[10] = 777;
  f.S().livesSetting = 2;
  f.S().bombsSetting = 1;
  f.S().score = 5;
  f.player->Reset(f.S());
  EXPECT_EQ(f.player->sparkActive[3], 0);
  EXPECT_EQ(f.player->optionPos[2][0], 0.0f);
  EXPECT_EQ(f.player->shots[7].active, 0);
  EXPECT_EQ(f.player->lastShotFrame, -1000);
  EXPECT_EQ(f.player->invulnerable, 270);
  EXPECT_EQ(f.S().hiScoreShown, 777u);
  EXPECT_EQ(f.S().lives, 2);
  EXPECT_EQ(f.S().bombs, 1);
  EXPECT_EQ(f.S().score, 0u);
}

TEST(PlayerShots, PoolHitsAndLeavingTheField) {
  Field f;
  for (int i = 0; i < kPlayerShotPoolSize; ++i) ASSERT_EQ(f.player->SpawnShot(0, 0, 0, 0, 0, 0, 0, 1, 0), i);
  EXPECT_EQ(f.player->SpawnShot(0, 0, 0, 0, 0, 0, 0, 1, 0), -1);
  EXPECT_EQ(f.player->lastShotSlot, -1);
  f.player->OnShotHit(3);     // a circle shot is gone
  f.player->shots[4].kind = 7;
  f.player->OnShotHit(4);     // a beam stays
  f.player->OnShotHit(-1);
  f.player->OnShotHit(256);
  EXPECT_EQ(f.player->shots[3].active, 0);
  EXPECT_EQ(f.player->shots[4].active, 1);
  EXPECT_EQ(f.player->SpawnCancelShot(1, 2, 3, 4, 5, 6, 7, 8, 9), 3);
  EXPECT_EQ(f.player->shots[3].cancelsBullets, 1);

  struct Edge {
    float x, y;
    bool stays;
  } edges[] = {{448, 100, true}, {448.5f, 100, false}, {100, 512, true}, {100, 512.5f, false},
               {-48, 100, true}, {-48.5f, 100, false}};
  for (const Edge& e : edges) {
    Field g;
    g.player->SpawnShot(e.x, e.y, 0, 0, 0, 0, 0, 1, 0);
    g.player->UpdateShots(g.S());
    EXPECT_EQ(g.player->shots[0].active != 0, e.stays) << e.x << "," << e.y;
  }

  // A bouncing shot still beyond the wall flips again.
  Field g;
  g.player->SpawnShot(402, 100, 1, 0, 0, 0, 0, 1, 2);
  g.player->UpdateShots(g.S());
  EXPECT_FLOAT_EQ(g.player->shots[0].angle, 180.0f);
  EXPECT_NEAR(g.player->shots[0].x, 401.0f, 1e-4);
  g.player->UpdateShots(g.S());
  EXPECT_FLOAT_EQ(g.player->shots[0].angle, 0.0f);

  // The hit contract: circles by radius, beams along their length.
  Field h;
  int circle = h.player->SpawnShot(100, 100, 0, 0, 0, 0, 20, 1, 0);  // radius 8
  int beam = h.player->SpawnShot(300, 400, 0, 0, 270, 0, 7, 1, 0);   // 16 x 256 upward
  EXPECT_TRUE(h.player->ShotTouches(circle, 123.9f, 100, 16));
  EXPECT_FALSE(h.player->ShotTouches(circle, 124, 100, 16));
  EXPECT_TRUE(h.player->ShotTouches(beam, 300, 150, 16));
  EXPECT_FALSE(h.player->ShotTouches(beam, 300, 119, 16));
  EXPECT_FALSE(h.player->ShotTouches(-1, 100, 100, 16));
  EXPECT_EQ(PlayerShotKindOf(29).radius, 0);
  EXPECT_EQ(PlayerShotKindOf(26).radius, -1);
}

TEST(PlayerShots, TargetsAmongEnemies) {
  Field f;
  GameState& s = f.S();
  auto boss = std::make_unique<Boss>(s);
  auto enemy = std::make_unique<Enemy>(s);
  s.boss = boss.get();
  s.enemy = enemy.get();
  f.player->x = 200;
  f.player->y = 400;
  EXPECT_EQ(f.player->FindNearestEnemy(s), -2);
  // Slot 0 empty but left close to the player: a homing shot finds nobody.
  enemy->slots[0].x = 201;
  enemy->slots[0].y = 400;
  auto place = [&](int i, float x, float y) {
    enemy->slots[i].active = 1;
    enemy->slots[i].x = x;
    enemy->slots[i].y = y;
  };
  place(5, 300, 400);
  place(9, 100, 400);  // as near: the lower slot wins
  place(12, 200, 1500);
  EXPECT_EQ(f.player->FindNearestEnemy(s), 5);
  int straight = f.player->SpawnShot(200, 380, 1, 0, 270, 0, 20, 1, 1);
  f.player->UpdateShots(s);
  EXPECT_FLOAT_EQ(f.player->shots[straight].angle, 270.0f);
  enemy->slots[0].active = 0;
  enemy->slots[5].active = 0;
  enemy->slots[9].active = 0;
  EXPECT_EQ(f.player->FindNearestEnemy(s), -2);  // 1100 away: beyond reach
  boss->active = 1;
  EXPECT_EQ(f.player->FindNearestEnemy(s), -1);
}

}  // namespace
