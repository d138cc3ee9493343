#include "noise.h"

#include <cmath>

namespace datagen {

uint32_t Hash3(int32_t x, int32_t y, uint32_t seed) {
  uint32_t h = seed * 0x9E3779B9u;
  h ^= static_cast<uint32_t>(x) * 0x85EBCA6Bu;
  h = (h << 13) | (h >> 19);
  h ^= static_cast<uint32_t>(y) * 0xC2B2AE35u;
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  h *= 0x846CA68Bu;
  h ^= h >> 16;
  return h;
}

double HashUnit(int32_t x, int32_t y, uint32_t seed) {
  return (Hash3(x, y, seed) >> 8) / 16777216.0;
}

double PeriodicNoise(double x, double y, int periodX, int periodY, uint32_t seed) {
  const double fx = std::floor(x), fy = std::floor(y);
  const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
  const double tx = x - fx, ty = y - fy;
  auto wrap = [](int v, int p) { return ((v % p) + p) % p; };
  const int x0 = wrap(ix, periodX), x1 = wrap(ix + 1, periodX);
  const int y0 = wrap(iy, periodY), y1 = wrap(iy + 1, periodY);
  const double sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
  const double a = HashUnit(x0, y0, seed), b = HashUnit(x1, y0, seed);
  const double c = HashUnit(x0, y1, seed), d = HashUnit(x1, y1, seed);
  return (a + (b - a) * sx) + ((c + (d - c) * sx) - (a + (b - a) * sx)) * sy;
}

double TileFbm(double px, double py, int w, int h, int baseCellsX, int baseCellsY, int octaves,
               uint32_t seed) {
  double sum = 0.0, amp = 0.5, norm = 0.0;
  int cx = baseCellsX, cy = baseCellsY;
  for (int o = 0; o < octaves; ++o) {
    sum += amp * PeriodicNoise(px * cx / w, py * cy / h, cx, cy, seed + static_cast<uint32_t>(o) * 101u);
    norm += amp;
    amp *= 0.5;
    cx *= 2;
    cy *= 2;
  }
  return sum / norm;
}

}  // namespace datagen
