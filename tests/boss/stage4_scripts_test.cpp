// Stage 4 bosses (routes A-D) against the recording context: queue limits,
// the lane and row redraws over many seeds, homing turns, the self-wearing
// spell, the familiar swarm and the frame-counter waves.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "boss/fake_context.h"
#include "boss/idioms.h"

namespace {

TEST(Stage4Scripts, WarningLasersStayWithinTheirQueueAndAlternateSense) {
  FakeContext f(12, 3);  // 14 lasers
  f.BeginAttack(2);
  f.RunAt(120);
  for (const float sense : {-1.0f, 1.0f}) {
    f.RunAt(sense < 0 ? 180 : 480);
    const std::vector<FakeCall> lasers = f.Calls("SpawnLaser");
    ASSERT_EQ(lasers.size(), 14u);
    for (const FakeCall& l : lasers) EXPECT_EQ(f.bullets[static_cast<size_t>(l.result)].changes, 14);
    const std::vector<FakeCall> changes = f.Calls("QueueChange");
    EXPECT_EQ(changes[11][7], 5.5f * sense);                            // frame 55
    EXPECT_EQ(changes[13].args[2], -1000);                              // frame 231 leaves
    EXPECT_EQ(changes[13][7], sense);
    EXPECT_EQ(lasers[1][3], f.Draws().at(0) + 360 / 14);
    EXPECT_EQ(f.Count("SetHarmless"), 14);
  }
}

TEST(Stage4Scripts, LaneRedrawEndsAndNeverTakesLaneZeroOnHard) {
  for (uint32_t seed = 1; seed <= 1000; ++seed) {
    const int d = 2 + seed % 2;
    FakeContext f(12, d, seed);
    f.recording = false;
    f.BeginAttack(4);
    f.RunAt(120);
    for (int i = 0; i < 3 * (d + 3); ++i) f.RunAt(540 + 6 * i);  // m 180 + 6 i
    for (int w = 50; w < 50 + 3 * (d + 3); ++w) {
      const int32_t lane = f.boss().ScratchInt(w);
      EXPECT_TRUE(lane >= 1 && lane <= 17) << seed << " word " << w << " lane " << lane;
    }
  }
}

TEST(Stage4Scripts, EasyStreamsTakeEachLaneOnceUnlessTheFirstIsRedrawn) {
  FakeContext f(12, 0, 7);
  f.BeginAttack(4);
  f.RunAt(120);
  // Stream 1 draws stream 0's lane, then lane 5; stream 2 draws lane 5, then
  // stream 0's lane again, which the check no longer compares.
  f.forcedRnd = {3, 8};
  f.RunAt(540);
  f.forcedRnd = {3, 5, 8};
  f.RunAt(546);
  f.forcedRnd = {5, 3, 8};
  f.RunAt(552);
  EXPECT_EQ(f.boss().ScratchInt(50), 3);
  EXPECT_EQ(f.boss().ScratchInt(51), 5);
  EXPECT_EQ(f.boss().ScratchInt(52), 3);
  const FakeCall first = f.Calls("Spawn").at(0);
  EXPECT_EQ(first[4], 10 + 20 * 3 + 0);  // lane 3 turned by 8 - 8
  EXPECT_EQ(f.Count("SetBounce"), 11);
}

TEST(Stage4Scripts, HomingTurnsOneDegreeTheWayTheRuleSays) {
  struct Case {
    float facing, px, py;
    int turn;  // 0: no SetAngle
  } cases[] = {{90, 208, 400, -1},    // dead ahead: still down the scale
               {270, 208, 400, 0},    // exactly behind
               {0, 308, 127, +1},     // just above: the long way up
               {10, 308, 129, -1},    // just below, facing a little lower
               {-30, 208, 400, +1}};  // facing 330 after bringing into range
  for (const Case& c : cases) {
    FakeContext f(13, 0);
    f.BeginAttack(5);
    f.RunAt(120);
    f.RunAt(300);  // the first homing bullet, slot 0
    ASSERT_EQ(f.boss().ScratchInt(2000), 1);
    f.bullets[0].angle = c.facing;
    f.playerX = c.px;
    f.playerY = c.py;
    f.RunAt(301);
    const std::vector<FakeCall> set = f.Calls("SetAngle");
    ASSERT_EQ(set.size(), c.turn == 0 ? 0u : 1u) << c.facing << " " << c.py;
    if (c.turn != 0) {
      const double base = c.facing < 0 ? c.facing + 360 : c.facing;
      EXPECT_EQ(set[0][1], static_cast<float>(base + c.turn)) << c.facing << " " << c.py;
    }
  }
}

TEST(Stage4Scripts, AimedRingsCycleSpeedAndTypeFromTheirFirstFrame) {
  struct Case {
    int d, frame;
    double speed, type;
  } cases[] = {{0, 180, 3, 95}, {1, 182, 2, 98}, {2, 198, 3, 95}, {3, 180, 2, 98}};
  for (const Case& c : cases) {
    FakeContext f(13, c.d);
    f.RunAt(c.frame);
    const FakeCall ring = f.Calls("Ring").at(0);
    EXPECT_EQ(ring[2], c.speed) << c.d;
    EXPECT_EQ(ring[5], c.type) << c.d;
    EXPECT_EQ(ring[4], 6 * c.d + 18);
  }
}

TEST(Stage4Scripts, CirclingSpellWearsItselfDownAndClampsItsTarget) {
  struct Case {
    int d, frame;
    double x, y;
  } cases[] = {{0, 480, 208, 528}, {1, 390, 464, 400}, {0, 300, 208, 272}};
  for (const Case& c : cases) {
    FakeContext f(14, c.d);
    f.BeginAttack(5);
    f.RunAt(c.frame);
    const FakeCall move = f.Calls("MoveTo").at(0);
    const std::vector<double> clamped = {std::min(c.x, 400.0), std::min(c.y, 464.0), 1};
    EXPECT_EQ(move.args, clamped) << c.frame;
    EXPECT_EQ(f.boss().ScratchInt(2000), clamped[0]);
  }
  FakeContext f(14, 0);
  f.BeginAttack(5);
  f.boss().phaseFrame = 120;
  f.RunFrames(180 + 1700);
  EXPECT_EQ(f.boss().hp, 0);  // 8,500 hit points at 5 a frame
}

TEST(Stage4Scripts, SeventyFiveFamiliarsEveryThreeHundredFrames) {
  for (const int frame : {300, 600}) {
    FakeContext f(15, 2);
    f.BeginAttack(1);
    f.RunAt(frame);
    const std::vector<FakeCall> familiars = f.Calls("SpawnFamiliar");
    ASSERT_EQ(familiars.size(), 75u);
    std::vector<double> ranges;
    for (const FakeCall& c : f.Calls("Rnd")) ranges.push_back(c[0]);
    ASSERT_EQ(ranges.size(), 150u);
    EXPECT_EQ(ranges[0], 240);
    EXPECT_EQ(ranges[1], 384);
    EXPECT_EQ(ranges[148], 64);
    EXPECT_EQ(ranges[149], 128);
    const std::vector<int32_t> draws = f.Draws();
    EXPECT_EQ(familiars[0][1], 16 + draws[1]);
    EXPECT_EQ(familiars[0][2], 16 + draws[0]);
    EXPECT_EQ(familiars[74].args, (std::vector<double>{31, 208.0 + draws[149] - 64,
                                                       128.0 + draws[148] - 32, -1, 0.3f, 1, 0}));
    f.RunAt(frame + 1);
    EXPECT_EQ(f.Count("SpawnFamiliar"), 0);
  }
}

TEST(Stage4Scripts, LunaticRowsUseAllSevenIndicesOverManySeeds) {
  for (uint32_t seed = 1; seed <= 1000; ++seed) {
    FakeContext f(15, 3, seed);
    f.recording = false;
    f.BeginAttack(3);
    for (int w = 0; w < 7; ++w) f.RunAt(600 + 30 + 18 * w);
    std::vector<int32_t> rows;
    for (int w = 0; w < 7; ++w) rows.push_back(f.boss().ScratchInt(20 + w));
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows, (std::vector<int32_t>{0, 1, 2, 3, 4, 5, 6})) << seed;
  }
}

