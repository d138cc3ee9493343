// Stage 5: the mid-boss (wandering bullets, boomerangs and trios) and the
// stage boss (turning rings, the gathering and the pull, fountains, bouncing
// sprays, familiars, sparkles and the giant).
#include "boss/boss_scripts.h"
#include "boss/idioms.h"
#include "boss/script_context.h"
#include "shell/gamemath.h"

namespace {

using Ctx = BossScriptContext;

// n tenths, as the speeds and turns drawn in whole tenths are given.
float Tenths(int32_t n) { return static_cast<float>(n / 10.0); }

// Bounces off the top and side walls, never the bottom.
void BounceOffTopAndSides(Ctx& ctx, int32_t slot, int32_t count) {
  ctx.SetBounce(slot, count, true, true, false, true);
}

// --- boss 16: the mid-boss ----------------------------------------------------

// Eight wandering bullets, each on a course of d + 4 random turns.
void Boss16Wander(Ctx& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  const int32_t d = Level(ctx);
  if (f < kNonSpellFrame || !EveryFrames(f, 2 * (9 - d))) return;
  ctx.PlaySound(0);
  for (int32_t k = 0; k < 8; ++k) {
    const int32_t jitter = ctx.Rnd(10);
    const int32_t slot = ctx.Spawn(12, b.x, b.y, 1.0f, -5 + 45 * k + jitter, 20, 0);
    b.SetScratchInt(0, slot);
    b.SetScratchInt(1, 0);
    for (int32_t c = 0; c < d + 4; ++c) {
      const int32_t gap = ctx.Rnd(60 - 8 * d);
      b.SetScratchInt(1, b.ScratchInt(1) + gap);
      const int32_t side = ctx.Rnd(1);
      const int32_t pace = ctx.Rnd(10);
      Queue(ctx, slot, b.ScratchInt(1),
            {.speed = Tenths(5 + pace), .angularSpeed = static_cast<float>(side - 0.5)});
    }
  }
}

// Easy and Normal: boomerang bursts that all turn back on one frame, and
// bouncing volleys.
void Boss16Boomerangs(Ctx& ctx, int32_t d) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  const int32_t c = f % 150;
  if (c < 60) {
    if (f % 5 == 0) ctx.PlaySound(0);
    const int32_t spread = ctx.Rnd(40);
    const int32_t angle = spread + 36 * c - 20;
    b.SetScratchInt(0, angle);
    const int32_t slot = ctx.Spawn(16, b.x, b.y, 2.0f, angle, 20, 0);
    b.SetScratchInt(1, slot);
    const int32_t pace = ctx.Rnd(10 * (d + 2));
    const int32_t r = 10 + pace;
    b.SetScratchInt(2, r);
    const double back = r / 10.0;
    Queue(ctx, slot, 60, {.speed = 0.0f});
    Queue(ctx, slot, 120 - c,
          {.speed = static_cast<float>(back), .angle = static_cast<float>(angle + 180), .type = 19});
    Queue(ctx, slot, Trunc(120 / back + 120 - c), {.type = 10});
  }
  if (c == 120) {
    ctx.PlaySound(1);
    for (int32_t v = 0; v < 3 * d + 5; ++v) {
      const int32_t angle = ctx.Rnd(359);
      static constexpr int32_t kTypes[3] = {29, 26, 20};
      for (int32_t i = 0; i < 3; ++i)
        BounceOffTopAndSides(ctx, ctx.Spawn(kTypes[i], b.x, b.y, 3.0f, angle, 0, 5 * i), 2);
    }
    ctx.MoveTowardPlayer(30, 10, 30);
  }
}

