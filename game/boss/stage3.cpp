// Stage 3: the freezing mid-boss (id 10) and the stage boss (id 11).
#include <iterator>

#include "boss/boss_scripts.h"
#include "boss/script_context.h"
#include "boss/idioms.h"
#include "playfield/boss.h"
#include "shell/gamemath.h"

namespace {

// ---- boss 10 ------------------------------------------------------------------

// Four slowing arms of a pinwheel, fired every frame of a burst.
void Pinwheel(BossScriptContext& ctx, int32_t turn) {
  Boss& b = ctx.boss();
  const int32_t d = Level(ctx);
  ctx.PlaySound(0);
  for (int32_t a = 0; a < 360; a += 90) {
    const int32_t slot = ctx.Spawn(160, b.x, b.y, 4.0f, static_cast<float>(turn + a), 10, 0);
    Queue(ctx, slot, 0, {.accel = -0.1f});
    Queue(ctx, slot, 5 * (4 - d), {.accel = 0.0f});
  }
}

// Two pinwheel bursts a 600-frame cycle, turning opposite ways; which of the
// two runs long swaps every cycle.
void Mid0(BossScriptContext& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  const int32_t d = Level(ctx);
  if (f == 120) {
    static constexpr int32_t kTurn[4] = {13, 13, 11, 17};
    b.SetScratchInt(2002, kTurn[d]);
  }
  if (f < 180) return;
  const int32_t c = (f - 180) % 600;
  if (c == 0) {
    const bool firstLong = b.ScratchInt(2000) != 0;
    b.SetScratchInt(2000, firstLong ? 0 : 1);
    b.SetScratchInt(2001, firstLong ? 1 : 0);
  }
  const int32_t turn = b.ScratchInt(2002);
  if (c < 10 * ((d + 3) * b.ScratchInt(2001) + 12)) Pinwheel(ctx, ((f - 120) % 300) * turn);
  if (c == 230) ctx.MoveTowardPlayer(40, 10, 60);
  // The remainder keeps the sign of the dividend, so these arms turn the other way.
  if (c >= 300 && c < 10 * ((d + 3) * b.ScratchInt(2000) + 42))
    Pinwheel(ctx, ((120 - f) % 300) * turn);
  if (c == 530) ctx.MoveTowardPlayer(40, 10, 60);
}

// Easy to Hard: rings whose quarters drift back through the boss while the
// field stands frozen for the last 100 frames of each cycle.
void Mid1Frozen(BossScriptContext& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  const int32_t d = Level(ctx);
  if (f == 120) {
    b.SetScratchInt(2000, Trunc(1.0 + 0.2 * d));
    b.SetScratchInt(2001, 12 * (d + 3));
  }
  if (f < 300) return;
  const int32_t m = f % 300;
  const int32_t size = b.ScratchInt(2001);
  const int32_t quarter = size / 4;
  const double step = size > 0 ? 360.0 / size : 0.0;
  const int32_t speedWord = b.ScratchInt(2000);
  const float speed = static_cast<float>(speedWord);
  if (m == 0) {
    ctx.PlaySound(0);
    ctx.Ring(b.x, b.y, F32(3.0 + 0.4 * d), F32(AimFromBoss(ctx)), d + 3, 12, 0, 20);
    for (int32_t a = 0; a < 360; a += 90) {
      for (int32_t i = 0; i < quarter; ++i) {
        const int32_t slot = ctx.Spawn(160, b.x, b.y, speed, F32(step * i + a), 20, 0);
        if (slot >= 0) ctx.SetAltMotion(slot, 1.0f, static_cast<float>(a + 225));
      }
    }
  }
  if (m == 100) {
    ctx.PlaySound(0);
    for (int32_t a = 0; a < 360; a += 90) {
      for (int32_t i = 0; i < quarter; ++i) {
        for (int32_t corner = 45; corner < 360; corner += 90) {
          const float x = F32(b.x + 100.0 * speedWord * CosDegrees(corner));
          const float y = F32(b.y + 100.0 * speedWord * SinDegrees(corner));
          const int32_t slot = ctx.Spawn(160, x, y, speed, F32(step * i + a), 0, 0);
          if (slot >= 0) ctx.SetAltMotion(slot, 1.0f, static_cast<float>(a + 225));
        }
      }
    }
  }
  if (m == 200) {
    ctx.SetFreeze(true);
    ctx.PlaySound(1);
  }
  // Last of the frame: the rings of a new cycle come out while still frozen.
  if (m == 0) ctx.SetFreeze(false);
}

// Lunatic: fifteen bursts around random points, then the field freezes every
// other 40 frames and each burst drifts back past the boss.
void Mid1Timed(BossScriptContext& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  if (f < 300) return;
  if (f % 7 == 0 && f < 400) {
    ctx.PlaySound(0);
    const int32_t ox = ctx.Rnd(128) - 64;
    b.SetScratchInt(2003, ox);
    const int32_t oy = ctx.Rnd(128) - 64;
    b.SetScratchInt(2004, oy);
    const int32_t back =
        Trunc(FloatAtan2(static_cast<float>(-oy), static_cast<float>(-ox)) / kPi * 180.0);
    b.SetScratchInt(2002, back);
    for (int32_t k = 0; k < 360; k += 10) {
      const int32_t slot = ctx.Spawn(160, b.x + ox, b.y + oy, 4.5f, static_cast<float>(k), 50, 0);
      if (slot >= 0) ctx.SetAltMotion(slot, 2.0f, static_cast<float>(back));
    }
  }
  if (f >= 400 && f % 80 == 40) {
    ctx.SetFreeze(true);
    ctx.PlaySound(1);
  }
  if (f >= 400 && f % 80 == 0) ctx.SetFreeze(false);
}

void Mid1(BossScriptContext& ctx) {
  if (Level(ctx) == 3)
    Mid1Timed(ctx);
  else
    Mid1Frozen(ctx);
}

// ---- boss 11 ------------------------------------------------------------------

// Bouncing curved volleys; attacks 0, 2 and 4 differ only in their bullets.
struct CurveBullet {
  int32_t type;
  int32_t sense;  // +1: turns at +(0.2 + 0.05 d), -1: the other way
};
struct CurveVolley {
  CurveBullet bullets[2];
  int32_t count;
};
constexpr CurveVolley kCurveVolleys[3] = {
    {{{30, +1}, {0, 0}}, 1},
    {{{112, -1}, {0, 0}}, 1},
    {{{113, +1}, {111, -1}}, 2},
};

void CurveAttack(BossScriptContext& ctx, const CurveVolley& volley) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  const int32_t d = Level(ctx);
  if (f < 180) return;
  const int32_t m = f % 180;
  const int32_t n = 5 + d / 2;
  const int32_t step = 360 / n;
  const int32_t length = 10 * (d + 12);
  if (m == 0) {
    b.SetScratchInt(0, Trunc(AimFromBoss(ctx) + step / 2));
    b.poseFrames = length;
  }
  if (m < length && f % 5 == 0) {
    ctx.PlaySound(0);
    const float turn = F32(0.2 + 0.05 * d);
    for (int32_t i = 0; i < n; ++i) {
      const float angle = static_cast<float>(b.ScratchInt(0) + step * i);
      for (int32_t k = 0; k < volley.count; ++k) {
        const CurveBullet& cb = volley.bullets[k];
        const int32_t slot = ctx.Spawn(cb.type, b.x, b.y, F32(2.0 + 0.2 * d), angle, 20, 0);
        Queue(ctx, slot, 0, {.angularSpeed = cb.sense > 0 ? turn : -turn});
        if (slot >= 0) ctx.SetBounce(slot, 3, true, true, true, true);
      }
    }
  }
  if (m == length) ctx.MoveTowardPlayer(40, 10, 10 * (6 - d));
}