TEST(Stage4Scripts, DriftersTurnBySignedRemainder) {
  struct Case {
    float laserFacing;  // the drifter's angle is facing + draw - 10, draw 10
    float turn;
  } cases[] = {{360, 1}, {180, -1}, {400, 1}, {45, -1}};  // 45: remainder -45, not 315
  for (const Case& c : cases) {
    FakeContext f(15, 0);
    f.BeginAttack(3);
    f.RunAt(360);  // the sweeping laser
    f.bullets[f.boss().ScratchInt(100)].angle = c.laserFacing;
    f.forcedRnd = {5, 5, 10, 20, 20};
    f.RunAt(369);
    const std::vector<FakeCall> changes = f.Calls("QueueChange");
    ASSERT_EQ(changes.size(), 10u);
    EXPECT_EQ(changes[0][7], c.turn) << c.laserFacing;
    EXPECT_EQ(changes[0][8], 18);
    EXPECT_EQ(f.Calls("Spawn").at(0)[4], c.laserFacing);
  }
}

TEST(Stage4Scripts, DriftersDrawAndSpawnEvenWhenTheLaserFoundNoRoom) {
  // Laser frame 360 with the pool full leaves the laser's slot -1; by 369 the
  // pool has room again. Either way the drifters draw as beside a live laser
  // and spawn about (0, 0) at facing 0, what a -1 slot reads as.
  struct Case {
    int32_t frame;
    bool room;  // the drifters' own spawns find records
  } cases[] = {{360, false}, {369, true}};
  const auto play = [](FakeContext& f, int32_t roomAtLaser, int32_t frame) {
    f.BeginAttack(3);  // Lunatic: no row falls on 360 or 369
    f.bulletRoom = roomAtLaser;
    f.RunAt(360);
    f.bulletRoom = 2048;
    if (frame != 360) f.RunAt(frame);
  };
  for (const Case& c : cases) {
    FakeContext live(15, 3);
    play(live, 2048, c.frame);
    FakeContext lost(15, 3);
    play(lost, 0, c.frame);
    EXPECT_EQ(lost.boss().ScratchInt(100), -1);
    const std::vector<int32_t> r = lost.Draws();
    EXPECT_EQ(r, live.Draws()) << c.frame;
    if (c.room) {
      EXPECT_EQ(lost.Ops(), live.Ops());
    }
    const std::vector<FakeCall> spawns = lost.Calls("Spawn");
    const std::vector<FakeCall> rnd = lost.Calls("Rnd");
    ASSERT_EQ(spawns.size(), 5u) << c.frame;
    ASSERT_EQ(r.size(), 25u);
    for (size_t n = 0; n < 5; ++n) {
      const int32_t* d = &r[5 * n];  // sine, cosine, angle, y, x
      for (size_t k = 0; k < 5; ++k) EXPECT_EQ(rnd[5 * n + k][0], (k < 2 ? 10 : k == 2 ? 20 : 40));
      EXPECT_EQ(spawns[n].result >= 0, c.room);
      EXPECT_NEAR(spawns[n][1], (60 + d[4]) * std::cos((d[1] - 5) * kPi / 180), 1e-3);
      EXPECT_NEAR(spawns[n][2], (60 + d[3]) * std::sin((d[0] - 5) * kPi / 180), 1e-3);
      EXPECT_EQ(spawns[n][4], d[2] - 10);
    }
  }
}

