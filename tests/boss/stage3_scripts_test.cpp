// Stage 3 bosses against the recording context: the freeze windows, the
// turning bursts, the volleys, the jump that always ends, the spear's shaft,
// the oscillating offset and the 1,120-bullet wall.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <utility>

#include "boss/fake_context.h"
#include "stage/stage_field.h"

namespace {

// A context whose familiars can die.
class JumpContext : public FakeContext {
 public:
  using FakeContext::FakeContext;
  std::set<int32_t> dead;
  bool FamiliarActive(int32_t slot) override {
    return dead.count(slot) == 0 && FakeContext::FamiliarActive(slot);
  }
};

std::vector<std::pair<int, bool>> FreezeCalls(const FakeContext& f) {
  std::vector<std::pair<int, bool>> out;
  for (const FakeCall& c : f.Calls("SetFreeze")) out.push_back({c.phaseFrame, c[0] != 0});
  return out;
}

TEST(Stage3Scripts, FreezeWindowsByDifficulty) {
  using W = std::vector<std::pair<int, bool>>;
  const W cycles = {{300, false}, {500, true}, {600, false}, {800, true}, {900, false}};
  const W timed = {{400, false}, {440, true}, {480, false}, {520, true}, {560, false}};
  for (int d = 0; d < 4; ++d) {
    FakeContext f(10, d);
    f.BeginAttack(1);
    f.boss().phaseFrame = 120;
    f.RunFrames(d == 3 ? 441 : 781 + 120);
    const W got = FreezeCalls(f);
    EXPECT_EQ(got, d == 3 ? timed : cycles) << d;
    EXPECT_EQ(f.Calls("StartSpell").at(0)[0], d == 3 ? 60 : 57 + d);
  }
}

TEST(Stage3Scripts, AnAttackEndingWhileFrozenThawsTheField) {
  StageField f;
  f.S().difficulty = 3;
  Boss& b = *f.boss;
  b.Start(1, 10, 208, 128, 0.0f, 0.0f);
  b.attackIndex = 1;
  int frames = 0;
  while (!f.S().freeze && frames++ < 1000) b.Update(f.S());
  ASSERT_EQ(f.S().freeze, 1);
  EXPECT_EQ(b.phaseFrame, 441);  // frozen at 440
  b.timeLeft = -0.01f;           // the timed card runs out mid-window
  b.Update(f.S());
  EXPECT_EQ(f.S().freeze, 0);
  EXPECT_EQ(b.attackIndex, 2);
}

TEST(Stage3Scripts, RingsOfANewCycleComeOutBeforeTheThaw) {
  FakeContext f(10, 0);
  f.BeginAttack(1);
  f.RunAt(120);
  f.RunAt(600);
  const std::vector<std::string> ops = f.Ops();
  ASSERT_FALSE(ops.empty());
  EXPECT_EQ(ops.back(), "SetFreeze");
  EXPECT_EQ(f.Count("Spawn"), 36);
  // Each quarter drifts back along a + 225; Normal's quarters step 7.5 degrees.
  const std::vector<FakeCall> alt = f.Calls("SetAltMotion");
  EXPECT_EQ(alt.at(9)[2], 315);
  FakeContext n(10, 1);
  n.BeginAttack(1);
  n.RunAt(120);
  n.RunAt(600);
  EXPECT_EQ(n.Calls("Spawn").at(1)[4], 7.5f);
}

TEST(Stage3Scripts, SecondBurstTurnsBackWithTheDividendsSign) {
  FakeContext f(10, 0);
  f.RunAt(120);
  f.RunAt(180);  // the first cycle: word 2000 = 1
  f.RunAt(480);  // c 300, the second burst
  const std::vector<FakeCall> spawns = f.Calls("Spawn");
  ASSERT_EQ(spawns.size(), 4u);
  for (int a = 0; a < 4; ++a) EXPECT_EQ(spawns[a][4], -60 * 13 + 90 * a);
  EXPECT_EQ(f.Calls("QueueChange").at(1)[1], 20);  // slows for 5 x (4 - d) frames
}

TEST(Stage3Scripts, TimedBurstDriftsBackTowardTheBoss) {
  FakeContext f(10, 3);
  f.BeginAttack(1);
  f.forcedRnd = {128, 64};  // offset (64, 0)
  f.RunAt(301);
  EXPECT_EQ(f.boss().ScratchInt(2002), 180);
  const std::vector<FakeCall> spawns = f.Calls("Spawn");
  ASSERT_EQ(spawns.size(), 36u);
  EXPECT_EQ(spawns[0].args, (std::vector<double>{160, 272, 128, 4.5, 0, 50, 0}));
  EXPECT_EQ(f.Calls("SetAltMotion").at(35)[2], 180);
}

TEST(Stage3Scripts, CurvedVolleysByAttackAndDifficulty) {
  struct Case {
    int attack, d, spawns, firstAngle, firstType;
    float turn;
  } cases[] = {{0, 0, 5, 126, 30, 0.2f},  {0, 2, 6, 120, 30, 0.3f},
               {2, 1, 5, 126, 112, -0.25f}, {4, 3, 12, 120, 113, 0.35f}};
  for (const Case& c : cases) {
    FakeContext f(11, c.d);
    f.BeginAttack(c.attack);
    f.RunAt(180);
    const std::vector<FakeCall> spawns = f.Calls("Spawn");
    ASSERT_EQ(static_cast<int>(spawns.size()), c.spawns) << c.attack << c.d;
    EXPECT_EQ(spawns[0][4], c.firstAngle);
    EXPECT_EQ(spawns[0][0], c.firstType);
    EXPECT_EQ(f.Calls("QueueChange").at(0)[7], c.turn);
    EXPECT_EQ(f.Count("SetBounce"), c.spawns);
    EXPECT_EQ(f.boss().poseFrames, 10 * (c.d + 12));
  }
}

TEST(Stage3Scripts, JumpSkipsFamiliarsAtSixtyFourPixelsOrDead) {
  JumpContext f(11, 0);
  f.BeginAttack(1);
  f.RunAt(300);  // familiars at (112, 128) and (304, 128)
  f.playerX = 112.0f;
  f.playerY = 192.0f;  // exactly 64 px below familiar 0
  f.forcedRnd = {0, 0, 1};
  f.RunAt(550);
  EXPECT_EQ(f.Draws(), (std::vector<int32_t>{0, 0, 1}));
  EXPECT_EQ(f.boss().ScratchInt(2011), 1);
  EXPECT_EQ(f.Calls("MoveTo").at(0).args, (std::vector<double>{304, 128, 1}));
  // With none left to land on, the boss comes home without drawing.
  f.dead = {1};
  f.RunAt(550);
  EXPECT_TRUE(f.Draws().empty());
  EXPECT_EQ(f.Calls("MoveTo").at(0).args, (std::vector<double>{208, 128, 1}));
}

TEST(Stage3Scripts, JumpAlwaysEndsOnALivingFamiliarOrHome) {
  for (uint32_t seed = 1; seed <= 1000; ++seed) {
    JumpContext f(11, 2 + seed % 2, seed);
    f.BeginAttack(1);
    f.RunAt(300);  // five familiars
    for (int32_t s = 0; s < 5; ++s)
      if ((seed >> s) & 1) f.dead.insert(s);
    f.RunAt(449);
    const std::vector<int32_t> draws = f.Draws();
    const FakeCall move = f.Calls("MoveTo").at(0);
    if (f.dead.size() == 5) {
      EXPECT_TRUE(draws.empty()) << seed;
      EXPECT_EQ(move[0], 208) << seed;
    } else {
      ASSERT_FALSE(draws.empty()) << seed;
      EXPECT_EQ(f.dead.count(draws.back()), 0u) << seed;
      EXPECT_EQ(move[0], f.familiarX[draws.back()]) << seed;
    }
  }
}

TEST(Stage3Scripts, SpearShaftLiesOnTheCentreLine) {
  FakeContext f(11, 1);
  f.BeginAttack(5);
  f.RunAt(120);
  f.RunAt(300);  // a spear, no spray (300 % 90 != 0); aim 90
  const std::vector<FakeCall> spawns = f.Calls("Spawn");
  ASSERT_EQ(spawns.size(), 50u);
  EXPECT_EQ(spawns[9].args, (std::vector<double>{117, 208, 138, 4, 90, 20, 40}));  // k = 10
  EXPECT_EQ(spawns[49][2], 218);                                                  // k = 90
  EXPECT_EQ(spawns[5][0], 19);
  EXPECT_FLOAT_EQ(spawns[5][2], 128 + 60 * std::sin(-70 * 3.141592653589793 / 180) + 10);
}

TEST(Stage3Scripts, EasyOffsetSwingsBetweenMinusSixtyAndThirty) {
  FakeContext f(11, 0);
  f.BeginAttack(5);
  f.RunAt(120);
  f.boss().phaseFrame = 300;
  const std::pair<int, int> marks[] = {{1, 3}, {10, 30}, {11, 27}, {40, -60}, {41, -57}, {70, 30}};
  int ran = 0;
  for (const auto& [frames, offset] : marks) {
    f.RunFrames(frames - ran);
    ran = frames;
    EXPECT_EQ(f.boss().ScratchInt(2006), offset) << frames;
  }
}

TEST(Stage3Scripts, WallIs1120BulletsFromRow16To511) {
  FakeContext f(11, 0);
  f.BeginAttack(6);
  f.RunAt(120);
  f.forcedRnd = {0};  // side -1: the wall sweeps right in the first type
  f.RunAt(600);
  EXPECT_EQ(f.Calls("MoveBy").at(0).args, (std::vector<double>{-80, 10, 60}));
  f.RunAt(680);
  const std::vector<FakeCall> wall = f.Calls("Spawn");
  ASSERT_EQ(wall.size(), 1120u);
  EXPECT_EQ(wall[0].args, (std::vector<double>{12, 208, 16, 8, 0, 80, 0}));
  EXPECT_EQ(wall[55][2], 511);
  EXPECT_EQ(wall[1119][6], 95);
}

}  // namespace
