// Final stage: the timed opening card (rings about the field's centre), the
// stage boss's nine attacks and the closing card, which starts the music,
// circles the centre and throws gauge items.
#include <cmath>
#include <initializer_list>

#include "boss/boss_scripts.h"
#include "boss/idioms.h"
#include "boss/script_context.h"
#include "shell/gamemath.h"

namespace {

using Ctx = BossScriptContext;

// The type of the i-th of a row that alternates two types.
int32_t EvenOdd(int32_t i, int32_t even, int32_t odd) { return i % 2 == 0 ? even : odd; }

// --- boss 18: the opening card ----------------------------------------------

// Fewer bullets while much time is left, more as it runs out.
int32_t OpeningRingCount(float secondsLeft, int32_t d) {
  if (secondsLeft < 7.0f) return d + 2;
  if (secondsLeft < 14.0f) return d + 1;
  return d / 2 + 1;
}

void Boss18Survival(Ctx& ctx) {
  const Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  if (f == kAttackStartFrame) ctx.MoveTo(208.0f, 240.0f, 40);
  if (f < kSpellFrame) return;
  if (f == kSpellFrame) ctx.MoveTo(-10000.0f, 0.0f, 1);
  const int32_t count = OpeningRingCount(b.timeLeft, Level(ctx));
  const int32_t base = ctx.Rnd(359);
  const int32_t pace = ctx.Rnd(5);
  ctx.Ring(208.0f, 240.0f, (pace + 5) / 10.0, base, count, 2, 0, 20);
}

// --- boss 19: the stage boss --------------------------------------------------

// A widening ring of points; slow bullets turning together, fast ones back.
void Boss19Petals(Ctx& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  if (f == kAttackStartFrame) b.SetScratchInt(2001, 1);
  if (f < kNonSpellFrame) return;
  const int32_t d = Level(ctx);
  const int32_t m = f % 180;
  if (m == 0) {
    b.SetScratchInt(2000, Trunc(AimFromBoss(ctx)));
    b.SetScratchInt(2001, -b.ScratchInt(2001));
    b.poseFrames = 150;
  }
  if (m < 150 && EveryFrames(f, 2 * (6 - d))) {
    ctx.PlaySound(0);
    const double r = m / 3.0;
    const int32_t aim = b.ScratchInt(2000);
    const int32_t sign = b.ScratchInt(2001);
    for (int32_t i = 0; i < 360; i += 20) {
      const FieldPoint p = OnCircle(b.x, b.y, r, i);
      ctx.Spawn(11, p.x, p.y, 1.0f, aim + 4 * sign * f, 0, 0);
      ctx.Spawn(13, p.x, p.y, d + 3, aim - 4 * sign * f + 187, 0, 0);
    }
  }
  if (m == 150) ctx.MoveTowardPlayer(40, 5, 30);
}

// Resting bullets that each fire one fan 170 frames after they appeared,
// and gapped rings of 72 directions.
void Boss19RestingFans(Ctx& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  if (f < kSpellFrame) return;
  const int32_t d = Level(ctx);
  const int32_t m = f % 300;
  if (m < 90) {
    if (f % 5 == 0) ctx.PlaySound(0);
    const int32_t pace = ctx.Rnd(40) + 20;
    b.SetScratchInt(2000, pace);
    const int32_t angle = ctx.Rnd(139) + 200;
    const int32_t slot = ctx.Spawn(13, b.x, b.y, pace / 10.0, angle, 20, 0);
    b.SetScratchInt(m, slot);
    Queue(ctx, slot, 0, {.accel = static_cast<float>(-pace / 10.0 / 50.0)});
    Queue(ctx, slot, 50, {.accel = 0.0f});
    Queue(ctx, slot, 151, {.x = kOffField});
  }
  if (m == 150) b.poseFrames = 100;
  if (m >= 170 && m < 260) {
    const int32_t slot = b.ScratchInt((f - 170) % 300);
    if (ctx.IsHittable(slot) && ctx.GetType(slot) == 13) {
      if (f % 5 == 0) ctx.PlaySound(0);
      const float sx = ctx.GetX(slot);
      const float sy = ctx.GetY(slot);
      ctx.Fan(sx, sy, 5.0 + 0.6 * d, Aim(ctx, sx, sy), 15 * (6 - d), 3, 63, 0, 0);
    }
  }
  if (m == 260) ctx.MoveTowardPlayer(50, 10, 40);
  if (EveryFrames(f, 10 * (6 - d))) {
    ctx.PlaySound(0);
    const bool evenRing = (f / (10 * (6 - d))) % 2 == 0;
    for (int32_t i = 0; i < 72; ++i) {
      const int32_t j = i % 9;
      if (evenRing ? j >= 5 - d : j < 5 + d) ctx.Spawn(26, b.x, b.y, 2.0 + 0.3 * d, 5 * i, 20, 0);
    }
  }
}

// A six-way spiral that turns one way, then back, speeding up in each third.
void Boss19Spiral(Ctx& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  if (f < kNonSpellFrame) return;
  const int32_t d = Level(ctx);
  const int32_t m = f % 180;
  if (m == 0) {
    b.SetScratchInt(2000, Trunc(AimFromBoss(ctx)));
    b.poseFrames = 60;
  }
  if (m < 120 && EveryFrames(f, 5 - d)) {
    ctx.PlaySound(0);
    const bool outward = m < 60;
    const double speed = (outward ? m : m - 60) / 10.0 + 1.0 + 0.3 * d;
    const int32_t aim = b.ScratchInt(2000);
    for (int32_t j = 0; j < 6; ++j) {
      const int32_t angle = (outward ? aim + f : aim - f) + 60 * j;
      ctx.Spawn(171, b.x, b.y, speed, angle, j == 0 ? 20 : 0, j == 0 ? 0 : 20);
    }
  }
  if (m == 120) ctx.MoveTowardPlayer(60, 10, 40);
}

// Easy and Normal: bouncing fans, a mirrored turning stream, aimed shots.
void Boss19Weave(Ctx& ctx, int32_t d) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  const int32_t m = f % 300;
  if (m == 0) b.poseFrames = 60;
  if (m <= 50 && m % 10 == 0) {
    ctx.PlaySound(0);
    for (int32_t a = 35; a <= 145; a += 10)
      ctx.SetBounce(ctx.Spawn(171, b.x, b.y, d + 4, a, 20, 0), 1, true, true, false, true);
  }
  if (m >= 90) {
    const int32_t t = ctx.FrameCount() % 120;
    const int32_t e = t - 30 < 90 - t ? t - 30 : 90 - t;
    const bool even = f % 2 == 0;
    const int32_t slot = ctx.Spawn(34, b.x, b.y, 2.0f, even ? 6 * e + 90 : 90 - 6 * e, 20, 0);
    Queue(ctx, slot, 0, {.angularSpeed = even ? Scaled(0.2, 0.2, d) : Scaled(-0.2, -0.2, d)});
  }
  if (m >= 150 && m < 270 && EveryFrames(f, 30 * (2 - d))) {
    ctx.PlaySound(0);
    ctx.Spawn(171, b.x, b.y, 2 * d + 6, AimFromBoss(ctx), 20, 0);
  }
  if (f % 60 == 0 && m != 0) ctx.MoveTowardPlayer(40, 5, 60);
}

