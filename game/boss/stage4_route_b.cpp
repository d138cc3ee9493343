// Stage 4 route B boss (id 13).
#include <cmath>
#include <iterator>

#include "boss/boss_scripts.h"
#include "boss/idioms.h"
#include "boss/script_context.h"
#include "playfield/boss.h"
#include "shell/gamemath.h"

namespace {

// ---- attacks 0 and 2: aimed rings ---------------------------------------------

struct RingShot {
  float speed;
  int32_t type;
};

RingShot RingOfAttack0(int32_t q, int32_t) {
  const int32_t speed = 3 - q % 3;  // 3, 2, 1 in turn
  return {static_cast<float>(speed), speed % 2 != 0 ? 95 : 98};
}
RingShot RingOfAttack2(int32_t q, int32_t d) {
  if (q % 2 == 0) return {F32(4.0 + 0.5 * d), 98};
  return {F32(1.5 - 0.2 * d), 95};
}

void AimedRings(BossScriptContext& ctx, int32_t period, int32_t count,
                RingShot (*shot)(int32_t, int32_t)) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  if (f < 180) return;
  if (f % period == 0) {
    ctx.PlaySound(0);
    const RingShot s = shot(f / period, Level(ctx));
    ctx.Ring(b.x, b.y, s.speed, F32(Aim(ctx, b.x, b.y)), count, s.type, 0, 0);
  }
  if (f % 100 == 0) ctx.MoveTowardPlayer(60, 10, 60);
}

void Attack0(BossScriptContext& ctx) {
  const int32_t d = Level(ctx);
  AimedRings(ctx, 30 - 4 * d, 6 * d + 18, RingOfAttack0);
}
void Attack2(BossScriptContext& ctx) {
  const int32_t d = Level(ctx);
  AimedRings(ctx, 10 * (6 - d), 12 * d + 36, RingOfAttack2);
}

// ---- attack 1 ---------------------------------------------------------------------

// A ring of turning lasers, then lines of bullets laid along each laser that
// is fully on.
struct LaserLines {
  int32_t ringAt, linesAt;  // m of the ring and of its lines
  int32_t laserType;
  float turn;
  int32_t bulletType;
};
constexpr LaserLines kLaserLines[2] = {{300, 480, 10, 0.3f, 10}, {0, 180, 12, -0.3f, 12}};

void LaserRing(BossScriptContext& ctx, const LaserLines& l, int32_t count) {
  Boss& b = ctx.boss();
  const int32_t base = ctx.Rnd(359);
  b.SetScratchInt(0, base);
  for (int32_t i = 0; i < count; ++i) {
    ctx.PlaySound(1);
    const float angle = static_cast<float>(b.ScratchInt(0) + i * 360 / count);
    const int32_t slot = ctx.SpawnLaser(b.x, b.y, 0.0f, angle, l.laserType, 500, 30, 60, 0);
    b.SetScratchInt(1 + i, slot);
    Queue(ctx, slot, 0, {.angularSpeed = l.turn});
    Queue(ctx, slot, 120, {.x = kOffField});
  }
}

void LineVolley(BossScriptContext& ctx, const LaserLines& l, int32_t count, int32_t spacing,
                double turnStep) {
  Boss& b = ctx.boss();
  const int32_t d = Level(ctx);
  for (int32_t i = 0; i < count; ++i) {
    const int32_t slot = b.ScratchInt(1 + i);
    if (slot < 0 || !ctx.IsHittable(slot) || ctx.GetLaserState(slot) == 0) continue;
    ctx.PlaySound(0);
    const float facing = ctx.GetFacing(slot);
    for (int32_t j = 0; j < 40; ++j) {
      const auto p = OnCircle(b.x, b.y, spacing * j, facing);
      ctx.Spawn(l.bulletType, F32(p.x), F32(p.y), F32(1.5 + 0.25 * d), F32(facing + turnStep * j),
                60, 0);
    }
  }
}

