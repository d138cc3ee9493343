// Extra stage boss (id 21): eighteen attacks behind ten health bars. The
// non-spell attacks come in pairs of one shape (rings on a beat, a closing
// stream, a twin stream, a double spiral), the later one of each pair faster;
// the spell cards are gates and crosses, seeds, walls, familiars, walkers,
// laser fans, circles, fireworks and the last spray.
#include <climits>
#include <initializer_list>

#include "boss/boss_scripts.h"
#include "boss/idioms.h"
#include "boss/script_context.h"
#include "shell/gamemath.h"

namespace {

using Ctx = BossScriptContext;

void QueueLaser(Ctx& ctx, int32_t slot, int32_t frame, double x, int32_t lengthGrowth) {
  ctx.QueueLaserChange(slot, frame, static_cast<float>(x), kKeep, kKeep, kKeep, kKeep, kKeep,
                       lengthGrowth);
}

// The sprite turns a degree a frame for as long as the bullet lives.
void Spin(Ctx& ctx, int32_t slot) { ctx.SetSpin(slot, 1.0f, 6000); }

// Scratch words of the non-spell shapes.
constexpr int kWordSpread = 0;  // the stream's half-spread, the twin stream's offset
constexpr int kWordStep = 1;    // how the spread or offset moves each time

// --- the non-spell shapes -------------------------------------------------------

// Rings on a beat, fast and slow alternately, with an aimed pair.
struct RingBeat {
  int32_t period;               // the fast ring at 0, the slow one at half the period
  float fastSpeed, slowSpeed;
  int32_t pairPeriod;           // the aimed pair (with the shot sound)
  float pairSpeed, pairArc;
};

void RunRingBeat(Ctx& ctx, const RingBeat& s) {
  const Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  if (f < kNonSpellFrame) return;
  if (f % s.period == 0) ctx.Ring(b.x, b.y, s.fastSpeed, AimFromBoss(ctx), 36, 12, 0, 20);
  if (f % s.period == s.period / 2) ctx.Ring(b.x, b.y, s.slowSpeed, AimFromBoss(ctx), 36, 11, 0, 20);
  if (f % s.pairPeriod == 0) {
    ctx.PlaySound(0);
    ctx.Fan(b.x, b.y, s.pairSpeed, AimFromBoss(ctx), s.pairArc, 2, 3, 0, 20);
  }
  if (f % 150 == 120) ctx.MoveTowardPlayer(80, 25, 60);
}

// Two streams that close in below the boss and open again, with aimed fans.
struct ClosingStream {
  int32_t type;
  float fanSpeed, wideArc, narrowArc;
  int32_t moveStep, moveRange, moveFrames;
};

void RunClosingStream(Ctx& ctx, const ClosingStream& s) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  if (f == kAttackStartFrame) {
    b.SetScratchInt(kWordSpread, 120);
    b.SetScratchInt(kWordStep, 5);
  }
  if (f < kNonSpellFrame) return;
  const int32_t c = f % 180;
  if (c < 36) {
    ctx.PlaySound(0);
    const int32_t spread = b.ScratchInt(kWordSpread);
    ctx.Spawn(s.type, b.x, b.y, 2.5f, 90 + spread, 0, 0);
    ctx.Spawn(s.type, b.x, b.y, 2.5f, 90 - spread, 0, 0);
    b.SetScratchInt(kWordSpread, spread - b.ScratchInt(kWordStep));
    if (b.ScratchInt(kWordSpread) <= 10) b.SetScratchInt(kWordStep, -b.ScratchInt(kWordStep));
  }
  if (c >= 12 && c <= 72 && f % 12 == 0)
    ctx.Fan(b.x, b.y, s.fanSpeed, AimFromBoss(ctx), s.wideArc, 3, 11, 0, 20);
  if (c >= 12 && c <= 72 && f % 12 == 6)
    ctx.Fan(b.x, b.y, s.fanSpeed, AimFromBoss(ctx), s.narrowArc, 2, 11, 0, 20);
  if (c == 120) {
    ctx.MoveTowardPlayer(s.moveStep, s.moveRange, s.moveFrames);
    b.SetScratchInt(kWordSpread, 120);
    b.SetScratchInt(kWordStep, 5);
  }
}

