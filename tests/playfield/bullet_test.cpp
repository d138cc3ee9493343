// Enemy bullets: appearance, the change queue, bounces, lasers, patterns,
// erasing, the freeze and every guard on slots, types and full queues.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

#include "field.h"

namespace {

constexpr float U = kChangeUnchanged;
constexpr int32_t UT = kChangeTypeUnchanged;

// Updates until the record's x moves; returns the update (1-based) or -1.
int FirstMovingUpdate(Field& f, int slot, int limit) {
  float x0 = f.R(slot).x;
  for (int k = 1; k <= limit; ++k) {
    f.bullet->Update(f.S());
    if (f.R(slot).x != x0) return k;
  }
  return -1;
}

TEST(Bullet, AppearanceFrames) {
  struct Case {
    bool laser;
    int wait, delay;
    int moves;       // update in which it first moves
    int hittableAt;  // first update after which IsHittable holds
  } cases[] = {
      {false, 0, 0, 1, 0},  {false, 5, 10, 16, 15}, {false, 0, 30, 31, 30},
      {true, 0, 60, 71, 70}, {true, 5, 60, 76, 75},  {true, 0, 0, 11, 10},
  };
  for (const Case& c : cases) {
    Field f;
    int slot = c.laser ? f.bullet->SpawnLaser(100, 100, 1, 0, 0, 50, 10, c.delay, c.wait)
                       : f.bullet->Spawn(0, 100, 100, 1, 0, c.delay, c.wait);
    int hittable = f.bullet->IsHittable(slot) ? 0 : -1;
    float x0 = f.R(slot).x;
    int moves = -1;
    for (int k = 1; k <= 100 && moves < 0; ++k) {
      f.bullet->Update(f.S());
      if (hittable < 0 && f.bullet->IsHittable(slot)) hittable = k;
      if (f.R(slot).x != x0) moves = k;
    }
    SCOPED_TRACE(testing::Message() << "laser " << c.laser << " wait " << c.wait << " delay " << c.delay);
    EXPECT_EQ(moves, c.moves);
    EXPECT_EQ(hittable, c.hittableAt);
    EXPECT_EQ(f.R(slot).frame, 1);  // frame 0 was its first moving frame
  }
}

TEST(Bullet, LaserStatesThroughItsLife) {
  Field f;
  int slot = f.bullet->SpawnLaser(100, 100, 0, 0, 0, 50, 10, 2, 1);
  int states[16];
  for (int& st : states) {
    st = f.bullet->GetLaserState(slot);
    f.bullet->Update(f.S());
  }
  // Hidden one frame, warning 2 frames, growing 10, then on.
  const int expect[16] = {0, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 1, 1, 1};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(states[i], expect[i]) << "update " << i;
  EXPECT_EQ(f.bullet->GetLaserState(f.bullet->Spawn(0, 1, 1, 0, 0, 0, 0)), 0);
}

TEST(Bullet, ChangesApplyOnTheirFrameWithSentinels) {
  Field f;
  f.player->x = 100;
  f.player->y = 300;
  // Frame 0 applies before the first step; frame 3 turns it down; an aim
  // change with a new position aims from that position.
  int a = f.bullet->Spawn(40, 100, 100, 0, 0, 0, 0);
  ASSERT_TRUE(f.bullet->QueueChange(a, 0, U, U, 2.0f, U, U, U, UT));
  ASSERT_TRUE(f.bullet->QueueChange(a, 3, U, U, U, U, 90.0f, U, 45));
  ASSERT_TRUE(f.bullet->QueueChange(a, 5, 300.0f, 100.0f, U, U, kChangeAimAtPlayer, U, UT));
  f.bullet->Update(f.S());
  EXPECT_FLOAT_EQ(f.R(a).x, 102.0f);
  for (int i = 0; i < 3; ++i) f.bullet->Update(f.S());
  EXPECT_FLOAT_EQ(f.R(a).angle, 90.0f);
  EXPECT_EQ(f.R(a).type, 45);
  EXPECT_FLOAT_EQ(f.R(a).x, 106.0f);
  EXPECT_FLOAT_EQ(f.R(a).y, 102.0f);
  f.bullet->Update(f.S());
  f.bullet->Update(f.S());
  // From (300, 100) toward (100, 300): 135 degrees.
  EXPECT_NEAR(f.R(a).angle, 135.0f, 1e-4);

  // Two changes due together: the later wins field by field; its sentinels
  // keep the earlier one's values.
  int b = f.bullet->Spawn(40, 100, 100, 0, 0, 0, 0);
  f.bullet->QueueChange(b, 0, U, U, 3.0f, 0.5f, 10.0f, U, UT);
  f.bullet->QueueChange(b, 0, U, U, 1.0f, U, U, 2.0f, UT);
  f.bullet->Update(f.S());
  EXPECT_FLOAT_EQ(f.R(b).speed, 1.5f);
  EXPECT_FLOAT_EQ(f.R(b).accel, 0.5f);
  EXPECT_FLOAT_EQ(f.R(b).angle, 12.0f);

  // A change whose frame has passed never applies; x -1000 removes at once.
  int c = f.bullet->Spawn(40, 100, 100, 0, 0, 0, 0);
  f.bullet->Update(f.S());
  f.bullet->QueueChange(c, 0, U, U, 9.0f, U, U, U, UT);
  f.bullet->QueueChange(c, 2, -1000.0f, U, U, U, U, U, UT);
  f.bullet->Update(f.S());
  EXPECT_FLOAT_EQ(f.R(c).speed, 0.0f);
  EXPECT_TRUE(f.R(c).active);
  f.bullet->Update(f.S());
  EXPECT_FALSE(f.R(c).active);
}

TEST(Bullet, ChangeQueueLimits) {
  Field f;
  int b = f.bullet->Spawn(0, 100, 100, 0, 0, 0, 0);
  for (int i = 0; i < 15; ++i) ASSERT_TRUE(f.bullet->QueueChange(b, 100 + i, U, U, U, U, U, U, UT));
  EXPECT_TRUE(f.R(b).active);
  EXPECT_TRUE(f.bullet->QueueChange(b, 200, U, U, U, U, U, U, UT));  // the 16th removes it
  EXPECT_FALSE(f.R(b).active);
  EXPECT_FALSE(f.bullet->QueueChange(b, 201, U, U, U, U, U, U, UT));
  EXPECT_EQ(f.R(b).changeCount, 16);

  // A laser keeps its 16 changes and refuses a 17th of either kind.
  int l = f.bullet->SpawnLaser(100, 100, 0, 0, 0, 50, 10, 0, 0);
  for (int i = 0; i < 16; ++i) ASSERT_TRUE(f.bullet->QueueLaserChange(l, i, U, U, U, U, U, U, 1));
  EXPECT_TRUE(f.R(l).active);
  EXPECT_FALSE(f.bullet->QueueLaserChange(l, 99, U, U, U, U, U, U, 1));
  EXPECT_FALSE(f.bullet->QueueChange(l, 99, U, U, U, U, U, U, UT));
  EXPECT_EQ(f.R(l).changeCount, 16);
  EXPECT_TRUE(f.R(l).active);
}

TEST(Bullet, Bounces) {
  struct Case {
    float x, y, angle, speed;
    int count;
    bool top, right, bottom, left;
    int updates;
    int left_after;
    float angle_after;
  } cases[] = {
      {393, 200, 0, 5, 2, false, true, false, false, 1, 1, 180},    // right wall
      {390, 200, 0, 5, 2, false, true, false, false, 1, 2, 0},      // 395: not yet past 396
      {393, 200, 0, 5, 0, false, true, false, false, 1, 0, 0},      // no bounces left
      {393, 200, 0, 5, 2, false, false, false, true, 1, 2, 0},      // wrong wall
      {20, 20, 225, 2, 3, true, false, false, true, 1, 1, 45},      // corner: two at once
      {398, 462, 45, 2, 1, false, true, true, false, 1, -1, -135},  // corner on the last bounce
      {398, 462, 45, 2, 1, false, true, true, false, 3, -1, -135},  // never again
  };
  for (const Case& c : cases) {
    Field f;
    int b = f.bullet->Spawn(0, c.x, c.y, c.speed, c.angle, 0, 0);  // type 0: 8 x 8
    f.bullet->SetFacing(b, false, 0);
    ASSERT_TRUE(f.bullet->SetBounce(b, c.count, c.top, c.right, c.bottom, c.left));
    for (int i = 0; i < c.updates; ++i) f.bullet->Update(f.S());
    SCOPED_TRACE(testing::Message() << "at " << c.x << "," << c.y << " updates " << c.updates);
    EXPECT_EQ(f.R(b).bouncesLeft, c.left_after);
    EXPECT_FLOAT_EQ(f.R(b).angle, c.angle_after);
  }
}

TEST(Bullet, PatternLayouts) {
  Field f;
  f.bullet->Ring(200, 200, 2, 10, 4, 5, 0, 30);
  const float ring[4] = {10, 100, 190, 280};
  for (int i = 0; i < 4; ++i) {
    EXPECT_FLOAT_EQ(f.R(i).angle, ring[i]);
    EXPECT_EQ(f.R(i).delay, i == 0 ? 30 : 0);
    EXPECT_EQ(f.R(i).wait, i == 0 ? 0 : 30);
  }
  for (int k = 0; k < 30; ++k) f.bullet->Update(f.S());
  for (int i = 0; i < 4; ++i) EXPECT_EQ(f.R(i).frame, 0) << i;
  f.bullet->Update(f.S());
  for (int i = 0; i < 4; ++i) EXPECT_EQ(f.R(i).frame, 1) << i;  // all start together

  struct FanCase {
    int count;
    float arc;
    std::vector<float> angles;
  } fans[] = {{2, 60, {60, 120}}, {1, 60, {90}}, {0, 60, {}}, {3, 90, {45, 90, 135}}};
  for (const FanCase& c : fans) {
    Field g;
    g.bullet->Fan(200, 200, 2, 90, c.arc, c.count, 5, 0, 0);
    ASSERT_EQ(g.bullet->CountActive(), static_cast<int>(c.angles.size()));
    for (size_t i = 0; i < c.angles.size(); ++i) EXPECT_FLOAT_EQ(g.R(i).angle, c.angles[i]);
  }

  Field l;
  l.bullet->Line(200, 200, 4, 90, 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_FLOAT_EQ(l.R(i).speed, static_cast<float>(i + 1));
    EXPECT_EQ(l.R(i).type, 120);
    EXPECT_EQ(l.R(i).delay, i == 0 ? 10 : 0);
    EXPECT_EQ(l.R(i).wait, i == 0 ? 0 : 10);
  }

  struct ChainCase {
    int depth, lasers;
  } chains[] = {{0, 0}, {1, 1}, {3, 7}, {-2, 0}, {11, 2047}, {40, 2048}};
  for (const ChainCase& c : chains) {
    Field g;
    g.S().difficulty = 3;
    auto t0 = std::chrono::steady_clock::now();
    g.bullet->LaserChain(200, 100, 90, 0, 20.5f, 8.9f, 5, 40, c.depth);
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(1));
    EXPECT_EQ(g.bullet->CountActive(), c.lasers) << "depth " << c.depth;
    if (c.lasers >= 3) {
      // Segment 0 waits 5, the next of the run 5 + 47; each holds its removal.
      EXPECT_EQ(g.R(0).wait, 5);
      EXPECT_FLOAT_EQ(g.R(0).length, 20.0f);
      EXPECT_FLOAT_EQ(g.R(0).width, 8.0f);
      EXPECT_EQ(g.R(0).changeCount, 1);
      EXPECT_EQ(g.R(0).changes.frame[0], 40);
      EXPECT_FLOAT_EQ(g.R(0).changes.x[0], -1000.0f);
      EXPECT_EQ(g.R(1).wait, 52);  // the sub-tree at the end of segment 0
      EXPECT_FLOAT_EQ(g.R(1).angle, 45.0f);
    }
  }
}