// Hard and Lunatic: a rain aimed from the top edge and two sources tracing a
// figure-eight about the boss.
void Boss19FigureEight(Ctx& ctx, int32_t d) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  const int32_t m = f % 300;
  if (f == kSpellFrame || m == 270) b.poseFrames = 60;
  if (f >= 600 && m < 200 && EveryFrames(f, 6 - d)) {
    const int32_t px = ctx.Rnd(384) + 16;
    const int32_t spread = ctx.Rnd(14 * d);
    const int32_t pace = ctx.Rnd(30);
    ctx.Spawn(171, px, 16.0f, (pace + 30) / 10.0, Aim(ctx, px, 16.0f) + spread - 7 * d, 0, 0);
  }
  if (m >= 60 && m < 240 && EveryFrames(f, 5 - d)) {
    ctx.PlaySound(0);
    const int32_t k = (2 * m + 60) % 360;
    const double sx = 180.0 * std::sin(RadiansFromDegrees(2 * k));
    const double sy = 50.0 * std::sin(RadiansFromDegrees(3 * k));
    for (const double side : {1.0, -1.0}) {
      const float qx = static_cast<float>(b.x + side * sx);
      const float qy = static_cast<float>(b.y + side * sy);
      ctx.Spawn(171, qx, qy, d + 3, Aim(ctx, qx, qy), 20, 0);
    }
  }
  if (m == 240) ctx.MoveTowardPlayer(40, 10, 30);
}