// Two aimed streams swinging about the aim, their colours swapping each
// beat, and a slow three- or five-way spiral.
struct TwinStream {
  int32_t period;
  float speed;
  int32_t bounces;
  bool top, bottom;      // walls the stream bounces off
  int32_t swingFrom;     // the offset moves while phaseFrame % 180 >= this
  int32_t swingBound;    // the offset turns back at +-this
  int32_t spiralHalfWidth;  // spiral bullets at -w, -w + 5, ..., w degrees
};

void RunTwinStream(Ctx& ctx, const TwinStream& s) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  if (f == kAttackStartFrame) {
    b.SetScratchInt(kWordSpread, 0);
    b.SetScratchInt(kWordStep, 2);
    b.SetScratchInt(2, 152);
    b.SetScratchInt(3, 151);
  }
  if (f < kNonSpellFrame) return;
  if (f % s.period == 0) {
    const int32_t p = (f / s.period) % 2;
    const int32_t offset = b.ScratchInt(kWordSpread);
    const int32_t types[2] = {b.ScratchInt(2 + p), b.ScratchInt(3 - p)};
    for (int32_t side = 0; side < 2; ++side) {
      const double angle = AimFromBoss(ctx) + offset + (side == 0 ? 15 : -15);
      const int32_t slot = ctx.Spawn(types[side], b.x, b.y, s.speed, angle, 20, 0);
      b.SetScratchInt(4, slot);
      ctx.SetBounce(slot, s.bounces, s.top, false, s.bottom, false);
      Spin(ctx, slot);
    }
    if (f % 180 >= s.swingFrom) b.SetScratchInt(kWordSpread, offset + b.ScratchInt(kWordStep));
    const int32_t moved = b.ScratchInt(kWordSpread);
    if (moved <= -s.swingBound || moved >= s.swingBound)
      b.SetScratchInt(kWordStep, -b.ScratchInt(kWordStep));
  }
  if (f % 5 == 0) {
    ctx.PlaySound(0);
    for (int32_t c = -s.spiralHalfWidth; c <= s.spiralHalfWidth; c += 5)
      Spin(ctx, ctx.Spawn(143, b.x, b.y, 1.5f, 7 * f + c, 0, 0));
  }
}

// Two spiral arms mirrored about the downward direction, a pair every frame.
struct DoubleSpiral {
  float speed;
  int32_t turn;              // degrees a frame
  int32_t firstAt, secondAt;  // arm angles: turn * f + firstAt and secondAt - turn * f
};

void RunDoubleSpiral(Ctx& ctx, const DoubleSpiral& s) {
  const Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  if (f < kNonSpellFrame) return;
  if (f % 2 == 0) ctx.PlaySound(0);
  ctx.Spawn(22, b.x, b.y, s.speed, s.turn * f + s.firstAt, 20, 0);
  ctx.Spawn(22, b.x, b.y, s.speed, s.secondAt - s.turn * f, 20, 0);
  if (f % 90 == 0) ctx.MoveTowardPlayer(90, 30, 90);
}

constexpr RingBeat kBeatSlow = {60, 3.0f, 1.5f, 30, 2.25f, 10.0f};
constexpr RingBeat kBeatFast = {40, 4.0f, 1.0f, 40, 2.5f, 20.0f};
constexpr ClosingStream kStreamSlow = {12, 3.5f, 20.0f, 10.0f, 60, 20, 40};
constexpr ClosingStream kStreamFast = {22, 4.5f, 16.0f, 8.0f, 80, 40, 80};
constexpr TwinStream kTwinSlow = {5, 5.0f, 1, false, true, 55, 24, 5};
constexpr TwinStream kTwinFast = {10, 4.0f, 2, true, true, 0, 18, 10};
constexpr DoubleSpiral kSpiralSlow = {1.5f, 8, -1350, 1530};
constexpr DoubleSpiral kSpiralFast = {6.0f, 6, -990, 1170};

void Attack0(Ctx& ctx) { RunRingBeat(ctx, kBeatSlow); }
void Attack2(Ctx& ctx) { RunClosingStream(ctx, kStreamSlow); }
void Attack4(Ctx& ctx) { RunTwinStream(ctx, kTwinSlow); }
void Attack6(Ctx& ctx) { RunDoubleSpiral(ctx, kSpiralSlow); }
void Attack8(Ctx& ctx) { RunRingBeat(ctx, kBeatFast); }
void Attack10(Ctx& ctx) { RunClosingStream(ctx, kStreamFast); }
void Attack12(Ctx& ctx) { RunTwinStream(ctx, kTwinFast); }
void Attack14(Ctx& ctx) { RunDoubleSpiral(ctx, kSpiralFast); }