// Hard and Lunatic: eight trios, each following one wandering course.
void Boss16Trios(Ctx& ctx, int32_t d) {
  Boss& b = ctx.boss();
  if (!EveryFrames(b.phaseFrame, 4 * (6 - d))) return;
  ctx.PlaySound(0);
  static constexpr int32_t kTypes[3] = {19, 16, 10};
  for (int32_t a = 0; a < 360; a += 45) {
    const int32_t jitter = ctx.Rnd(10) - 5;
    b.SetScratchInt(4, jitter);
    for (int32_t i = 0; i < 3; ++i)
      b.SetScratchInt(5 + i, ctx.Spawn(kTypes[i], b.x, b.y, 2.0f, a + jitter, 20, 5 * i));
    b.SetScratchInt(1, 0);
    for (int32_t c = 0; c < d + 2; ++c) {
      const int32_t gap = ctx.Rnd(5 * (12 - d));
      b.SetScratchInt(1, b.ScratchInt(1) + gap);
      const int32_t pace = ctx.Rnd(10);
      b.SetScratchInt(2, 5 + pace);
      const int32_t turn = ctx.Rnd(10);
      b.SetScratchInt(3, turn - 5);
      const ScriptChange change{.speed = Tenths(b.ScratchInt(2)),
                                .angularSpeed = Tenths(b.ScratchInt(3))};
      for (int32_t i = 0; i < 3; ++i) Queue(ctx, b.ScratchInt(5 + i), b.ScratchInt(1), change);
    }
  }
}

void Boss16Spell(Ctx& ctx) {
  if (ctx.boss().phaseFrame < kSpellFrame) return;
  const int32_t d = Level(ctx);
  if (d < 2)
    Boss16Boomerangs(ctx, d);
  else
    Boss16Trios(ctx, d);
}

// --- boss 17: the stage boss ----------------------------------------------------

// The eight-way ring that turns one way, then the other, each third faster.
void Boss17TurningRing(Ctx& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  if (f < kNonSpellFrame) return;
  const int32_t d = Level(ctx);
  const int32_t c = f % 180;
  if (c == 0 || c == 60) b.SetScratchInt(2000, Trunc(AimFromBoss(ctx)));
  const bool beat = EveryFrames(f, 2 * (5 - d));
  if (beat && c < 120) {
    ctx.PlaySound(0);
    const bool outward = c < 60;
    const double speed = 2.0 + (outward ? c : c - 60) / 20 + 0.3 * d;
    const int32_t base = b.ScratchInt(2000);
    for (int32_t k = 0; k < 8; ++k) {
      const int32_t angle = (outward ? base + f : base - f) + 45 * k;
      b.SetScratchInt(0, ctx.Spawn(112, b.x, b.y, speed, angle, k == 0 ? 20 : 0, k == 0 ? 0 : 20));
    }
  }
  if (c == 120) ctx.MoveTowardPlayer(40, 10, 60);
}

// A point on one of the walls: a side wall (x drawn first) or the top or
// bottom (x drawn first as well, then the wall).
struct WallPoint {
  int32_t x, y;
};
WallPoint FromSideWall(Ctx& ctx) {
  const int32_t right = ctx.Rnd(1);
  const int32_t y = 16 + ctx.Rnd(448);
  return {right == 1 ? 400 : 16, y};
}
WallPoint FromTopOrBottom(Ctx& ctx) {
  const int32_t x = 16 + ctx.Rnd(384);
  const int32_t bottom = ctx.Rnd(1);
  return {x, bottom == 1 ? 464 : 16};
}

// Easy and Normal: a bullet of random type gathers near the boss, then all
// leave for the player together.
void GatheringBullet(Ctx& ctx, int32_t d, WallPoint from) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  b.SetScratchInt(0, from.x);
  b.SetScratchInt(1, from.y);
  const int32_t pace = 20 + ctx.Rnd(10 * d + 15);
  b.SetScratchInt(2, pace);
  const int32_t xTurn = ctx.Rnd(359);
  const int32_t xReach = ctx.Rnd(32);
  const int32_t ox = Trunc(xReach * static_cast<double>(FloatCos(RadiansFromDegrees(xTurn))));
  const int32_t yTurn = ctx.Rnd(359);
  const int32_t yReach = ctx.Rnd(32);
  const int32_t oy = Trunc(yReach * static_cast<double>(FloatSin(RadiansFromDegrees(yTurn))));
  b.SetScratchInt(3, ox);
  b.SetScratchInt(4, oy);
  const int32_t type = ctx.Rnd(169);
  const float dx = static_cast<float>(static_cast<double>(b.x) + ox - from.x);
  const float dy = static_cast<float>(static_cast<double>(b.y) + oy - from.y);
  const double speed = pace / 10.0;
  const double angle = DegreesFromRadians(FloatAtan2(dy, dx));
  const int32_t slot = ctx.Spawn(type, from.x, from.y, speed, angle, 30, 0);
  b.SetScratchInt(5, slot);
  const float distance = FloatSqrt(static_cast<float>(static_cast<double>(dx) * dx + static_cast<double>(dy) * dy));
  Queue(ctx, slot, Trunc(distance / speed), {.speed = 0.0f});
  Queue(ctx, slot, 290 - f % 300, {.speed = static_cast<float>(d + 5), .angle = kTowardPlayer});
}