TEST(Bullet, EraseFamily) {
  Field f;
  int near = f.bullet->Spawn(0, 100.0f + 32.9f, 100, 0, 0, 0, 0);
  int far = f.bullet->Spawn(0, 100.0f + 33.0f, 100, 0, 0, 0, 0);
  EXPECT_EQ(f.bullet->EraseNearToItems(100, 100, 32), 1);
  EXPECT_FALSE(f.R(near).active);
  EXPECT_TRUE(f.R(far).active);
  EXPECT_EQ(f.item->CountActive(), 1);
  EXPECT_EQ(f.item->slots[0].kind, ItemCancel);

  int proof = f.bullet->Spawn(0, 10, 10, 0, 0, 0, 0);
  f.bullet->SetEraseProof(proof);
  EXPECT_EQ(f.bullet->EraseAll(), 1);
  EXPECT_TRUE(f.R(proof).active);
  EXPECT_EQ(f.bullet->EraseAllToItems(), 1);
  EXPECT_FALSE(f.R(proof).active);
  EXPECT_EQ(f.item->CountActive(), 2);
  f.bullet->Spawn(0, 10, 10, 0, 0, 0, 0);
  f.bullet->SetEraseProof(0);
  EXPECT_EQ(f.bullet->EraseAllForced(), 1);
  f.bullet->Spawn(0, 10, 10, 0, 0, 0, 0);
  EXPECT_EQ(f.bullet->EraseNearToItems(0, 0, INT32_MAX), 1);  // radius + 1 does not wrap
}