// --- the spell cards ----------------------------------------------------------------

// Closing laser gates from the bottom edge and spinning crosses.
void Attack1(Ctx& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  if (f < kSpellFrame) return;
  for (int32_t k = 0; k < 5; ++k) {
    if (f % 150 != 30 * k) continue;
    for (const int32_t x : {36 + 40 * k, 380 - 40 * k}) {
      const int32_t slot = ctx.SpawnLaser(x, 496.0f, 0.0f, 270.0f, 22, 1, 64, 0, 0);
      b.SetScratchInt(0, slot);
      QueueLaser(ctx, slot, 0, kKeep, 12);
      QueueLaser(ctx, slot, 24, kKeep, -12);
      QueueLaser(ctx, slot, 48, kOffField, 0);
    }
  }
  if (f % 20 == 0) {
    // The aim and both sums stay in double; their difference is 50, or 49
    // when rounding leaves it just below, and that is the draw's range.
    const double aim = AimFromBoss(ctx);
    const int32_t span = Trunc((aim + 70) - (aim + 20));
    const int32_t r1 = ctx.Rnd(span);
    const int32_t base = Trunc(aim + 20 + r1);
    b.SetScratchInt(100, base);
    const int32_t colour = ctx.Rnd(9);
    b.SetScratchInt(101, colour);
    ctx.PlaySound(0);
    for (int32_t i = 0; i < 4; ++i) {
      const int32_t slot = ctx.Spawn(140 + colour, b.x, b.y, 6.0f, base + 90 * i, 20, 0);
      b.SetScratchInt(0, slot);
      Queue(ctx, slot, 0, {.accel = -0.4f});
      Queue(ctx, slot, 10, {.speed = 2.0f, .accel = 0.0f});
      Spin(ctx, slot);
    }
  }
  if (f % 60 == 0) ctx.MoveTowardPlayer(40, 0, 60);
}

// Eighteen seeds drop still bullets to their sides, which all set off
// together at the cycle's frame 180.
void Attack3(Ctx& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  if (f < kSpellFrame) return;
  const int32_t c = f % 300;
  if (c == 0) {
    const int32_t a = Trunc(AimFromBoss(ctx));
    b.SetScratchInt(2000, a);
    ctx.PlaySound(0);
    for (int32_t i = 0; i < 18; ++i) {
      const int32_t slot = ctx.Spawn(152, b.x, b.y, 3.0f, a + 20 * i, 20, 0);
      b.SetScratchInt(i, slot);
      Spin(ctx, slot);
      ctx.SetEraseProof(slot);
    }
  }
  if (c >= 35 && c < 150 && f % 4 == 0) {
    for (int32_t i = 0; i < 18; ++i) {
      const int32_t seed = b.ScratchInt(i);
      if (!ctx.IsHittable(seed) || ctx.GetType(seed) != 152) continue;
      const int32_t beat = (f / 4) % 2;
      const int32_t p = (f / 300) % 2 == 0 ? beat : (beat + i % 2) % 2;
      const float sx = ctx.GetX(seed);
      const float sy = ctx.GetY(seed);
      const double angle = static_cast<double>(ctx.GetFacing(seed)) - 90 + 180 * p;
      const int32_t slot = ctx.Spawn(143 - 2 * p, sx, sy, 0.0f, angle, 20, 0);
      b.SetScratchInt(2001, slot);
      Queue(ctx, slot, 180 - c, {.speed = 1.5f});
      Spin(ctx, slot);
    }
  }
  if (c == 150) b.poseFrames = 90;
  if (c == 200) ctx.PlaySound(1);
  if (c == 240) ctx.MoveTowardPlayer(60, 5, 40);
}

// Turning four-way rings in changing colours and a wall of 36 aimed bullets.
void Attack5(Ctx& ctx) {
  const Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  if (f < kSpellFrame) return;
  if (f % 10 == 0) {
    ctx.PlaySound(0);
    const int32_t colour = (f / 5) % 10;
    ctx.Ring(b.x, b.y, 2.0f, f, 4, 150 + colour, 0, 20);
    ctx.Ring(b.x, b.y, 2.0f, -f, 4, 150 + colour, 0, 20);
  }
  if (f % 30 == 0) {
    const double aim = AimFromBoss(ctx);
    for (int32_t j = 0; j < 360; j += 10) {
      const FieldPoint p = OnCircle(b.x, b.y, 32.0, j);
      ctx.Spawn(133, p.x, p.y, 4.0f, aim, 20, 0);
    }
  }
}