void Boss0(BossScriptContext& ctx) { CurveAttack(ctx, kCurveVolleys[0]); }
void Boss2(BossScriptContext& ctx) { CurveAttack(ctx, kCurveVolleys[1]); }
void Boss4(BossScriptContext& ctx) { CurveAttack(ctx, kCurveVolleys[2]); }

// The boss reappears on a familiar that is alive and not on top of the player.
// When none of the candidate slots 0..range qualifies, nothing is drawn and the
// boss comes home instead of redrawing forever.
bool JumpTarget(BossScriptContext& ctx, int32_t slot) {
  if (!ctx.FamiliarActive(slot)) return false;
  const float dx = ctx.PlayerX() - ctx.FamiliarX(slot);
  const float dy = ctx.PlayerY() - ctx.FamiliarY(slot);
  return FloatSqrt(dx * dx + dy * dy) > 64.0f;
}

void Jump(BossScriptContext& ctx, int32_t range) {
  bool any = false;
  for (int32_t s = 0; s <= range && !any; ++s) any = JumpTarget(ctx, s);
  if (!any) {
    ctx.MoveTo(208.0f, 128.0f, 1);
    return;
  }
  int32_t slot;
  do {
    slot = ctx.Rnd(range);
    ctx.boss().SetScratchInt(2011, slot);
  } while (!JumpTarget(ctx, slot));
  ctx.MoveTo(ctx.FamiliarX(slot), ctx.FamiliarY(slot), 1);
}

