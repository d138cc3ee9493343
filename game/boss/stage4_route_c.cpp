// Stage 4 route C boss (id 14).
#include <initializer_list>
#include <iterator>

#include "boss/boss_scripts.h"
#include "boss/idioms.h"
#include "boss/script_context.h"
#include "playfield/boss.h"
#include "shell/gamemath.h"

namespace {
// A point at (64, angle) from the boss, as the lasers and bullets take it.
struct Source {
  float x, y;
};
Source FromBoss(Boss& b, double radius, double degrees) {
  const auto p = OnCircle(b.x, b.y, radius, degrees);
  return {F32(p.x), F32(p.y)};
}

void Attack0(BossScriptContext& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  const int32_t d = Level(ctx);
  if (f < 180) return;
  const int32_t c = f % 180;
  if (c < 90 && f % 9 == 0) {
    ctx.PlaySound(0);
    ctx.Fan(b.x, b.y, F32(3.0 + 0.3 * d), F32(Aim(ctx, b.x, b.y)), 90.0f,
            3 + 2 * d + (f / 9) % 2, 13, 0, 20);
  }
  if (c >= 90 && c < 140) {
    ctx.PlaySound(0);
    for (int32_t k = 0; k < 4; ++k) {
      const int32_t slot = ctx.Spawn(60, b.x, b.y, 0.0f, static_cast<float>(f * 20 + 90 * k), 20, 0);
      b.SetScratchInt(0, slot);
      Queue(ctx, slot, 0, {.accel = F32(0.02 + 0.01 * d)});
      Queue(ctx, slot, 100, {.accel = 0.0f});
    }
  }
  if (c == 140) ctx.MoveTowardPlayer(40, 5, 40);
}

// Seven familiars in an arc under the boss; a fast fan at a player above it.
void Attack1(BossScriptContext& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  if (f < 300) return;
  if (f == 300) {
    static constexpr int32_t kArc[7][2] = {{-60, 20}, {-40, 30}, {-20, 30}, {0, 40},
                                           {20, 30},  {40, 30},  {60, 20}};
    for (int32_t s = 0; s < 7; ++s)
      FamiliarAt(ctx, 18, static_cast<double>(b.x) + kArc[s][0],
                 static_cast<double>(b.y) + kArc[s][1], 0.3f, 0, s);
  }
  if (f % 360 == 250) ctx.MoveTowardPlayer(50, 20, 50);
  if (ctx.PlayerY() < b.y) ctx.Fan(b.x, b.y, 8.0f, F32(Aim(ctx, b.x, b.y)), 90.0f, 10, 60, 0, 0);
}

// Sixteen moving lasers from four points about the boss.
void Attack2(BossScriptContext& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  const int32_t d = Level(ctx);
  if (f < 180) return;
  if (f % (20 - 3 * d) == 0) {
    ctx.PlaySound(0);
    for (int32_t j = 0; j < 4; ++j) {
      const Source s = FromBoss(b, 64.0, 90 * j);
      for (int32_t k = 0; k < 4; ++k)
        ctx.SpawnLaser(s.x, s.y, 3.0f, static_cast<float>(f + 90 * k), 60 + j, 80, 10, 0, 0);
    }
  }
  if (f % 180 == 140) ctx.MoveTowardPlayer(40, 5, 40);
}

// ---- attack 3 ---------------------------------------------------------------------

// Laser groups from the boss: `spread` lists the offsets about each group
// centre 0, 90, 180, 270.
void LaserGroups(BossScriptContext& ctx, std::initializer_list<int32_t> spread, float speed,
                 int32_t type) {
  Boss& b = ctx.boss();
  ctx.PlaySound(0);
  for (int32_t g = 0; g < 360; g += 90)
    for (int32_t o : spread)
      ctx.SpawnLaser(b.x, b.y, speed, static_cast<float>(g + o), type, 80, 10, 0, 0);
}

// Two lasers crossing through the boss along direction t.
void CrossingPair(BossScriptContext& ctx, int32_t t) {
  Boss& b = ctx.boss();
  ctx.PlaySound(0);
  const Source from = FromBoss(b, 64.0, t + 180);
  ctx.SpawnLaser(from.x, from.y, 3.0f, static_cast<float>(t), 60, 80, 10, 0, 0);
  const Source to = FromBoss(b, 64.0, t);
  ctx.SpawnLaser(to.x, to.y, 3.0f, static_cast<float>(t + 180), 60, 80, 10, 0, 0);
}

void Attack3(BossScriptContext& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  const int32_t d = Level(ctx);
  if (f < 300) return;
  if (d < 2) {
    if (f % 120 == 0) {
      ctx.PlaySound(0);
      for (int32_t a = 0; a < 360; a += 10)
        ctx.SpawnLaser(b.x, b.y, F32(1.5 + 0.75 * d), static_cast<float>(a), 63, 80, 10, 0, 0);
    }
    if (f % 120 == 40) LaserGroups(ctx, {-20, -10, 0, 10, 20}, F32(2.5 + 0.75 * d), 62);
    if (f % 120 == 80 && d == 1) LaserGroups(ctx, {-15, -5, 5, 15}, F32(2.5 + 0.75 * d), 61);
    if (f >= 540 && f % 30 == 0) {
      ctx.PlaySound(0);
      for (int32_t a = 0; a < 360; a += 90) {
        const Source s = FromBoss(b, 64.0, a);
        for (int32_t o = 0; o < 360; o += 90)
          ctx.SpawnLaser(s.x, s.y, F32(3.5 + 0.75 * d), F32(Aim(ctx, s.x, s.y) + o), 60, 80, 10,
                         0, 0);
      }
    }
    return;
  }
  const int32_t c = f % 216;
  if (c < 108 && c % 3 == 0) CrossingPair(ctx, 90 - 10 * (c / 3));
  if (c >= 108 && c < 216 && (c - 108) % 3 == 0 && (c - 108) / 3 <= 35)
    CrossingPair(ctx, 90 + 10 * ((c - 108) / 3));
  if (f % 20 == 0) {
    // A mirrored pair swinging with the frame counter, a triangle wave of
    // period 480 between -30 and 30 degrees.
    ctx.PlaySound(0);
    const int32_t m = ctx.FrameCount() % 480;
    const int32_t v = m - 120 < 360 - m ? m - 120 : 360 - m;
    const int32_t a = v / 4;
    b.SetScratchInt(0, a);
    const float speed = F32(1.5 + 0.5 * d);
    int32_t slot = ctx.Spawn(63, b.x, b.y, speed, static_cast<float>(a), 0, 0);
    Queue(ctx, slot, 48, {.angle = static_cast<float>(a + 90)});
    slot = ctx.Spawn(63, b.x, b.y, speed, static_cast<float>(180 - a), 0, 0);
    Queue(ctx, slot, 48, {.angle = static_cast<float>(90 - a)});
  }
  if (f % (10 * (4 - d)) == 0) {
    ctx.PlaySound(0);
    for (int32_t a = 0; a < 360; a += 90) {
      const Source s = FromBoss(b, 64.0, a);
      ctx.Spawn(13, s.x, s.y, F32(1.0 + 0.5 * d), F32(Aim(ctx, s.x, s.y)), 20, 0);
    }
  }
}

// ---- attack 4 ---------------------------------------------------------------------

// One star from a side wall: angle draw, then height draw.
void Star(BossScriptContext& ctx, float x, int32_t angleBase) {
  Boss& b = ctx.boss();
  const int32_t angle = angleBase + ctx.Rnd(10);
  const int32_t y = 16 + ctx.Rnd(48);
  const int32_t slot = ctx.Spawn(153, x, static_cast<float>(y), 5.0f, static_cast<float>(angle), 20, 0);
  const int32_t n = b.ScratchInt(2000);
  b.SetScratchInt(n, slot);
  if (slot >= 0) ctx.SetSpin(slot, 1.0f, 6000);
  b.SetScratchInt(2000, n + 1);
}

// Stars cross the field from both walls and fire back along their track.
void Attack4(BossScriptContext& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  const int32_t d = Level(ctx);
  if (f < 180) return;
  if (f % 180 == 0) {
    b.poseFrames = 150;
    b.SetScratchInt(2000, 0);
  }
  if (f % 10 == 0) {
    ctx.PlaySound(0);
    Star(ctx, 16.0f, 0);
    Star(ctx, 400.0f, 170);
  }
  const int32_t n = b.ScratchInt(2000);
  if (f % (3 * (6 - d)) != 0 || n <= 0) return;
  const float turn = (f / (2 * (6 - d))) % 2 == 0 ? 0.4f : -0.4f;
  for (int32_t k = 0; k < n && k < 2000; ++k) {
    const int32_t star = b.ScratchInt(k);
    if (!IsLiveOfType(ctx, star, 153)) continue;
    const float x = ctx.GetX(star);
    const float y = ctx.GetY(star);
    const float facing = ctx.GetFacing(star);
    ctx.Spawn(143, x, y, 8.0f, F32(facing + 175.0), 0, 0);
    ctx.Spawn(143, x, y, 8.0f, F32(facing + 185.0), 0, 0);
    const int32_t shard = ctx.Spawn(143, x, y, 0.0f, F32(facing + 180.0), 0, 0);
    b.SetScratchInt(2001, shard);
    if (shard < 0) continue;
    ctx.SetSpin(shard, 1.0f, 6000);
    Queue(ctx, shard, 0, {.accel = 0.02f, .angularSpeed = turn});
  }
}

// ---- attack 5 ---------------------------------------------------------------------

struct ColumnBullet {
  int32_t type;
  float speed;
  int32_t delay, wait;
};
constexpr ColumnBullet kEasyColumn[] = {{60, 3.0f, 0, 20}, {61, 4.0f, 0, 40}, {62, 5.0f, 60, 0}};
constexpr ColumnBullet kNormalColumn[] = {{60, 1.0f, 0, 20},  {66, 2.0f, 0, 40}, {63, 3.0f, 0, 60},
                                          {61, 4.0f, 0, 80},  {64, 5.0f, 0, 100},
                                          {67, 6.0f, 0, 120}, {68, 7.0f, 140, 0}};

int32_t Clamp(int32_t v, int32_t lo, int32_t hi) { return v < lo ? lo : v > hi ? hi : v; }

// Easy and Normal: the spell wears itself down while the boss circles the
// player firing aimed columns.
void Attack5Circling(BossScriptContext& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  const int32_t d = Level(ctx);
  b.hp -= 5;
  const float p = F32((f - 30) * kPi / 180.0);
  const double radius = 128.0 * (d + 1);
  const int32_t tx = Clamp(Trunc(ctx.PlayerX() + radius * FloatCos(p)), 16, 400);
  const int32_t ty = Clamp(Trunc(ctx.PlayerY() + radius * FloatSin(p)), 16, 464);
  b.SetScratchInt(2000, tx);
  b.SetScratchInt(2001, ty);
  ctx.MoveTo(static_cast<float>(tx), static_cast<float>(ty), 1);
  if (f % 3 != 1) return;
  ctx.PlaySound(0);
  const float aim = F32(Aim(ctx, b.x, b.y));
  if (d == 0) {
    for (const ColumnBullet& c : kEasyColumn) ctx.Spawn(c.type, b.x, b.y, c.speed, aim, c.delay, c.wait);
  } else {
    for (const ColumnBullet& c : kNormalColumn)
      ctx.Spawn(c.type, b.x, b.y, c.speed, aim, c.delay, c.wait);
  }
}

// Hard and Lunatic: a breathing ring of stars and lines from the left wall.
void Attack5Stars(BossScriptContext& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  const int32_t d = Level(ctx);
  if (f % 300 == 0) b.SetScratchInt(2000, 0);
  if (f % (5 * (4 - d)) == 0) {
    ctx.PlaySound(0);
    const int32_t step = b.ScratchInt(2000);
    const double radius = 5.0 * (4 - d) * step;
    for (int32_t a = 0; a < 360; a += 45) {
      const int32_t t = a + f - 300;
      const Source s = FromBoss(b, radius, t);
      const int32_t slot = ctx.Spawn(153, s.x, s.y, 0.0f, static_cast<float>(t), 20, 0);
      b.SetScratchInt(0, slot);
      if (slot < 0) continue;
      ctx.SetSpin(slot, 1.0f, 6000);
      Queue(ctx, slot, 150, {.accel = 0.05f});
      Queue(ctx, slot, 190, {.accel = 0.0f});
    }
    b.SetScratchInt(2000, f % 300 < 150 ? step + 1 : step - 1);
  }
  if (f % 100 == 0) {
    ctx.PlaySound(0);
    const int32_t h = 32 + ctx.Rnd(64);
    const int32_t colour = ctx.Rnd(9);
    const int32_t tilt = ctx.Rnd(30) - 15;
    b.SetScratchInt(2001, h);
    b.SetScratchInt(2002, colour);
    b.SetScratchInt(2003, tilt);
    const int32_t lines = d == 3 ? 3 : 1;
    for (int32_t line = 0; line < lines; ++line) {
      for (int32_t k = 0; k < 32; ++k) {
        const auto p = OnCircle(16.0f, static_cast<float>(h + 16), 20.0 * k, tilt);
        const int32_t slot = ctx.Spawn(140 + colour, F32(p.x), F32(p.y), 0.0f, 0.0f, 20, 2 * k);
        if (slot < 0) continue;
        ctx.SetSpin(slot, 1.0f, 6000);
        const float angle =
            d == 3 ? F32(Aim(ctx, F32(p.x), F32(p.y)) - 30 + 30 * line) : kTowardPlayer;
        Queue(ctx, slot, 90 - 2 * k, {.speed = F32(2.0 + 0.5 * d), .angle = angle});
      }
    }
  }
  if (f % 200 == 0 && f != 400) ctx.MoveTowardPlayer(40, 5, 40);
}

void Attack5(BossScriptContext& ctx) {
  if (ctx.boss().phaseFrame < 300) return;
  if (Level(ctx) < 2)
    Attack5Circling(ctx);
  else
    Attack5Stars(ctx);
}

// ---- attack 6 ---------------------------------------------------------------------

// Bullets circle the boss for 150 frames, then leave at drawn exit angles.
void Attack6(BossScriptContext& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  const int32_t d = Level(ctx);
  if (f == 120) {
    const int32_t firstExit = ctx.Rnd(359);
    b.SetScratchInt(1, firstExit);
  }
  if (f == 300) b.poseFrames = 6000;
  if (f < 300) return;
  const int32_t slot = ctx.Spawn(23, b.x, b.y, 5.0f, static_cast<float>((f - 300) * 45), 0, 0);
  b.SetScratchInt(0, slot);
  Queue(ctx, slot, 0, {.angularSpeed = 10.0f});
  const int32_t turnDraw = ctx.Rnd(4 * d);
  Queue(ctx, slot, 150,
        {.speed = static_cast<float>(d + 4), .angle = static_cast<float>(b.ScratchInt(1)),
         .angularSpeed = F32((turnDraw - 2 * d) / 10.0)});
  const int32_t exitDraw = ctx.Rnd(180);
  b.SetScratchInt(1, b.ScratchInt(1) + 60 + exitDraw);
  if (f % 10 == 0) ctx.PlaySound(0);
}

constexpr AttackScriptFn kAttacks[] = {Attack0, Attack1, Attack2, Attack3,
                                       Attack4, Attack5, Attack6};
}  // namespace

void BossScript14(BossScriptContext& ctx) {
  RunAttackOf(ctx, kAttacks, static_cast<int32_t>(std::size(kAttacks)));
}