TEST(Bullet, CancelShotsTurnBulletsIntoItems) {
  Field f;
  int plain = f.bullet->Spawn(0, 200, 200, 0, 0, 0, 0);
  int proof = f.bullet->Spawn(0, 200, 200, 0, 0, 0, 0);
  f.bullet->SetEraseProof(proof);
  f.player->SpawnCancelShot(200, 200, 0, 0, 0, 0, 19, 1, 0);
  f.player->SpawnCancelShot(205, 200, 0, 0, 0, 0, 19, 1, 0);
  f.bullet->Update(f.S());
  EXPECT_FALSE(f.R(plain).active);
  EXPECT_TRUE(f.R(proof).active);
  EXPECT_EQ(f.item->CountActive(), 2);  // one item per overlapping shot

  // A beam cancels along its length only.
  Field g;
  int onBeam = g.bullet->Spawn(0, 200, 100, 0, 0, 0, 0);
  int beside = g.bullet->Spawn(0, 230, 100, 0, 0, 0, 0);
  g.player->SpawnCancelShot(200, 300, 0, 0, 270, 0, 7, 1, 0);  // 16 x 256 beam upward
  g.bullet->Update(g.S());
  EXPECT_FALSE(g.R(onBeam).active);
  EXPECT_TRUE(g.R(beside).active);
}

