// Shared idioms of the boss attack scripts.
#include "boss/idioms.h"

#include "boss/attack_table.h"
#include "library/tesra.h"
#include "shell/gamemath.h"

int32_t RangeFromWord(uint32_t word, int32_t n) {
  const int64_t product = static_cast<int64_t>(word) * (static_cast<int64_t>(n) + 1);
  return static_cast<int32_t>(product >> 32);
}

int32_t DrawInRange(int32_t n) {
  // A maximum of 2^32 - 1 hands back the generator's word itself.
  const uint32_t word = static_cast<uint32_t>(ApiRandomInRange(0xFFFFFFFFu));
  return RangeFromWord(word, n);
}

int32_t Trunc(double value) { return DoubleToIntTrunc(value); }

double CosDegrees(double degrees) { return FloatCos(F32(RadiansFromDegrees(degrees))); }
double SinDegrees(double degrees) { return FloatSin(F32(RadiansFromDegrees(degrees))); }

int32_t Level(BossScriptContext& ctx) {
  const int32_t d = ctx.Difficulty();
  return d < 0 ? 0 : d > 3 ? 3 : d;
}

double Aim(BossScriptContext& ctx, float px, float py) {
  const float dy = ctx.PlayerY() - py;
  const float dx = ctx.PlayerX() - px;
  return DegreesFromRadians(static_cast<double>(FloatAtan2(dy, dx)));
}

double AimFromBoss(BossScriptContext& ctx) {
  const Boss& boss = ctx.boss();
  return Aim(ctx, boss.x, boss.y);
}

bool IsLiveOfType(BossScriptContext& ctx, int32_t slot, int32_t type) {
  return slot >= 0 && ctx.IsHittable(slot) && ctx.GetType(slot) == type;
}

bool Queue(BossScriptContext& ctx, int32_t slot, int32_t frame, const ScriptChange& c) {
  return ctx.QueueChange(slot, frame, c.x, c.y, c.speed, c.accel, c.angle, c.angularSpeed, c.type);
}

bool EveryFrames(int32_t phaseFrame, int32_t period, int32_t phase) {
  return period > 0 && phaseFrame % period == phase;
}

FieldPoint OnCircleRadians(float cx, float cy, double radius, float radians) {
  const float s = FloatSin(radians);
  const float c = FloatCos(radians);
  return {cx + radius * c, cy + radius * s};
}

FieldPoint OnCircle(float cx, float cy, double radius, double degrees) {
  return OnCircleRadians(cx, cy, radius, static_cast<float>(RadiansFromDegrees(degrees)));
}

int32_t FamiliarAtBoss(BossScriptContext& ctx, int32_t kind, float damageFactor, int32_t param,
                       int32_t subKind) {
  const Boss& boss = ctx.boss();
  return ctx.SpawnFamiliar(kind, Trunc(boss.x), Trunc(boss.y), -1, damageFactor, param, subKind);
}

int32_t FamiliarAt(BossScriptContext& ctx, int32_t kind, double x, double y, float damageFactor,
                   int32_t param, int32_t subKind) {
  return ctx.SpawnFamiliar(kind, Trunc(x), Trunc(y), -1, damageFactor, param, subKind);
}

void RunAttackOf(BossScriptContext& ctx, const AttackScriptFn* attacks, int32_t count) {
  const int32_t index = ctx.boss().attackIndex;
  if (index >= 0 && index < count && attacks[index]) attacks[index](ctx);
}

void StartAttackRow(BossScriptContext& ctx) {
  const Boss& boss = ctx.boss();
  const int32_t d = ctx.Difficulty();
  const AttackRow* row = FindAttackRow(boss.id, boss.attackIndex, d);
  if (row) ctx.StartSpell(row->SpellId(d), row->hp, row->seconds, row->bonus);
}

bool IsSkippedSpell(int32_t bossId, int32_t attack, int32_t difficulty) {
  const bool midBoss = bossId == 0 || bossId == 2 || bossId == 4 || bossId == 6;
  return midBoss && attack == 1 && difficulty < 2;
}
