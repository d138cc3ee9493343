// Stage 1 route B: the mid-boss (aimed ring trios, familiars and fans) and
// the stage boss (diagonal dashes, arrow volleys, ring trios and turning
// spiral pairs).
#include "boss/boss_scripts.h"
#include "boss/idioms.h"
#include "boss/script_context.h"

namespace {

// Boss 3 scratch word: attack 3's bullet just spawned.
constexpr int kSpiralWord = 0;

// A centre ring at the aim, and from Normal on two side rings closing in on
// it by 7 degrees a level.
struct RingTrio {
  int32_t period, phaseStep;              // fires when phaseFrame % period == phaseStep x d
  double centreSpeed, centreSpeedStep;    // centre ring speed = base + step x d
  int32_t centreType;
  double sideSpeed, sideSpeedStep;
  int32_t leftType, rightType;
};
constexpr RingTrio kBoss2Trio{24, 4, 2.6, 0.25, 62, 2.0, 0.2, 67, 64};
constexpr RingTrio kBoss3Trio{20, 3, 3.0, 0.25, 66, 1.0, 0.2, 63, 63};

void AimedRingTrio(BossScriptContext& ctx, const RingTrio& trio) {
  const Boss& boss = ctx.boss();
  const int32_t f = boss.phaseFrame;
  const int32_t d = ctx.Difficulty();
  if (f < kNonSpellFrame) return;
  if (EveryFrames(f, trio.period, trio.phaseStep * d)) {
    ctx.Ring(boss.x, boss.y, Scaled(trio.centreSpeed, trio.centreSpeedStep, d),
             static_cast<float>(AimFromBoss(ctx)), 5, trio.centreType, 0, 20);
    if (d != 0) {
      const float side = Scaled(trio.sideSpeed, trio.sideSpeedStep, d);
      ctx.Ring(boss.x, boss.y, side, static_cast<float>(AimFromBoss(ctx) - 30 + 7 * d), 5,
               trio.leftType, 0, 20);
      ctx.Ring(boss.x, boss.y, side, static_cast<float>(AimFromBoss(ctx) + 30 - 7 * d), 5,
               trio.rightType, 0, 20);
    }
    ctx.PlaySound(0);
  }
  if (f % 90 == 0) ctx.MoveTowardPlayer(40, 10, 20);
}

void Boss2Attack0(BossScriptContext& ctx) { AimedRingTrio(ctx, kBoss2Trio); }

// Boss 2, attack 1: pairs of familiars and an aimed fan.
void Boss2Attack1(BossScriptContext& ctx) {
  const Boss& boss = ctx.boss();
  const int32_t f = boss.phaseFrame;
  const int32_t d = ctx.Difficulty();
  if (f < kSpellFrame) return;
  if (f % 600 == 300 || f % 600 == 0) {
    const int32_t first = f % 600 == 300 ? 0 : 2;
    FamiliarAtBoss(ctx, 3, 0.3f, 1, first);
    FamiliarAtBoss(ctx, 3, 0.3f, 1, first + 1);
    ctx.MoveTowardPlayer(30, 10, 30);
  }
  if (f % 200 == 0) {
    ctx.Fan(boss.x, boss.y, Scaled(2.4, 0.3, d), static_cast<float>(AimFromBoss(ctx)), 60, 3, 23,
            0, 20);
    ctx.PlaySound(0);
  }
}

// Boss 3, attack 0: the boss dashes across the field on a 360-frame cycle and
// fires only on its diagonal runs.
struct DashMove {
  int32_t cycleFrame;
  float x, y;
  int32_t frames;
};
constexpr DashMove kDashMoves[] = {
    {180, 464, -48, 20}, {200, -48, 528, 100}, {300, -48, -48, 1},
    {320, 464, 528, 100}, {60, 208, -48, 1},   {80, 208, 143, 40},
};

void Boss3Attack0(BossScriptContext& ctx) {
  const Boss& boss = ctx.boss();
  const int32_t f = boss.phaseFrame;
  const int32_t d = ctx.Difficulty();
  if (f < kNonSpellFrame) return;
  const int32_t c = f % 360;
  for (const DashMove& move : kDashMoves)
    if (c == move.cycleFrame) ctx.MoveTo(move.x, move.y, move.frames);
  const bool diagonal = c < 60 || (c >= 200 && c < 300) || c >= 320;
  if (diagonal && EveryFrames(f, 16 - 5 * d)) {
    ctx.Ring(boss.x, boss.y, Scaled(1.0, 0.2, d), static_cast<float>(AimFromBoss(ctx)), 5, 61, 0,
             10);
    ctx.PlaySound(0);
  }
}

// Boss 3, attack 1: familiars every 150 frames, three aimed arrows every 300.
void Boss3Attack1(BossScriptContext& ctx) {
  Boss& boss = ctx.boss();
  const int32_t f = boss.phaseFrame;
  const int32_t d = ctx.Difficulty();
  if (f < kSpellFrame) return;
  if (f % 150 == 0) {
    boss.poseFrames = 100;
    for (int i = 0; i < 3; ++i) FamiliarAtBoss(ctx, 5, 0.3f, 0, 0);
  }
  if (f % 300 == 0) {
    const float speed = Scaled(2.3, 0.3, d);
    for (int32_t k = 0; k < 360; k += 120) {
      const float a = static_cast<float>(AimFromBoss(ctx) + k);
      ctx.Spawn(11, boss.x, boss.y, speed, a, 20, 0);
      ctx.Fan(boss.x, boss.y, speed, a, 20, 2, 11, 20, 20);
      ctx.Fan(boss.x, boss.y, speed, a, 40, 3, 11, 40, 20);
    }
  }
}

void Boss3Attack2(BossScriptContext& ctx) { AimedRingTrio(ctx, kBoss3Trio); }

// Boss 3, attack 3: spiral pairs whose turning slows in two steps.
struct TurnSet {
  float first, second;  // angular speed from frame 0, then from secondFrame
  int32_t secondFrame, stopFrame;
};
constexpr TurnSet kFastPlus{4, 2, 45, 135};
constexpr TurnSet kFastMinus{-4, -2, 45, 135};
constexpr TurnSet kSlowPlus{2, 1, 90, 270};
constexpr TurnSet kSlowMinus{-2, -1, 90, 270};

// The pair's two angles from phaseFrame f.
enum class PairAngles { Forward, Backward, Quarter };  // (f, f+180), (-f, -180-f), (90-f, -90-f)
struct SpiralPair {
  PairAngles angles;
  const TurnSet* turn;
};
struct SpiralWave {
  int32_t period;
  int32_t pairCount;
  SpiralPair pairs[4];
};
constexpr SpiralWave kSpiralWaves[4] = {
    {10, 1, {{PairAngles::Forward, &kSlowMinus}}},
    {7, 4, {{PairAngles::Backward, &kFastPlus}, {PairAngles::Quarter, &kFastPlus},
            {PairAngles::Quarter, &kSlowPlus}, {PairAngles::Backward, &kSlowPlus}}},
    {6, 4, {{PairAngles::Backward, &kFastPlus}, {PairAngles::Backward, &kFastPlus},
            {PairAngles::Forward, &kSlowMinus}, {PairAngles::Forward, &kSlowMinus}}},
    {5, 4, {{PairAngles::Forward, &kFastMinus}, {PairAngles::Backward, &kFastPlus},
            {PairAngles::Forward, &kSlowMinus}, {PairAngles::Backward, &kSlowPlus}}},
};

void SpiralBullet(BossScriptContext& ctx, int32_t type, int32_t angle, const TurnSet& turn) {
  Boss& boss = ctx.boss();
  boss.SetScratchInt(kSpiralWord,
                     ctx.Spawn(type, boss.x, boss.y, 2.0f, static_cast<float>(angle), 0, 0));
  const int32_t slot = boss.ScratchInt(kSpiralWord);
  Queue(ctx, slot, 0, {.angularSpeed = turn.first});
  Queue(ctx, slot, turn.secondFrame, {.angularSpeed = turn.second});
  Queue(ctx, slot, turn.stopFrame, {.angularSpeed = 0.0f});
}

void Boss3Attack3(BossScriptContext& ctx) {
  Boss& boss = ctx.boss();
  const int32_t f = boss.phaseFrame;
  const int32_t d = ctx.Difficulty();
  if (f < kSpellFrame) return;
  if (f == kSpellFrame) boss.poseFrames = 10000;
  if (d >= 0 && d < 4 && EveryFrames(f, kSpiralWaves[d].period)) {
    const SpiralWave& wave = kSpiralWaves[d];
    for (int i = 0; i < wave.pairCount; ++i) {
      const SpiralPair& pair = wave.pairs[i];
      int32_t first = f, second = f + 180;
      if (pair.angles == PairAngles::Backward) first = -f, second = -180 - f;
      if (pair.angles == PairAngles::Quarter) first = 90 - f, second = -90 - f;
      SpiralBullet(ctx, 10, first, *pair.turn);
      SpiralBullet(ctx, 12, second, *pair.turn);
    }
  }
  if (EveryFrames(f, 30 * (10 - d))) {
    ctx.Fan(boss.x, boss.y, Scaled(2.5, 0.3, d), static_cast<float>(AimFromBoss(ctx)), 120,
            2 * d + 3, 29, 0, 20);
    ctx.PlaySound(0);
  }
}

constexpr AttackScriptFn kBoss2Attacks[] = {Boss2Attack0, Boss2Attack1};
constexpr AttackScriptFn kBoss3Attacks[] = {Boss3Attack0, Boss3Attack1, Boss3Attack2,
                                            Boss3Attack3};

}  // namespace

void BossScript02(BossScriptContext& ctx) { RunAttackOf(ctx, kBoss2Attacks, 2); }
void BossScript03(BossScriptContext& ctx) { RunAttackOf(ctx, kBoss3Attacks, 4); }