TEST(Bullet, FacingAndSpin) {
  Field f;
  int fixed = f.bullet->Spawn(25, 0, 0, 0, 33, 0, 0);
  int free = f.bullet->Spawn(35, 0, 0, 0, 33, 0, 0);
  int laser = f.bullet->SpawnLaser(0, 0, 0, 33, 25, 10, 10, 0, 0);
  EXPECT_TRUE(f.R(fixed).facingOn);
  EXPECT_FALSE(f.R(free).facingOn);
  for (int s : {fixed, free, laser}) f.bullet->SetFacing(s, true, 70);
  EXPECT_FLOAT_EQ(f.bullet->GetFacing(fixed), 33.0f);
  EXPECT_FLOAT_EQ(f.bullet->GetFacing(free), 70.0f);
  EXPECT_FLOAT_EQ(f.bullet->GetFacing(laser), 70.0f);
  f.bullet->SetFacing(fixed, false, 5);
  EXPECT_FLOAT_EQ(f.bullet->GetFacing(fixed), 33.0f);

  f.R(free).frame = 100;
  f.bullet->SetSpin(free, 3, 60);
  EXPECT_EQ(f.R(free).spinEnd, 160);
}

TEST(Bullet, FreezeDriftsEveryRecordAndStopsTheClock) {
  Field f;
  int a = f.bullet->Spawn(40, 100, 100, 2, 0, 0, 3);
  f.bullet->SetAltMotion(a, 1, 90);
  f.S().freeze = 1;
  for (int i = 0; i < 5; ++i) f.bullet->Update(f.S());
  EXPECT_FLOAT_EQ(f.R(a).x, 100.0f);
  EXPECT_NEAR(f.R(a).y, 105.0f, 1e-4);
  EXPECT_EQ(f.R(a).wait, 3);
  f.S().freeze = 0;
  EXPECT_EQ(FirstMovingUpdate(f, a, 10), 4);

  // A cleared pool holds no earlier play's other motion.
  f.bullet->ClearPool();
  int b = f.bullet->Spawn(40, 50, 50, 0, 0, 0, 0);
  f.S().freeze = 1;
  f.bullet->Update(f.S());
  EXPECT_FLOAT_EQ(f.R(b).x, 50.0f);
  EXPECT_FLOAT_EQ(f.R(b).y, 50.0f);
}