void Attack1(BossScriptContext& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  const int32_t d = Level(ctx);
  if (f == 120) ctx.MoveTo(208.0f, 240.0f, 40);
  if (f < 300) return;
  if (d < 2) {
    const int32_t m = f % 600;
    const int32_t count = d == 0 ? 6 : 8;
    if (m == kLaserLines[0].ringAt) LaserRing(ctx, kLaserLines[0], count);
    if (m == kLaserLines[0].linesAt) LineVolley(ctx, kLaserLines[0], count, 15, 13.5);
    if (m == kLaserLines[1].ringAt) LaserRing(ctx, kLaserLines[1], count);
    if (m == kLaserLines[1].linesAt)
      LineVolley(ctx, kLaserLines[1], count, 4 * (6 - d), -(20 - 3 * d));
    return;
  }
  const int32_t m = f % 300;
  if (m == 0) {
    ctx.PlaySound(1);
    b.SetScratchInt(2000, Trunc(Aim(ctx, b.x, b.y)));
  }
  if (f % 4 != 0) return;
  const bool curling = (m >= 75 && m < 150) || m >= 225;
  for (int32_t k = 0; k < 8; ++k) {
    const int32_t slot =
        ctx.Spawn(137, b.x, b.y, 2.0f, static_cast<float>(b.ScratchInt(2000) + 45 * k), 20, 0);
    b.SetScratchInt(0, slot);
    if (!curling) continue;
    Queue(ctx, slot, 0, {.angularSpeed = k % 2 == 0 ? 1.0f : -1.0f});
    Queue(ctx, slot, 360, {.angularSpeed = 0.0f});
  }
  if (d == 3 && curling)
    for (int32_t k = 0; k < 8; ++k)
      ctx.Spawn(137, b.x, b.y, 2.0f, static_cast<float>(b.ScratchInt(2000) + 45 * k), 20, 0);
}

// ---- attack 3 ---------------------------------------------------------------------

void Attack3(BossScriptContext& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  const int32_t d = Level(ctx);
  if (f < 300) return;
  if (d < 2) {
    if (f % 64 == 0) {
      // A grid closing in from all four walls.
      ctx.PlaySound(0);
      for (int32_t p = 16; p <= 464; p += 64) {
        const float v = static_cast<float>(p);
        ctx.Spawn(12, v, 16.0f, 1.0f, 90.0f, 20, 0);
        ctx.Spawn(12, v, 464.0f, 1.0f, 270.0f, 20, 0);
        ctx.Spawn(10, 16.0f, v, 1.0f, 0.0f, 20, 0);
        ctx.Spawn(10, 400.0f, v, 1.0f, 180.0f, 20, 0);
      }
    }
    if (f % (6 * (3 - d)) == 0) {
      ctx.PlaySound(0);
      for (int32_t a = 0; a < 360; a += 45) {
        const int32_t spread = ctx.Rnd(8 * d + 8);
        ctx.Spawn(65, b.x, b.y, F32(1.8 + 0.6 * d),
                  F32(Aim(ctx, b.x, b.y) + a + spread - (4 * d + 4)), 20, 0);
      }
    }
    return;
  }
  const int32_t m = f % 300;
  if (m == 0) {
    // Each direction leaves eight bullets stopping at staggered distances,
    // which later drift down with a little random spread.
    ctx.PlaySound(0);
    const int32_t dirs = 6 * d;
    for (int32_t i = 0; i < dirs; ++i) {
      const float t = F32(Aim(ctx, b.x, b.y) + i * 360 / dirs);
      for (int32_t w = 0; w <= 28; w += 4) {
        const int32_t slot = ctx.Spawn(122, b.x, b.y, 5.0f, t, 20, w);
        b.SetScratchInt(0, slot);
        Queue(ctx, slot, 40 - w, {.speed = 0.0f});
        const int32_t spread = ctx.Rnd(4 * d);
        Queue(ctx, slot, 120,
              {.speed = 0.5f, .angle = static_cast<float>(90 - 2 * d + spread), .type = 129});
      }
    }
  }
  if (m == 150) {
    ctx.PlaySound(0);
    b.SetScratchInt(0, Trunc(Aim(ctx, b.x, b.y)));
    b.poseFrames = 60;
  }
  if (m >= 150 && m < 210) {
    const int32_t u = 6 * (m - 150);
    const int32_t aim = b.ScratchInt(0);
    for (int32_t angle : {aim + u, aim - u})
      for (int32_t wait = 0; wait <= 4; wait += 2)
        ctx.Spawn(120, b.x, b.y, static_cast<float>(3 * d), static_cast<float>(angle), 20, wait);
  }
  if (m == 240) ctx.MoveTowardPlayer(40, 10, 40);
}

