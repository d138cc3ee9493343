// Stage 1 route A: the mid-boss (rings and aimed familiars) and the stage
// boss (aimed arms of growing fans, turning quads with followers, a circling
// trio, and a bullet tree of four generations).
#include "boss/boss_scripts.h"
#include "boss/idioms.h"
#include "boss/script_context.h"

namespace {

constexpr int32_t kRingType = 72;

// Boss 1 scratch words.
constexpr int kAimWord = 0;            // attack 0: the wave's aim, whole degrees
constexpr int kLastShotWord = 0;       // attack 1 below Hard: the last bullet
constexpr int kQuadWord = 0;           // attack 1 from Hard: words 0-3, the four turning bullets
constexpr int kFollowerWord = 16;      // attack 1: the last follower
constexpr int kQuadBaseWord = 17;      // attack 1: the wave's random base angle
constexpr int kTurnSignWord = 18;      // attack 1: +1 or -1, negated before each wave
constexpr int kFirstGenWord = 0;       // attack 3: words 0-3
constexpr int kSecondGenWord = 8;      // attack 3: 8 + 4m + j
constexpr int kThirdGenWord = 32;      // attack 3: 32 + 5(3m + k) + n, words 32-91
constexpr int kFourthGenWord = 256;    // attack 3: the last fourth-generation bullet
constexpr int kFourthTypeWord = 1000;  // attack 3: type of the fourth generation

// 0 - v without overflow (the words hold +-1, but a word is only a word).
int32_t Negated(int32_t v) { return static_cast<int32_t>(0u - static_cast<uint32_t>(v)); }

// Boss 0, attack 0: rings turning with the frame counter.
void Boss0Attack0(BossScriptContext& ctx) {
  const Boss& boss = ctx.boss();
  const int32_t f = boss.phaseFrame;
  const int32_t d = ctx.Difficulty();
  if (f < kNonSpellFrame) return;
  if (f % 180 == 179) ctx.MoveTowardPlayer(30, 20, 50);
  if (EveryFrames(f, (10 - d) * 4)) {
    ctx.PlaySound(0);
    ctx.Ring(boss.x, boss.y, Scaled(1.7, 0.2, d), static_cast<float>(f), d + 5, kRingType, 0, 30);
  }
}

// Boss 0, attack 1: familiars aimed beside the player and from the top corners.
void Boss0Attack1(BossScriptContext& ctx) {
  const int32_t f = ctx.boss().phaseFrame;
  if (f < kSpellFrame) return;
  const float damage = 0.3f;
  if (f % 300 == 0) {
    FamiliarAtBoss(ctx, 2, damage, 2, Trunc(AimFromBoss(ctx) - 30));
    FamiliarAtBoss(ctx, 2, damage, 2, Trunc(AimFromBoss(ctx) + 30));
    ctx.MoveTowardPlayer(30, 10, 50);
  }
  if (f % 300 == 100) {
    ctx.SpawnFamiliar(2, 16, 48, -1, damage, 2, 0);
    ctx.SpawnFamiliar(2, 400, 48, -1, damage, 2, 180);
  }
  if (f % 300 == 200) {
    ctx.SpawnFamiliar(2, 400, 48, -1, damage, 2, 180);
    ctx.SpawnFamiliar(2, 16, 48, -1, damage, 2, 0);
  }
}

// Boss 1, attack 0: arms of fans around the aim whose rows appear one by one.
void Boss1Attack0(BossScriptContext& ctx) {
  Boss& boss = ctx.boss();
  const int32_t f = boss.phaseFrame;
  const int32_t d = ctx.Difficulty();
  if (f < kNonSpellFrame) return;
  if (f % 180 != 0) return;
  boss.SetScratchInt(kAimWord, Trunc(AimFromBoss(ctx)));
  ctx.MoveTowardPlayer(30, 20, 50);
  ctx.PlaySound(0);
  const int32_t h = d / 2;
  const float speed = Scaled(2.0, 0.3, d);
  const float x = boss.x, y = boss.y;
  for (int32_t i = 0; i <= h + 2; ++i) {
    const float a = static_cast<float>(boss.ScratchInt(kAimWord) + 30 * (4 - h) * i);
    if (d == 2) ctx.Fan(x, y, 2.6f, a, 90, 5, kRingType, 60, 20);
    if (d == 3) {
      ctx.Fan(x, y, 2.9f, a, 90, 5, kRingType, 60, 20);
      ctx.Fan(x, y, speed, a, 120, 7, kRingType, 80, 20);
    }
    ctx.Fan(x, y, speed, a, 60, 3, kRingType, 40, 20);
    ctx.Fan(x, y, speed, a, 30, 2, kRingType, 20, 20);
    ctx.Spawn(kRingType, x, y, speed, a, 20, 0);
  }
}

// Boss 1, attack 1 below Hard: a stream of bullets that stop, swerve a
// little and fall again.
void Boss1Attack1Stream(BossScriptContext& ctx, int32_t f, int32_t d) {
  Boss& boss = ctx.boss();
  if (f % 5 != 0) return;
  ctx.PlaySound(0);
  const int32_t n = (d + 1) / 2 + 3;
  for (int32_t j = 0; j < n; ++j) {
    const int32_t pick = ctx.Rnd(1);
    const int32_t type = 12 + 5 * pick;
    const float angle = static_cast<float>(5 * f - j * (360 / n));
    boss.SetScratchInt(kLastShotWord, ctx.Spawn(type, boss.x, boss.y, 5.0f, angle, 20, 0));
    const int32_t slot = boss.ScratchInt(kLastShotWord);
    const int32_t swerve = ctx.Rnd(10);
    const float turned = static_cast<float>(static_cast<double>(ctx.GetFacing(slot)) + swerve - 5);
    Queue(ctx, slot, 10, {.speed = 0.0f, .accel = 0.03f, .angle = turned});
    Queue(ctx, slot, 60, {.speed = Scaled(1.6, 0.4, d)});
  }
}

// Boss 1, attack 1 from Hard: four turning bullets that leave followers.
void Boss1Attack1Quads(BossScriptContext& ctx, int32_t f, int32_t d) {
  Boss& boss = ctx.boss();
  if (f % 300 == 0) {
    ctx.PlaySound(0);
    const int32_t base = ctx.Rnd(359);
    boss.SetScratchInt(kQuadBaseWord, base);
    boss.SetScratchInt(kTurnSignWord, Negated(boss.ScratchInt(kTurnSignWord)));
    for (int32_t k = 0; k < 360; k += 90) {
      const float angle = static_cast<float>(boss.ScratchInt(kQuadBaseWord) + k);
      const int word = kQuadWord + k / 90;
      boss.SetScratchInt(word, ctx.Spawn(kRingType, boss.x, boss.y, 3.4f, angle, 20, 0));
      const float turn = static_cast<float>(boss.ScratchInt(kTurnSignWord) * 0.7);
      Queue(ctx, boss.ScratchInt(word), 0, {.angularSpeed = turn});
    }
  }
  if (EveryFrames(f, (5 - d) * 5)) {
    for (int word = kQuadWord; word < kQuadWord + 4; ++word) {
      const int32_t lead = boss.ScratchInt(word);
      if (!ctx.IsHittable(lead) || ctx.GetType(lead) != kRingType) continue;
      boss.SetScratchInt(kFollowerWord,
                         ctx.Spawn(132, ctx.GetX(lead), ctx.GetY(lead), 0.0f, 90.0f, 60, 0));
      const int32_t follower = boss.ScratchInt(kFollowerWord);
      Queue(ctx, follower, 120, {.speed = -2.0f, .accel = 0.05f, .type = 12});
      Queue(ctx, follower, 200, {.speed = 2.0f, .accel = 0.0f});
    }
  }
  if (f % 300 == 220) ctx.MoveTowardPlayer(40, 10, 40);
}

void Boss1Attack1(BossScriptContext& ctx) {
  Boss& boss = ctx.boss();
  const int32_t f = boss.phaseFrame;
  const int32_t d = ctx.Difficulty();
  if (f == kAttackStartFrame) boss.SetScratchInt(kTurnSignWord, 1);
  if (f < kSpellFrame) return;
  if (d < 2)
    Boss1Attack1Stream(ctx, f, d);
  else
    Boss1Attack1Quads(ctx, f, d);
}

// Boss 1, attack 2: three bullets at a time from a turning circle about the boss.
void Boss1Attack2(BossScriptContext& ctx) {
  const Boss& boss = ctx.boss();
  const int32_t f = boss.phaseFrame;
  const int32_t d = ctx.Difficulty();
  if (f < kNonSpellFrame) return;
  if (f % 90 == 0) ctx.MoveTowardPlayer(30, 10, 30);
  if (f % 12 != 2 * d) return;
  ctx.PlaySound(0);
  for (int32_t k = 0; k <= 120; k += 60) {
    const int32_t b = 2 * (k - f);
    const FieldPoint p = OnCircle(boss.x, boss.y, 40.0, b);
    ctx.Spawn(kRingType, static_cast<float>(p.x), static_cast<float>(p.y), Scaled(3.2, 0.3, d),
              static_cast<float>(b + 120), 30, 0);
  }
}

// Boss 1, attack 3: every bullet of a generation that is still there when
// it is 32 frames old branches into the next; the first three leave the
// field at their frame 33.
constexpr ScriptChange kLeaveAt33{.x = kOffField, .y = 0.0f};

// A parent branches while it is on the field and still of its generation's type.
bool CanBranch(BossScriptContext& ctx, int32_t parent, int32_t parentType) {
  return ctx.IsHittable(parent) && ctx.GetType(parent) == parentType;
}

// One child of `parent`, turned by `turn` degrees from the parent's facing.
int32_t Branch(BossScriptContext& ctx, int32_t parent, int32_t type, float speed, double turn) {
  const float angle = static_cast<float>(static_cast<double>(ctx.GetFacing(parent)) + turn);
  return ctx.Spawn(type, ctx.GetX(parent), ctx.GetY(parent), speed, angle, 0, 0);
}

void Boss1Attack3(BossScriptContext& ctx) {
  Boss& boss = ctx.boss();
  const int32_t f = boss.phaseFrame;
  const int32_t d = ctx.Difficulty();
  if (f == kAttackStartFrame) boss.SetScratchInt(kFourthTypeWord, d < 2 ? 0 : 50);
  if (f < kSpellFrame) return;
  const int32_t m = f % 300;
  if (m == 0) {
    ctx.PlaySound(0);
    for (int32_t a = 0; a < 360; a += 90) {
      const int word = kFirstGenWord + a / 90;
      boss.SetScratchInt(word, ctx.Spawn(70, boss.x, boss.y, 2.0f, static_cast<float>(a), 20, 0));
      Queue(ctx, boss.ScratchInt(word), 33, kLeaveAt33);
    }
  }
  if (m == 52) {
    ctx.PlaySound(1);
    for (int p = 0; p < 4; ++p) {
      const int32_t parent = boss.ScratchInt(kFirstGenWord + p);
      for (int j = 0; j < 3; ++j) {
        if (!CanBranch(ctx, parent, 70)) continue;
        const int word = kSecondGenWord + 4 * p + j;
        boss.SetScratchInt(word, Branch(ctx, parent, 20, 2.0f, 135 + 45 * j));
        Queue(ctx, boss.ScratchInt(word), 33, kLeaveAt33);
      }
    }
  }
  if (m == 84) {
    ctx.PlaySound(1);
    for (int p = 0; p < 4; ++p) {
      for (int k = 0; k < 3; ++k) {
        const int32_t parent = boss.ScratchInt(kSecondGenWord + 4 * p + k);
        for (int n = 0; n < 5; ++n) {
          if (!CanBranch(ctx, parent, 20)) continue;
          const int word = kThirdGenWord + 5 * (3 * p + k) + n;
          boss.SetScratchInt(word, Branch(ctx, parent, 10, 2.0f, 90 + 45 * n));
          Queue(ctx, boss.ScratchInt(word), 33, kLeaveAt33);
        }
      }
    }
  }
  if (m == 116) {
    ctx.PlaySound(1);
    const bool narrow = f % 600 == 116;
    for (int word = kThirdGenWord; word < kThirdGenWord + 60; ++word) {
      const int32_t parent = boss.ScratchInt(word);
      if (!CanBranch(ctx, parent, 10)) continue;
      for (int32_t c = 0; c <= 2 * d; ++c) {
        const int32_t turn = narrow ? 10 * (18 - d) + 10 * c : 20 * (9 - d) + 20 * c;
        boss.SetScratchInt(kFourthGenWord, Branch(ctx, parent, boss.ScratchInt(kFourthTypeWord),
                                                  Scaled(1.5, 0.3, d), turn));
      }
    }
  }
  if (m == 220) ctx.MoveTowardPlayer(60, 10, 50);
}

constexpr AttackScriptFn kBoss0Attacks[] = {Boss0Attack0, Boss0Attack1};
constexpr AttackScriptFn kBoss1Attacks[] = {Boss1Attack0, Boss1Attack1, Boss1Attack2,
                                            Boss1Attack3};

}  // namespace

void BossScript00(BossScriptContext& ctx) { RunAttackOf(ctx, kBoss0Attacks, 2); }
void BossScript01(BossScriptContext& ctx) { RunAttackOf(ctx, kBoss1Attacks, 4); }