void Boss19Attack3(Ctx& ctx) {
  if (ctx.boss().phaseFrame < kSpellFrame) return;
  const int32_t d = Level(ctx);
  if (d < 2)
    Boss19Weave(ctx, d);
  else
    Boss19FigureEight(ctx, d);
}

// Two turning four-way rings and aimed triple rings.
void Boss19CrossRings(Ctx& ctx) {
  const Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  if (f < kNonSpellFrame) return;
  const int32_t d = Level(ctx);
  if (f % 10 == 0) {
    ctx.PlaySound(0);
    ctx.Ring(b.x, b.y, 3.0 + 0.5 * d, f * 0.25, 4, 66, 0, 20);
    ctx.Ring(b.x, b.y, 3.0 + 0.5 * d, -f * 0.25, 4, 66, 0, 20);
  }
  if (f % 60 == 0) {
    ctx.PlaySound(0);
    for (int32_t w = 0; w <= 20; w += 10)
      ctx.Ring(b.x, b.y, 2.0 + 0.3 * d, AimFromBoss(ctx), 24 + 4 * d, 11, w, 20);
  }
}

// Easy and Normal: falling groups, a rain of 96 columns that spares the band
// under the boss, aimed shots and fans.
void Boss19Rain(Ctx& ctx, int32_t d) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  if (EveryFrames(f, 4 - d)) {
    const int32_t g = ctx.Rnd(1);
    const int32_t h = ctx.Rnd(1);
    const double x = b.x;
    int32_t first;
    int32_t step = 0;
    if (g == 0 && h == 0) {
      const int32_t r = ctx.Rnd(Trunc(400 - (x + 16)));
      first = Trunc(r + x + 16);
      step = 10;
    } else if (g == 0) {
      first = ctx.Rnd(Trunc(x - 32)) + 16;
      step = -10;
    } else if (h == 0) {
      first = ctx.Rnd(Trunc(x - 40)) + 16;
    } else {
      const int32_t r = ctx.Rnd(Trunc(400 - (x + 24)));
      first = Trunc(r + x + 24);
    }
    b.SetScratchInt(2000, first);
    if (g == 0) b.SetScratchInt(2001, step);
    for (int32_t i = 0; i < 8; ++i) {
      // A row side by side (g 0), or a file on one column showing 2 frames apart.
      const int32_t slot = g == 0 ? ctx.Spawn(16, first + step * i, 16.0f, 5.0f, 90.0f, 0, 0)
                                  : ctx.Spawn(16, first, 16.0f, 5.0f, 90.0f, 0, 2 * i);
      b.SetScratchInt(0, slot);
      ctx.SetColor(slot, 0xC04040);
    }
  }
  const int32_t band = 20 * (3 - d);
  for (int32_t column = 16; column <= 396; column += 4) {
    const int32_t c = ctx.Rnd(19);
    const bool outside = column < static_cast<double>(b.x) - band ||
                         column > static_cast<double>(b.x) + band;
    if (c == 0 && outside) ctx.Spawn(11, column, 16.0f, 5.0f, 90.0f, 0, 0);
  }
  if (f % 200 == 0) {
    ctx.PlaySound(0);
    for (int32_t i = 0; i < 5; ++i) ctx.Spawn(EvenOdd(i, 80, 88), b.x, b.y, i + 5, AimFromBoss(ctx), 0, 0);
    ctx.MoveTowardPlayer(60, 5, 50);
  }
  if (f % 200 == 100) {
    if (d == 1 && f != kSpellFrame) {
      ctx.PlaySound(0);
      for (int32_t i = 0; i < 5; ++i)
        ctx.Fan(b.x, b.y, i + 5, AimFromBoss(ctx), 30.0f, 3, EvenOdd(i, 80, 88), 0, 0);
    }
    ctx.MoveTowardPlayer(-60, 5, 50);
  }
}

// Hard and Lunatic: a slow spiral and rings that burst, halt and set off again.
void Boss19Bursts(Ctx& ctx, int32_t d) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  ctx.Spawn(32, b.x, b.y, 0.1 + 0.2 * d, f, 20, 0);
  if (f > 600 && f % 50 == 0) {
    b.SetScratchInt(2000, Trunc(AimFromBoss(ctx)));
    const int32_t n = 6 * (d + 1);
    for (int32_t i = 0; i < n; ++i) {
      const double angle = b.ScratchInt(2000) + i * 360.0 / n;
      const int32_t slot = ctx.Spawn(6, b.x, b.y, 4.0f, angle, i == 0 ? 20 : 0, i == 0 ? 0 : 20);
      b.SetScratchInt(0, slot);
      Queue(ctx, slot, 0, {.accel = -0.2f});
      Queue(ctx, slot, 20, {.speed = 0.0f, .accel = 0.0f});
      Queue(ctx, slot, 60, {.speed = Scaled(0.0, 0.4, d), .type = 60});
      ctx.SetFacing(slot, false, 0.0f);
    }
  }
}

