// Shared helpers of the enemy and familiar scripts: frame tests, intervals,
// angles in degrees, aiming, sounds and the field bounds.
#pragma once
#include <cmath>
#include <cstdint>

#include "library/tesra.h"
#include "shell/gamemath.h"
#include "shell/gamestate.h"
#include "shell/sound.h"

namespace script {

constexpr double kPi = 3.14159265358979323846;

// An interval that a difficulty would push to 0 or below fires every frame.
inline int32_t Interval(int32_t n) { return n < 1 ? 1 : n; }
// f mod n = 0, with the interval guarded.
inline bool Every(int32_t f, int32_t n) { return f % Interval(n) == 0; }

// One draw of 0..n from the shared generator.
inline int32_t Random(int32_t n) { return ApiRandomInRange(static_cast<uint32_t>(n)); }

inline float Rad(float degrees) {
  return static_cast<float>(static_cast<double>(degrees) * kPi / 180.0);
}
inline float Deg(float radians) {
  return static_cast<float>(static_cast<double>(radians) * 180.0 / kPi);
}
inline float CosDeg(float degrees) { return FloatCos(Rad(degrees)); }
inline float SinDeg(float degrees) { return FloatSin(Rad(degrees)); }
// Direction from (x1, y1) to (x2, y2) in degrees.
inline float Direction(float x1, float y1, float x2, float y2) {
  return Deg(FloatAtan2(y2 - y1, x2 - x1));
}

// A sound effect, when the sound object exists.
inline void PlaySe(GameState& state, int effect) {
  if (state.sound != nullptr) state.sound->Play(effect);
}

// Difficulty 0-4 (anything else counts as Lunatic).
inline int32_t Difficulty(const GameState& state) {
  return state.difficulty <= 4 ? static_cast<int32_t>(state.difficulty) : 3;
}

// Positions that are not finite count as off the field.
inline bool OffField(float x, float y) {
  if (!std::isfinite(x) || !std::isfinite(y)) return true;
  return x <= -48.0f || y <= -48.0f || x >= 464.0f || y >= 464.0f;
}

// Float to int toward zero; values that do not fit (or are not numbers) give 0.
inline int32_t Trunc(float v) {
  if (!(v > -2147483648.0f && v < 2147483648.0f)) return 0;
  return static_cast<int32_t>(v);
}
inline int32_t Trunc(double v) {
  if (!(v > -2147483648.0 && v < 2147483648.0)) return 0;
  return static_cast<int32_t>(v);
}

}  // namespace script