// Twin curling bullets from `waves` waits and a full circle of directions.
void TwinCurls(BossScriptContext& ctx, float speed, float turn, int32_t waves, int32_t waitStep,
               int32_t angleStep) {
  Boss& b = ctx.boss();
  b.SetScratchInt(2000, Trunc(AimFromBoss(ctx)));
  ctx.PlaySound(0);
  for (int32_t w = 0; w < waves; ++w) {
    for (int32_t e = 0; e < 360; e += angleStep) {
      const float angle = static_cast<float>(b.ScratchInt(2000) + e);
      int32_t slot = ctx.Spawn(30, b.x, b.y, speed, angle, 20, waitStep * w);
      Queue(ctx, slot, 0, {.angularSpeed = turn});
      slot = ctx.Spawn(30, b.x, b.y, speed, angle, 20, waitStep * w);
      Queue(ctx, slot, 0, {.angularSpeed = -turn});
    }
  }
}

struct JumpCycle {
  int32_t length;  // frames a cycle
  int32_t hide;    // m of the move off the field
  int32_t jump;    // m of the jump
  int32_t range;   // familiar slots 0..range are candidates
};

void Boss1(BossScriptContext& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  const int32_t d = Level(ctx);
  if (f < 300) return;
  if (f == 300) {
    if (d < 2) {
      const int32_t y = Trunc(b.y);
      ctx.SpawnFamiliar(13, 112, y, -1, 1.0f, 0, 0);
      ctx.SpawnFamiliar(13, 304, y, -1, 1.0f, 0, 0);
    } else {
      static constexpr int32_t kSpots[5][2] = {{48, 48}, {368, 48}, {48, 432}, {368, 432}, {208, 240}};
      const int32_t param = d >= 3 ? 1 : 0;
      for (const auto& p : kSpots) ctx.SpawnFamiliar(13, p[0], p[1], -1, 1.0f, param, param);
    }
  }
  const JumpCycle cycle = d == 0 ? JumpCycle{300, 200, 250, 1}
                          : d == 1 ? JumpCycle{150, 130, 149, 1}
                                   : JumpCycle{150, 130, 149, 4};
  const int32_t m = f % cycle.length;
  if (m == 0) {
    if (d == 0)
      TwinCurls(ctx, 1.4f, 0.2f, 5, 30, 40);
    else if (d == 1)
      TwinCurls(ctx, 1.4f, 0.2f, 5, 20, 30);
    else
      TwinCurls(ctx, F32(1.4 + 0.3 * d), 0.3f, d + 4, 15, 20);
  }
  if (m == 60 && d >= 1) {
    ctx.PlaySound(0);
    const int32_t rings = d == 1 ? 1 : d;
    for (int32_t k = 0; k < rings; ++k)
      ctx.Ring(b.x, b.y, F32(2.4 + 0.3 * d), F32(AimFromBoss(ctx)), 12 * d, 12, 15 * k, 20);
  }
  if (m == cycle.hide) ctx.MoveTo(-1000.0f, 0.0f, 1);
  if (m == cycle.jump) Jump(ctx, cycle.range);
}