// A boss-owned familiar at `degrees` on a circle about the boss.
void FamiliarOnCircle(Ctx& ctx, int32_t kind, double radius, double degrees, int32_t param,
                      int32_t subKind) {
  const Boss& b = ctx.boss();
  const FieldPoint p = OnCircle(b.x, b.y, radius, degrees);
  FamiliarAt(ctx, kind, p.x, p.y, 0.3f, param, subKind);
}

// Ten familiars in a random turn about the boss at the field's centre.
void Attack7(Ctx& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  if (f == kAttackStartFrame) ctx.MoveTo(208.0f, 240.0f, 60);
  if (f < kSpellFrame || f % 300 != 0) return;
  b.poseFrames = 60;
  const int32_t r = ctx.Rnd(359);
  b.SetScratchInt(0, r);
  for (int32_t j = 0; j < 360; j += 36) FamiliarOnCircle(ctx, 21, 64.0, r + j, 1, r + j);
}

// One walking volley: go, stop, turn, three times, the last time on a curve.
void WalkerVolley(Ctx& ctx, int32_t a, int32_t type, int32_t offset, int32_t sense, float curve) {
  Boss& b = ctx.boss();
  for (int32_t j = 0; j < 360; j += 20) {
    const int32_t slot = ctx.Spawn(type, b.x, b.y, 3.0f, a + j + offset, 20, 0);
    b.SetScratchInt(0, slot);
    ctx.SetEraseProof(slot);
    Spin(ctx, slot);
    // Go, stop, turn: three legs, the last on a curve.
    for (int32_t leg = 0; leg < 3; ++leg) {
      static constexpr int32_t kTurn[3] = {90, 180, 280};
      const float angle = static_cast<float>(a + j + kTurn[leg] * sense);
      Queue(ctx, slot, 40 + 80 * leg, {.speed = 0.0f});
      Queue(ctx, slot, 80 + 80 * leg,
            {.speed = 3.0f, .angle = angle, .angularSpeed = leg == 2 ? curve : kKeep});
    }
  }
}

void Attack9(Ctx& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  if (f < kSpellFrame) return;
  if (f % 80 == 0) {
    ctx.PlaySound(0);
    const int32_t a = Trunc(AimFromBoss(ctx));
    b.SetScratchInt(2000, a);
    WalkerVolley(ctx, a, 152, 0, 1, 0.5f);
    WalkerVolley(ctx, a, 151, 10, -1, -0.5f);
  }
  if (f % 80 == 40) {
    ctx.PlaySound(0);
    const int32_t a = ctx.Rnd(359);
    b.SetScratchInt(2000, a);
    WalkerVolley(ctx, a, 151, 0, 1, -0.5f);
    WalkerVolley(ctx, a, 152, 10, -1, 0.5f);
  }
}

// Closing pairs of thin lasers, a wide triple laser along the stored aim and
// a spray of fast bullets into the half-turn behind it.
void Attack11(Ctx& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  if (f < kSpellFrame) return;
  const int32_t c = f % 150;
  if (c == 0) {
    b.poseFrames = 100;
    b.SetScratchInt(2000, Trunc(AimFromBoss(ctx)));
  }
  const int32_t a = b.ScratchInt(2000);
  if (c < 50 && c % 5 == 0) {
    const int32_t m = c / 5;
    ctx.PlaySound(1);
    for (const int32_t angle : {a - 120 + 10 * m, a + 120 - 10 * m}) {
      const int32_t slot = ctx.SpawnLaser(b.x, b.y, 0.0f, angle, 20 + m, 500, 30, 30, 0);
      Queue(ctx, slot, 100, {.x = kOffField});
    }
  }
  if (c == 60) {
    ctx.PlaySound(0);
    static constexpr int32_t kBeams[3][2] = {{10, 0}, {11, -5}, {12, 5}};  // type, angle offset
    for (const auto& beam : kBeams) {
      const int32_t slot = ctx.SpawnLaser(b.x, b.y, 0.0f, a + beam[1], beam[0], 500, 200, 60, 0);
      Queue(ctx, slot, 120, {.x = kOffField});
    }
  }
  if (c >= 60 && c <= 119) {
    for (int32_t i = 0; i < 5; ++i) {
      const int32_t spread = ctx.Rnd(120);
      ctx.Spawn(150, b.x, b.y, 8.0f, a + 120 + spread, 0, 0);
    }
  }
}

