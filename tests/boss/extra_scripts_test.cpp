// Extra stage boss scripts against the recording fake (crosses, seeds,
// circles, fireworks, the last spray's levels, the last attack's lost
// capture), and every late boss with the pools nearly full.
#include <gtest/gtest.h>

#include <algorithm>

#include "boss/attack_table.h"
#include "boss/fake_context.h"

namespace {

std::vector<double> Column(const std::vector<FakeCall>& calls, size_t arg) {
  std::vector<double> out;
  for (const FakeCall& c : calls) out.push_back(c[arg]);
  return out;
}

}  // namespace

// The cross's draw range is the f64 difference of the two aimed sums: 49
// where rounding leaves it below 50. The cross fires before the move.
TEST(ExtraScripts, CrossRangeAndOrder) {
  struct Case {
    float playerX, playerY;
    int32_t range;
  } cases[] = {{208.0f, 400.0f, 50}, {99.0f, 464.0f, 49}, {101.0f, 458.0f, 49}, {300.0f, 300.0f, 50}};
  for (const Case& k : cases) {
    FakeContext ctx(21, 4);
    ctx.BeginAttack(1);
    ctx.playerX = k.playerX;
    ctx.playerY = k.playerY;
    ctx.RunAt(320);
    EXPECT_EQ(ctx.Calls("Rnd").at(0)[0], k.range) << k.playerX << "," << k.playerY;
  }
  FakeContext ctx(21, 4);
  ctx.BeginAttack(1);
  ctx.forcedRnd = {7, 4};
  ctx.RunAt(300);  // gates, cross and move on one frame
  EXPECT_EQ(Column(ctx.Calls("Spawn"), 4), (std::vector<double>{117, 207, 297, 387}));
  EXPECT_EQ(ctx.Calls("Spawn")[0][0], 144);
  EXPECT_EQ(ctx.Count("SpawnLaser"), 2);
  EXPECT_EQ(Column(ctx.Calls("QueueLaserChange"), 8), (std::vector<double>{12, -12, 0, 12, -12, 0}));
  const auto ops = ctx.Ops();
  EXPECT_EQ(ops.back(), "Rnd");  // the move's own draw, with range 0
  EXPECT_EQ(ops[ops.size() - 2], "MoveTowardPlayer");
  EXPECT_EQ(ctx.Calls("Rnd").back()[0], 0);
}

// Seeds drop still bullets that all set off on one frame; a seed that is
// gone, retyped or not yet hittable drops nothing.
TEST(ExtraScripts, SeedsDropOnlyWhileThere) {
  for (int fault = 0; fault < 4; ++fault) {
    FakeContext ctx(21, 4);
    ctx.BeginAttack(3);
    ctx.RunFrames(936);  // seeds at 900; 936 is cycle frame 36 of an odd cycle
    Boss& b = ctx.boss();
    if (fault == 1) ctx.Cancel(b.ScratchInt(0));
    if (fault == 2) ctx.bullets[b.ScratchInt(0)].type = 12;
    if (fault == 3) ctx.bullets[b.ScratchInt(0)].hittable = false;
    ctx.log.clear();
    ctx.RunFrame();
    const auto spawns = ctx.Calls("Spawn");
    ASSERT_EQ(spawns.size(), fault == 0 ? 18u : 17u) << fault;
    for (const FakeCall& q : ctx.Calls("QueueChange")) EXPECT_EQ(q[1], 180 - 36);
    if (fault == 0) {
      // Odd cycle: the sides alternate seed by seed.
      EXPECT_EQ(spawns[0][0], 143);
      EXPECT_EQ(spawns[1][0], 141);
      EXPECT_FLOAT_EQ(spawns[1][4], ctx.bullets[b.ScratchInt(1)].angle + 90.0f);
    }
  }
}