void Boss19Attack5(Ctx& ctx) {
  const int32_t f = ctx.boss().phaseFrame;
  const int32_t d = Level(ctx);
  if (f == kAttackStartFrame && d >= 2) ctx.MoveTo(208.0f, 240.0f, 60);
  if (f < kSpellFrame) return;
  if (d < 2)
    Boss19Rain(ctx, d);
  else
    Boss19Bursts(ctx, d);
}

// Volleys of two-bullet fans in widening arcs and streams from both sides.
void Boss19Scissors(Ctx& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  if (f < kNonSpellFrame) return;
  const int32_t d = Level(ctx);
  for (int32_t v = 0; v < 3; ++v) {
    if (f % 30 != 10 * v) continue;
    ctx.PlaySound(0);
    const int32_t arc = 30 * (v + 1);
    for (int32_t j = 0; j <= d + 2; ++j)
      for (int32_t q = 0; q < 4; ++q)
        ctx.Fan(b.x, b.y, 3.0f, AimFromBoss(ctx), arc + 90 * q, 2, 39, 5 * j, 20);
  }
  if (f % 120 == 0) b.poseFrames = 60;
  if (f % 120 < 60 && EveryFrames(f, 6 - d)) {
    ctx.PlaySound(0);
    const double speed = (f % 120) / 15.0 + 1.0;
    for (const float side : {-48.0f, 48.0f}) {
      const float sx = b.x + side;
      ctx.Spawn(20, sx, b.y, speed, Aim(ctx, sx, b.y), 20, 0);
    }
  }
  if (f % 120 == 0) ctx.MoveTowardPlayer(40, 10, 60);
}

// Easy and Normal: a wheel of turning lasers and ten aimed rings.
void Boss19LaserWheel(Ctx& ctx, int32_t d) {
  Boss& b = ctx.boss();
  const int32_t m = b.phaseFrame % 240;
  if (m == 60) {
    b.poseFrames = 120;
    ctx.PlaySound(1);
    struct Spoke {
      float speed;
      int32_t side;  // added to the spoke's angle
      float turn;
    };
    static constexpr Spoke kSpokes[4] = {{3.0f, 90, 2.0f}, {3.0f, -90, -2.0f},
                                         {2.0f, 90, -2.0f}, {2.0f, -90, 2.0f}};
    for (int32_t spoke = 0; spoke < 360; spoke += (d == 0 ? 20 : 10)) {
      const FieldPoint p = OnCircle(b.x, b.y, 64.0, spoke);
      for (const Spoke& s : kSpokes) {
        const int32_t slot = ctx.SpawnLaser(p.x, p.y, s.speed, spoke + s.side, 14, 80, 10, 0, 0);
        b.SetScratchInt(0, slot);
        Queue(ctx, slot, 0, {.angularSpeed = s.turn});
        Queue(ctx, slot, 180, {.angularSpeed = 0.0f});
      }
    }
  }
  if (m >= 30 && m <= 57 && (m - 30) % 3 == 0) {
    const int32_t k = (m - 30) / 3;
    ctx.PlaySound(0);
    b.SetScratchInt(2000, Trunc(AimFromBoss(ctx)));
    const int32_t n = 18 * (d + 1);
    for (int32_t i = 0; i < n; ++i)
      ctx.Spawn(13, b.x, b.y, k / 3.0 + 1.0, b.ScratchInt(2000) + i * 360.0 / n, 0, 0);
  }
  if (m == 30) ctx.MoveTowardPlayer(50, 10, 30);
}

