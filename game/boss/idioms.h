// The small idioms every boss attack script is written in: aiming at the
// player, degree/radian conversion, truncation, points on a circle about the
// boss, difficulty-scaled values, familiars at the boss and the frame tests.
//
// The attack's start (Boss::StartSpell with its row of the attack table at
// phaseFrame 120) is made by RunAttackScript before the boss's script runs,
// so a script never calls StartSpell itself; it only adds what its attack
// does in that same frame and from its start frame on. What must come before
// the start is a step of kBeforeStartSteps (boss/boss_scripts.h).
#pragma once
#include <cstdint>

#include "boss/script_context.h"
#include "playfield/boss.h"

using AttackScriptFn = void (*)(BossScriptContext&);

inline constexpr double kPi = 3.141592653589793;
inline constexpr double kHalfTurn = 180.0;
// The frame at which every attack calls Boss::StartSpell.
inline constexpr int32_t kAttackStartFrame = 120;
// The usual first pattern frame of a non-spell attack and of a spell card
// (120 + the 180-frame cut-in).
inline constexpr int32_t kNonSpellFrame = 180;
inline constexpr int32_t kSpellFrame = 300;

// Bullet::QueueChange values: kKeep leaves a float field as it is, kKeepType
// the type; kTowardPlayer as the angle turns the record toward the player;
// kOffField as x takes it off the field.
inline constexpr float kKeep = -65536.0f;
inline constexpr int32_t kKeepType = -65536;
inline constexpr float kTowardPlayer = -65535.0f;
inline constexpr float kOffField = -1000.0f;

// One queued change, naming only the fields it sets (designated initialisers
// in this order). Named apart from the bullet pool's own BulletChange record.
struct ScriptChange {
  float x = kKeep;
  float y = kKeep;
  float speed = kKeep;
  float accel = kKeep;
  float angle = kKeep;
  float angularSpeed = kKeep;
  int32_t type = kKeepType;
};
// Bullet::QueueChange of `change` on `slot` at the record's frame `frame`.
bool Queue(BossScriptContext& ctx, int32_t slot, int32_t frame, const ScriptChange& change);

inline double DegreesFromRadians(double radians) { return radians / kPi * kHalfTurn; }
inline double RadiansFromDegrees(double degrees) { return degrees / kHalfTurn * kPi; }

// rnd(n): one word w of the game-wide generator, made into the high 32 bits
// of the signed 64-bit product w x (n + 1). For n >= 0 that is 0..n, the
// library's own draw; a negative n gives a value at or below 0 (0 for -1),
// with no assert or clamp. Every context's Rnd draws through this.
int32_t DrawInRange(int32_t n);
// The same from a given word (no draw).
int32_t RangeFromWord(uint32_t word, int32_t n);

// Float to integer toward zero; a value out of range (or NaN) gives INT32_MIN.
int32_t Trunc(double value);

// The angle in degrees from (px, py) to the player (f64, not truncated).
double Aim(BossScriptContext& ctx, float px, float py);
// The angle in degrees from the boss to the player.
double AimFromBoss(BossScriptContext& ctx);

// An f64 value handed on as f32 (speeds and angles worked out in f64).
inline float F32(double v) { return static_cast<float>(v); }
// Cosine and sine of an angle in degrees, through the f32 radians.
double CosDegrees(double degrees);
double SinDegrees(double degrees);

// The main run's difficulty 0-3; anything else is held to its nearest end so
// no interval worked out from it can become zero.
int32_t Level(BossScriptContext& ctx);

// A spawned record (slot 0 or more) still hittable and of sprite type `type`.
bool IsLiveOfType(BossScriptContext& ctx, int32_t slot, int32_t type);

// base + step x difficulty in f64, stored as f32 (speeds and the like).
inline float Scaled(double base, double step, int32_t d) {
  return static_cast<float>(base + step * d);
}

// phaseFrame % period == phase; false for a period below 1.
bool EveryFrames(int32_t phaseFrame, int32_t period, int32_t phase = 0);

// A point on a circle of `radius` about (cx, cy) at `radians` (an f32 angle
// as FloatSin/FloatCos take it), summed in f64: the sine is taken before the
// cosine. Bullet positions hand it on as f32, familiar positions truncate it.
struct FieldPoint {
  double x, y;
};
FieldPoint OnCircleRadians(float cx, float cy, double radius, float radians);
// The same with the angle in degrees (converted in f64, then to f32).
FieldPoint OnCircle(float cx, float cy, double radius, double degrees);

// Maho::Spawn of a familiar owned by the boss (owner -1) at the boss's
// truncated position.
int32_t FamiliarAtBoss(BossScriptContext& ctx, int32_t kind, float damageFactor, int32_t param,
                       int32_t subKind);
// Maho::Spawn of a boss-owned familiar at a float position, truncated.
int32_t FamiliarAt(BossScriptContext& ctx, int32_t kind, double x, double y, float damageFactor,
                   int32_t param, int32_t subKind);

// Runs attacks[attackIndex] when the index is in range.
void RunAttackOf(BossScriptContext& ctx, const AttackScriptFn* attacks, int32_t count);

// The attack start: StartSpell with the attack's row for the boss's id,
// attack index and the difficulty; nothing when the table has no such row.
void StartAttackRow(BossScriptContext& ctx);

// Attack 1 of the stage 1 mid-bosses (ids 0, 2, 4, 6) is a spell card of
// Hard and Lunatic only; below Hard it is skipped.
bool IsSkippedSpell(int32_t bossId, int32_t attack, int32_t difficulty);