// ---- attack 4 ---------------------------------------------------------------------

void Attack4(BossScriptContext& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  const int32_t d = Level(ctx);
  if (f < 180) return;
  if (f % 60 == 0) {
    ctx.PlaySound(0);
    const int32_t base = ctx.Rnd(359);
    ctx.Ring(b.x, b.y, 1.4f, static_cast<float>(base), 12 * (d + 3), 98, 0, 20);
    ctx.MoveTowardPlayer(40, 5, 40);
  }
  if (f % (4 * (6 - d)) == 0) {
    // An aimed line of eight speeds that becomes visible at once.
    ctx.PlaySound(0);
    for (int32_t i = 0; i < 8; ++i)
      ctx.Spawn(94, b.x, b.y, F32(1.5 + 0.5 * i), F32(Aim(ctx, b.x, b.y)), i == 0 ? 20 : 0,
                i == 0 ? 0 : 20);
  }
}

// ---- attack 5 ---------------------------------------------------------------------

// An angle brought into 0 <= a < 360 one turn at a time, rounded to f32 at
// each step. A value so large that whole turns no longer change it (or not a
// number) is reduced in one step instead of looping for ever.
float Normalised(float a) {
  if (!std::isfinite(a)) return 0.0f;
  if (std::fabs(a) > 1.0e6f) a = F32(std::fmod(static_cast<double>(a), 360.0));
  while (a < 0.0f) a = F32(a + 360.0);
  while (a >= 360.0f) a = F32(a - 360.0);
  return a;
}

// Turns a homing bullet one degree a frame; with the player ahead it still
// turns down the scale, and when the player lies 180-360 degrees up the scale
// it turns up, the long way round.
void Home(BossScriptContext& ctx, int32_t slot) {
  const float bx = ctx.GetX(slot);
  const float by = ctx.GetY(slot);
  const float t = Normalised(
      F32(DegreesFromRadians(FloatAtan2(ctx.PlayerY() - by, ctx.PlayerX() - bx))));
  const float f = Normalised(ctx.GetFacing(slot));
  const float diff = F32(t + 180.0 - f);
  if (diff > 0.0f && diff <= 180.0f)
    ctx.SetAngle(slot, F32(f - 1.0));
  else if (diff != 0.0f)
    ctx.SetAngle(slot, F32(f + 1.0));
}

// The triangle wave min(g, period - g) of the frame counter.
int32_t Triangle(int32_t value, int32_t period) {
  const int32_t g = ((value % period) + period) % period;
  return g < period - g ? g : period - g;
}

