// Stage 1 route D: five-pointed stars drawn point by point out of resting
// bullets (a large one and a small inverted one) that then break apart, and
// clusters of turning rings.
#include <initializer_list>

#include "boss/boss_scripts.h"
#include "boss/idioms.h"
#include "boss/script_context.h"

namespace {

// One stroke of a star: 12 points (sx + k stepX, sy + k stepY) from the boss,
// each spawned facing angle + k x angleStep.
struct StarStroke {
  double sx, sy;
  double stepX, stepY;
  int32_t angle, angleStep;
};
constexpr StarStroke kLargeStar[5] = {
    {0, -70, -3.83, 11.91, 108, 10},   {-46, 70, 10.16, -7.33, 324, 10},
    {76, -18, -12.75, 0, 180, 10},     {-76, -18, 10.16, 7.33, 36, 10},
    {46, 70, -3.83, -11.91, 252, 10},
};
// Point down; its steps are its own, not halves of the large star's.
constexpr StarStroke kSmallStar[5] = {
    {0, 35, 1.91, -5.95, 288, -10},  {23, -35, -5.8, 3.66, 144, -10},
    {-38, 9, 6.87, 0, 0, -10},       {38, 9, -5.8, -3.66, 216, -10},
    {-23, -35, 1.91, 5.95, 72, -10},
};

struct StarPoint {
  float x, y;     // where the bullet rests
  float angle;    // its spawn angle
};

// Point k (0-11) of stroke s (0-4), from the boss's position now.
StarPoint StarPointAt(const Boss& boss, const StarStroke (&star)[5], int32_t s, int32_t k) {
  const StarStroke& st = star[s];
  return {static_cast<float>(boss.x + st.sx + k * st.stepX),
          static_cast<float>(boss.y + st.sy + k * st.stepY),
          static_cast<float>(st.angle + k * st.angleStep)};
}

// A star bullet rests where it is drawn: speed 0, delay 30.
int32_t RestingBullet(BossScriptContext& ctx, int32_t type, const StarPoint& p) {
  return ctx.Spawn(type, p.x, p.y, 0.0f, p.angle, 30, 0);
}

// Boss 6 scratch word (attack 0): the cycle's aim, whole degrees.
constexpr int kCycleAimWord = 0;
// Boss 7 scratch words (attack 3).
constexpr int kExitAngleWord = 0;   // the star bullets' exit angle, whole degrees
constexpr int kSmallAngleWord = 1;  // the small star's spawn angle (Hard, Lunatic)

// Boss 6, attack 0: in three of every four 150-frame cycles both stars are
// drawn with n bullets a point that burst into n stars flying apart.
void Boss6Attack0(BossScriptContext& ctx) {
  Boss& boss = ctx.boss();
  const int32_t f = boss.phaseFrame;
  const int32_t d = ctx.Difficulty();
  if (f < kSpellFrame) return;
  if (f % 150 == 0) {
    boss.SetScratchInt(kCycleAimWord, Trunc(AimFromBoss(ctx)));
    boss.poseFrames = 100;
    ctx.PlaySound(0);
  }
  if (f % 600 == 0) ctx.MoveTowardPlayer(30, 10, 50);
  if (f % 600 < 150) return;
  const int32_t m = f % 150;
  const int32_t n = d + 3;
  const int32_t aim = boss.ScratchInt(kCycleAimWord);
  if (m < 60) {
    const StarPoint p = StarPointAt(boss, kLargeStar, m / 12, m % 12);
    for (int32_t i = 0; i < n; ++i) {
      const int32_t slot = RestingBullet(ctx, 12, p);
      Queue(ctx, slot, 120 - m,
            {.speed = Scaled(2.0, 0.3, d), .angle = static_cast<float>(aim + i * 360.0 / n)});
    }
  }
  if (d >= 2 && m >= 60 && m < 120 && f % 2 == 0) {
    const StarPoint p = StarPointAt(boss, kSmallStar, (m - 60) / 12, (m - 60) % 12);
    for (int32_t i = 0; i < n; ++i) {
      const int32_t slot = RestingBullet(ctx, 10, p);
      Queue(ctx, slot, 120 - m,
            {.speed = Scaled(1.0, 0.2, d), .angle = static_cast<float>(aim + 18 + i * 360.0 / n)});
    }
  }
}

// Boss 6, attack 1: both stars glide apart in n copies, halt together, and
// every bullet then leaves by its place in its stroke.
void Boss6StarBullet(BossScriptContext& ctx, int32_t type, const StarPoint& p, int32_t m,
                     int32_t k, double speed, double angle, int32_t d) {
  const int32_t slot = RestingBullet(ctx, type, p);
  Queue(ctx, slot, 120 - m,
        {.speed = static_cast<float>(speed),
         .accel = static_cast<float>(-speed / 110.0),
         .angle = static_cast<float>(angle)});
  Queue(ctx, slot, 210 - m, {.speed = 0.0f, .accel = 0.0f});
  Queue(ctx, slot, 240 - m,
        {.speed = static_cast<float>(k / 6.0 + 0.35 + 0.3 * (d - 2)),
         .angle = static_cast<float>(30 * k)});
}

void Boss6Attack1(BossScriptContext& ctx) {
  const Boss& boss = ctx.boss();
  const int32_t f = boss.phaseFrame;
  const int32_t d = ctx.Difficulty();
  if (f < kSpellFrame) return;
  const int32_t m = f % 300;
  const int32_t n = 4 * d - 4;
  if (m == 0) ctx.PlaySound(0);
  if (m < 60) {
    const int32_t k = m % 12;
    const StarPoint p = StarPointAt(boss, kLargeStar, m / 12, k);
    for (int32_t i = 0; i < n; ++i)
      Boss6StarBullet(ctx, 12, p, m, k, 2.0 + 0.3 * d, 45 * (4 - d) * i, d);
  }
  if (m >= 60 && m < 120 && f % 2 == 0) {
    const int32_t k = (m - 60) % 12;
    const StarPoint p = StarPointAt(boss, kSmallStar, (m - 60) / 12, k);
    for (int32_t i = 0; i < n; ++i)
      Boss6StarBullet(ctx, 10, p, m, k, 1.0 + 0.2 * d, 45 * (4 - d) * i + 18, d);
  }
}

// Boss 7, attacks 0 and 2: clusters of d + 4 rings, 2 degrees apart, every
// 15 frames; attack 0's halves turn opposite ways, attack 2's the same way.
void RingClusters(BossScriptContext& ctx, double speed, double speedStep, bool oppositeHalves) {
  const Boss& boss = ctx.boss();
  const int32_t f = boss.phaseFrame;
  const int32_t d = ctx.Difficulty();
  if (f < kNonSpellFrame) return;
  const int32_t q = f / 10;
  const float v = Scaled(speed, speedStep, d);
  if (f % 30 == 0) {
    ctx.PlaySound(0);
    for (int32_t j = 0; j <= d + 3; ++j)
      ctx.Ring(boss.x, boss.y, v, static_cast<float>(f + q + 2 * j), d + 4, 52, 0, 30);
  }
  if (f % 30 == 15) {
    ctx.PlaySound(0);
    for (int32_t j = 0; j <= d + 3; ++j) {
      const int32_t base = oppositeHalves ? -f - q - (8 + 2 * j) : f + q + 2 * j;
      ctx.Ring(boss.x, boss.y, v, static_cast<float>(base), d + 4, 50, 0, 30);
    }
  }
}

void Boss7Attack0(BossScriptContext& ctx) { RingClusters(ctx, 1.8, 0.2, true); }
void Boss7Attack2(BossScriptContext& ctx) { RingClusters(ctx, 1.5, 0.15, false); }

// Boss 7, attack 1: the familiars carry the whole pattern.
void Boss7Attack1(BossScriptContext& ctx) {
  Boss& boss = ctx.boss();
  const int32_t f = boss.phaseFrame;
  const int32_t d = ctx.Difficulty();
  if (f < kSpellFrame) return;
  const int32_t m = f % 300;
  if (d < 2) {
    if (m == 60) {
      ctx.PlaySound(0);
      boss.poseFrames = 60;
    }
    if (m > 60 && m < 120) FamiliarAtBoss(ctx, 0, 0.3f, 0, 0);
    if (m == 150) ctx.MoveTowardPlayer(25, 30, 50);
    return;
  }
  if (m == 60) {
    ctx.PlaySound(0);
    boss.poseFrames = 70;
  }
  if (f % 20 == 0) {
    const int32_t drop = ctx.Rnd(384);
    ctx.SpawnFamiliar(1, drop + 16, 16, -1, 0.3f, 0, 0);
  }
}

// Boss 7, attack 3: the large star (and from Hard the small one inside it)
// redrawn every 60 frames; each finished stroke leaves in one direction.
void Boss7Attack3(BossScriptContext& ctx) {
  Boss& boss = ctx.boss();
  const int32_t f = boss.phaseFrame;
  const int32_t d = ctx.Difficulty();
  if (f < kSpellFrame) return;
  const int32_t m = f % 60;
  const int32_t stroke = m / 12;
  const int32_t k = m % 12;
  const int32_t p = f / 6;
  if (f % 150 == 0) {
    boss.SetScratchInt(kExitAngleWord, 0);
    boss.poseFrames = 160;
    ctx.PlaySound(0);
  }
  const bool small = d >= 2;
  if (f % 12 == 0) {
    if (!small) {
      const int32_t r = (p + 6 * (f % (30 * (2 - d)))) % (180 * (2 - d));
      boss.SetScratchInt(kExitAngleWord, Trunc(AimFromBoss(ctx) + r - 90));
    } else {
      const int32_t r = (p + 6 * (f % 30)) % 180;
      boss.SetScratchInt(kExitAngleWord, Trunc(AimFromBoss(ctx) + r - 90));
      // The dividend is often negative; its remainder keeps the sign.
      const int32_t rs = (6 * (f % 60) - p) % 360;
      boss.SetScratchInt(kSmallAngleWord, Trunc(AimFromBoss(ctx) + rs - 90));
    }
  }
  const float exit = static_cast<float>(boss.ScratchInt(kExitAngleWord));
  StarPoint large = StarPointAt(boss, kLargeStar, stroke, k);
  large.angle = exit;
  const int32_t bullet = RestingBullet(ctx, small ? 62 : 42, large);
  Queue(ctx, bullet, 80, {.speed = Scaled(2.0, 0.3, d), .angle = exit});
  if (small) {
    StarPoint inner = StarPointAt(boss, kSmallStar, stroke, k);
    inner.angle = static_cast<float>(boss.ScratchInt(kSmallAngleWord));
    const int32_t slot = RestingBullet(ctx, 0, inner);
    Queue(ctx, slot, 80, {.speed = Scaled(1.0, 0.2, d), .angle = exit});
  }
}

constexpr AttackScriptFn kBoss6Attacks[] = {Boss6Attack0, Boss6Attack1};
constexpr AttackScriptFn kBoss7Attacks[] = {Boss7Attack0, Boss7Attack1, Boss7Attack2,
                                            Boss7Attack3};

}  // namespace

void BossScript06(BossScriptContext& ctx) { RunAttackOf(ctx, kBoss6Attacks, 2); }
void BossScript07(BossScriptContext& ctx) { RunAttackOf(ctx, kBoss7Attacks, 4); }
