// Shot patterns at the power-tier borders, the gauge-mode options and the
// key frames of the ten bombs.
#include <gtest/gtest.h>

#include "field.h"

namespace {

struct Volley {
  int shots = 0, damage = 0, cancelling = 0;
};

// Runs `step` and sums up the shots it spawned.
template <typename Step>
Volley Spawned(Player& p, Step step) {
  uint8_t was[kPlayerShotPoolSize];
  for (int i = 0; i < kPlayerShotPoolSize; ++i) was[i] = p.shots[i].active != 0;
  step();
  Volley v;
  for (int i = 0; i < kPlayerShotPoolSize; ++i) {
    if (was[i] || !p.shots[i].active) continue;
    ++v.shots;
    v.damage += p.shots[i].damage;
    v.cancelling += p.shots[i].cancelsBullets;
  }
  return v;
}

Volley Fire(uint32_t character, bool slow, int power, int frameCounter = 10) {
  Field f(1, character);
  f.S().power = power;
  f.player->slow = slow ? 1 : 0;
  f.player->frameCounter = frameCounter;
  f.player->lastShotFrame = -1000;
  return Spawned(*f.player, [&] { f.player->FireShotPattern(f.S()); });
}

TEST(ShotPatterns, CountAndDamageAtTierBorders) {
  struct Row {
    uint32_t character;
    bool slow;
    int frameCounter;
    struct { int power, shots, damage; } at[10];
  } rows[] = {
      {0, false, 10, {{15, 1, 8}, {16, 2, 12}, {47, 3, 16}, {48, 4, 20}, {79, 5, 24},
                      {80, 6, 26}, {111, 7, 29}, {112, 8, 32}, {127, 8, 32}, {128, 8, 40}}},
      {1, false, 10, {{15, 1, 8}, {16, 5, 20}, {32, 9, 44}, {48, 13, 52}, {64, 17, 60},
                      {80, 21, 76}, {96, 25, 84}, {112, 29, 88}, {127, 29, 88}, {128, 33, 100}}},
      {1, true, 10, {{15, 1, 8}, {16, 5, 24}, {32, 9, 56}, {48, 13, 64}, {64, 17, 72},
                     {80, 21, 98}, {96, 25, 106}, {112, 29, 110}, {127, 29, 110}, {128, 33, 128}}},
      {2, false, 10, {{15, 1, 8}, {17, 2, 12}, {32, 4, 24}, {48, 6, 32}, {64, 8, 40},
                      {80, 10, 48}, {96, 12, 54}, {112, 14, 62}, {127, 14, 62}, {128, 16, 68}}},
      {2, true, 10, {{15, 1, 8}, {16, 3, 14}, {32, 5, 16}, {48, 7, 22}, {64, 11, 30},
                     {80, 15, 38}, {96, 17, 40}, {112, 21, 44}, {127, 21, 44}, {128, 27, 50}}},
      {3, false, 10, {{31, 1, 10}, {32, 3, 24}, {63, 3, 24}, {64, 5, 36}, {95, 5, 36},
                      {96, 7, 44}, {127, 7, 44}, {128, 9, 52}, {0, 1, 10}, {200, 9, 52}}},
      // Set A (frameCounter div 5 even), no rising beams.
      {3, true, 10, {{15, 1, 8}, {16, 3, 20}, {47, 3, 20}, {48, 5, 28}, {95, 5, 28},
                     {96, 7, 32}, {128, 7, 32}, {0, 1, 8}, {1, 1, 8}, {127, 7, 32}}},
      // Set B, no rising beams.
      {3, true, 15, {{31, 1, 8}, {32, 3, 20}, {63, 3, 20}, {64, 5, 28}, {111, 5, 28},
                     {112, 7, 32}, {128, 7, 32}, {0, 1, 8}, {16, 1, 8}, {48, 3, 20}}},
      // Set A with the rising beams (frameCounter 0).
      {3, true, 0, {{47, 3, 20}, {48, 8, 33}, {79, 8, 33}, {80, 10, 41}, {127, 12, 45},
                    {128, 14, 57}, {0, 1, 8}, {16, 3, 20}, {96, 12, 45}, {64, 8, 33}}},
      {4, false, 10, {{15, 2, 10}, {16, 4, 16}, {32, 6, 22}, {48, 8, 28}, {64, 10, 34},
                      {80, 12, 38}, {96, 14, 42}, {112, 16, 44}, {127, 16, 44}, {128, 18, 46}}},
      {4, true, 10, {{15, 1, 6}, {16, 3, 12}, {32, 5, 18}, {48, 7, 22}, {64, 9, 26},
                     {80, 11, 30}, {96, 13, 34}, {112, 15, 36}, {127, 15, 36}, {128, 17, 38}}},
      // The beam: kind 15 frames (frameCounter mod 10 < 5) and kind 16 frames.
      {0, true, 3, {{0, 1, 1}, {8, 1, 1}, {16, 1, 2}, {128, 1, 9}, {15, 1, 1},
                    {31, 1, 2}, {32, 1, 3}, {127, 1, 8}, {64, 1, 5}, {1, 1, 1}}},
      {0, true, 7, {{0, 1, 1}, {8, 1, 0}, {16, 1, 1}, {128, 1, 8}, {15, 1, 0},
                    {31, 1, 1}, {32, 1, 2}, {127, 1, 7}, {64, 1, 4}, {1, 1, 0}}},
  };
  for (const Row& r : rows) {
    for (const auto& at : r.at) {
      SCOPED_TRACE(testing::Message() << "character " << r.character << (r.slow ? " slow" : " normal")
                                      << " frame " << r.frameCounter << " power " << at.power);
      Volley v = Fire(r.character, r.slow, at.power, r.frameCounter);
      EXPECT_EQ(v.shots, at.shots);
      EXPECT_EQ(v.damage, at.damage);
      EXPECT_EQ(v.cancelling, 0);
    }
  }
}

TEST(ShotPatterns, VolleyIntervals) {
  // {character, slow, interval}: the first frame on which a held shot fires again.
  const struct { uint32_t character; bool slow; int interval; } rows[] = {
      {0, false, 5}, {0, true, 1}, {1, false, 5}, {1, true, 5}, {2, false, 5},
      {2, true, 5},  {3, false, 6}, {3, true, 6}, {4, false, 3}, {4, true, 3}};
  for (const auto& r : rows) {
    Field f(1, r.character);
    f.player->slow = r.slow ? 1 : 0;
    f.player->lastShotFrame = -1000;
    int fired[2] = {-1, -1}, n = 0;
    for (int frame = 100; frame < 120 && n < 2; ++frame) {
      f.player->frameCounter = frame;
      if (Spawned(*f.player, [&] { f.player->FireShotPattern(f.S()); }).shots > 0) fired[n++] = frame;
      for (PlayerShotSlot& s : f.player->shots) s.active = 0;
    }
    EXPECT_EQ(fired[0], 100) << "character " << r.character;
    EXPECT_EQ(fired[1] - fired[0], r.interval) << "character " << r.character << " slow " << r.slow;
    // The beam leaves the volley clock alone.
    if (r.character == 0 && r.slow) {
      EXPECT_EQ(f.player->lastShotFrame, -1000);
    }
  }
}

TEST(GaugeOptions, EachCharacterInGaugeMode) {
  // Character 0: the options walk out for 16 frames, then ride beside the
  // player; its volleys triple with option shots of damage 5.
  Field f0(1, 0);
  f0.S().gaugeActive = 1;
  f0.S().gauge = 1000;
  f0.player->UpdateGaugeMode(f0.S());
  f0.S().gauge = 998;
  for (int k = 0; k < 16; ++k) f0.player->UpdateGaugeMode(f0.S());
  EXPECT_FLOAT_EQ(f0.player->optionPos[0][0], 208.0f - 64.0f);
  EXPECT_FLOAT_EQ(f0.player->optionPos[2][0], 208.0f + 128.0f);
  f0.player->x = 100.0f;
  f0.player->UpdateGaugeMode(f0.S());
  EXPECT_FLOAT_EQ(f0.player->optionPos[1][0], 164.0f);
  f0.S().power = 70;  // band 64-79: the options' centre shots hit for 10
  f0.player->lastShotFrame = -1000;
  Volley v = Spawned(*f0.player, [&] { f0.player->FireShotPattern(f0.S()); });
  EXPECT_EQ(v.shots, 20);
  EXPECT_EQ(v.damage, 24 + 3 * (10 + 4 * 5));

  // Character 1: twelve cancelling pulses of damage 3 each frame.
  Field f1(1, 1);
  f1.S().gaugeActive = 1;
  f1.S().gauge = 1000;
  v = Spawned(*f1.player, [&] { f1.player->UpdateGaugeMode(f1.S()); });
  EXPECT_EQ(v.shots, 12);
  EXPECT_EQ(v.damage, 36);
  EXPECT_EQ(v.cancelling, 12);
  EXPECT_FLOAT_EQ(f1.player->optionPos[0][0], 208.0f + 96.0f);

  // Character 2: untouchable, but a longer invulnerability is kept.
  Field f2(1, 2);
  f2.player->invulnerable = 0;
  f2.player->UpdateGaugeMode(f2.S());
  EXPECT_EQ(f2.player->invulnerable, 1);
  f2.player->invulnerable = 250;
  f2.player->UpdateGaugeMode(f2.S());
  EXPECT_EQ(f2.player->invulnerable, 250);

  // Character 3: with no target both legs head back to the player; a moving
  // option fires a pulse of damage 15 that does not cancel.
  Field f3(1, 3);
  f3.S().gauge = 1000;
  f3.player->UpdateGaugeMode(f3.S());
  f3.S().gauge = 990;
  for (int k = 0; k < 29; ++k) f3.player->UpdateGaugeMode(f3.S());
  v = Spawned(*f3.player, [&] { f3.player->UpdateGaugeMode(f3.S()); });
  EXPECT_EQ(v.shots, 0);  // the turn frame: a new leg, no move
  EXPECT_EQ(f3.player->optionToggle[0], 1);
  EXPECT_NEAR(f3.player->optionAngle[0], 60.0f, 1e-3f);  // from up-left back to the player
  v = Spawned(*f3.player, [&] { f3.player->UpdateGaugeMode(f3.S()); });
  EXPECT_EQ(v.shots, 2);
  EXPECT_EQ(v.damage, 30);
  EXPECT_EQ(v.cancelling, 0);
}

TEST(Bombs, KeyFramesOfTheTenKinds) {
  struct Key { int t, shots, damage; };
  struct Row {
    int kind, start, total;  // start timer; shots over the whole bomb
    int draws;               // generator draws over the whole bomb (-1: not fixed here)
    Key keys[4];
  } rows[] = {
      {0, 200, 240, 0, {{180, 96, 9600}, {179, 0, 0}, {120, 24, 2400}, {1, 24, 2400}}},
      {1, 180, 2880, 0, {{180, 16, 160}, {90, 16, 160}, {1, 16, 160}, {2, 16, 160}}},
      {2, 200, 360, 0, {{200, 0, 0}, {180, 36, 432}, {190, 36, 216}, {185, 0, 0}}},
      {3, 200, 1600, 0, {{200, 8, 40}, {100, 8, 40}, {1, 8, 40}, {2, 8, 40}}},
      {4, 200, 212, 0, {{198, 4, 80}, {199, 0, 0}, {42, 4, 80}, {39, 0, 0}}},
      {5, 200, 70, 14, {{200, 10, 400}, {80, 10, 400}, {60, 0, 0}, {190, 0, 0}}},
      {6, 200, 200, 200, {{200, 1, 18}, {1, 1, 18}, {100, 1, 18}, {2, 1, 18}}},
      {7, 250, 200, 0, {{250, 4, 6}, {249, 0, 0}, {5, 4, 6}, {1, 0, 0}}},
      {8, 200, 800, -1, {{200, 4, 190}, {1, 4, 190}, {111, 4, 190}, {20, 4, 190}}},
      {9, 200, 200, -1, {{200, 1, 70}, {1, 1, 70}, {111, 1, 70}, {20, 1, 70}}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << "bomb " << r.kind);
    Field f(1, static_cast<uint32_t>(r.kind / 2));
    f.player->SetBombTimers(r.kind);
    EXPECT_EQ(f.player->bombTimer, r.start);
    EXPECT_EQ(f.player->invulnerable, 300);
    f.player->bombKind = r.kind;
    DrawCounter dc;
    dc.Start(5);
    int total = 0;
    for (int t = r.start; t >= 1; --t) {
      f.player->bombTimer = t;
      Volley v = Spawned(*f.player, [&] { f.player->RunBombEffect(f.S()); });
      total += v.shots;
      // Every bomb but the bouncing rays of kind 7 cancels bullets.
      EXPECT_EQ(v.cancelling, r.kind == 7 ? 0 : v.shots) << "t " << t;
      for (const Key& k : r.keys) {
        if (k.t != t) continue;
        EXPECT_EQ(v.shots, k.shots) << "t " << t;
        EXPECT_EQ(v.damage, k.damage) << "t " << t;
      }
      if (r.kind == 5 && t == 140) {
        // The cluster of t = 200 bursts into a ring 60 frames later.
        for (int j = 0; j < 10; ++j)
          EXPECT_FLOAT_EQ(f.player->shots[f.player->clusterSlots[200 + j]].angle, 36.0f * j);
      }
      f.player->UpdateShots(f.S());
    }
    EXPECT_EQ(total, r.total);
    int draws = dc.Count();
    if (r.draws >= 0) {
      EXPECT_EQ(draws, r.draws);
    }
  }
}

TEST(Bombs, JumpsAndMoves) {
  // Bomb 2 jumps onto the nearest enemy on its first frame; with none it stays.
  Field f(1, 1);
  f.enemy->Spawn(3, 100, 120, 0, 0, -1);
  f.player->bombKind = 2;
  f.player->bombTimer = 200;
  f.player->RunBombEffect(f.S());
  EXPECT_FLOAT_EQ(f.player->x, 100.0f);
  EXPECT_FLOAT_EQ(f.player->y, 120.0f);
  Field g(1, 1);
  g.player->bombKind = 2;
  g.player->bombTimer = 200;
  g.player->RunBombEffect(g.S());
  EXPECT_FLOAT_EQ(g.player->x, 208.0f);
  // Bomb 3 takes the player to the centre of the field.
  g.player->bombKind = 3;
  g.player->RunBombEffect(g.S());
  EXPECT_FLOAT_EQ(g.player->y, 240.0f);
  // A dash that left the field turns back toward its centre at the next mark.
  Field h(1, 4);
  h.player->bombKind = 8;
  h.player->x = 500.0f;
  h.player->y = 240.0f;
  h.player->bombTimer = 180;
  h.player->RunBombEffect(h.S());
  EXPECT_EQ(h.player->auxAngle, 180);
  EXPECT_FLOAT_EQ(h.player->x, 470.0f);
  // Bomb 9 aims its dash at the nearest enemy.
  Field k(1, 4);
  k.enemy->Spawn(3, 208, 100, 0, 0, -1);
  k.player->bombKind = 9;
  k.player->bombTimer = 200;
  k.player->RunBombEffect(k.S());
  EXPECT_EQ(k.player->auxAngle, -90);
}

}  // namespace