// Random circles never take colour 3 (a draw of 3 becomes 9); the fixed
// circles between them are colour 3. x comes from the sine, y from the cosine.
TEST(ExtraScripts, CirclesSkipColourThree) {
  struct Case {
    int32_t frame;
    std::deque<int32_t> draws;
    int32_t type, colourWord;
    float firstY;
  } cases[] = {{320, {100, 3}, 149, 9, 192.0f},
               {340, {100, 3}, 149, 9, 64.0f},
               {360, {0, 2}, 142, 2, 192.0f},
               {330, {}, 143, 0, 192.0f},
               {350, {}, 143, 0, 64.0f}};
  for (const Case& k : cases) {
    FakeContext ctx(21, 4);
    ctx.BeginAttack(13);
    ctx.boss().SetScratchInt(1, 0);
    ctx.forcedRnd = k.draws;
    ctx.RunAt(k.frame);
    const auto spawns = ctx.Calls("Spawn");
    ASSERT_EQ(spawns.size(), 36u);
    EXPECT_EQ(spawns[0][0], k.type) << k.frame;
    EXPECT_EQ(ctx.boss().ScratchInt(1), k.colourWord);
    EXPECT_FLOAT_EQ(spawns[0][1], 208.0f);
    EXPECT_FLOAT_EQ(spawns[0][2], k.firstY) << k.frame;
    EXPECT_EQ(spawns[0][4], k.draws.empty() ? 0 : k.draws[0]);
  }
}

// The timed card's stages by the time left, its quiet windows, and each
// firework's ring turning at its burst frame and trail leaving a frame later.
TEST(ExtraScripts, FireworksByTimeLeft) {
  struct Case {
    float left;
    int32_t frame;
    int spawns, draws;
  } cases[] = {
      {60.0f, 300, 8 * 21, 0}, {60.0f, 600, 2 * 21, 2}, {60.0f, 601, 0, 0}, {60.0f, 1600, 8 * 21, 8},
      {47.5f, 600, 0, 0},      {47.0f, 660, 0, 0},  {46.9f, 660, 24, 0},      {30.0f, 661, 0, 0}, {23.9f, 660, 0, 0},
      {22.0f, 660, 0, 0},      {21.5f, 620, 21, 2},      {0.5f, 610, 21, 2}, {0.5f, 615, 0, 0},
  };
  for (const Case& k : cases) {
    FakeContext ctx(21, 4);
    ctx.BeginAttack(16);
    ctx.boss().timeLeft = k.left;
    ctx.RunAt(k.frame);
    EXPECT_EQ(ctx.Count("Spawn"), k.spawns) << k.left << " at " << k.frame;
    EXPECT_EQ(ctx.Count("Rnd"), k.draws) << k.left << " at " << k.frame;
    EXPECT_EQ(ctx.Count("PlaySound"), k.spawns ? 1 : 0);
  }
  FakeContext ctx(21, 4);
  ctx.BeginAttack(16);
  ctx.boss().timeLeft = 21.5f;
  ctx.forcedRnd = {100, 5};
  ctx.RunAt(620);
  const std::vector<double> frames = Column(ctx.Calls("QueueChange"), 1);
  ASSERT_EQ(frames.size(), 21u);
  EXPECT_EQ(std::count(frames.begin(), frames.begin() + 18, 75.0), 18);
  EXPECT_EQ(std::count(frames.begin() + 18, frames.end(), 76.0), 3);
  EXPECT_EQ(ctx.Calls("Spawn")[0][1], 116);
  EXPECT_EQ(ctx.Calls("Spawn")[0][2], 464);
}

