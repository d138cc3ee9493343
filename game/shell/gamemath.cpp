// Math wrappers, hit tests and number digit splitting (no library calls).
#include "shell/gamemath.h"

#include <cmath>

float FloatAtan2(float y, float x) {
  return static_cast<float>(std::atan2(static_cast<double>(y), static_cast<double>(x)));
}
float FloatCos(float angle) { return static_cast<float>(std::cos(static_cast<double>(angle))); }
float FloatSin(float angle) { return static_cast<float>(std::sin(static_cast<double>(angle))); }
float FloatSqrt(float value) { return static_cast<float>(std::sqrt(static_cast<double>(value))); }

bool HitTestCircles(int32_t r1, int32_t r2, float x1, float y1, float x2, float y2) {
  int32_t sum = r1 + r2;
  int32_t s = static_cast<int32_t>(static_cast<uint32_t>(sum) * static_cast<uint32_t>(sum));
  double dx = static_cast<double>(x2) - static_cast<double>(x1);
  double dy = static_cast<double>(y2) - static_cast<double>(y1);
  double d = dx * dx + dy * dy;
  return static_cast<double>(s) > d;
}

bool HitTestLaser(float px, float py, int32_t r, float lx, float ly, float angleDegrees,
                  float length, float width) {
  const double pi = 3.141592653589793;
  float a = static_cast<float>(static_cast<double>(angleDegrees) / 180.0 * pi);
  float vx = static_cast<float>(static_cast<double>(FloatCos(a)) * static_cast<double>(length));
  float vy = static_cast<float>(static_cast<double>(FloatSin(a)) * static_cast<double>(length));
  double dxo = static_cast<double>(lx) - static_cast<double>(px);
  double dyo = static_cast<double>(ly) - static_cast<double>(py);
  double num = dxo * vx + dyo * vy;
  double den = static_cast<double>(vx) * vx + static_cast<double>(vy) * vy;
  float u = static_cast<float>(-num / den);
  // NaN (a laser of length 0) takes neither clamp and never hits.
  if (u < 0.0f) u = 0.0f;
  if (u > 1.0f) u = 1.0f;
  double ex = static_cast<double>(lx) + static_cast<double>(u) * vx - static_cast<double>(px);
  double ey = static_cast<double>(ly) + static_cast<double>(u) * vy - static_cast<double>(py);
  double big_r = static_cast<double>(width) * 0.5 + r;
  return big_r * big_r > ex * ex + ey * ey;
}

int NumberDigits(int32_t digits, uint32_t value, uint8_t* out) {
  if (digits <= 0) return 0;
  if (digits > 10) digits = 10;
  uint32_t p = 1;
  for (int32_t i = 1; i < digits; ++i) p *= 10u;
  // The largest value the places can show; anything above shows as nines.
  uint64_t limit = static_cast<uint64_t>(p) * 10u - 1u;
  if (value > limit) value = static_cast<uint32_t>(limit);
  for (int32_t i = 0; i < digits; ++i) {
    uint32_t d = value / p;
    out[i] = static_cast<uint8_t>(d);
    value -= d * p;
    p /= 10u;
  }
  return digits;
}

int SmallNumberDigits(int32_t digits, int32_t value, uint8_t* out) {
  return NumberDigits(digits, value < 0 ? 0u : static_cast<uint32_t>(value), out);
}
