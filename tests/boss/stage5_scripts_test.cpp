// Stage 5 boss scripts against the recording fake: the frames changes are
// queued for, the order of draws, the pull on the player and the giant.
#include <gtest/gtest.h>

#include <cmath>

#include "boss/fake_context.h"

namespace {

// The QueueChange frames logged, in order.
std::vector<int32_t> QueueFrames(const FakeContext& ctx) {
  std::vector<int32_t> out;
  for (const FakeCall& c : ctx.Calls("QueueChange")) out.push_back(static_cast<int32_t>(c[1]));
  return out;
}

std::vector<int32_t> DrawMaxima(const FakeContext& ctx) {
  std::vector<int32_t> out;
  for (const FakeCall& c : ctx.Calls("Rnd")) out.push_back(static_cast<int32_t>(c[0]));
  return out;
}

}  // namespace

// A boomerang of cycle frame c turns back at its own frame 120 - c, so the
// whole burst turns on one frame, and becomes type 10 when back at the start.
TEST(Stage5Scripts, BoomerangsTurnBackTogether) {
  struct Case {
    int32_t phaseFrame, draw40, drawR, returnFrame, homeFrame;
  } cases[] = {
      {300, 20, 0, 120, 240},  // R 10: 120 frames back
      {359, 0, 15, 61, 109},   // c 59, R 25: 48 frames back
      {450, 5, 9, 120, 183},   // c 0 of the next cycle, R 19: trunc(63.15)
  };
  for (const Case& k : cases) {
    FakeContext ctx(16, 1);
    ctx.BeginAttack(1);
    ctx.forcedRnd = {k.draw40, k.drawR};
    ctx.RunAt(k.phaseFrame);
    const int32_t c = k.phaseFrame % 150;
    ASSERT_EQ(ctx.Count("Spawn"), 1);
    EXPECT_EQ(ctx.Calls("Spawn")[0][4], k.draw40 + 36 * c - 20);
    EXPECT_EQ(QueueFrames(ctx), (std::vector<int32_t>{60, k.returnFrame, k.homeFrame}));
    const FakeCall back = ctx.Calls("QueueChange")[1];
    EXPECT_FLOAT_EQ(back[4], (10 + k.drawR) / 10.0f);
    EXPECT_EQ(back[8], 19);
    EXPECT_EQ(ctx.Calls("QueueChange")[2][8], 10);
  }
}

// Each wandering bullet draws its jitter, then per change gap, side and pace;
// the change frames are the running sums of the gaps.
TEST(Stage5Scripts, WanderingCourseDrawOrder) {
  FakeContext ctx(16, 3);
  ctx.RunAt(180);
  const std::vector<int32_t> maxima = DrawMaxima(ctx);
  ASSERT_EQ(maxima.size(), 8u * (1 + 3 * 7));
  EXPECT_EQ(std::vector<int32_t>(maxima.begin(), maxima.begin() + 7),
            (std::vector<int32_t>{10, 36, 1, 10, 36, 1, 10}));
  const std::vector<int32_t> draws = ctx.Draws();
  int32_t sum = 0;
  for (int i = 0; i < 7; ++i) {
    sum += draws[1 + 3 * i];
    EXPECT_EQ(QueueFrames(ctx)[i], sum);
    const FakeCall q = ctx.Calls("QueueChange")[i];
    EXPECT_FLOAT_EQ(q[7], draws[2 + 3 * i] - 0.5f);
  }
}

// The first bullet of the eight-way ring carries the appearance delay, the
// other seven a hidden wait, so all show together.
TEST(Stage5Scripts, TurningRingShowsTogether) {
  FakeContext ctx(17, 0);
  ctx.playerX = 208.0f;  // straight below: aim 90
  ctx.RunAt(180);
  const auto spawns = ctx.Calls("Spawn");
  ASSERT_EQ(spawns.size(), 8u);
  for (size_t k = 0; k < 8; ++k) {
    EXPECT_EQ(spawns[k][5], k == 0 ? 20 : 0);
    EXPECT_EQ(spawns[k][6], k == 0 ? 0 : 20);
    EXPECT_EQ(spawns[k][4], 90 + 180 + 45 * static_cast<int>(k));
    EXPECT_FLOAT_EQ(spawns[k][3], 2.0f);
  }
}

