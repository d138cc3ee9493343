#include "noise.h"

#include <cmath>
#include <memory>
#include <vector>

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

namespace {

// The lattice values of one (period, seed), hashed once and kept: the pictures
// ask for the same few lattices for every pixel.
struct Lattice {
  int periodX, periodY;
  uint32_t seed;
  std::vector<double> values;
};

const Lattice& GetLattice(int periodX, int periodY, uint32_t seed) {
  static std::vector<std::unique_ptr<Lattice>> cache;
  for (const auto& l : cache)
    if (l->periodX == periodX && l->periodY == periodY && l->seed == seed) return *l;
  if (cache.size() >= 32) cache.erase(cache.begin());
  auto l = std::make_unique<Lattice>();
  l->periodX = periodX;
  l->periodY = periodY;
  l->seed = seed;
  l->values.resize(static_cast<size_t>(periodX) * periodY);
  for (int y = 0; y < periodY; ++y)
    for (int x = 0; x < periodX; ++x) l->values[static_cast<size_t>(y) * periodX + x] = HashUnit(x, y, seed);
  cache.push_back(std::move(l));
  return *cache.back();
}

}  // namespace

double PeriodicNoise(double x, double y, int periodX, int periodY, uint32_t seed) {
  if (periodX <= 0 || periodY <= 0) return 0.0;
  const Lattice& lat = GetLattice(periodX, periodY, seed);
  const double fx = std::floor(x), fy = std::floor(y);
  const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
  const double tx = x - fx, ty = y - fy;
  auto wrap = [](int v, int p) { return ((v % p) + p) % p; };
  const int x0 = wrap(ix, periodX), x1 = wrap(ix + 1, periodX);
  const int y0 = wrap(iy, periodY), y1 = wrap(iy + 1, periodY);
  const double sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
  const double a = lat.values[static_cast<size_t>(y0) * periodX + x0], b = lat.values[static_cast<size_t>(y0) * periodX + x1];
  const double c = lat.values[static_cast<size_t>(y1) * periodX + x0], d = lat.values[static_cast<size_t>(y1) * periodX + x1];
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

NoiseField::NoiseField(int w, int h, int baseCellsX, int baseCellsY, int octaves, uint32_t seed)
    : w_(w), h_(h) {
  double amp = 0.5;
  int cx = baseCellsX, cy = baseCellsY;
  for (int o = 0; o < octaves; ++o) {
    Octave oct{cx, cy, amp, std::vector<double>(static_cast<size_t>(cx) * cy)};
    const uint32_t s = seed + static_cast<uint32_t>(o) * 101u;
    for (int y = 0; y < cy; ++y)
      for (int x = 0; x < cx; ++x) oct.values[static_cast<size_t>(y) * cx + x] = HashUnit(x, y, s);
    octaves_.push_back(std::move(oct));
    norm_ += amp;
    amp *= 0.5;
    cx *= 2;
    cy *= 2;
  }
}

double NoiseField::At(double px, double py) const {
  double sum = 0.0;
  for (const Octave& o : octaves_) {
    const double x = px * o.cellsX / w_, y = py * o.cellsY / h_;
    const double fx = std::floor(x), fy = std::floor(y);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    const double tx = x - fx, ty = y - fy;
    const int x0 = ((ix % o.cellsX) + o.cellsX) % o.cellsX, x1 = (((ix + 1) % o.cellsX) + o.cellsX) % o.cellsX;
    const int y0 = ((iy % o.cellsY) + o.cellsY) % o.cellsY, y1 = (((iy + 1) % o.cellsY) + o.cellsY) % o.cellsY;
    const double sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
    const double a = o.values[static_cast<size_t>(y0) * o.cellsX + x0], b = o.values[static_cast<size_t>(y0) * o.cellsX + x1];
    const double c = o.values[static_cast<size_t>(y1) * o.cellsX + x0], d = o.values[static_cast<size_t>(y1) * o.cellsX + x1];
    sum += o.amp * ((a + (b - a) * sx) + ((c + (d - c) * sx) - (a + (b - a) * sx)) * sy);
  }
  return norm_ > 0 ? sum / norm_ : 0.0;
}

}  // namespace datagen
