// Stage 4 route A boss (id 12).
#include <initializer_list>
#include <iterator>

#include "boss/boss_scripts.h"
#include "boss/idioms.h"
#include "boss/script_context.h"
#include "playfield/boss.h"
#include "shell/gamemath.h"

namespace {

// A wide fan all round and three slowly turning three-bullet fans.
void Attack0(BossScriptContext& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  const int32_t d = Level(ctx);
  if (f < 180) return;
  if (f % 15 == 0) {
    ctx.PlaySound(0);
    ctx.Fan(b.x, b.y, 3.0f, 90.0f, 360.0f, 6 * (d + 4), 102, 0, 0);
  }
  if (f % 5 == 0) {
    ctx.PlaySound(0);
    for (int32_t j = 0; j < 3; ++j)
      ctx.Fan(b.x, b.y, F32(1.5 + 0.2 * d), static_cast<float>(f - 180 + 120 * j), 60.0f, 3, 100,
              0, 10);
  }
  if (f % 360 == 0) ctx.MoveTowardPlayer(50, 15, 50);
}

// ---- attack 1 -------------------------------------------------------------------

enum class Cross { kDiagonal, kUpright, kAimed };

// Four large bullets whose slots go to four consecutive scratch words.
void SpawnCross(BossScriptContext& ctx, Cross kind, int32_t firstWord) {
  Boss& b = ctx.boss();
  const double base = kind == Cross::kDiagonal ? 45.0
                      : kind == Cross::kUpright ? 0.0
                                                : Aim(ctx, b.x, b.y);
  for (int32_t k = 0; k < 4; ++k) {
    const int32_t slot = ctx.Spawn(70, b.x, b.y, 4.5f, F32(base + 90 * k), 40, 0);
    b.SetScratchInt(firstWord + k, slot);
  }
}

bool AnyOf(int32_t m, std::initializer_list<int32_t> frames) {
  for (int32_t v : frames)
    if (m == v) return true;
  return false;
}

// Easy to Hard: crosses that shed bullets, aimed fans between them.
void Attack1Crosses(BossScriptContext& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  const int32_t d = Level(ctx);
  const int32_t m = f % 900;
  if (m == 300) SpawnCross(ctx, Cross::kDiagonal, 0);
  if (m == 400) SpawnCross(ctx, Cross::kUpright, 0);
  if (AnyOf(m, {300, 310, 320, 400, 410, 420})) ctx.PlaySound(20);
  if (m == 340 || m == 440) {
    ctx.PlaySound(0);
    ctx.MoveTowardPlayer(40, 10, 40);
  }
  if (m == 500 || m == 600 || m == 700) ctx.MoveTowardPlayer(80, 5, 100);
  if (AnyOf(m, {540, 550, 560, 580, 590, 600, 620, 630, 640, 690, 700, 710, 730, 740, 750, 770,
                780, 790})) {
    ctx.PlaySound(1);
    ctx.Fan(b.x, b.y, F32(2.0 + 0.2 * d), F32(Aim(ctx, b.x, b.y)), F32(30 + 10 * d), 5 + 2 * d,
            90, 0, 0);
  }
  if (m == 0) SpawnCross(ctx, Cross::kAimed, 0);
  if (m == 60) SpawnCross(ctx, Cross::kAimed, 4);
  if (AnyOf(m, {0, 10, 20, 60, 70, 80})) ctx.PlaySound(20);
  if (m == 40 || m == 100) ctx.PlaySound(0);
  if (m == 150 || m == 160 || m == 170) ctx.PlaySound(20);
  if (m == 190 || m == 220 || m == 250) ctx.PlaySound(0);
  if (m == 150) SpawnCross(ctx, Cross::kDiagonal, 16);
  if (m == 180) SpawnCross(ctx, Cross::kUpright, 20);
  if (m == 210) SpawnCross(ctx, Cross::kAimed, 24);
  if (f % (2 * (6 - d)) != 0) return;
  for (int32_t w = 0; w < 32; ++w) {
    const int32_t slot = b.ScratchInt(w);
    if (!IsLiveOfType(ctx, slot, 70)) continue;
    const float x = ctx.GetX(slot);
    const float y = ctx.GetY(slot);
    const float facing = ctx.GetFacing(slot);
    const int32_t drop = ctx.Spawn(10, x, y, 0.0f, F32(facing + 2.0 * f), 60, 0);
    Queue(ctx, drop, 60, {.speed = F32(1.4 + 0.2 * d)});
  }
}

// Lunatic: seven familiars once, then the boss sweeps the field with lasers.
void Attack1Sweeps(BossScriptContext& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  const int32_t d = Level(ctx);
  if (f == 300) {
    b.poseFrames = 60;
    for (int32_t i = 0; i < 7; ++i) {
      const auto p = OnCircle(b.x, b.y, 100.0, i * 51.42857142857143);
      FamiliarAt(ctx, 17, p.x, p.y, 0.3f, 1, i % 2 == 0 ? -1 : 1);
    }
  }
  const int32_t n = (f - 300) % 1140;
  if (AnyOf(n, {60, 140, 220, 300})) ctx.MoveTowardPlayer(60, 20, 50);
  if (n == 400) ctx.MoveTo(80.0f, 112.0f, 40);
  if (n == 450) ctx.MoveTo(336.0f, 112.0f, 100);
  if (AnyOf(n, {570, 650, 730, 810, 890})) ctx.MoveTowardPlayer(60, 20, 50);
  if (n == 970) ctx.MoveTo(336.0f, 112.0f, 40);
  if (n == 1020) ctx.MoveTo(80.0f, 112.0f, 100);
  for (int32_t sweep : {450, 1020}) {
    const int32_t k = n - sweep;
    if (k < 0 || k > 105 || k % 15 != 0) continue;
    for (int32_t a = 45; a <= 135; a += 45)
      ctx.SpawnLaser(b.x, b.y, static_cast<float>(d + 4), static_cast<float>(a), 30, 90, 10, 0, 0);
  }
}

void Attack1(BossScriptContext& ctx) {
  Boss& b = ctx.boss();
  if (b.phaseFrame == 120)
    for (int32_t w = 0; w < 32; ++w) b.SetScratchInt(w, -1);
  if (b.phaseFrame < 300) return;
  if (Level(ctx) == 3)
    Attack1Sweeps(ctx);
  else
    Attack1Crosses(ctx);
}

// ---- attack 2 -------------------------------------------------------------------

// A turning ring of harmless warning lasers, then real lasers along them, and
// twin fans throughout.
void Attack2(BossScriptContext& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  const int32_t d = Level(ctx);
  if (f == 120) b.SetScratchInt(3, 1);
  if (f < 180) return;
  const int32_t n = (f - 180) % 300;
  const int32_t count = 2 * d + 8;
  if (n == 0) {
    const int32_t base = ctx.Rnd(359);
    b.SetScratchInt(0, base);
    b.SetScratchInt(3, -b.ScratchInt(3));
    const int32_t sense = b.ScratchInt(3);
    for (int32_t i = 0; i < count; ++i) {
      const int32_t slot = ctx.SpawnLaser(b.x, b.y, 0.0f, static_cast<float>(base + i * 360 / count),
                                          20, 800, 3, 0, 0);
      b.SetScratchInt(4 + i, slot);
      if (slot < 0) continue;
      // 14 changes: the record holds up to 15 before the 16th would end it.
      for (int32_t j = 0; j < 12; ++j) Queue(ctx, slot, 5 * j, {.angularSpeed = F32(0.5 * j * sense)});
      Queue(ctx, slot, 150, {.angularSpeed = 0.0f});
      Queue(ctx, slot, 231, {.x = kOffField, .angularSpeed = static_cast<float>(sense)});
      ctx.SetHarmless(slot);
    }
  }
  if (n == 190) {
    for (int32_t i = 0; i < count; ++i) {
      const int32_t warn = b.ScratchInt(4 + i);
      if (!IsLiveOfType(ctx, warn, 20)) continue;
      const int32_t slot = ctx.SpawnLaser(b.x, b.y, 0.0f, ctx.GetFacing(warn), 10, 800, 20, 0, 0);
      Queue(ctx, slot, 80, {.x = kOffField, .y = 0.0f});
    }
  }
  if (n == 230) {
    ctx.PlaySound(1);
    for (int32_t i = 0; i < count; ++i) {
      const int32_t warn = b.ScratchInt(4 + i);
      if (!IsLiveOfType(ctx, warn, 20)) continue;
      const float facing = ctx.GetFacing(warn);
      const auto back = OnCircle(b.x, b.y, -15.0, facing);
      ctx.SpawnLaser(F32(back.x), F32(back.y), 15.0f, facing, 10, 200, 100, -10, 0);
    }
  }
  const int32_t period = 3 * (10 - d);
  if ((f - 180) % period == 0) {
    ctx.PlaySound(0);
    const int32_t q = (f - 180) / period;
    ctx.Fan(b.x, b.y, F32(2.0 + 0.5 * d), static_cast<float>(15 * q), 90.0f, 10, 20, 0, 0);
    ctx.Fan(b.x, b.y, F32(2.0 + 0.5 * d), static_cast<float>(15 * q + 180), 90.0f, 10, 20, 0, 0);
  }
}

// ---- attack 3 -------------------------------------------------------------------

// Familiars on four sides and rings of pairs that stop and split.
void Attack3(BossScriptContext& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  const int32_t d = Level(ctx);
  if (f < 300) return;
  const bool familiars = d < 2 ? f % 300 == 0 : f == 300;
  if (familiars) {
    for (int32_t a = 0; a < 360; a += 90)
      FamiliarAtBoss(ctx, d < 2 ? 28 : 29, 0.3f, 1, Trunc(Aim(ctx, b.x, b.y) + a));
  }
  if (f % 50 != 0 || f % 300 == 0) return;
  ctx.PlaySound(1);
  const int32_t aim = Trunc(Aim(ctx, b.x, b.y));
  b.SetScratchInt(2000, aim);
  const int32_t count = 4 * d + 8;
  const float speed = F32(2.0 + 0.4 * d);
  for (int32_t i = 0; i < count; ++i) {
    const int32_t t = aim + i * 360 / count;
    const int32_t delay = i == 0 ? 20 : 0;
    const int32_t wait = i == 0 ? 0 : 20;
    for (int32_t side : {90, -90}) {
      const int32_t slot = ctx.Spawn(20, b.x, b.y, 5.0f, static_cast<float>(t), delay, wait);
      b.SetScratchInt(0, slot);
      Queue(ctx, slot, 20, {.speed = 0.0f});
      Queue(ctx, slot, 60, {.speed = speed, .angle = static_cast<float>(t + side)});
    }
  }
}

// ---- attack 4 -------------------------------------------------------------------

// Streams along 18 lanes, no lane twice in a cycle as far as the check
// reaches, over a drizzle of small rings.
void Attack4(BossScriptContext& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  const int32_t d = Level(ctx);
  if (f == 120)
    for (int32_t j = 0; j < 18; ++j) b.SetScratchInt(j, 10 + 20 * j);
  if (f < 180) return;
  const int32_t m = f % 360;
  if (m == 180) {
    b.poseFrames = 60;
    for (int32_t w = 50; w < 68; ++w) b.SetScratchInt(w, -1);
  }
  const int32_t streams = 3 * (d + 3);
  if (m >= 180 && (m - 180) % 6 == 0 && (m - 180) / 6 < streams) {
    const int32_t i = (m - 180) / 6;
    int32_t lane = ctx.Rnd(17);
    b.SetScratchInt(100, lane);
    // The check runs over words 50 .. 49 + 4 (d + 3), which on Hard and
    // Lunatic reaches past the 18 lane words into words that stay 0. After a
    // redraw it resumes at word 51.
    for (int32_t j = 0; j < 4 * (d + 3);) {
      if (b.ScratchInt(50 + j) == lane) {
        lane = ctx.Rnd(17);
        b.SetScratchInt(100, lane);
        j = 1;
      } else {
        ++j;
      }
    }
    b.SetScratchInt(50 + i, lane);
    const int32_t offset = ctx.Rnd(16) - 8;
    b.SetScratchInt(101, offset);
    ctx.PlaySound(0);
    const float angle = static_cast<float>(b.ScratchInt(lane) + offset);
    for (int32_t k = 0; k <= 3 * d + 10; ++k) {
      const int32_t slot = ctx.Spawn(90, b.x, b.y, F32(2.7 + 0.3 * d), angle, 20, 4 * k);
      if (slot >= 0) ctx.SetBounce(slot, 2, true, true, false, true);
    }
  }
  if (m < 160 && f % 4 == 0) {
    ctx.PlaySound(0);
    const int32_t countDraw = ctx.Rnd(2);
    const int32_t base = ctx.Rnd(359);
    const int32_t speedDraw = ctx.Rnd(14 * d + 50);
    ctx.Ring(b.x, b.y, F32((speedDraw + 50 - 7 * d) / 100.0), static_cast<float>(base),
             countDraw + d + 3, 90, 0, 0);
  }
  if (m == 40 || m == 100) ctx.MoveTowardPlayer(40, 20, 40);
}

// ---- attack 5 -------------------------------------------------------------------

// A large erase-proof bullet that curves for a while and sheds bullets.
struct Seed {
  float angle;
  float turn;
  int32_t turnEnd;
};
constexpr Seed kSeeds[4] = {{225.0f, -2.0f, 110}, {315.0f, 2.0f, 110}, {225.0f, -3.0f, 80},
                            {315.0f, 3.0f, 80}};

void Attack5(BossScriptContext& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  const int32_t d = Level(ctx);
  if (f < 300) return;
  const int32_t m = f % 300;
  const bool hard = d >= 2;
  const int32_t seeds = hard ? 4 : 2;
  if (m == 0) {
    ctx.PlaySound(0);
    for (int32_t i = 0; i < seeds; ++i) {
      const int32_t slot = ctx.Spawn(70, b.x, b.y, 3.0f, kSeeds[i].angle, 20, 0);
      b.SetScratchInt(i, slot);
      Queue(ctx, slot, 20, {.angularSpeed = kSeeds[i].turn});
      Queue(ctx, slot, kSeeds[i].turnEnd, {.angularSpeed = 0.0f});
      if (slot >= 0) ctx.SetEraseProof(slot);
    }
  }
  const int32_t window = hard ? 180 : 210;
  const int32_t period = hard ? 6 - d : 4 - d;
  if (m < window && f % period == 0) {
    const float speed = hard ? F32(d + 1.5) : static_cast<float>(d + 3);
    for (int32_t i = 0; i < seeds; ++i) {
      const int32_t seed = b.ScratchInt(i);
      if (!IsLiveOfType(ctx, seed, 70)) continue;
      const float x = ctx.GetX(seed);
      const float y = ctx.GetY(seed);
      const float facing = ctx.GetFacing(seed);
      for (double turn : {90.0, -90.0, 0.0}) {
        const int32_t slot = ctx.Spawn(10, x, y, 0.0f, F32(facing + turn), 20, 0);
        Queue(ctx, slot, 30 * (5 - d), {.speed = speed});
      }
    }
  }
  if (m == 170 - 30 * d) ctx.PlaySound(1);
  if (m == 250) ctx.MoveTowardPlayer(0, 30, 40);
}

// ---- attack 6 -------------------------------------------------------------------

// Blade table: 100 (radius, angle) pairs, blade A in pairs 0-49, its mirror
// image blade B in pairs 50-99.
void WriteBlades(Boss& b) {
  for (int32_t k = 0; k < 50; ++k) {
    b.SetScratchInt(2 * k, 4 * k);
    b.SetScratchInt(2 * k + 1, k < 25 ? 180 + k : 230 - k);
    b.SetScratchInt(2 * (50 + k), 4 * k);
    b.SetScratchInt(2 * (50 + k) + 1, k < 25 ? -k : k - 50);
  }
}

// Blade A turns with +w, blade B with -w.
struct BladePoint {
  float x, y;
  int32_t t;  // the point's angle about the boss
};
BladePoint BladeAt(Boss& b, int32_t pair, int32_t w) {
  const int32_t r = b.ScratchInt(2 * pair);
  const int32_t t = b.ScratchInt(2 * pair + 1) + (pair < 50 ? w : -w);
  const auto p = OnCircle(b.x, b.y, r, t);
  return {F32(p.x), F32(p.y), t};
}

void Attack6(BossScriptContext& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  const int32_t d = Level(ctx);
  if (f == 120) {
    WriteBlades(b);
    b.SetScratchInt(2000, 0);
    b.SetScratchInt(2001, 5);
  }
  if (f < 300) return;
  const int32_t w = b.ScratchInt(2000);
  // Two blades redrawn every frame: each bullet leaves at its own frame 1.
  for (int32_t pair = 0; pair < 100; ++pair) {
    const BladePoint p = BladeAt(b, pair, w);
    const int32_t slot = ctx.Spawn(130, p.x, p.y, 0.0f, 0.0f, 5, 0);
    Queue(ctx, slot, 1, {.x = kOffField, .y = 0.0f});
  }
  static constexpr int32_t kTips[4] = {25, 49, 75, 99};
  if (f % (3 * (3 - d / 2)) == 0) {
    ctx.PlaySound(0);
    for (int32_t pair : kTips) {
      const BladePoint p = BladeAt(b, pair, w);
      const int32_t spread = ctx.Rnd(4 * d);
      const int32_t side = pair < 50 ? -90 : 90;
      ctx.Spawn(10, p.x, p.y, 3.0f, static_cast<float>(p.t + side - 2 * d + spread), 0, 0);
    }
  }
  if (f % 5 == 0) {
    for (int32_t pair : kTips) {
      const BladePoint p = BladeAt(b, pair, w);
      const int32_t side = pair < 50 ? 90 : -90;
      ctx.Fan(p.x, p.y, 6.0f, static_cast<float>(p.t + side), 30.0f, 5, 10, 0, 0);
    }
  }
  if (d < 2) {
    if (f % 120 == 0) {
      ctx.PlaySound(0);
      ctx.Fan(b.x, b.y, F32(1.5 + 0.3 * d), F32(Aim(ctx, b.x, b.y)), 90.0f, 2 * d + 3, 70, 0, 20);
    }
  } else if (f % (45 - 10 * d) == 0) {
    ctx.PlaySound(0);
    for (int32_t angle : {30, 150}) {
      const int32_t type = d == 3 ? 100 : 90;
      const int32_t slot = ctx.Spawn(type, b.x, b.y, 4.0f, static_cast<float>(angle), 20, 0);
      // On Lunatic a straight companion flies beside each homing bullet.
      if (d == 3)
        ctx.Spawn(100, b.x, b.y, 4.0f, static_cast<float>(angle == 30 ? 60 : 120), 20, 0);
      b.SetScratchInt(1000, slot);
      Queue(ctx, slot, 20, {.accel = -0.2f});
      Queue(ctx, slot, 40, {.accel = 0.0f});
      Queue(ctx, slot, 60, {.speed = 0.0f, .accel = 0.02f, .angle = kTowardPlayer});
      Queue(ctx, slot, 180, {.speed = 2.4f, .accel = 0.0f});
    }
  }
  int32_t step = b.ScratchInt(2001);
  if (w < -45 || w > 45) step = -step;
  b.SetScratchInt(2001, step);
  const int32_t c = f % 300;
  if (c == 0) ctx.MoveBy(-30.0f, 15.0f, 75);
  if (c == 75) ctx.MoveBy(30.0f, 15.0f, 75);
  if (c == 150) ctx.MoveBy(30.0f, -15.0f, 75);
  if (c == 225) ctx.MoveBy(-30.0f, -15.0f, 75);
  b.SetScratchInt(2000, w + step);
}

constexpr AttackScriptFn kAttacks[] = {Attack0, Attack1, Attack2, Attack3,
                                       Attack4, Attack5, Attack6};
}  // namespace

void BossScript12(BossScriptContext& ctx) {
  RunAttackOf(ctx, kAttacks, static_cast<int32_t>(std::size(kAttacks)));
}
