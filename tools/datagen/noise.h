// Deterministic hashing and tileable value noise for the generated textures:
// a texture built from periodic noise wraps without a seam.
#pragma once

#include <cstdint>
#include <vector>

namespace datagen {

// 32-bit integer hash (no global state, same value on every run).
uint32_t Hash3(int32_t x, int32_t y, uint32_t seed);
// Uniform value in [0, 1) from a hash of (x, y, seed).
double HashUnit(int32_t x, int32_t y, uint32_t seed);

// Value noise on a lattice that repeats every periodX x periodY cells; x and y in cell units.
double PeriodicNoise(double x, double y, int periodX, int periodY, uint32_t seed);
// Fractal sum of periodic noise: the picture of width w and height h tiles seamlessly.
// baseCells lattice cells across w at the first octave; result roughly in [0, 1].
double TileFbm(double px, double py, int w, int h, int baseCellsX, int baseCellsY, int octaves,
               uint32_t seed);

// TileFbm for many samples of one picture: the lattices of every octave are
// hashed once when the field is made. At gives exactly TileFbm's value.
class NoiseField {
 public:
  NoiseField(int w, int h, int baseCellsX, int baseCellsY, int octaves, uint32_t seed);
  double At(double px, double py) const;

 private:
  struct Octave {
    int cellsX, cellsY;
    double amp;
    std::vector<double> values;
  };
  int w_, h_;
  double norm_ = 0.0;
  std::vector<Octave> octaves_;
};

}  // namespace datagen
