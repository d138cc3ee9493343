// Stage 2: the mid-boss (id 8) and the stage boss (id 9).
#include <iterator>

#include "boss/boss_scripts.h"
#include "boss/script_context.h"
#include "boss/idioms.h"
#include "playfield/boss.h"

namespace {

// ---- boss 8 -------------------------------------------------------------------

// Carriers aimed at the player that sprout small rings along their way.
void Mid0(BossScriptContext& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  const int32_t d = Level(ctx);
  if (f < 180) return;
  if (f % 360 == 180) {
    ctx.PlaySound(0);
    const int32_t aim = Trunc(AimFromBoss(ctx));
    b.SetScratchInt(17, aim);
    const int32_t count = d + 4;
    const double step = 360.0 / count;
    for (int32_t i = 0; i < count; ++i) {
      const int32_t slot = ctx.Spawn(75, b.x, b.y, 2.0f, F32(aim + i * step - step * 0.5), 20, 0);
      b.SetScratchInt(i, slot);
    }
  }
  if (f % (50 - 7 * d) == 0) {
    for (int32_t i = 0; i <= d + 3; ++i) {
      const int32_t slot = b.ScratchInt(i);
      if (!IsLiveOfType(ctx, slot, 75)) continue;
      const float x = ctx.GetX(slot);
      const float y = ctx.GetY(slot);
      const float facing = ctx.GetFacing(slot);
      ctx.Ring(x, y, 1.5f, facing, d + 3, 85, 0, 30);
    }
  }
  if (f % 360 == 40) ctx.MoveTowardPlayer(40, 10, 40);
}

// Laser star bursts and familiars flying out in a pentagon.
void Mid1(BossScriptContext& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  const int32_t d = Level(ctx);
  if (f < 300) return;
  if (f % 150 == 0) {
    ctx.PlaySound(0);
    for (int32_t a = 0; a < 360; a += 20)
      ctx.SpawnLaser(b.x, b.y, F32(3.0 + 0.4 * d), static_cast<float>(a), 14, 80, 10, 0, 0);
  }
  if (f % 300 == 0) {
    for (int32_t k = 0; k < 5; ++k) {
      const int32_t dir = Trunc(AimFromBoss(ctx) + 72 * k);
      ctx.SpawnFamiliar(6, Trunc(b.x), Trunc(b.y), -1, 0.3f, 0, dir);
    }
  }
  if (f % 300 == 200) ctx.MoveTowardPlayer(40, 10, 50);
}

// ---- boss 9 -------------------------------------------------------------------

// Sixty spokes of bullet pairs that stop and then scatter in three ways.
void Boss0(BossScriptContext& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  const int32_t d = Level(ctx);
  if (f < 180) return;
  if (f % 180 == 140) ctx.MoveTowardPlayer(50, 10, 30);
  if (f % 180 != 0) return;
  ctx.PlaySound(0);
  static constexpr float kSecondLeg[3] = {-30.0f, kTowardPlayer, 210.0f};
  for (int32_t q = 0; q < 60; ++q) {
    const int32_t base = 6 * q;
    const float speed = F32(1.5 + 0.5 * (q % 5));
    for (int32_t i = 0; i < 3; ++i) {
      int32_t slot = ctx.Spawn(60, b.x, b.y, speed, static_cast<float>(base + 5 * i), 20, 0);
      Queue(ctx, slot, 30, {.speed = 0.0f});
      Queue(ctx, slot, 120, {.speed = F32(1.5 + 0.3 * d), .angle = kSecondLeg[i]});
      slot = ctx.Spawn(32, b.x, b.y, speed, static_cast<float>(base + 5 * i + 15), 20, 0);
      Queue(ctx, slot, 30, {.speed = 0.0f});
      Queue(ctx, slot, 120,
            {.speed = F32(1.0 + 0.25 * d), .angle = static_cast<float>(base - 85 * i - 75)});
    }
  }
}

// A spinning bullet falling from a random spot of the top edge; its turn rate
// after the spin is drawn from 0..range around zero.
void FallingSpinner(BossScriptContext& ctx, int32_t range) {
  Boss& b = ctx.boss();
  const int32_t xDraw = ctx.Rnd(384);
  const int32_t slot = ctx.Spawn(35, static_cast<float>(16 + xDraw), 16.0f, 2.0f, 90.0f, 0, 0);
  b.SetScratchInt(0, slot);
  const int32_t spinDraw = ctx.Rnd(180);
  const int32_t spin = 60 + spinDraw;
  b.SetScratchInt(1, spin);
  if (slot >= 0) ctx.SetSpin(slot, 20.0f, spin);
  const int32_t turnDraw = ctx.Rnd(range);
  Queue(ctx, slot, spin,
        {.speed = 2.0f, .angle = 90.0f, .angularSpeed = F32((turnDraw - range / 2) / 100.0)});
}

// Lasers from the side walls on Hard and Lunatic: angle draw, then height draw.
struct SideLaser {
  float x;
  int32_t yRange;
  float speed;
  int32_t angleBase;  // the angle is angleBase + rnd(40)
};
constexpr SideLaser kSideLasers[2][2] = {
    {{16.0f, 280, 6.0f, -20}, {400.0f, 260, 6.0f, 160}},  // Hard
    {{16.0f, 320, 8.0f, -20}, {400.0f, 300, 7.0f, 160}},  // Lunatic
};

// Falling spinners; on Hard and Lunatic also laser crossfire from the walls.
void Boss1(BossScriptContext& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  const int32_t d = Level(ctx);
  if (f < 300) return;
  if (f % 300 == 0) {
    b.poseFrames = 150;
    ctx.PlaySound(1);
  }
  if (f % 300 == 200) ctx.MoveTowardPlayer(50, 10, 50);
  if (d < 2) {
    if (f % (5 - d) == 0) FallingSpinner(ctx, 40 * (d + 2));
    return;
  }
  const int32_t m = f % 300;
  if (m >= 30 && m < 150 && f % 5 == 0) {
    for (const SideLaser& l : kSideLasers[d >= 3 ? 1 : 0]) {
      const int32_t angleDraw = ctx.Rnd(40);
      const int32_t yDraw = ctx.Rnd(l.yRange);
      ctx.SpawnLaser(l.x, static_cast<float>(16 + yDraw), l.speed,
                     static_cast<float>(l.angleBase + angleDraw), 14, 80, 10, 0, 0);
    }
  }
  if (f % (6 - d) == 0 && m > 140 - f / 30) FallingSpinner(ctx, 80);
}

// The boss dives, climbs back and sprays mirrored bullet pairs; a fan answers
// a player who slips above it.
void Boss2(BossScriptContext& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  const int32_t d = Level(ctx);
  if (f < 180) return;
  const int32_t m = f % 360;
  if (m == 180) ctx.MoveTo(208.0f, 304.0f, 50);
  if (m == 260) ctx.MoveTo(208.0f, 80.0f, 100);
  if (m < 260 || f % 6 != 0) return;
  const int32_t spread = ctx.Rnd(30);
  b.SetScratchInt(1, spread);
  b.SetScratchInt(2, 0);
  ctx.PlaySound(0);
  for (int32_t i = 0; i <= d + 4; b.SetScratchInt(2, ++i)) {
    const int32_t speedDraw1 = ctx.Rnd(d + 8);
    ctx.Spawn(10, b.x, b.y, F32((speedDraw1 + d + 4) / 10.0),
              static_cast<float>(spread * i + 2 * m - 610), 10, 0);
    const int32_t speedDraw2 = ctx.Rnd(d + 8);
    ctx.Spawn(12, b.x, b.y, F32((speedDraw2 + d + 4) / 10.0),
              static_cast<float>(790 - 2 * m - spread * i), 10, 0);
  }
  const double a = AimFromBoss(ctx);
  if (a >= -135.0 && a < -45.0) ctx.Fan(b.x, b.y, 5.0f, F32(a), 50.0f, 9, 60, 0, 0);
}

// Erase-proof markers that stop, then sprout curling rings; rising bullets
// from the bottom on Hard and Lunatic.
void Boss3(BossScriptContext& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  const int32_t d = Level(ctx);
  if (f == 120) {
    b.SetScratchInt(2000, 4 * d + 8);
    b.SetScratchInt(2001, 2 * d + 6);
  }
  if (f < 300) return;
  const int32_t m = f % 600;
  if (d >= 2 && f % ((9 - d) * 2) == 0) {
    const int32_t xDraw = ctx.Rnd(384);
    const int32_t slot = ctx.Spawn(34, static_cast<float>(16 + xDraw), 464.0f, 0.0f, 270.0f, 20, 0);
    Queue(ctx, slot, 60, {.speed = 0.5f});
  }
  const int32_t n = b.ScratchInt(2000);
  if (m % 150 == 0) {
    const int32_t set = m / 150;
    ctx.PlaySound(0);
    const int32_t dirDraw = ctx.Rnd(1);
    const int32_t dir = 1 - 2 * dirDraw;
    b.SetScratchInt(2002, dir);
    for (int32_t j = 0; j < n; ++j) {
      const double angle = AimFromBoss(ctx) + (360.0 / n) * j * dir;
      const int32_t slot = ctx.Spawn(23, b.x, b.y, 1.0f, F32(angle), 20, 5 * j);
      b.SetScratchInt(set * n + j, slot);
      Queue(ctx, slot, 0, {.accel = -0.02f});
      Queue(ctx, slot, 50, {.speed = 0.0f, .accel = 0.0f});
      Queue(ctx, slot, 100, {.x = -10000.0f});
      if (slot >= 0) ctx.SetEraseProof(slot);
    }
  }
  if (m >= 100 && (m - 100) % 150 == 0) {
    const int32_t set = (m - 100) / 150;
    const int32_t pairs = b.ScratchInt(2001);
    // Sets 0 and 2 open their first bullet clockwise, 1 and 3 the other way;
    // the first two sets curl clockwise, the last two counter-clockwise.
    const int32_t side = set % 2 == 0 ? 90 : -90;
    const float curl = set < 2 ? 0.5f : -0.5f;
    ctx.PlaySound(1);
    for (int32_t j = 0; j < n; ++j) {
      const int32_t marker = b.ScratchInt(set * n + j);
      if (marker < 0) continue;  // the marker itself never came out
      const float mx = ctx.GetX(marker);
      const float my = ctx.GetY(marker);
      for (int32_t k = 0; k < pairs; ++k) {
        const double phi = k * 360.0 / pairs;
        const float px = F32(mx + 30.0 * CosDegrees(phi));
        const float py = F32(my + 30.0 * SinDegrees(phi));
        int32_t slot = ctx.Spawn(85, px, py, 1.0f, F32(phi + side), 0, 5 * j);
        Queue(ctx, slot, 0, {.accel = 0.02f, .angularSpeed = curl});
        slot = ctx.Spawn(85, px, py, 1.0f, F32(phi - side), 0, 5 * j);
        Queue(ctx, slot, 0, {.accel = 0.01f, .angularSpeed = -curl});
      }
    }
  }
}

// The boss traces a rose with mirrored pairs that unravel in drawing order.
void Boss4(BossScriptContext& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  const int32_t d = Level(ctx);
  if (f == 120) b.SetScratchInt(2000, d == 0 ? 4 : d == 1 ? 3 : 2);
  if (f == 300) b.poseFrames = 6000;
  if (f < 360) return;
  const int32_t r = (b.ScratchInt(2000) * f) % 360;
  const double radius = 80.0 * SinDegrees(r * (2 * d + 2));
  const double cr = CosDegrees(r);
  const double sr = SinDegrees(r);
  const float launch = F32(1.2 + 0.25 * d);
  int32_t slot = ctx.Spawn(10, F32(b.x + radius * cr), F32(b.y + radius * sr), 0.0f,
                           F32(f + radius), 30, 0);
  Queue(ctx, slot, 120 + 20 * d, {.speed = launch});
  slot = ctx.Spawn(12, F32(b.x - radius * cr), F32(b.y - radius * sr), 0.0f,
                   F32(f + 180 + radius), 30, 0);
  Queue(ctx, slot, 120 + 20 * d, {.speed = launch});
}

constexpr AttackScriptFn kMidBoss[] = {Mid0, Mid1};
constexpr AttackScriptFn kBoss[] = {Boss0, Boss1, Boss2, Boss3, Boss4};
}  // namespace

void BossScript08(BossScriptContext& ctx) { RunAttackOf(ctx, kMidBoss, static_cast<int32_t>(std::size(kMidBoss))); }
void BossScript09(BossScriptContext& ctx) { RunAttackOf(ctx, kBoss, static_cast<int32_t>(std::size(kBoss))); }