// Half cycles of split pairs and rings; lasers between them on Hard and Lunatic.
void Boss3(BossScriptContext& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  const int32_t d = Level(ctx);
  if (f < 300) return;
  const int32_t m = f % 300;
  const int32_t n = 4 * d + 12;
  const double step = 360.0 / n;
  for (int32_t half = 0; half < 2; ++half) {
    const int32_t start = 150 * half;
    if (m == start) {
      b.poseFrames = 60;
      b.SetScratchInt(1, Trunc(AimFromBoss(ctx)));
    }
    if (m >= start && m < start + 60 && f % 10 == 0) {
      ctx.PlaySound(0);
      const float speed = half == 0 ? 2.0f : F32(2.0 + 0.4 * d);
      for (int32_t i = 0; i < n; ++i) {
        const double phi = i * 360.0 / n;
        int32_t slot = ctx.Spawn(40, b.x, b.y, 5.0f, F32(phi), 20, 0);
        Queue(ctx, slot, 30, {.speed = speed, .angle = F32(phi + 60)});
        slot = ctx.Spawn(40, b.x, b.y, 5.0f, F32(phi), 20, 0);
        Queue(ctx, slot, 30, {.speed = speed, .angle = F32(phi - 60)});
      }
      const float base = half == 0 ? F32(AimFromBoss(ctx)) : static_cast<float>(b.ScratchInt(1));
      ctx.Ring(b.x, b.y, F32(3.2 + 0.6 * d), base, n, 12, 0, 20);
    }
    if (m == start + 80) {
      if (d >= 2) {
        ctx.PlaySound(1);
        for (int32_t i = 0; i < n; ++i)
          ctx.SpawnLaser(b.x, b.y, 5.0f, F32(b.ScratchInt(1) + step * 0.5 + i * 360.0 / n), 10,
                         100, 10, 0, 0);
      }
      ctx.MoveTowardPlayer(40, 10, 60);
    }
  }
}

// One bullet of the spear: type, side radius, side angle offset from the aim,
// delay and wait.
struct SpearPart {
  int32_t type;
  int32_t radius;
  int32_t side;
  int32_t delay;
  int32_t wait;
};
constexpr SpearPart kSpearSides[4] = {
    {19, 60, -160, 60, 0},
    {19, 40, -160, 40, 20},
    {19, 40, -200, 40, 20},
    {19, 60, -200, 60, 0},
};

void Spear(BossScriptContext& ctx) {
  Boss& b = ctx.boss();
  const int32_t d = Level(ctx);
  b.SetScratchInt(2000, Trunc(AimFromBoss(ctx)));
  ctx.PlaySound(0);
  const int32_t w = b.ScratchInt(2000);
  const float speed = static_cast<float>(2 * d + 2);
  const double cw = CosDegrees(w);
  const double sw = SinDegrees(w);
  for (int32_t k = 0; k <= 90; k += 10) {
    for (const SpearPart& p : kSpearSides) {
      const float x = F32(b.x + p.radius * CosDegrees(w + p.side) + k * cw);
      const float y = F32(b.y + p.radius * SinDegrees(w + p.side) + k * sw);
      ctx.Spawn(p.type, x, y, speed, static_cast<float>(w), p.delay, p.wait);
    }
    // The harmless shaft runs down the spear's centre line, k behind the boss
    // along the reversed aim, with no forward offset of its own.
    const float x = F32(b.x + (-k) * CosDegrees(w - 180));
    const float y = F32(b.y + (-k) * SinDegrees(w - 180));
    ctx.Spawn(117, x, y, speed, static_cast<float>(w), 20, 40);
  }
}

void Boss5(BossScriptContext& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  const int32_t d = Level(ctx);
  if (f == 120) {
    b.SetScratchInt(2000, Trunc(AimFromBoss(ctx)));
    b.SetScratchInt(2006, 0);
    b.SetScratchInt(2007, 3);
  }
  if (f < 300) return;
  if (d == 0) {
    if (f % 2 == 0) {
      for (int32_t side = -1; side <= 1; side += 2) {
        const int32_t offset = b.ScratchInt(2006);
        const double angle = AimFromBoss(ctx) + side * (100 + offset);
        const int32_t slot = ctx.Spawn(19, b.x, b.y, 1.6f, F32(angle), 0, 0);
        for (int32_t t = 0; t < 6; ++t) {
          const float turn = (t % 2 == 0) == (side < 0) ? 1.5f : -1.5f;
          Queue(ctx, slot, 60 * t, {.angularSpeed = turn});
        }
      }
    }
    const int32_t offset = b.ScratchInt(2006) + b.ScratchInt(2007);
    b.SetScratchInt(2006, offset);
    if (offset == 30 || offset == -60) b.SetScratchInt(2007, -b.ScratchInt(2007));
    return;
  }
  if (d <= 2) {
    if (f % 90 == 0) {
      for (int32_t i = 0; i <= 8 * d + 23; ++i) {
        const int32_t angleDraw = ctx.Rnd(349);
        const int32_t angle = angleDraw + b.ScratchInt(2000) + 5;
        const int32_t speedDraw = ctx.Rnd(25);
        ctx.Spawn(10, b.x, b.y, F32((speedDraw + 10) / 10.0), static_cast<float>(angle), 0, 0);
      }
      b.SetScratchInt(2000, Trunc(AimFromBoss(ctx)));
    }
    if (f % 30 == 0) Spear(ctx);
    return;
  }
  const int32_t m = f % 600;
  if (m == 0 || m == 300) {
    const int32_t kindBase = m == 0 ? 9 : 11;
    for (int32_t j = 0; j < 18; ++j)
      ctx.SpawnFamiliar(kindBase + j % 2, Trunc(b.x), Trunc(b.y), -1, 0.3f, 0, 20 * j);
  }
  if (m == 200 || m == 500) ctx.MoveTowardPlayer(50, 15, 60);
}

