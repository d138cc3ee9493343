// Stage 4 route D boss (id 15).
#include <iterator>

#include "boss/boss_scripts.h"
#include "boss/idioms.h"
#include "boss/script_context.h"
#include "playfield/boss.h"
#include "shell/gamemath.h"

namespace {

// A spiral of two arms and pairs that stop and fold back.
void Attack0(BossScriptContext& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  const int32_t d = Level(ctx);
  if (f < 180) return;
  const int32_t c = f % 360;
  if (c >= 180 && f % 3 == 0) {
    ctx.PlaySound(0);
    const float speed = F32(1.5 + 0.4 * d);
    ctx.Spawn(23, b.x, b.y, speed, static_cast<float>((f - 120) * 3), 20, 0);
    ctx.Spawn(23, b.x, b.y, speed, static_cast<float>((f - 180) * 3), 20, 0);
  }
  if (c < 140 && f % (9 - 2 * d) == 0) {
    ctx.PlaySound(0);
    const int32_t u = ctx.Rnd(90);
    const int32_t v = ctx.Rnd(90);
    b.SetScratchInt(2000, u);
    b.SetScratchInt(2001, v);
    for (int32_t side : {1, -1}) {
      const int32_t slot = ctx.Spawn(34, b.x, b.y, 2.5f, static_cast<float>(90 + side * u), 20, 0);
      Queue(ctx, slot, 60, {.speed = 0.0f});
      Queue(ctx, slot, 140, {.speed = 2.0f, .angle = static_cast<float>(90 - side * v)});
    }
  }
  if (c == 140) ctx.MoveTowardPlayer(30, 10, 40);
}

// Easy and Normal: rings that bend by a frame-counter wave. Hard and Lunatic:
// 75 familiars every 300 frames do the firing.
void Attack1(BossScriptContext& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  const int32_t d = Level(ctx);
  if (f < 300) return;
  if (d >= 2) {
    if (f % 300 != 0) return;
    for (int32_t i = 0; i < 74; ++i) {
      const int32_t y = 16 + ctx.Rnd(240);
      const int32_t x = 16 + ctx.Rnd(384);
      ctx.SpawnFamiliar(30, x, y, -1, 0.3f, 0, 0);
    }
    const int32_t dy = ctx.Rnd(64);
    const int32_t dx = ctx.Rnd(128);
    FamiliarAt(ctx, 31, static_cast<double>(b.x) + dx - 64, static_cast<double>(b.y) + dy - 32,
               0.3f, 1, 0);
    return;
  }
  const int32_t q = (f - 300) % 200;
  if (q == 0) b.poseFrames = 150;
  if (q < 150 && f % 30 == 0) {
    const double aim = Aim(ctx, b.x, b.y);
    const int32_t jitter = ctx.Rnd(20);
    b.SetScratchInt(1, Trunc(aim + jitter - 10));
  }
  if (q < 150 && f % 5 == 0) {
    ctx.PlaySound(0);
    const int32_t n = 12 * (d + 2);
    const int32_t m = ctx.FrameCount() % 60;
    const int32_t h = m - 15 < 45 - m ? m - 15 : 45 - m;
    const int32_t bend = 3 * (h / 5);
    const int32_t base = b.ScratchInt(1);
    for (int32_t i = 0; i < n; ++i) {
      const int32_t angle = base + i * 360 / n;
      const int32_t slot = ctx.Spawn(34, b.x, b.y, 3.0f, static_cast<float>(angle), 0, 0);
      b.SetScratchInt(0, slot);
      Queue(ctx, slot, 30, {.angle = static_cast<float>(angle + bend), .type = 39});
    }
  }
  if (q == 160) ctx.MoveTowardPlayer(40, 5, 30);
}

// Three rows of twelve that stop together and set off again at staggered speeds.
void Attack2(BossScriptContext& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  const int32_t d = Level(ctx);
  if (f < 180 || f % (20 - 3 * d) != 0) return;
  ctx.PlaySound(0);
  const int32_t r = ctx.Rnd(359);
  b.SetScratchInt(0, r);
  for (int32_t j = 0; j < 3; ++j) {
    for (int32_t k = 0; k < 12; ++k) {
      const int32_t slot =
          ctx.Spawn(42 - j, b.x, b.y, 5.0f, static_cast<float>(r - 10 * j + 30 * k), 20, 0);
      b.SetScratchInt(1, slot);
      Queue(ctx, slot, 0, {.accel = -0.2f});
      Queue(ctx, slot, 25, {.speed = 0.0f, .accel = 0.1f});
      Queue(ctx, slot, 35 + j * (3 * d + 5), {.accel = 0.0f});
    }
  }
}

// ---- attack 3 ---------------------------------------------------------------------

// One row of twenty grey bullets from a side wall, at a row index not yet used
// this cycle; each drops at its own drawn frame.
void Row(BossScriptContext& ctx, int32_t w) {
  Boss& b = ctx.boss();
  const int32_t d = Level(ctx);
  ctx.PlaySound(1);
  // Ends with probability 1: at most seven rows share the seven indices.
  int32_t r;
  bool used;
  do {
    r = ctx.Rnd(6);
    used = false;
    for (int32_t k = 0; k < w; ++k) used = used || b.ScratchInt(20 + k) == r;
  } while (used);
  b.SetScratchInt(20 + w, r);
  const int32_t y0 = 43 + 50 * r + ctx.Rnd(10);
  const int32_t tilt = ctx.Rnd(10) - 5;
  const int32_t startDraw = ctx.Rnd(16);
  const bool fromLeft = w % 2 == 0;
  const int32_t x0 = fromLeft ? startDraw : 400 + startDraw;
  const int32_t step = fromLeft ? 32 - 3 * d : -(32 - 3 * d);
  const double ct = CosDegrees(tilt);
  const double st = SinDegrees(tilt);
  for (int32_t i = 0; i < 20; ++i) {
    const int32_t slot = ctx.Spawn(19, F32(x0 + step * i * ct), F32(y0 + step * i * st), 0.0f,
                                   90.0f, 40, 4 * i);
    b.SetScratchInt(4, slot);
    if (slot >= 0) ctx.SetColor(slot, 0xA0A0A0);
    const int32_t dropDraw = ctx.Rnd(60);
    Queue(ctx, slot, 160 + dropDraw, {.speed = 0.5f, .accel = F32(0.012 + 0.004 * d), .type = 10});
  }
}

// Five bullets drifting off near the sweeping laser. A laser that never came
// out (slot -1) reads as facing 0 at (0, 0): the bullets still make their
// draws and spawns, at x 60-100 on the top edge.
void Drifters(BossScriptContext& ctx) {
  Boss& b = ctx.boss();
  const int32_t laser = b.ScratchInt(100);
  for (int32_t n = 0; n < 5; ++n) {
    const float f1 = ctx.GetFacing(laser);
    const int32_t sinDraw = ctx.Rnd(10);
    const double s = SinDegrees(static_cast<double>(ctx.GetFacing(laser)) + sinDraw - 5);
    const int32_t cosDraw = ctx.Rnd(10);
    const double c = CosDegrees(static_cast<double>(ctx.GetFacing(laser)) + cosDraw - 5);
    const int32_t angleDraw = ctx.Rnd(20);
    const double angle = static_cast<double>(f1) + angleDraw - 10;
    const int32_t yDraw = ctx.Rnd(40);
    const double y = ctx.GetY(laser) + (60 + yDraw) * s;
    const int32_t xDraw = ctx.Rnd(40);
    const double x = ctx.GetX(laser) + (60 + xDraw) * c;
    const int32_t slot = ctx.Spawn(31, F32(x), F32(y), 1.0f, F32(angle), 20, 0);
    b.SetScratchInt(0, slot);
    if (slot < 0) continue;
    // The remainder keeps the sign of the dividend: below 90 degrees the
    // bullet turns the negative way.
    const int32_t g = Trunc(static_cast<double>(ctx.GetFacing(slot)) - 90) % 360;
    Queue(ctx, slot, 30,
          {.speed = 0.5f, .accel = 0.015f, .angularSpeed = g >= 180 ? 1.0f : -1.0f, .type = 18});
    Queue(ctx, slot, 120, {.angularSpeed = 0.0f});
  }
}

void Attack3(BossScriptContext& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  const int32_t d = Level(ctx);
  if (f < 300) return;
  const int32_t c = f % 300;
  if (c == 0) b.poseFrames = 120;
  for (int32_t w = 0; w <= d + 3; ++w)
    if (c == 30 + w * (30 - 4 * d)) Row(ctx, w);
  if (f % 90 == 0) {
    const bool even = (f / 90) % 2 == 0;
    const int32_t laser = ctx.SpawnLaser(b.x, b.y, 0.0f, even ? 360.0f : 180.0f, 66, 100, 20, -10, 0);
    b.SetScratchInt(100, laser);
    if (laser >= 0) {
      ctx.SetEraseProof(laser);
      Queue(ctx, laser, 0, {.angularSpeed = even ? -2.0f : 2.0f});
      Queue(ctx, laser, 90, {.x = kOffField});
    }
  }
  if (f >= 360 && f % 9 == 0) Drifters(ctx);
}

// Three rings at falling speeds; the first draw of each volley goes unused.
void Attack4(BossScriptContext& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  const int32_t d = Level(ctx);
  if (f < 180 || f % 20 != 0) return;
  ctx.PlaySound(0);
  const int32_t unused = ctx.Rnd(359);
  b.SetScratchInt(0, unused);
  for (int32_t j = 0; j < 3; ++j) {
    const int32_t base = ctx.Rnd(359);
    ctx.Ring(b.x, b.y, F32((0.7 + 0.15 * d) * (3 - j)), static_cast<float>(base), 6 * (d + 2),
             40 + j, 0, 20);
  }
}

void Attack5(BossScriptContext& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  const int32_t d = Level(ctx);
  if (f < 300) return;
  if (d < 2) {
    // The boss sweeps side to side at its height, trailing thin lasers.
    if (f % 200 == 0) ctx.MoveTo(80.0f, b.y, 100);
    if (f % 200 == 100) ctx.MoveTo(336.0f, b.y, 100);
    if (f % 8 == 0) {
      ctx.PlaySound(0);
      for (int32_t i = 0; i <= d + 2; ++i)
        ctx.SpawnLaser(b.x, b.y, F32(2.5 + 0.75 * d),
                       static_cast<float>(3 * (f + 10 * (4 - d) * i)), 14, 50, 3, 0, 0);
    }
    if (f % 3 == 0)
      ctx.Ring(b.x, b.y, static_cast<float>(d + 1), static_cast<float>(-2 * f), d + 3, 116, 0, 20);
    return;
  }
  const float fast = d == 3 ? 3.0f : 2.0f;
  const float slow = d == 3 ? 1.5f : 1.0f;
  if (f % 10 == 0) {
    ctx.PlaySound(0);
    for (int32_t a = 0; a < 360; a += 90)
      ctx.Fan(b.x, b.y, fast, F32(a - f / 1.5), 15.0f, 3, 116, 0, 20);
  }
  if (f % 5 == 0)
    for (int32_t k = 0; k <= 54; k += 18)
      ctx.Fan(b.x, b.y, slow, static_cast<float>(5 * (f + k)), 15.0f, 3, 11, 0, 20);
}

// ---- attack 6 ---------------------------------------------------------------------

// A petal triangle about the stored player point: centre drawn on a ring of
// radius base + rnd(spread) that circles the point once in 60 frames.
void Petal(BossScriptContext& ctx, int32_t type, int32_t radiusBase, int32_t radiusDraw, int32_t q) {
  Boss& b = ctx.boss();
  const int32_t px = b.ScratchInt(2002);
  const int32_t py = b.ScratchInt(2003);
  const int32_t xTurn = ctx.Rnd(6);
  const int32_t xRadius = ctx.Rnd(radiusDraw);
  const int32_t cx = Trunc(px + (radiusBase + xRadius) * CosDegrees(xTurn + 6 * q - 3));
  const int32_t yTurn = ctx.Rnd(6);
  const int32_t yRadius = ctx.Rnd(radiusDraw);
  const int32_t cy = Trunc(py + (radiusBase + yRadius) * SinDegrees(yTurn + 6 * q - 3));
  b.SetScratchInt(2000, cx);
  b.SetScratchInt(2001, cy);
  const float toPoint = F32(DegreesFromRadians(
      FloatAtan2(static_cast<float>(py - cy), static_cast<float>(px - cx))));
  static constexpr int32_t kCorners[3] = {150, 30, -90};
  for (int32_t j = 0; j < 3; ++j) {
    const float corner = static_cast<float>(kCorners[j]);
    const int32_t slot =
        ctx.Spawn(type, static_cast<float>(cx), static_cast<float>(cy), 0.0f, corner, 30, 0);
    b.SetScratchInt(1000 + 3 * q + j, slot);
    if (slot < 0) continue;
    ctx.SetFacing(slot, true, corner);
    Queue(ctx, slot, 90, {.speed = 0.5f, .accel = 0.02f, .angle = toPoint});
  }
}

// A snaking chain of links that follows the player, and petals about the
// player's stored position.
void Attack6(BossScriptContext& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  const int32_t d = Level(ctx);
  if (f < 300) return;
  const int32_t n = 3 * d + 8;
  if (f == 300) {
    for (int32_t i = 0; i < n; ++i) {
      const int32_t slot = ctx.Spawn(29, b.x, b.y, F32(1.5 + 0.3 * d), F32(Aim(ctx, b.x, b.y)), 0, 5 * i);
      b.SetScratchInt(i, slot);
      if (slot >= 0) ctx.SetEraseProof(slot);
    }
  }
  if (f % 5 == 0) {
    for (int32_t k = n - 1; k >= 1; --k) {
      const int32_t link = b.ScratchInt(k);
      const int32_t ahead = b.ScratchInt(k - 1);
      if (link < 0 || ahead < 0) continue;
      ctx.SetAngle(link, ctx.GetFacing(ahead));
    }
    const int32_t head = b.ScratchInt(0);
    if (head >= 0) {
      const float hx = ctx.GetX(head);
      const float hy = ctx.GetY(head);
      ctx.SetAngle(head, F32(Aim(ctx, hx, hy)));
    }
  }
  if (f % 200 == 0) {
    b.SetScratchInt(2002, Trunc(ctx.PlayerX()));
    b.SetScratchInt(2003, Trunc(ctx.PlayerY()));
  }
  const int32_t q = f % 200;
  if (q < 60) {
    Petal(ctx, 41, 48, 80, q);
    if (d >= 2) Petal(ctx, 44, 64, 128, q);
  }
}

constexpr AttackScriptFn kAttacks[] = {Attack0, Attack1, Attack2, Attack3,
                                       Attack4, Attack5, Attack6};
}  // namespace

void BossScript15(BossScriptContext& ctx) {
  RunAttackOf(ctx, kAttacks, static_cast<int32_t>(std::size(kAttacks)));
}
