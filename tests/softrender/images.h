// Test images for the software renderer tests: owned MEMIMGs, seeded random
// contents, and the draw state set from the reference model's settings.
#pragma once
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "graphics/drawstate.h"
#include "graphics/memimg.h"
#include "softrender/reference.h"

namespace srtest {

struct Image {
  MEMIMG m{};
  Image() = default;
  Image(int w, int h, uint32_t kind, uint32_t palette = 0, uint32_t alpha = 0, int pitch = -1) {
    Create(w, h, kind, palette, alpha, pitch);
  }
  void Create(int w, int h, uint32_t kind, uint32_t palette = 0, uint32_t alpha = 0, int pitch = -1) {
    FreeMemImg(&m);
    m = MEMIMG{};
    CreateMemImg(&m, w, h, pitch, 0, kind, palette, alpha, 0);
    std::memset(m.pixels, 0, static_cast<size_t>(m.pitch) * h);
  }
  Image(const Image&) = delete;
  Image& operator=(const Image&) = delete;
  ~Image() { FreeMemImg(&m); }
  size_t Bytes() const { return static_cast<size_t>(m.pitch) * m.height; }
  std::vector<uint8_t> Snapshot() const { return {m.pixels, m.pixels + Bytes()}; }
  void Restore(const std::vector<uint8_t>& bytes) { std::memcpy(m.pixels, bytes.data(), Bytes()); }
  int Bpp() const { return m.format->bytesPerPixel; }
  uint8_t* At(int x, int y) { return m.pixels + y * m.pitch + x * Bpp(); }
  uint32_t Px32(int x, int y) {
    uint32_t v;
    std::memcpy(&v, At(x, y), 4);
    return v;
  }
  uint32_t Px16(int x, int y) {
    uint16_t v;
    std::memcpy(&v, At(x, y), 2);
    return v;
  }
  void Set32(int x, int y, uint32_t v) { std::memcpy(At(x, y), &v, 4); }
  void Set16(int x, int y, uint32_t v) {
    const uint16_t w = static_cast<uint16_t>(v);
    std::memcpy(At(x, y), &w, 2);
  }
  void Fill(uint32_t v) {
    for (int y = 0; y < m.height; ++y)
      for (int x = 0; x < m.width; ++x) {
        if (Bpp() == 4) Set32(x, y, v);
        else if (Bpp() == 2) Set16(x, y, v);
        else *At(x, y) = static_cast<uint8_t>(v);
      }
  }
};

inline void RandomBytes(std::mt19937& rng, uint8_t* p, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    const uint32_t draw = rng();
    p[i] = static_cast<uint8_t>(draw >> 13);
  }
}

// Makes g_drawState and the weight table match the reference settings.
inline void Apply(const ref::Settings& s) {
  static const bool built = (BuildScaleTables(), true);
  (void)built;
  g_drawState.areaX1 = s.areaX1;
  g_drawState.areaY1 = s.areaY1;
  g_drawState.areaX2 = s.areaX2;
  g_drawState.areaY2 = s.areaY2;
  g_drawState.blendMode = s.mode;
  g_drawState.blendParam = s.param;
  g_drawState.brightWord = 0xFF000000u | static_cast<uint32_t>(s.brightB) |
                           (static_cast<uint32_t>(s.brightG) << 8) |
                           (static_cast<uint32_t>(s.brightR) << 16);
  g_drawState.blendGraphBorder = s.border;
  g_drawState.blendGraphRange = s.range;
  BuildBlendGraphWeightTable(s.border, s.range);
  g_mmxFlag = s.mmx;
}

inline ref::Settings Plain(int w, int h) {
  ref::Settings s;
  s.areaX2 = w;
  s.areaY2 = h;
  return s;
}

}  // namespace srtest