// Sweeping walls of 1,120 bullets from the centre line, and twin spirals.
struct SpiralKind {
  int32_t type;
  float speed;
  float turn;
};

SpiralKind SpiralFor(int32_t d, int32_t flag) {
  if (d < 2) return {30, F32(3.0 + 0.8 * d), 0.5f};
  if (d == 2) return {flag == 0 ? 32 : 30, 5.0f, 1.0f};
  return {flag == 0 ? 30 : 110, 5.0f, 1.0f};
}

void Boss6(BossScriptContext& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  const int32_t d = Level(ctx);
  if (f == 120) {
    static constexpr int32_t kSecondWall[4] = {10, 14, 17, 12};
    b.SetScratchInt(2001, d < 2 ? d : 1);
    b.SetScratchInt(2002, 12);
    b.SetScratchInt(2003, kSecondWall[d]);
  }
  if (f < 300) return;
  if (f < 600) {
    if (f == 300 || f == 440) {
      const int32_t type = b.ScratchInt(f == 300 ? 2002 : 2003);
      const float angle = f == 300 ? 0.0f : 180.0f;
      const int32_t slot = ctx.Spawn(type, b.x, b.y + 64, 0.0f, angle, 60, 0);
      Queue(ctx, slot, 30, {.speed = 8.0f});
    }
    return;
  }
  const int32_t m = f % 300;
  if (m == 0) {
    const int32_t sideDraw = ctx.Rnd(1);
    const int32_t side = 2 * sideDraw - 1;
    b.SetScratchInt(2000, side);
    const float dx = static_cast<float>(b.ScratchInt(2001) == 1 ? -80 * side : 80 * side);
    ctx.MoveBy(dx, 10.0f, 60);
  }
  if (m == 80) {
    ctx.PlaySound(0);
    const int32_t side = b.ScratchInt(2000);
    const int32_t type = b.ScratchInt(side == -1 ? 2002 : 2003);
    const float angle = static_cast<float>((side + 1) * 90);
    for (int32_t w = 0; w <= 95; w += 5)
      for (int32_t y = 16; y < 520; y += 9)
        ctx.Spawn(type, 208.0f, static_cast<float>(y), 8.0f, angle, 80, w);
  }
  if (m == 180) ctx.MoveTo(208.0f, 144.0f, 40);
  if (m == 240) {
    b.poseFrames = 40;
    if (d >= 2) {
      const int32_t flag = ctx.Rnd(1);
      b.SetScratchInt(2001, flag);
    }
  }
  if (m >= 240 && f % 3 == 0) {
    ctx.PlaySound(0);
    const SpiralKind k = SpiralFor(d, b.ScratchInt(2001));
    for (int32_t a = 45; a <= 360; a += 45) {
      int32_t slot = ctx.Spawn(k.type, b.x, b.y, k.speed, static_cast<float>(a), 20, 0);
      Queue(ctx, slot, 0, {.angularSpeed = k.turn});
      slot = ctx.Spawn(k.type, b.x, b.y, k.speed, static_cast<float>(a), 20, 0);
      Queue(ctx, slot, 0, {.angularSpeed = -k.turn});
    }
  }
}

constexpr AttackScriptFn kMidBoss[] = {Mid0, Mid1};
constexpr AttackScriptFn kBoss[] = {Boss0, Boss1, Boss2, Boss3, Boss4, Boss5, Boss6};
}  // namespace

void BossScript10(BossScriptContext& ctx) { RunAttackOf(ctx, kMidBoss, static_cast<int32_t>(std::size(kMidBoss))); }
void BossScript11(BossScriptContext& ctx) { RunAttackOf(ctx, kBoss, static_cast<int32_t>(std::size(kBoss))); }
