// Stage 1 route C: the mid-boss (a familiar cross, then lasers from the top
// edge with swinging side lasers) and the stage boss (familiar formations and
// branching laser trees).
#include <initializer_list>

#include "boss/boss_scripts.h"
#include "boss/idioms.h"
#include "boss/script_context.h"

namespace {

constexpr float kDamage = 0.3f;  // every familiar of this route

// Boss 4 scratch words (attack 1).
constexpr int kLaserOffsetWord = 0;  // rnd(384): the main laser starts at x = word + 16
constexpr int kLaserAngleWord = 1;   // the main laser's angle, whole degrees
constexpr int kSideLaserWord = 2;    // the side laser just spawned
// Boss 5 scratch word (attack 3).
constexpr int kTreeBaseWord = 0;     // the wave's random base angle

// Boss 4, attack 0: four familiars in a cross; the boss itself only moves.
void Boss4Attack0(BossScriptContext& ctx) {
  const Boss& boss = ctx.boss();
  const int32_t f = boss.phaseFrame;
  if (f < kNonSpellFrame) return;
  if (f == kNonSpellFrame) {
    const double x = boss.x, y = boss.y;
    FamiliarAt(ctx, 4, x + 50, y, kDamage, 3, 0);
    FamiliarAt(ctx, 4, x, y + 50, kDamage, 3, 0);
    FamiliarAt(ctx, 4, x - 50, y, kDamage, 3, 0);
    FamiliarAt(ctx, 4, x, y - 50, kDamage, 3, 0);
  }
  if (f % 360 == 0) ctx.MoveTowardPlayer(50, 15, 60);
}

// Boss 4, attack 1: every 50 frames a laser from a random point of the top
// edge, beside the player, beside it on the other side, then at it; pairs of
// side lasers sprout along its line and swing away.
void Boss4MainLaser(BossScriptContext& ctx, int32_t f) {
  Boss& boss = ctx.boss();
  ctx.PlaySound(0);
  const int32_t offset = ctx.Rnd(384);
  boss.SetScratchInt(kLaserOffsetWord, offset);
  const int32_t startX = boss.ScratchInt(kLaserOffsetWord) + 16;
  const double toPlayer = Aim(ctx, static_cast<float>(startX), 16.0f);
  const int32_t n = (f / 50) % 3;
  int32_t angle = Trunc(toPlayer);
  if (n == 0) angle = Trunc(toPlayer + 25);
  if (n == 1) angle = Trunc(toPlayer - 25);
  boss.SetScratchInt(kLaserAngleWord, angle);
  ctx.SpawnLaser(static_cast<float>(startX), 16.0f, 8.0f,
                 static_cast<float>(boss.ScratchInt(kLaserAngleWord)), 12, 100, 20, 0, 0);
}

void Boss4SideLasers(BossScriptContext& ctx, int32_t r, int32_t d) {
  Boss& boss = ctx.boss();
  const int32_t startX = boss.ScratchInt(kLaserOffsetWord) + 16;
  const int32_t angle = boss.ScratchInt(kLaserAngleWord);
  const float t = static_cast<float>(RadiansFromDegrees(angle));
  const FieldPoint p = OnCircleRadians(static_cast<float>(startX), 16.0f, r, t);
  const float speed = Scaled(3.0, -0.5, d);
  for (const int32_t side : {+1, -1}) {
    boss.SetScratchInt(kSideLaserWord,
                       ctx.SpawnLaser(static_cast<float>(p.x), static_cast<float>(p.y), speed,
                                      static_cast<float>(angle + 90 * side), 13, 50, 5, 0, 0));
    const int32_t slot = boss.ScratchInt(kSideLaserWord);
    Queue(ctx, slot, 0, {.angularSpeed = -2.0f * static_cast<float>(side)});
    Queue(ctx, slot, 45, {.speed = 1.0f, .angularSpeed = 0.0f});
  }
}

void Boss4Attack1(BossScriptContext& ctx) {
  const int32_t f = ctx.boss().phaseFrame;
  const int32_t d = ctx.Difficulty();
  if (f < kSpellFrame) return;
  if (f % 50 == 0) Boss4MainLaser(ctx, f);
  for (int32_t j = 0; j <= 9; ++j)
    if (f % 50 == 5 * j) Boss4SideLasers(ctx, 40 * j, d);
}

// Boss 5, attack 0: four familiars of kind 4 about the boss with four of
// kind 24 between them.
void Boss5Attack0(BossScriptContext& ctx) {
  const Boss& boss = ctx.boss();
  const int32_t f = boss.phaseFrame;
  if (f < kNonSpellFrame) return;
  if (f == kNonSpellFrame) {
    for (int32_t a = 0; a < 360; a += 90) {
      const FieldPoint p = OnCircle(boss.x, boss.y, 48, a);
      FamiliarAt(ctx, 4, p.x, p.y, kDamage, 3, 0);
      const FieldPoint q = OnCircle(boss.x, boss.y, 48, a + 45);
      FamiliarAt(ctx, 24, q.x, q.y, kDamage, 3, 0);
    }
  }
  if (f % 360 == 0) ctx.MoveTowardPlayer(50, 15, 60);
}

// Boss 5, attack 1: eight familiars once; from Hard a ring of eight and
// moves every 150 frames.
void Boss5Attack1(BossScriptContext& ctx) {
  const Boss& boss = ctx.boss();
  const int32_t f = boss.phaseFrame;
  const int32_t d = ctx.Difficulty();
  if (f < kSpellFrame) return;
  if (d < 2) {
    if (f != kSpellFrame) return;
    const FieldPoint near0 = OnCircleRadians(boss.x, boss.y, 48, 0.0f);
    const FieldPoint near1 = OnCircleRadians(boss.x, boss.y, 48, 3.1415927f);
    const FieldPoint far6 = OnCircleRadians(boss.x, boss.y, 96, 4.712389f);
    const FieldPoint far7 = OnCircleRadians(boss.x, boss.y, 96, 1.5707964f);
    const FieldPoint places[8] = {near0,      near1,      {16, 16}, {400, 16},
                                  {16, 16}, {400, 16}, far6,     far7};
    for (int32_t sub = 0; sub < 8; ++sub)
      FamiliarAt(ctx, 22, places[sub].x, places[sub].y, kDamage, 0, sub);
    return;
  }
  if (f == kSpellFrame) {
    for (int32_t i = 0; i < 8; ++i) {
      const FieldPoint p = OnCircle(boss.x, boss.y, 64, 45 * i);
      FamiliarAt(ctx, 23, p.x, p.y, kDamage, 1, i);
    }
  }
  if (f % 150 == 100) ctx.MoveTowardPlayer(60, 10, 60);
}

// Boss 5, attack 2: two familiar triangles about fixed points and one about
// the boss, pointing the other way.
void Boss5Attack2(BossScriptContext& ctx) {
  const Boss& boss = ctx.boss();
  if (boss.phaseFrame != kNonSpellFrame) return;
  for (const int32_t a : {90, 210, 330}) {
    const FieldPoint right = OnCircle(312.0f, 240.0f, 48, a);
    const FieldPoint left = OnCircle(104.0f, 240.0f, 48, a);
    const int32_t y = Trunc(right.y);
    ctx.SpawnFamiliar(25, Trunc(right.x), y, -1, kDamage, 3, 1);
    ctx.SpawnFamiliar(26, Trunc(left.x), y, -1, kDamage, 3, -1);
    const FieldPoint about = OnCircle(boss.x, boss.y, 48, a + 180);
    FamiliarAt(ctx, 27, about.x, about.y, kDamage, 3, 0);
  }
}

// Boss 5, attack 3: four branching laser trees from a random base angle.
void Boss5Attack3(BossScriptContext& ctx) {
  Boss& boss = ctx.boss();
  const int32_t f = boss.phaseFrame;
  const int32_t d = ctx.Difficulty();
  if (f < kSpellFrame) return;
  if (f % 300 != 0) return;
  ctx.PlaySound(1);
  const int32_t base = ctx.Rnd(359);
  boss.SetScratchInt(kTreeBaseWord, base);
  for (int32_t k = 0; k < 360; k += 90)
    ctx.LaserChain(boss.x, boss.y, static_cast<float>(boss.ScratchInt(kTreeBaseWord) + k), 22,
                   100.0f, 10.0f, 0, 150, d + 4);
}

constexpr AttackScriptFn kBoss4Attacks[] = {Boss4Attack0, Boss4Attack1};
constexpr AttackScriptFn kBoss5Attacks[] = {Boss5Attack0, Boss5Attack1, Boss5Attack2,
                                            Boss5Attack3};

}  // namespace

void BossScript04(BossScriptContext& ctx) { RunAttackOf(ctx, kBoss4Attacks, 2); }
void BossScript05(BossScriptContext& ctx) { RunAttackOf(ctx, kBoss5Attacks, 4); }
