// Stage 2 bosses against the recording context: carriers and their rings,
// the 360-bullet volley, the order of draws, the fan window and the rose.
#include <gtest/gtest.h>

#include "boss/fake_context.h"

namespace {

TEST(Stage2Scripts, CarriersRingOnlyWhileTheirSlotHoldsACarrier) {
  FakeContext f(8, 0);  // Easy: 4 carriers, rings every 50 frames
  f.bulletRoom = 3;     // the fourth carrier finds no record
  f.RunAt(180);
  const std::vector<FakeCall> carriers = f.Calls("Spawn");
  ASSERT_EQ(carriers.size(), 4u);
  EXPECT_EQ(f.boss().ScratchInt(17), 90);  // aim straight down
  for (int i = 0; i < 4; ++i) EXPECT_EQ(carriers[i][4], 45 + 90 * i) << i;
  EXPECT_EQ(f.boss().ScratchInt(3), -1);
  f.bullets[1].type = 85;   // slot 1 reused by another type: no ring
  f.bullets[2].x = 300.0f;  // slot 2 still a carrier: rings where it is now
  f.RunAt(200);
  const std::vector<FakeCall> rings = f.Calls("Ring");
  ASSERT_EQ(rings.size(), 2u);
  EXPECT_EQ(rings[0].args, (std::vector<double>{208, 128, 1.5, 45, 3, 85, 0, 30}));
  EXPECT_EQ(rings[1][0], 300);
  for (const FakeCall& c : f.Calls("IsHittable")) EXPECT_GE(c[0], 0);  // -1 never asked
}

TEST(Stage2Scripts, SpokeVolleyIs360BulletsThatStopAndScatter) {
  FakeContext f(9, 2);
  f.RunAt(180);
  EXPECT_EQ(f.Count("Spawn"), 360);
  EXPECT_EQ(f.Count("QueueChange"), 720);
  // q = 1, i = 1: base 6, speed 2.0; its first bullet turns toward the player.
  const std::vector<FakeCall> spawns = f.Calls("Spawn");
  const std::vector<FakeCall> changes = f.Calls("QueueChange");
  const size_t first = 6 + 2;  // q = 1 starts after 6 bullets, i = 1 after 2 more
  EXPECT_EQ(spawns[first].args, (std::vector<double>{60, 208, 128, 2.0, 11, 20, 0}));
  EXPECT_EQ(changes[2 * first + 1][6], -65535);
  EXPECT_EQ(changes[2 * first + 1][4], 2.1f);
  EXPECT_EQ(spawns[first + 1][4], 26);
  EXPECT_EQ(changes[2 * (first + 1) + 1][6], 6 - 85 - 75);
}

TEST(Stage2Scripts, HardLasersComeBeforeTheSpinnerAndDrawInOrder) {
  FakeContext f(9, 2);
  f.BeginAttack(1);
  f.RunAt(440);  // m 140: lasers, and the spinner window is open
  std::vector<double> ranges;
  for (const FakeCall& c : f.Calls("Rnd")) ranges.push_back(c[0]);
  EXPECT_EQ(ranges, (std::vector<double>{40, 280, 40, 260, 384, 180, 80}));
  const std::vector<std::string> ops = f.Ops();
  std::vector<std::string> spawns;
  for (const std::string& op : ops)
    if (op == "SpawnLaser" || op == "Spawn") spawns.push_back(op);
  EXPECT_EQ(spawns, (std::vector<std::string>{"SpawnLaser", "SpawnLaser", "Spawn"}));
  // The spinner's spin length is its change frame, its turn centred on zero.
  const std::vector<int32_t> draws = f.Draws();
  const FakeCall change = f.Calls("QueueChange").at(0);
  EXPECT_EQ(change[1], 60 + draws[5]);
  EXPECT_EQ(change[7], static_cast<float>((draws[6] - 40) / 100.0));
}

TEST(Stage2Scripts, FanAnswersOnlyAPlayerAboveTheBoss) {
  struct Case {
    float px, py;
    bool fan;
  } cases[] = {{208, 28, true},   // straight up
               {308, 29, false},  // -44.7 degrees
               {307, 28, true},   // -45.3
               {109, 28, true},   // -134.7
               {108, 29, false},  // -135.3
               {400, 128, false}};
  for (const Case& c : cases) {
    FakeContext f(9, 0);
    f.BeginAttack(2);
    f.playerX = c.px;
    f.playerY = c.py;
    f.RunAt(624);  // m 264: the first volley of the cycle
    EXPECT_EQ(f.Count("Fan"), c.fan ? 1 : 0) << c.px << "," << c.py;
    EXPECT_EQ(f.Count("Spawn"), 10);
  }
}

TEST(Stage2Scripts, RingsAroundMarkersTurnBySet) {
  struct Case {
    int m;
    double firstAngle, firstTurn;
  } cases[] = {{100, 90, 0.5}, {250, -90, 0.5}, {400, 90, -0.5}, {550, -90, -0.5}};
  FakeContext f(9, 0);  // n 8 markers, 6 pairs a marker
  f.BeginAttack(3);
  f.RunAt(120);
  for (const Case& c : cases) {
    f.RunAt(600 + c.m - 100);  // the set
    f.RunAt(600 + c.m);        // its rings
    const std::vector<FakeCall> spawns = f.Calls("Spawn");
    ASSERT_EQ(spawns.size(), 8u * 12u) << c.m;
    EXPECT_EQ(spawns[0][1], 238);  // marker (208, 128) + 30 along 0
    EXPECT_EQ(spawns[0][4], c.firstAngle);
    EXPECT_EQ(spawns[1][4], -c.firstAngle);
    EXPECT_EQ(spawns[12][6], 5);  // the second marker's wait
    const std::vector<FakeCall> changes = f.Calls("QueueChange");
    EXPECT_EQ(changes[0][7], static_cast<float>(c.firstTurn));
    EXPECT_EQ(changes[1][7], static_cast<float>(-c.firstTurn));
  }
}

TEST(Stage2Scripts, RoseRepeatsByDifficulty) {
  for (const auto& [d, period] : {std::pair{0, 90}, {1, 120}, {2, 180}, {3, 180}}) {
    FakeContext f(9, d);
    f.BeginAttack(4);
    f.RunAt(120);
    f.RunAt(400);
    const FakeCall a = f.Calls("Spawn").at(0);
    f.RunAt(400 + period);
    const FakeCall b = f.Calls("Spawn").at(0);
    EXPECT_EQ(a[1], b[1]) << d;
    EXPECT_EQ(a[2], b[2]) << d;
    EXPECT_NEAR(b[4] - a[4], period, 1e-4) << d;
    EXPECT_EQ(f.Calls("QueueChange").at(0)[1], 120 + 20 * d);
  }
}

}  // namespace