// Hard and Lunatic: two familiars from the sides carry the pattern; the boss
// guards itself with a fan while the player is above it.
void Boss19Guard(Ctx& ctx, int32_t d) {
  const Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  if (f % 200 == 100) {
    const int32_t g = ctx.Rnd(1);
    const double first = g == 0 ? -320.0 : 320.0;
    FamiliarAt(ctx, 20, b.x + first, b.y + 128.0, 0.3f, 1, 4 - d);
    FamiliarAt(ctx, 20, b.x - first, b.y + 128.0, 0.3f, 1, d + 3);
  }
  if (f % 200 == 0) ctx.MoveTowardPlayer(60, 20, 40);
  if (b.y > ctx.PlayerY() && f % 2 == 0) ctx.Fan(b.x, b.y, 8.0f, AimFromBoss(ctx), 30.0f, 5, 61, 0, 0);
}

void Boss19Attack7(Ctx& ctx) {
  if (ctx.boss().phaseFrame < kSpellFrame) return;
  const int32_t d = Level(ctx);
  if (d < 2)
    Boss19LaserWheel(ctx, d);
  else
    Boss19Guard(ctx, d);
}

// Four aimed rings (or five) in a row with the given wait step.
void AimedRings(Ctx& ctx, int32_t d, int32_t count, int32_t waitStep) {
  const Boss& b = ctx.boss();
  for (int32_t i = 0; i < count; ++i)
    ctx.Ring(b.x, b.y, 4.0 + 0.5 * d, AimFromBoss(ctx), 24 + 4 * d, 80, waitStep * i, 0);
}

// The last card: big rings, random streams, a double spiral, the sweep across
// the field and the dashes to the walls, on a 900-frame cycle.
void Boss19Finale(Ctx& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  if (f < kSpellFrame) return;
  const int32_t d = Level(ctx);
  const int32_t m = f % 900;
  if (m == 300) {
    ctx.PlaySound(0);
    ctx.Ring(b.x, b.y, d + 3, AimFromBoss(ctx), 48 + 8 * d, 80, 0, 20);
    for (int32_t j = 0; j <= d / 2; ++j) {
      const int32_t w = 10 + 10 * j;
      ctx.Ring(b.x, b.y, d + 3, AimFromBoss(ctx), 48 + 8 * d, 88, w - 5, 20);
      ctx.Ring(b.x, b.y, d + 3, AimFromBoss(ctx), 48 + 8 * d, 80, w, 20);
    }
  }
  if (m == 400) b.poseFrames = 160;
  if (m >= 440 && m <= 585 && m % 5 == 0) {
    const int32_t sx = ctx.Rnd(384) + 16;
    b.SetScratchInt(0, sx);
    const int32_t sy = ctx.Rnd(240) + 16;
    b.SetScratchInt(1, sy);
    const int32_t colour = ctx.Rnd(9);
    b.SetScratchInt(2, colour);
    for (int32_t i = 0; i <= d + 4; ++i) {
      ctx.PlaySound(0);
      ctx.Spawn(80 + colour, sx, sy, 8.0 - 0.5 * i, Aim(ctx, sx, sy), i == 0 ? 40 : 0, i == 0 ? 0 : 40);
    }
  }
  if (m >= 500 && m <= 585 && m % 5 == 0) {
    ctx.PlaySound(0);
    const int32_t type = 60 + (m - 500) / 5 / 3;
    ctx.Ring(b.x, b.y, 2.2 + 0.5 * d, 10 * f, 4 + 4 * d, type, 0, 10);
    ctx.Ring(b.x, b.y, 2.2 + 0.5 * d, -10 * f, 4 + 4 * d, type, 0, 10);
  }
  struct Sweep {
    int32_t at;
    float x, y;
    int32_t frames;
  };
  static constexpr Sweep kSweep[5] = {{590, -600.0f, -80.0f, 60}, {650, 900.0f, 200.0f, 60},
                                      {715, 900.0f, -80.0f, 1},   {720, -600.0f, 200.0f, 60},
                                      {800, 208.0f, 144.0f, 60}};
  for (const Sweep& s : kSweep)
    if (m == s.at) ctx.MoveTo(s.x, s.y, s.frames);
  if (m >= 650 && m < 800 && f % 4 == 0 && b.x > 16.0f && b.x < 400.0f) {
    ctx.PlaySound(0);
    static constexpr int32_t kTypes[3] = {33, 35, 34};
    for (int32_t i = 0; i <= 4 * d + 11; ++i) {
      const int32_t a = f + 10 * i;
      for (int32_t t = 0; t < 3; ++t) {
        const int32_t pace = ctx.Rnd(150);
        ctx.Spawn(kTypes[t], b.x, b.y, (pace + 50) / 100.0, a + 120 * t, 0, 0);
      }
    }
  }
  if (m >= 100 && m <= 220 && m % 40 == 20) {
    const int32_t k = (m - 100) / 40;
    ctx.PlaySound(0);
    const int32_t y = ctx.Rnd(64) + 48;
    ctx.MoveTo(k % 2 == 0 ? 384.0f : 16.0f, y, 20);
    AimedRings(ctx, d, 4, 5);
  }
  if (m == 260) {
    ctx.PlaySound(0);
    ctx.MoveTo(208.0f, 144.0f, 20);
    AimedRings(ctx, d, 5, 10);
  }
}

