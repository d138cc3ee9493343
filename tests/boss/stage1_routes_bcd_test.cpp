// Stage 1 routes B, C and D against the recording context: wave sizes and
// frames, call order, laser angles, star points and the remainders' signs.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "boss/fake_context.h"

namespace {

// Runs boss `id`'s attack from `from` up to (not including) `to`.
void RunSpan(FakeContext& f, int attack, int from, int to) {
  f.BeginAttack(attack);
  f.boss().phaseFrame = from;
  f.RunFrames(to - from);
}

std::set<int> FramesOf(const FakeContext& f, const char* op) {
  std::set<int> frames;
  for (const FakeCall& c : f.Calls(op)) frames.insert(c.phaseFrame);
  return frames;
}

TEST(Stage1RouteB, AimedRingTrios) {
  struct Case {
    int id, attack, d, frame;
    int64_t bullets;
  } cases[] = {{2, 0, 0, 192, 5}, {2, 0, 1, 196, 15}, {2, 0, 1, 192, 0}, {3, 2, 3, 189, 15}};
  for (const Case& c : cases) {
    FakeContext f(c.id, c.d);
    f.BeginAttack(c.attack);
    f.RunAt(c.frame);
    EXPECT_EQ(f.BulletsAsked(), c.bullets) << c.id << " d" << c.d << " @" << c.frame;
    if (c.bullets == 15) {
      EXPECT_EQ(f.Calls("Ring")[1][3], 90 - 30 + 7 * c.d);
      EXPECT_EQ(f.Calls("Ring")[2][3], 90 + 30 - 7 * c.d);
    }
  }
}

TEST(Stage1RouteB, MidBossSpellOrderOfCalls) {
  FakeContext f(2, 2);
  f.BeginAttack(1);
  f.RunAt(600);
  EXPECT_EQ(f.Ops(), (std::vector<std::string>{"SpawnFamiliar", "SpawnFamiliar",
                                               "MoveTowardPlayer", "Rnd", "Fan", "PlaySound"}));
  EXPECT_EQ(f.log[1][6], 3);
  f.RunAt(300);
  EXPECT_EQ(f.Ops(),
            (std::vector<std::string>{"SpawnFamiliar", "SpawnFamiliar", "MoveTowardPlayer", "Rnd"}));
  EXPECT_EQ(f.log[0][6], 0);
}

TEST(Stage1RouteB, DashFiresOnlyOnDiagonals) {
  FakeContext f(3, 3);
  RunSpan(f, 0, 180, 540);
  EXPECT_EQ(f.Count("Ring"), 200);  // c 180-299 less 180-199, 320-359, 0-59
  for (int frame : FramesOf(f, "Ring")) {
    const int c = frame % 360;
    EXPECT_FALSE((c >= 60 && c < 200) || (c >= 300 && c < 320)) << frame;
  }
  EXPECT_EQ(FramesOf(f, "MoveTo"), (std::set<int>{180, 200, 300, 320, 420, 440}));
}

TEST(Stage1RouteB, SpiralPairs) {
  FakeContext hard(3, 2);
  hard.BeginAttack(3);
  hard.RunAt(306);
  const std::vector<FakeCall> s = hard.Calls("Spawn");
  ASSERT_EQ(s.size(), 8u);
  for (int i = 0; i < 8; i += 4) {
    EXPECT_EQ(s[i][4], s[i + 2][4]) << "coinciding twos";
    EXPECT_EQ(s[i + 1][4], s[i + 3][4]);
  }
  EXPECT_EQ(s[0][4], -306);
  EXPECT_EQ(s[5][4], 486);
  FakeContext easy(3, 0);
  easy.BeginAttack(3);
  easy.RunAt(310);
  const std::vector<FakeCall> c = easy.Calls("QueueChange");
  ASSERT_EQ(c.size(), 6u);
  EXPECT_EQ(easy.Calls("Spawn")[1][4], 490);
  EXPECT_EQ(std::vector<double>({c[0][1], c[0][7], c[1][1], c[1][7], c[2][1], c[2][7]}),
            std::vector<double>({0, -2, 90, -1, 270, 0}));
}

TEST(Stage1RouteC, MidBossCrossOnceAndMoves) {
  FakeContext f(4, 0);
  RunSpan(f, 0, 120, 721);
  const std::vector<FakeCall> fam = f.Calls("SpawnFamiliar");
  ASSERT_EQ(fam.size(), 4u);
  const double xy[4][2] = {{258, 128}, {208, 178}, {158, 128}, {208, 78}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(fam[i].phaseFrame, 180);
    EXPECT_EQ(fam[i][1], xy[i][0]);
    EXPECT_EQ(fam[i][2], xy[i][1]);
  }
  EXPECT_EQ(FramesOf(f, "MoveTowardPlayer"), (std::set<int>{360, 720}));
}

TEST(Stage1RouteC, TopEdgeLasersBesideThenAtThePlayer) {
  FakeContext f(4, 2);
  f.BeginAttack(1);
  const struct {
    int frame;
    double angle;
  } waves[] = {{300, 141}, {350, 91}, {400, 116}};  // aim from (400, 16) is 116.57
  for (const auto& w : waves) {
    f.forcedRnd = {384};
    f.RunAt(w.frame);
    const std::vector<FakeCall> lasers = f.Calls("SpawnLaser");
    ASSERT_EQ(lasers.size(), 3u);
    EXPECT_EQ(lasers[0].args, (std::vector<double>{400, 16, 8, w.angle, 12, 100, 20, 0, 0}));
    EXPECT_EQ(lasers[1][3], w.angle + 90);
    EXPECT_EQ(lasers[2][3], w.angle - 90);
    EXPECT_EQ(f.Calls("QueueChange")[0][7], -2);
    EXPECT_EQ(f.Calls("QueueChange")[2][7], 2);
  }
  f.RunAt(445);  // the last pair, 360 pixels down the line at 116 degrees
  const FakeCall far = f.Calls("SpawnLaser").at(0);
  EXPECT_FLOAT_EQ(far[0], 400 + 360 * std::cos(116 / 180.0 * 3.141592653589793));
  EXPECT_FLOAT_EQ(far[1], 16 + 360 * std::sin(116 / 180.0 * 3.141592653589793));
  EXPECT_EQ(far[2], 2.0f);
}

TEST(Stage1RouteC, StageBossFamiliarsAndLaserTrees) {
  const struct {
    int d;
    int moves;
    int64_t segments;
  } cases[] = {{0, 0, 60}, {1, 0, 124}, {2, 3, 252}, {3, 3, 508}};
  for (const auto& c : cases) {
    FakeContext f(5, c.d);
    RunSpan(f, 1, 300, 801);
    EXPECT_EQ(f.Count("SpawnFamiliar"), 8);
    EXPECT_EQ(f.Count("MoveTowardPlayer"), c.moves) << c.d;  // 400, 550, 700
    FakeContext t(5, c.d);
    t.BeginAttack(3);
    t.RunAt(600);
    EXPECT_EQ(t.BulletsAsked(), c.segments);
    EXPECT_EQ(t.Calls("LaserChain")[3][2], t.Draws().at(0) + 270);
  }
}

TEST(Stage1RouteD, StarsDrawnInThreeOfFourCycles) {
  FakeContext f(6, 2);
  RunSpan(f, 0, 300, 1201);
  const std::set<int> frames = FramesOf(f, "Spawn");
  EXPECT_TRUE(frames.count(300) && frames.count(568) && frames.count(569) == 0);
  EXPECT_EQ(frames.count(570), 0u);
  EXPECT_EQ(*frames.upper_bound(599), 750);
  EXPECT_EQ(frames.count(361), 0u);  // small star: even frames only
  EXPECT_EQ(f.Count("Spawn"), 5 * 5 * (60 + 30));  // five cycles of 60 + 30 points
  EXPECT_EQ(FramesOf(f, "MoveTowardPlayer"), (std::set<int>{600, 1200}));
  EXPECT_EQ(f.Count("PlaySound"), 7);
  const FakeCall point = f.Calls("Spawn")[13 * 5];  // m 13: stroke 1, k 1
  EXPECT_EQ(point.args, (std::vector<double>{12, float(208 - 46 + 10.16), float(128 + 70 - 7.33),
                                             0, 334, 30, 0}));
}

TEST(Stage1RouteD, BurstingStarsHaltAndSpiral) {
  FakeContext f(6, 3);
  RunSpan(f, 1, 300, 600);
  EXPECT_EQ(f.Count("Spawn"), 8 * (60 + 30));
  const std::vector<FakeCall> c = f.Calls("QueueChange");
  const size_t m13 = 13 * 8 * 3;  // the first bullet of cycle frame 13 (k 1)
  EXPECT_EQ(std::vector<double>({c[m13][1], c[m13 + 1][1], c[m13 + 2][1]}),
            std::vector<double>({107, 197, 227}));
  EXPECT_EQ(c[m13 + 2][4], float(1 / 6.0 + 0.35 + 0.3));
  EXPECT_EQ(c[m13 + 2][6], 30);
  EXPECT_EQ(c[m13][5], float(-(2.0 + 0.9) / 110.0));
}

TEST(Stage1RouteD, RingClusterBaseAngles) {
  const struct {
    int attack, frame, d;
    double firstBase;
    int rings;
  } cases[] = {{0, 180, 0, 198, 4}, {0, 195, 1, -222, 5}, {2, 195, 3, 214, 7}};
  for (const auto& c : cases) {
    FakeContext f(7, c.d);
    f.BeginAttack(c.attack);
    f.RunAt(c.frame);
    ASSERT_EQ(f.Count("Ring"), c.rings);
    EXPECT_EQ(f.Calls("Ring")[0][3], c.firstBase);
    EXPECT_EQ(f.Calls("Ring")[0][4], c.d + 4);
  }
}

TEST(Stage1RouteD, StarExitAngles) {
  FakeContext f(7, 2);
  f.BeginAttack(3);
  // Straight down is 90.0000025 in f32: exit 90 + 60 - 90, small 90 - 60 - 90
  // truncated toward zero.
  f.RunAt(360);
  ASSERT_EQ(f.Count("Spawn"), 2);
  EXPECT_EQ(f.Calls("Spawn")[0][4], 60);
  EXPECT_EQ(f.Calls("Spawn")[1][4], -59);
  EXPECT_EQ(f.Calls("QueueChange")[1][6], 60);
  for (int frame = 450; frame <= 456; ++frame) {
    f.RunAt(frame);
    EXPECT_EQ(f.Calls("Spawn")[0][4] == 0, frame < 456) << frame;
  }
}

TEST(Stage1RouteD, FamiliarCarriers) {
  FakeContext easy(7, 0);
  RunSpan(easy, 1, 300, 600);
  EXPECT_EQ(easy.Count("SpawnFamiliar"), 59);
  EXPECT_EQ(FramesOf(easy, "MoveTowardPlayer"), (std::set<int>{450}));
  FakeContext hard(7, 3);
  RunSpan(hard, 1, 300, 600);
  const std::vector<FakeCall> fam = hard.Calls("SpawnFamiliar");
  const std::vector<int32_t> draws = hard.Draws();
  ASSERT_EQ(fam.size(), 15u);
  for (size_t i = 0; i < fam.size(); ++i) EXPECT_EQ(fam[i][1], draws[i] + 16);
}

}  // namespace