// A circle of 36 about the boss with x from the sine and y from the cosine;
// `side` +1 or -1 picks the circle's half-turn.
void SineCircle(Ctx& ctx, int32_t type, double side, int32_t base) {
  const Boss& b = ctx.boss();
  for (int32_t j = 0; j < 360; j += 10) {
    const float r = static_cast<float>(RadiansFromDegrees(j));
    const float x = static_cast<float>(b.x + side * 64.0 * FloatSin(r));
    const float y = static_cast<float>(b.y + side * 64.0 * FloatCos(r));
    Spin(ctx, ctx.Spawn(type, x, y, 2.0f, base + j, 20, 0));
  }
}

// Circles every 10 frames, random in turn and colour (never colour 3) and
// fixed ones of colour 3 between them.
void Attack13(Ctx& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  if (f < kSpellFrame || f % 10 != 0) return;
  const int32_t c = f % 40;
  const double side = c < 20 ? 1.0 : -1.0;
  ctx.PlaySound(0);
  if (c % 20 == 0) {
    const int32_t base = ctx.Rnd(359);
    b.SetScratchInt(0, base);
    const int32_t drawn = ctx.Rnd(8);
    const int32_t colour = drawn == 3 ? 9 : drawn;
    b.SetScratchInt(1, colour);
    SineCircle(ctx, 140 + colour, side, base);
  } else {
    b.SetScratchInt(0, 0);
    SineCircle(ctx, 143, side, 0);
  }
}

// Four familiars about the boss make the pattern.
void Attack15(Ctx& ctx) {
  Boss& b = ctx.boss();
  if (b.phaseFrame != kSpellFrame) return;
  b.poseFrames = 90;
  for (int32_t m = 0; m < 4; ++m) FamiliarOnCircle(ctx, 33, 48.0, 90 * m, 5 + m, 10 + m);
}

// A firework: eighteen bullets climb from the bottom edge along `launch` and
// burst into a ring at their frame `burst`; a three-bullet trail follows and
// leaves the field one frame later.
void Firework(Ctx& ctx, int32_t x, int32_t launch, int32_t base, int32_t burst) {
  Boss& b = ctx.boss();
  b.SetScratchInt(2000, x);
  b.SetScratchInt(2001, burst);
  b.SetScratchInt(2002, base);
  for (int32_t j = 0; j < 360; j += 20) {
    const int32_t slot = ctx.Spawn(19, x, 464.0f, 4.0f, launch, 0, 60);
    Queue(ctx, slot, burst, {.angle = static_cast<float>(base + j)});
  }
  static constexpr int32_t kTrail[3][3] = {{29, 60, 0}, {19, 0, 70}, {9, 0, 80}};  // type, delay, wait
  for (const auto& t : kTrail) {
    const int32_t slot = ctx.Spawn(t[0], x, 464.0f, 4.0f, launch, t[1], t[2]);
    Queue(ctx, slot, burst + 1, {.x = kOffField});
  }
}

// The opening display: fireworks in pairs on fixed frames; the k-th pair of a
// row stands at x1 + 48k and x2 - 48k.
struct FireworkShow {
  int32_t first, last;  // frames; a pair every 50 frames, or all four pairs at once
  bool allAtOnce;
  int32_t x1, launch1, x2, launch2;
  bool drawnBase;       // each firework bursts into a ring of random turn
};
constexpr FireworkShow kShow[] = {
    {300, 300, true, 232, 250, 184, 290, false},   {600, 750, false, 40, 290, 376, 250, true},
    {900, 1050, false, 40, 270, 376, 270, false},  {1200, 1350, false, 232, 270, 184, 270, true},
    {1500, 1500, true, 232, 250, 184, 290, false}, {1600, 1600, true, 232, 270, 184, 270, true},
    {1700, 1700, true, 232, 250, 184, 290, false},
};

void FireworkPair(Ctx& ctx, const FireworkShow& s, int32_t k) {
  const int32_t base1 = s.drawnBase ? ctx.Rnd(359) : 0;
  Firework(ctx, s.x1 + 48 * k, s.launch1, base1, 80);
  const int32_t base2 = s.drawnBase ? ctx.Rnd(359) : 0;
  Firework(ctx, s.x2 - 48 * k, s.launch2, base2, 80);
}