// Hard and Lunatic: a bullet from the wall to the field's centre, gone there.
void CentreBullet(Ctx& ctx, WallPoint from) {
  Boss& b = ctx.boss();
  b.SetScratchInt(0, from.x);
  b.SetScratchInt(1, from.y);
  const int32_t pace = 10 + ctx.Rnd(20);
  b.SetScratchInt(2, pace);
  const int32_t ex = 208 - from.x;
  const int32_t ey = 240 - from.y;
  const double speed = pace / 10.0;
  const double angle = DegreesFromRadians(FloatAtan2(ey, ex));
  const int32_t slot = ctx.Spawn(112, from.x, from.y, speed, angle, 30, 0);
  Queue(ctx, slot, Trunc(FloatSqrt(ex * ex + ey * ey) / speed), {.x = kOffField});
}

// The player is pulled one pixel toward the boss: x first, then y from the
// moved player.
void PullPlayer(Ctx& ctx) {
  const Boss& b = ctx.boss();
  float px = ctx.PlayerX();
  float py = ctx.PlayerY();
  px += FloatCos(FloatAtan2(b.y - py, b.x - px));
  py += FloatSin(FloatAtan2(b.y - py, b.x - px));
  ctx.SetPlayerPosition(px, py);
}

void Boss17Gathering(Ctx& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  if (f == kAttackStartFrame) ctx.MoveTo(208.0f, 240.0f, 60);
  if (f < kSpellFrame) return;
  const int32_t d = Level(ctx);
  if (d < 2) {
    if (f % 300 == 0) b.poseFrames = 180;
    if (f % 300 < 140 && EveryFrames(f, 7 - d)) {
      ctx.PlaySound(0);
      GatheringBullet(ctx, d, FromSideWall(ctx));
      GatheringBullet(ctx, d, FromTopOrBottom(ctx));
    }
    if (f % 300 == 10 && f != 310) ctx.PlaySound(1);
    return;
  }
  if (f == kSpellFrame) b.poseFrames = 6000;
  if (EveryFrames(f, 5 - d)) {
    ctx.PlaySound(0);
    CentreBullet(ctx, FromSideWall(ctx));
    CentreBullet(ctx, FromTopOrBottom(ctx));
  }
  PullPlayer(ctx);
}

// Fountains that rise and fall back, a fast fan when the player goes above.
void Boss17Fountains(Ctx& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  if (f < kNonSpellFrame) return;
  const int32_t d = Level(ctx);
  if (EveryFrames(f, 2 * (6 - d))) {
    ctx.PlaySound(0);
    for (int32_t i = 0; i < 4; ++i) {
      const int32_t spread = ctx.Rnd(2 * d + 6);
      const double speed = 2.0 + (spread - 3 - d) / 10.0;
      const int32_t x0 = 16 + ctx.Rnd(384);
      const int32_t slot = ctx.Spawn(130, x0, 128.0f, speed, 270.0f, 20, 0);
      Queue(ctx, slot, 0, {.accel = -0.05f});
    }
  }
  if (ctx.PlayerY() < b.y && f % 2 == 0) ctx.Fan(b.x, b.y, 6.0f, AimFromBoss(ctx), 30.0f, 8, 60, 0, 0);
  if (f % 120 == 0) ctx.MoveRandom();
}

// Bouncing sprays upward and a slow wide ring.
void Boss17Sprays(Ctx& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  if (f < kSpellFrame) return;
  const int32_t d = Level(ctx);
  if (EveryFrames(f, 2 * (6 - d))) {
    ctx.PlaySound(0);
    const int32_t angle = 200 + ctx.Rnd(139);
    const int32_t pace = ctx.Rnd(15);
    BounceOffTopAndSides(ctx, ctx.Spawn(130, b.x, b.y, (10 + pace) / 10.0, angle, 20, 0), 3);
  }
  if (f % 150 == 0) {
    ctx.PlaySound(0);
    const int32_t base = ctx.Rnd(359);
    ctx.Ring(b.x, b.y, 1.0f, base, 4 * d + 24, 70, 0, 20);
  }
  if (f % 100 == 0) ctx.MoveTowardPlayer(60, 20, 60);
}

