// Final stage boss scripts against the recording fake: the opening card's
// ring count over the real countdown, the stored-slot fans, the rain's 96
// draws a frame, the sweep's volleys and the closing card's turning rings.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "boss/fake_context.h"

namespace {

int IndexOf(const std::vector<std::string>& ops, const std::string& op) {
  return static_cast<int>(std::find(ops.begin(), ops.end(), op) - ops.begin());
}

}  // namespace

// The count steps up on the first frame whose time left is below 14 and
// below 7, with the time counted down in f32 as the boss does (1/60 s off in
// double, stored as f32): a frame later than whole seconds would say.
TEST(FinalScripts, OpeningRingCountOverTheRealCountdown) {
  for (int32_t d = 0; d < 4; ++d) {
    FakeContext ctx(18, d);
    float left = 25.0f;  // set by the spell start at frame 120
    int32_t firstMid = 0, firstLate = 0;
    for (int32_t f = 121; f <= 1300; ++f) {
      left = static_cast<float>(static_cast<double>(left) - 0.016666666);
      if (f < 300) continue;
      ctx.boss().timeLeft = left;
      ctx.RunAt(f);
      const FakeCall ring = ctx.Calls("Ring").at(0);
      EXPECT_EQ(ring[0], 208.0);
      EXPECT_EQ(ring[1], 240.0);
      const int32_t n = static_cast<int32_t>(ring[4]);
      if (n == d + 1 && !firstMid) firstMid = f;
      if (n == d + 2 && !firstLate) firstLate = f;
      if (f == 300) {
        EXPECT_EQ(n, d / 2 + 1);
      }
    }
    EXPECT_EQ(firstMid, d / 2 + 1 == d + 1 ? 300 : 781) << d;
    EXPECT_EQ(firstLate, 1201) << d;
    struct Edge {
      float left;
      int32_t count;
    } edges[] = {{14.0f, d / 2 + 1}, {13.999999f, d + 1}, {7.0f, d + 1}, {6.9999995f, d + 2}};
    for (const Edge& e : edges) {
      ctx.boss().timeLeft = e.left;
      ctx.RunAt(400);
      EXPECT_EQ(ctx.Calls("Ring").at(0)[4], e.count) << e.left;
    }
  }
}

// The turn sign starts at +1 and flips at 180, so the first cycle turns -1.
TEST(FinalScripts, PetalsFirstCycleTurnsBack) {
  FakeContext ctx(19, 0);  // player straight below: aim 90
  ctx.RunFrames(180);
  ctx.log.clear();
  ctx.RunFrame();
  const auto spawns = ctx.Calls("Spawn");
  ASSERT_EQ(spawns.size(), 36u);
  EXPECT_EQ(spawns[0][4], 90 - 4 * 180);
  EXPECT_EQ(spawns[1][4], 90 + 4 * 180 + 187);
  EXPECT_EQ(ctx.boss().ScratchInt(2001), -1);
}

// A resting bullet fires its fan 170 frames on only while its record is
// still it: active, hittable and of type 13.
TEST(FinalScripts, RestingBulletFiresOnlyWhileStillThere) {
  enum Fault { kNone, kCancelled, kNotHittable, kRetyped, kNeverSpawned };
  for (const Fault fault : {kNone, kCancelled, kNotHittable, kRetyped, kNeverSpawned}) {
    FakeContext ctx(19, 0);
    ctx.BeginAttack(1);
    ctx.RunFrames(470);
    Boss& b = ctx.boss();
    const int32_t slot = b.ScratchInt(0);  // spawned at 300, read at 470
    ASSERT_GE(slot, 0);
    if (fault == kCancelled) ctx.Cancel(slot);
    if (fault == kNotHittable) ctx.bullets[slot].hittable = false;
    if (fault == kRetyped) ctx.bullets[slot].type = 12;
    if (fault == kNeverSpawned) b.SetScratchInt(0, -1);
    ctx.log.clear();
    ctx.RunFrame();
    const auto fans = ctx.Calls("Fan");
    ASSERT_EQ(fans.size(), fault == kNone ? 1u : 0u) << fault;
    if (fault == kNone) {
      EXPECT_FLOAT_EQ(fans[0][0], ctx.bullets[slot].x);
      EXPECT_EQ(fans[0][4], 90);  // arc 15 x 6 at Easy
    }
  }
}

// At cycle frame 0 the pose, the first bouncing fan and no move; the moves
// come every 60 frames after.
TEST(FinalScripts, WeaveCycleStart) {
  struct Case {
    int32_t frame;
    int spawns, moves;
  } cases[] = {{600, 12, 0}, {610, 12, 0}, {660, 0, 1}};
  for (const Case& k : cases) {
    FakeContext ctx(19, 0);
    ctx.BeginAttack(3);
    ctx.RunAt(k.frame);
    EXPECT_EQ(ctx.Count("SetBounce"), k.spawns) << k.frame;
    EXPECT_EQ(ctx.Count("MoveTowardPlayer"), k.moves) << k.frame;
    if (k.spawns) {
      EXPECT_EQ(ctx.Calls("SetBounce")[0][4], 0);  // never off the bottom
    }
  }
  FakeContext ctx(19, 0);
  ctx.BeginAttack(3);
  ctx.RunAt(600);
  EXPECT_EQ(ctx.boss().poseFrames, 60);
}