void Attack5(BossScriptContext& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  const int32_t d = Level(ctx);
  if (f == 120) b.SetScratchInt(2000, 0);
  if (f < 300) return;
  if (d < 2) {
    if (f % 300 == 0) {
      ctx.MoveTowardPlayer(45, 20, 40);
      const int32_t slot = ctx.Spawn(75, b.x, b.y, 1.0f, 90.0f, 20, 0);
      const int32_t n = b.ScratchInt(2000);
      b.SetScratchInt(n, slot);
      if (slot >= 0) ctx.SetEraseProof(slot);
      b.SetScratchInt(2000, n + 1);
    }
    const int32_t homing = b.ScratchInt(2000);
    for (int32_t i = 0; i < homing && i < 2000; ++i) {
      const int32_t slot = b.ScratchInt(i);
      if (IsLiveOfType(ctx, slot, 75)) Home(ctx, slot);
    }
    if (f % 60 == 0 && f % 300 != 0) FamiliarAtBoss(ctx, 19, 0.3f, 0, 0);
    return;
  }
  // Three streams from the top edge sweeping with the frame counter.
  const int32_t fc = ctx.FrameCount();
  const int32_t e = Triangle(fc, 72);
  const int32_t g2 = ((fc % 36) + 36) % 36;
  const int32_t e2 = g2 + 9 < 45 - g2 ? g2 + 9 : 45 - g2;
  if (f % (2 * (4 - d)) == 0) {
    ctx.PlaySound(0);
    const float sideSpeed = F32(0.5 + 0.4 * d);
    int32_t spread = ctx.Rnd(5 * d);
    int32_t slot = ctx.Spawn(37, 112.0f, 16.0f, 7.0f, F32(5 * e + spread - 2.5 * d), 20, 0);
    Queue(ctx, slot, 32, {.speed = sideSpeed, .type = 120});
    spread = ctx.Rnd(5 * d);
    slot = ctx.Spawn(34, 208.0f, 16.0f, 7.0f, F32(5 * e2 + spread - 2.5 * d), 20, 0);
    Queue(ctx, slot, 32, {.speed = 1.0f, .angle = kTowardPlayer, .type = 122});
    spread = ctx.Rnd(5 * d);
    slot = ctx.Spawn(37, 304.0f, 16.0f, 7.0f, F32(5 * (36 - e) + spread - 2.5 * d), 20, 0);
    Queue(ctx, slot, 32, {.speed = sideSpeed, .type = 120});
  }
  if (f % 200 == 0) ctx.MoveTowardPlayer(50, 20, 60);
}

// ---- attack 6 ---------------------------------------------------------------------

// Bullets placed on a circle about the player and closing in on it.
void Attack6(BossScriptContext& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  const int32_t d = Level(ctx);
  if (f < 300) return;
  const double radius = d < 2 ? 100 - 30 * d : 150 - 20 * d;
  auto around = [&](double degrees) {
    return OnCircle(ctx.PlayerX(), ctx.PlayerY(), radius, degrees);
  };
  if (f % 10 == 0) {
    for (int32_t k = 0; k <= 320; k += 40) {
      const auto p = around(k);
      const auto q = around(k + 180);
      if (d < 2) {
        ctx.Spawn(120, F32(p.x), F32(p.y), 3.0f, static_cast<float>(k + 90), 20, 0);
        ctx.Spawn(122, F32(q.x), F32(q.y), 3.0f, static_cast<float>(k + 270), 20, 0);
      } else {
        ctx.Fan(F32(p.x), F32(p.y), 3.0f, static_cast<float>(k - 180), 45.0f, 2, 120, 0, 20);
        ctx.Fan(F32(q.x), F32(q.y), 3.0f, static_cast<float>(k), 45.0f, 2, 122, 0, 20);
      }
    }
  }
  if (f % 200 == 0) {
    const int32_t q = f / 200;
    const auto p = around(40 * q);
    ctx.Spawn(70, F32(p.x), F32(p.y), 1.0f, static_cast<float>(40 * q + 180), 20, 0);
    const auto o = around(40 * q + 180);
    ctx.Spawn(72, F32(o.x), F32(o.y), 1.0f, static_cast<float>(40 * q), 20, 0);
  }
  if (f % 100 == 0) {
    ctx.PlaySound(0);
    ctx.Ring(b.x, b.y, 1.0f, 0.0f, 6 * (d + 3), 115, 0, 20);
    ctx.MoveTowardPlayer(20, 4, 20);
  }
}

constexpr AttackScriptFn kAttacks[] = {Attack0, Attack1, Attack2, Attack3,
                                       Attack4, Attack5, Attack6};
}  // namespace

void BossScript13(BossScriptContext& ctx) {
  RunAttackOf(ctx, kAttacks, static_cast<int32_t>(std::size(kAttacks)));
}