// Eight familiars about the boss do all the firing.
void Boss17Familiars(Ctx& ctx) {
  const Boss& b = ctx.boss();
  if (b.phaseFrame != kNonSpellFrame) return;
  for (int32_t a = 0; a < 360; a += 45) {
    const FieldPoint p = OnCircle(b.x, b.y, 64.0, a);
    FamiliarAt(ctx, 32, p.x, p.y, 0.3f, 4, 0);
  }
}

// Sparkles about the boss, aimed rings and pairs that stop and home in.
void Boss17Sparkles(Ctx& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  if (f < kSpellFrame) return;
  const int32_t d = Level(ctx);
  for (int32_t i = 0; i < 4; ++i) {
    const int32_t sineTurn = ctx.Rnd(359);
    const int32_t cosineTurn = ctx.Rnd(359);
    const double s = FloatSin(RadiansFromDegrees(sineTurn));
    const double c = FloatCos(RadiansFromDegrees(cosineTurn));
    const int32_t yReach = ctx.Rnd(80);
    const double y0 = b.y + yReach * s;
    const int32_t xReach = ctx.Rnd(80);
    const double x0 = b.x + xReach * c;
    const int32_t slot = ctx.Spawn(9, x0, y0, 0.0f, 0.0f, 64, 0);
    b.SetScratchInt(0, slot);
    Queue(ctx, slot, 0, {.x = kOffField});
  }
  if (f % 90 == 0) ctx.Ring(b.x, b.y, 1.5 + 0.3 * d, AimFromBoss(ctx), 4 * d + 24, 132, 0, 20);
  if (EveryFrames(f, 6 - d)) {
    ctx.PlaySound(0);
    for (int32_t half = 0; half < 2; ++half) {
      const int32_t slot = ctx.Spawn(112, b.x, b.y, 3.0f, 4 * f + 180 * half, 20, 0);
      b.SetScratchInt(0, slot);
      Queue(ctx, slot, 20, {.speed = 0.0f});
      Queue(ctx, slot, 60, {.speed = 0.5f, .accel = Scaled(0.03, 0.015, d), .angle = kTowardPlayer});
      Queue(ctx, slot, 90, {.accel = 0.0f});
    }
  }
  if (f % 60 == 0) {
    const float toward = FloatAtan2(ctx.PlayerY() - b.y, ctx.PlayerX() - b.x);
    ctx.MoveBy(60.0 * FloatCos(toward), 60.0 * FloatSin(toward), 60);
  }
}

// The boss shrinks to nothing and grows into a giant, then fires slowly.
void Boss17Giant(Ctx& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  if (f < kSpellFrame) return;
  const int32_t d = Level(ctx);
  if (f == kSpellFrame) b.poseFrames = 60;
  if (f >= 330 && f < 360) {
    ctx.MoveTo(208.0f, 119 - 24 * d, 30);
    b.scale = static_cast<float>(f - 330) / static_cast<float>(5 - d);
    b.radius = 32 * (d + 5);
  }
  if (f % 150 == 0) {
    ctx.PlaySound(0);
    ctx.Ring(b.x, b.y, 0.5f, AimFromBoss(ctx), 6 * (d + 3), 72, 0, 20);
  }
  if (f % (d < 2 ? 120 : 90) == 0) {
    ctx.PlaySound(0);
    ctx.Spawn(170, b.x, b.y, 1.0f, AimFromBoss(ctx), 20, 0);
  }
}

constexpr AttackScriptFn kBoss16[] = {Boss16Wander, Boss16Spell};
constexpr AttackScriptFn kBoss17[] = {Boss17TurningRing, Boss17Gathering, Boss17Fountains,
                                      Boss17Sprays,      Boss17Familiars, Boss17Sparkles,
                                      Boss17Giant};

}  // namespace

void BossScript16(BossScriptContext& ctx) { RunAttackOf(ctx, kBoss16, 2); }
void BossScript17(BossScriptContext& ctx) { RunAttackOf(ctx, kBoss17, 7); }
