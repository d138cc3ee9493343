// Stage 1 route A bosses against the recording context: wave sizes, the
// order of draws, the turning sign and the bullet tree's generations.
#include <gtest/gtest.h>

#include <map>

#include "boss/fake_context.h"

namespace {

std::map<int, int> SpawnsByType(const FakeContext& f) {
  std::map<int, int> out;
  for (const FakeCall& c : f.Calls("Spawn")) ++out[static_cast<int>(c[0])];
  return out;
}

TEST(Stage1RouteA, MidBossRingsAndMoves) {
  FakeContext f(0, 1);  // Normal: a ring every 36 frames from 180
  f.BeginAttack(0);
  f.boss().phaseFrame = 120;
  f.RunFrames(240);
  const std::vector<FakeCall> rings = f.Calls("Ring");
  ASSERT_EQ(rings.size(), 5u);  // 180, 216, 252, 288, 324
  EXPECT_EQ(rings[0].phaseFrame, 180);
  EXPECT_EQ(rings[4].phaseFrame, 324);
  EXPECT_EQ(rings[1].args, (std::vector<double>{208, 128, 1.9f, 216, 6, 72, 0, 30}));
  const std::vector<FakeCall> moves = f.Calls("MoveTowardPlayer");
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(moves[0].phaseFrame, 359);
}

TEST(Stage1RouteA, ArmsOfGrowingFansByDifficulty) {
  struct Case {
    int d;
    int64_t bullets;
    std::vector<double> armAngles;
  } cases[] = {{0, 18, {90, 210, 330}},
               {1, 18, {90, 210, 330}},
               {2, 44, {90, 180, 270, 360}},
               {3, 72, {90, 180, 270, 360}}};
  for (const Case& c : cases) {
    FakeContext f(1, c.d);
    f.RunAt(180);
    EXPECT_EQ(f.BulletsAsked(), c.bullets) << c.d;
    std::vector<double> angles;
    for (const FakeCall& s : f.Calls("Spawn")) angles.push_back(s[4]);
    EXPECT_EQ(angles, c.armAngles) << c.d;
    EXPECT_EQ(f.boss().ScratchInt(0), 90);
    EXPECT_EQ(f.Draws().size(), 1u);  // the move's
  }
}

TEST(Stage1RouteA, StreamDrawsTypeThenSwervePerBullet) {
  FakeContext f(1, 0);
  f.BeginAttack(1);
  f.forcedRnd = {1, 10, 0, 0, 1, 5};
  f.RunAt(300);
  const std::vector<FakeCall> draws = f.Calls("Rnd");
  ASSERT_EQ(draws.size(), 6u);
  for (size_t i = 0; i < 6; ++i) EXPECT_EQ(draws[i][0], i % 2 ? 10 : 1) << i;
  const std::vector<FakeCall> spawns = f.Calls("Spawn");
  ASSERT_EQ(spawns.size(), 3u);
  const double types[] = {17, 12, 17}, angles[] = {1500, 1380, 1260}, swerve[] = {5, -5, 0};
  const std::vector<FakeCall> changes = f.Calls("QueueChange");
  for (int j = 0; j < 3; ++j) {
    EXPECT_EQ(spawns[j][0], types[j]);
    EXPECT_EQ(spawns[j][4], angles[j]);
    EXPECT_EQ(changes[2 * j][1], 10);
    EXPECT_EQ(changes[2 * j][6], angles[j] + swerve[j]);
    EXPECT_EQ(changes[2 * j + 1][4], 1.6f);
  }
}

TEST(Stage1RouteA, QuadsTurnOppositeWaysAndLeaveFollowers) {
  FakeContext f(1, 2);
  f.BeginAttack(1);
  f.RunAt(120);
  for (const float turn : {-0.7f, 0.7f}) {
    f.RunAt(turn < 0 ? 300 : 600);
    const int32_t base = f.Draws().at(0);
    // The fake's records are hittable at once, so followers come in the same frame.
    const std::vector<FakeCall> spawns = f.Calls("Spawn");
    const std::vector<FakeCall> changes = f.Calls("QueueChange");
    ASSERT_EQ(spawns.size(), 8u);
    EXPECT_EQ(spawns[4][0], 132);
    for (int k = 0; k < 4; ++k) {
      EXPECT_EQ(spawns[k][4], base + 90 * k);
      EXPECT_EQ(changes[k][7], turn);
    }
  }
  f.Cancel(f.boss().ScratchInt(2));
  f.RunAt(615);  // every 15 frames at Hard
  const std::map<int, int> byType = SpawnsByType(f);
  EXPECT_EQ(byType.at(132), 3);
}

TEST(Stage1RouteA, BulletTreeGenerations) {
  struct Case {
    int d;
    bool cancelFirst;  // the first bullet is shot down before it branches
    std::map<int, int> spawns;
  } cases[] = {{0, false, {{70, 4}, {20, 12}, {10, 60}, {0, 60}}},
               {0, true, {{70, 4}, {20, 9}, {10, 45}, {0, 45}}},
               {3, false, {{70, 4}, {20, 12}, {10, 60}, {50, 420}}}};
  for (const Case& c : cases) {
    FakeContext f(1, c.d);
    f.BeginAttack(3);
    f.boss().phaseFrame = 120;
    f.RunFrames(181);
    if (c.cancelFirst) f.Cancel(f.boss().ScratchInt(0));
    f.RunFrames(116);
    EXPECT_EQ(SpawnsByType(f), c.spawns) << c.d;
    // The first leaf of a wide cycle turns 20 x (9 - d) from its parent's 225.
    const FakeCall leaf = f.Calls("Spawn")[4 + (c.spawns.at(20)) + c.spawns.at(10)];
    if (!c.cancelFirst) {
      EXPECT_EQ(leaf[4], 225 + 20 * (9 - c.d)) << c.d;
    }
  }
}

TEST(Stage1RouteA, ScratchOutlivesTheAttack) {
  FakeContext f(1, 0);
  f.playerX = 408;  // aim 53.67 degrees
  f.RunAt(180);
  EXPECT_EQ(f.boss().ScratchInt(0), 53);
  f.BeginAttack(1);
  f.RunAt(120);
  f.RunAt(299);
  EXPECT_EQ(f.boss().ScratchInt(0), 53);
  EXPECT_EQ(f.boss().ScratchInt(18), 1);
  f.boss().Start(50, 2, 208, -48, 0.0f, 0.0f);  // the hand-over to a new id
  EXPECT_EQ(f.boss().ScratchInt(0), 0);
  EXPECT_EQ(f.boss().ScratchInt(18), 0);
}

}  // namespace