void RunFireworkShow(Ctx& ctx, int32_t f) {
  for (const FireworkShow& s : kShow) {
    if (f < s.first || f > s.last || (f - s.first) % 50 != 0) continue;
    ctx.PlaySound(1);
    if (s.allAtOnce)
      for (int32_t k = 0; k < 4; ++k) FireworkPair(ctx, s, k);
    else
      FireworkPair(ctx, s, (f - s.first) / 50);
  }
}

// The timed card: the boss leaves the field; fireworks, then trails closing
// on the player, then random fireworks ever faster, each stage by the time left.
void Attack16(Ctx& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  if (f == kAttackStartFrame) ctx.MoveTo(208.0f, -10000.0f, 1);
  if (f < kSpellFrame) return;
  const float left = b.timeLeft;
  if (left >= 48.0f) {
    RunFireworkShow(ctx, f);
  } else if (left >= 47.0f) {
    // a pause
  } else if (left >= 24.0f) {
    if (f % 60 != 0) return;
    ctx.PlaySound(1);
    for (int32_t k = 0; k < 360; k += 45) {
      const FieldPoint p = OnCircle(ctx.PlayerX(), ctx.PlayerY(), 48.0, k);
      ctx.Spawn(29, p.x, p.y, 4.0f, k + 180, 60, 0);
      ctx.Spawn(19, p.x, p.y, 4.0f, k + 180, 0, 70);
      ctx.Spawn(9, p.x, p.y, 4.0f, k + 180, 0, 80);
    }
  } else if (left < 22.0f) {
    // The interval shrinks with the time left; a time that gives no whole
    // interval fires nothing.
    const int32_t interval = Trunc(static_cast<double>(left) + 10);
    if (interval < 1 || f % interval != 0) return;
    ctx.PlaySound(1);
    const int32_t x = 16 + ctx.Rnd(384);
    const int32_t burst = 70 + ctx.Rnd(30);
    Firework(ctx, x, 270, 0, burst);
  }
}

// The spray's density by the hit points left: the spread level and the
// number of bullets beyond ten.
struct Density {
  int32_t hpFrom;
  int32_t spread, extra;
};
constexpr Density kDensity[] = {{20000, 0, 2}, {15000, 1, 4}, {10000, 1, 6}, {8000, 2, 8},
                                {6000, 2, 10}, {4000, 3, 12}, {2000, 3, 15}, {INT_MIN, 4, 20}};

// The last card: bouncing sprays upward, denser as the boss weakens.
void Attack17(Ctx& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  if (f == 0) ctx.MoveTo(208.0f, 144.0f, 1);
  if (f < kSpellFrame) return;
  if (f == kSpellFrame) b.poseFrames = 6000;
  for (const Density& row : kDensity) {
    if (b.hp < row.hpFrom) continue;
    b.SetScratchInt(2001, row.spread);
    b.SetScratchInt(2002, row.extra);
    break;
  }
  if (b.timeLeft < 30.0f) {
    b.SetScratchInt(2001, 4);
    b.SetScratchInt(2002, 20);
  }
  if (f % 50 != 0) return;
  ctx.PlaySound(0);
  const int32_t centre = 200 + ctx.Rnd(139);
  b.SetScratchInt(2000, centre);
  const int32_t w = b.ScratchInt(2001);
  const int32_t count = 10 + b.ScratchInt(2002);
  for (int32_t i = 0; i < count; ++i) {
    const int32_t spread = ctx.Rnd(10 * w);
    const int32_t pace = ctx.Rnd(200);
    const int32_t slot =
        ctx.Spawn(140 + i % 20, b.x, b.y, (150 + pace) / 100.0, centre - 5 * w + spread, 0, 0);
    ctx.SetBounce(slot, 3, true, true, false, true);
  }
}

constexpr AttackScriptFn kBoss21[] = {Attack0,  Attack1,  Attack2,  Attack3,  Attack4,  Attack5,
                                      Attack6,  Attack7,  Attack8,  Attack9,  Attack10, Attack11,
                                      Attack12, Attack13, Attack14, Attack15, Attack16, Attack17};

}  // namespace

// The extra fight plays at Extra from its first attack's start on.
void TurnPlayToExtra(BossScriptContext& ctx) { ctx.SetDifficulty(4); }

void BossScript21(BossScriptContext& ctx) { RunAttackOf(ctx, kBoss21, 18); }