TEST(Bullet, FullPoolAndLeavingTheField) {
  Field f;
  for (int i = 0; i < kBulletPoolSize; ++i) ASSERT_EQ(f.bullet->Spawn(0, 200, 200, 0, 0, 0, 0), i);
  EXPECT_EQ(f.bullet->Spawn(0, 200, 200, 0, 0, 0, 0), -1);
  EXPECT_EQ(f.bullet->SpawnLaser(0, 0, 0, 0, 0, 1, 1, 0, 0), -1);
  f.bullet->Ring(0, 0, 0, 0, 8, 0, 0, 0);  // nothing, no failure
  f.R(777).x = 464.5f;
  f.bullet->Update(f.S());
  EXPECT_FALSE(f.R(777).active);
  EXPECT_EQ(f.bullet->Spawn(0, 200, 200, 0, 0, 0, 0), 777);

  // The field's edges: 64 pixels outside, removal only beyond them.
  struct Edge {
    float x, y;
    bool stays;
  } edges[] = {{-64, 0, true}, {-64.01f, 0, false}, {464, 528, true}, {0, 528.01f, false}};
  for (const Edge& e : edges) {
    Field g;
    int b = g.bullet->Spawn(0, e.x, e.y, 0, 0, 0, 0);
    g.bullet->Update(g.S());
    EXPECT_EQ(g.R(b).active != 0, e.stays) << e.x << "," << e.y;
  }
}

TEST(Bullet, SlotAndTypeGuards) {
  Field f;
  f.bullet->Spawn(0, 1, 2, 0, 0, 0, 0);
  for (int slot : {-1, 2048, 1 << 30, INT32_MIN}) {
    SCOPED_TRACE(slot);
    EXPECT_FALSE(f.bullet->QueueChange(slot, 0, U, U, U, U, U, U, UT));
    EXPECT_FALSE(f.bullet->QueueLaserChange(slot, 0, U, U, U, U, U, U, 0));
    EXPECT_FALSE(f.bullet->SetAngle(slot, 1));
    EXPECT_FALSE(f.bullet->SetBounce(slot, 1, true, true, true, true));
    EXPECT_FALSE(f.bullet->SetEraseProof(slot));
    EXPECT_FALSE(f.bullet->SetFacing(slot, true, 1));
    EXPECT_FALSE(f.bullet->SetSpin(slot, 1, 1));
    EXPECT_FALSE(f.bullet->SetAltMotion(slot, 1, 1));
    EXPECT_FALSE(f.bullet->SetHarmless(slot));
    EXPECT_FALSE(f.bullet->SetColor(slot, 0));
    EXPECT_FALSE(f.bullet->MarkGrazed(slot));
    EXPECT_EQ(f.bullet->GetX(slot), 0.0f);
    EXPECT_EQ(f.bullet->GetY(slot), 0.0f);
    EXPECT_EQ(f.bullet->GetType(slot), 0);
    EXPECT_EQ(f.bullet->GetFacing(slot), 0.0f);
    EXPECT_FALSE(f.bullet->IsHittable(slot));
    EXPECT_EQ(f.bullet->GetLaserState(slot), 0);
  }
  // Inactive records: setters refuse, getters answer with the stale values.
  f.R(0).active = 0;
  EXPECT_FALSE(f.bullet->SetAngle(0, 5));
  EXPECT_EQ(f.bullet->GetY(0), 2.0f);

  struct TypeCase {
    int type, radius, w;
  } types[] = {{-1, 0, 0}, {0, 3, 8}, {72, 16, 64}, {117, 3, 16}, {170, 80, 192}, {171, 4, 16},
               {172, 0, 0}, {255, 0, 0}, {256, 0, 0}, {INT32_MAX, 0, 0}};
  for (const TypeCase& t : types) {
    EXPECT_EQ(BulletRadius(t.type), t.radius) << t.type;
    EXPECT_EQ(BulletSpriteOf(t.type).w, t.w) << t.type;
  }
  EXPECT_EQ(BulletSpriteOf(72).x, 304);
  EXPECT_EQ(BulletSpriteOf(72).y, 376);
  EXPECT_EQ(BulletSpriteOf(117).x, 48);
  EXPECT_EQ(BulletSpriteOf(117).y, 232);
  // Odd types move and bounce like any other, without a sprite size.
  int odd = f.bullet->Spawn(1000, 200, 200, 1, 0, 0, 0);
  f.bullet->SetBounce(odd, 3, true, true, true, true);
  f.bullet->Update(f.S());
  EXPECT_TRUE(f.R(odd).active);
}

}  // namespace