constexpr AttackScriptFn kBoss19[] = {Boss19Petals,  Boss19RestingFans, Boss19Spiral,
                                      Boss19Attack3, Boss19CrossRings,  Boss19Attack5,
                                      Boss19Scissors, Boss19Attack7,    Boss19Finale};

// --- boss 20: the closing card ------------------------------------------------

// Each bullet of a turning ring turns 150 degrees at `rate` a frame, the stop
// taken from the rate before it is handed on as f32; a rate of 0 queues its
// stop at a frame never reached.
int32_t TurnStopFrame(double rate) { return Trunc(150.0 / std::fabs(rate)); }

void Boss20Closing(Ctx& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  if (f == kAttackStartFrame) b.SetScratchInt(2000, 0);
  if (f < kSpellFrame) return;
  const int32_t d = Level(ctx);
  const float around = static_cast<float>(RadiansFromDegrees(f - 120));
  ctx.PlaceBoss(208.0 + 48.0 * FloatCos(around), 240.0 + 48.0 * FloatSin(around));
  if (f == kSpellFrame) FamiliarAt(ctx, 37, 208 + 48.0 * FloatCos(0.0f), 240 + 48.0 * FloatSin(0.0f), 0.0f, 9, 0);
  if (f < 900 && EveryFrames(f, 2 * (5 - d))) {
    ctx.PlaySound(0);
    ctx.Ring(b.x, b.y, 4.0 + 0.5 * d, f * (0.5 + 0.25 * d), 4, 60, 0, 20);
  }
  if (f >= 1100 && f < 1700 && EveryFrames(f, 20 - 3 * d)) {
    ctx.PlaySound(0);
    for (int32_t a = 0; a < 360; a += 20) {
      const int32_t slot = ctx.Spawn(32, b.x, b.y, 1.0f, a, 20, 0);
      b.SetScratchInt(0, slot);
      Queue(ctx, slot, 0, {.angularSpeed = 1.0f});
      Queue(ctx, slot, 90, {.angularSpeed = 0.0f});
    }
  }
  if (f >= 1900 && f < 2500 && f % 3 == 0) {
    ctx.PlaySound(0);
    ctx.Ring(b.x, b.y, 2.5f, AimFromBoss(ctx), d + 1, 120, 0, 20);
  }
  if (f >= 2700 && EveryFrames(f, 2 * (7 - d))) {
    ctx.PlaySound(0);
    const int32_t t = ctx.FrameCount() % 1200;
    const int32_t v = t - 300 < 900 - t ? t - 300 : 900 - t;
    const double rate = v / (140.0 - 30.0 * d);
    for (int32_t a = 0; a < 360; a += 36) {
      const int32_t slot =
          ctx.Spawn(22, b.x, b.y, 4.5 + 0.5 * d, b.ScratchInt(2000) / 300.0 + a, 20, 0);
      b.SetScratchInt(0, slot);
      Queue(ctx, slot, 0, {.angularSpeed = static_cast<float>(rate)});
      Queue(ctx, slot, TurnStopFrame(rate), {.angularSpeed = 0.0f});
    }
    b.SetScratchInt(2000, b.ScratchInt(2000) - v);
  }
  if (f % 30 == 0) {
    const int32_t angle = ctx.Rnd(179);
    ctx.SpawnItem(208.0f, 240.0f, 7, -3, angle);
  }
}

}  // namespace

// The closing card's track, the stage's third (played once), comes before the
// card's start.
void StartClosingMusic(BossScriptContext& ctx) { ctx.PlayMusic(2); }

void BossScript18(BossScriptContext& ctx) {
  if (ctx.boss().attackIndex == 0) Boss18Survival(ctx);
}
void BossScript19(BossScriptContext& ctx) { RunAttackOf(ctx, kBoss19, 9); }
void BossScript20(BossScriptContext& ctx) {
  if (ctx.boss().attackIndex == 0) Boss20Closing(ctx);
}