TEST(Stage4Scripts, ExitTurnOnEasyStillDrawsNothingButZero) {
  FakeContext f(14, 0);
  f.BeginAttack(6);
  f.RunAt(120);
  const int32_t exit = f.boss().ScratchInt(1);
  f.RunAt(300);
  std::vector<double> ranges;
  for (const FakeCall& c : f.Calls("Rnd")) ranges.push_back(c[0]);
  EXPECT_EQ(ranges, (std::vector<double>{0, 180}));
  EXPECT_EQ(f.Calls("QueueChange").at(1)[7], 0);
  EXPECT_EQ(f.Calls("QueueChange").at(1)[6], exit);
  EXPECT_EQ(f.boss().ScratchInt(1), exit + 60 + f.Draws().at(1));
}

TEST(Stage4Scripts, BladeSweepReversesPastFortyFive) {
  FakeContext f(12, 0);
  f.BeginAttack(6);
  f.RunAt(120);
  f.recording = false;
  f.boss().phaseFrame = 300;
  int lo = 0, hi = 0;
  std::vector<int32_t> seen;
  for (int i = 0; i < 40; ++i) {
    seen.push_back(f.boss().ScratchInt(2000));
    f.RunFrame();
  }
  for (int32_t w : seen) lo = std::min(lo, w), hi = std::max(hi, w);
  EXPECT_EQ(lo, -50);
  EXPECT_EQ(hi, 50);
  EXPECT_EQ(f.boss().ScratchInt(2000), 0);  // a full swing in 40 frames
}

}  // namespace