// Easy and Normal gathering: the draws per bullet, the meeting point and the
// launch sound that the first cycle skips.
TEST(Stage5Scripts, GatheringBulletsAndLaunchSound) {
  FakeContext ctx(17, 0);
  ctx.BeginAttack(1);
  // Side wall right at y 16 + 224; pace 20 + 10; offsets 16 cos 0 and 8 sin 90; type 169.
  ctx.forcedRnd = {1, 224, 10, 0, 16, 90, 8, 169};
  ctx.RunAt(301);  // a beat at Easy (every 7 frames), cycle frame 1
  const std::vector<int32_t> maxima = DrawMaxima(ctx);
  ASSERT_EQ(maxima.size(), 16u);
  EXPECT_EQ(std::vector<int32_t>(maxima.begin(), maxima.begin() + 8),
            (std::vector<int32_t>{1, 448, 15, 359, 32, 359, 32, 169}));
  const FakeCall s = ctx.Calls("Spawn")[0];
  EXPECT_EQ(s[0], 169);
  EXPECT_EQ(s[1], 400);
  EXPECT_EQ(s[2], 240);
  // From (400, 240) to (208 + 16, 128 + 8): 176 left, 104 up, 204.4 px at 3 a frame.
  EXPECT_NEAR(s[4], -180.0 + std::atan2(104.0, 176.0) * 180.0 / 3.141592653589793, 1e-4);
  EXPECT_EQ(QueueFrames(ctx)[0], 68);
  EXPECT_EQ(QueueFrames(ctx)[1], 290 - 1);
  EXPECT_EQ(ctx.Calls("QueueChange")[1][6], -65535.0);
  for (const int32_t frame : {310, 610}) {
    ctx.RunAt(frame);
    EXPECT_EQ(ctx.Calls("PlaySound").size() == 1 && ctx.Calls("PlaySound")[0][0] == 1, frame == 610);
  }
}

// The pull moves x by the cosine first, then takes the angle afresh from the
// moved player for y.
TEST(Stage5Scripts, PullTakesYFromTheMovedPlayer) {
  FakeContext ctx(17, 2);
  ctx.BeginAttack(1);
  ctx.playerX = 208.0f + 3.0f;
  ctx.playerY = 128.0f + 4.0f;
  ctx.RunAt(301);  // no beat at Hard
  ASSERT_EQ(ctx.Count("SetPlayerPosition"), 1);
  EXPECT_NEAR(ctx.playerX, 211.0 - 0.6, 1e-5);
  EXPECT_NEAR(ctx.playerY, 132.0 - 4.0 / std::sqrt(2.4 * 2.4 + 16.0), 1e-5);
}

// The upward fan fires only on even frames with the player strictly above.
TEST(Stage5Scripts, FountainFanNeedsThePlayerAbove) {
  struct Case {
    float playerY;
    int32_t frame;
    int fans;
  } cases[] = {{128.0f, 182, 0}, {100.0f, 181, 0}, {100.0f, 182, 1}, {300.0f, 182, 0}};
  for (const Case& k : cases) {
    FakeContext ctx(17, 0);
    ctx.BeginAttack(2);
    ctx.playerY = k.playerY;
    ctx.RunAt(k.frame);
    EXPECT_EQ(ctx.Count("Fan"), k.fans) << k.playerY << " at " << k.frame;
  }
}

// The giant keeps scale 1 and radius 32 up to 329, is 0 at 330 and grows to
// 29 / (5 - d) by 359.
TEST(Stage5Scripts, GiantGrowsFrom330) {
  for (int32_t d = 0; d < 4; ++d) {
    FakeContext ctx(17, d);
    ctx.BeginAttack(6);
    ctx.RunFrames(330);
    EXPECT_FLOAT_EQ(ctx.boss().scale, 1.0f);
    EXPECT_EQ(ctx.boss().radius, 32);
    ctx.RunFrame();
    EXPECT_FLOAT_EQ(ctx.boss().scale, 0.0f);
    ctx.RunFrames(29);
    EXPECT_FLOAT_EQ(ctx.boss().scale, 29.0f / (5 - d));
    EXPECT_EQ(ctx.boss().radius, 32 * (d + 5));
  }
}