// The last spray's density by hit points, the top level once under 30 s.
TEST(ExtraScripts, LastSprayLevels) {
  struct Case {
    int32_t hp;
    float left;
    int32_t w, e;
  } cases[] = {{20000, 90.0f, 0, 2}, {19999, 90.0f, 1, 4}, {15000, 90.0f, 1, 4}, {14999, 90.0f, 1, 6},
               {10000, 90.0f, 1, 6}, {9999, 90.0f, 2, 8},  {8000, 90.0f, 2, 8},  {6000, 90.0f, 2, 10},
               {4000, 90.0f, 3, 12}, {2000, 90.0f, 3, 15}, {1999, 90.0f, 4, 20}, {20000, 29.9f, 4, 20},
               {-5, 90.0f, 4, 20}};
  for (const Case& k : cases) {
    FakeContext ctx(21, 4);
    ctx.BeginAttack(17);
    ctx.boss().hp = k.hp;
    ctx.boss().timeLeft = k.left;
    ctx.RunAt(300);
    EXPECT_EQ(ctx.boss().ScratchInt(2001), k.w) << k.hp;
    EXPECT_EQ(ctx.boss().ScratchInt(2002), k.e) << k.hp;
    const auto spawns = ctx.Calls("Spawn");
    ASSERT_EQ(spawns.size(), 10u + k.e);
    const auto draws = ctx.Calls("Rnd");
    ASSERT_EQ(draws.size(), 1 + 2 * spawns.size());
    EXPECT_EQ(draws[1][0], 10 * k.w);  // level 0 still draws rnd(0)
    const double centre = 200 + draws[0].result;
    if (k.w == 0) {
      for (const FakeCall& s : spawns) EXPECT_EQ(s[4], centre);
    }
    for (size_t i = 0; i < spawns.size(); ++i) EXPECT_EQ(spawns[i][0], 140 + i % 20);
  }
  FakeContext ctx(21, 4);
  ctx.BeginAttack(17);
  ctx.RunAt(0);
  EXPECT_EQ(Column(ctx.Calls("MoveTo"), 2), (std::vector<double>{1}));
}

// The last attack ends at once when its capture is lost, from frame 300
// (also when lost in the cut-in); its late rings join mid-cycle on aim 0.
TEST(ExtraScripts, LastAttackEndsWhenTheCaptureIsLost) {
  struct Case {
    int32_t frame;
    uint8_t capturable;
    int32_t hpAfter;
  } cases[] = {{299, 0, 10000}, {300, 0, 0}, {300, 1, 10000}, {777, 0, 0}};
  for (const Case& k : cases) {
    FakeContext ctx(22, 4);
    ctx.boss().hp = 10000;
    ctx.boss().capturable = k.capturable;
    ctx.RunAt(k.frame);
    EXPECT_EQ(ctx.boss().hp, k.hpAfter) << k.frame;
  }
  FakeContext ctx(22, 4);
  ctx.boss().hp = 2500;
  ctx.boss().capturable = 1;
  ctx.RunAt(345);
  const auto rings = ctx.Calls("Ring");
  ASSERT_EQ(rings.size(), 2u);
  EXPECT_EQ(rings[0][3], 5);
  EXPECT_EQ(rings[1][3], -5);
  EXPECT_FLOAT_EQ(rings[0][2], 5 / 12.0f + 1.0f);
  EXPECT_EQ(ctx.Count("Fan"), 1);
}

// With the bullet pool nearly full and no familiar slot left, every attack of
// the late bosses runs on, making exactly the draws it makes with room to spare.
TEST(ExtraScripts, NearlyFullPoolsKeepTheDraws) {
  for (int32_t id = 16; id <= 22; ++id) {
    for (int32_t attack = 0; attack < AttackCount(id); ++attack) {
      for (int32_t d = id >= 21 ? 4 : 0; d <= (id >= 21 ? 4 : 3); d += 3 - (id >= 21)) {
        std::vector<double> maxima[2];
        for (int full = 0; full < 2; ++full) {
          FakeContext ctx(id, d, 7);
          ctx.BeginAttack(attack);
          if (full) {
            ctx.bulletRoom = 3;
            ctx.familiarRoom = 0;
          } else {
            ctx.bulletRoom = 1 << 30;
          }
          ctx.RunFrames(1000);
          maxima[full] = Column(ctx.Calls("Rnd"), 0);
        }
        EXPECT_EQ(maxima[0], maxima[1]) << "boss " << id << " attack " << attack << " d " << d;
      }
    }
  }
}