// The rain draws once per column, 96 a frame, whether or not a column fires;
// the falling group draws g, h and its position first, passing a negative
// range on as it is.
TEST(FinalScripts, RainDrawsEveryColumnEveryFrame) {
  struct Case {
    int32_t frame;
    size_t draws;
  } cases[] = {{301, 96}, {304, 3 + 96}, {400, 3 + 96 + 1}};
  for (const Case& k : cases) {
    FakeContext ctx(19, 0);
    ctx.BeginAttack(5);
    ctx.RunAt(k.frame);
    const auto draws = ctx.Calls("Rnd");
    ASSERT_EQ(draws.size(), k.draws) << k.frame;
    const size_t rainFrom = k.draws % 96 == 0 ? 0 : 3;
    for (size_t i = 0; i < 96; ++i) EXPECT_EQ(draws[rainFrom + i][0], 19);
  }
  FakeContext ctx(19, 0);
  ctx.BeginAttack(5);
  ctx.boss().x = 20.0f;
  ctx.forcedRnd = {0, 1, 0};  // a row running left from a boss at the wall
  ctx.RunAt(304);
  EXPECT_EQ(ctx.Calls("Rnd")[2][0], -12);
  EXPECT_EQ(ctx.Calls("Spawn")[1][1], 16 - 10);
  EXPECT_EQ(ctx.Calls("SetColor")[0][1], 0xC04040);
}

// The random-speed volleys fire only while the boss is strictly inside the
// field's width; each of the 3 x (4d + 12) bullets draws its own speed.
TEST(FinalScripts, SweepVolleysOnlyOverTheField) {
  struct Case {
    float x;
    int spawns;
  } cases[] = {{16.0f, 0}, {16.5f, 3 * 12}, {399.5f, 3 * 12}, {400.0f, 0}, {-600.0f, 0}};
  for (const Case& k : cases) {
    FakeContext ctx(19, 0);
    ctx.BeginAttack(8);
    ctx.boss().x = k.x;
    ctx.RunAt(1600);  // cycle frame 700
    EXPECT_EQ(ctx.Count("Spawn"), k.spawns) << k.x;
    EXPECT_EQ(ctx.Count("Rnd"), k.spawns) << k.x;
  }
}

// The closing card: music at its start, the familiar at (256, 240) before
// the first gauge item, and the turning rings' stop frame, which a turn rate
// of 0 puts at the most negative frame.
TEST(FinalScripts, ClosingCard) {
  FakeContext ctx(20, 0);
  ctx.RunAt(120);
  EXPECT_EQ(ctx.Calls("PlayMusic").at(0)[0], 2);
  ctx.RunAt(300);
  const auto ops = ctx.Ops();
  EXPECT_LT(IndexOf(ops, "SpawnFamiliar"), IndexOf(ops, "SpawnItem"));
  const FakeCall familiar = ctx.Calls("SpawnFamiliar").at(0);
  EXPECT_EQ(familiar[1], 256);
  EXPECT_EQ(familiar[2], 240);
  EXPECT_EQ(familiar[4], 0.0);
  const FakeCall item = ctx.Calls("SpawnItem").at(0);
  EXPECT_EQ(item[2], 7);
  EXPECT_EQ(item[3], -3);
  EXPECT_FLOAT_EQ(ctx.boss().x, 160.0f);  // 180 degrees round the centre

  struct Case {
    int32_t frameCount;
    float rate;
    int32_t stopFrame, offsetAfter;
  } cases[] = {
      {300, 0.0f, INT_MIN, 0},
      {301, 1 / 140.0f, 21000, -1},      // 150 / (1/140) from the unrounded rate
      {500, 200 / 140.0f, 105, -200},    // Easy's v = 200: 105 frames, 150 degrees
      {0, -300 / 140.0f, 70, 300},
      {600, 300 / 140.0f, 70, -300},
  };
  for (const Case& k : cases) {
    FakeContext c(20, 0);
    c.frameCount = k.frameCount;
    c.RunAt(2702);
    const auto q = c.Calls("QueueChange");
    ASSERT_EQ(q.size(), 20u);
    EXPECT_FLOAT_EQ(q[0][7], k.rate);
    EXPECT_EQ(q[1][1], k.stopFrame) << k.frameCount;
    EXPECT_EQ(c.boss().ScratchInt(2000), k.offsetAfter);
  }
}
