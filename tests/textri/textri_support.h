// Small helpers of the textured-triangle tests: owned MEMIMGs, pixel access,
// draw-state set-up and a deterministic random source.
#pragma once
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "graphics/drawstate.h"
#include "graphics/memimg.h"
#include "softrender/softrender.h"

namespace textri_test {

struct Image {
  MEMIMG m{};
  Image(int w, int h, uint32_t kind, uint32_t palette = 0, uint32_t alpha = 0) {
    if (CreateMemImg(&m, w, h, -1, 0, kind, palette, alpha, 0) != 0) std::abort();
    std::memset(m.pixels, 0, static_cast<size_t>(m.pitch) * h);
    if (m.palette) std::memset(m.palette, 0, 256 * 4);
  }
  ~Image() { FreeMemImg(&m); }
  Image(const Image&) = delete;
  Image& operator=(const Image&) = delete;
  int bpp() const { return MemImgBytesPerPixel(m.colorKind, m.paletteFlag, m.alphaFlag); }
  uint8_t* at(int x, int y) { return m.pixels + static_cast<intptr_t>(y) * m.pitch + x * bpp(); }
  uint32_t get(int x, int y) {
    uint32_t v = 0;
    std::memcpy(&v, at(x, y), bpp() > 4 ? 4 : bpp());
    return v;
  }
  void set(int x, int y, uint32_t v) { std::memcpy(at(x, y), &v, bpp() > 4 ? 4 : bpp()); }
  void fill(uint32_t v) {
    for (int y = 0; y < m.height; ++y)
      for (int x = 0; x < m.width; ++x) set(x, y, v);
  }
  // Whole-pixel snapshot (for before/after comparisons).
  std::vector<uint32_t> pixels() {
    std::vector<uint32_t> out;
    for (int y = 0; y < m.height; ++y)
      for (int x = 0; x < m.width; ++x) out.push_back(get(x, y));
    return out;
  }
};

// Plain state: whole target as draw area, copy mode, bright off, no graph.
inline void PlainState(int w, int h) {
  BuildScaleTables();
  ResetDrawState(w, h);
  g_drawState.areaX1 = 0;
  g_drawState.areaY1 = 0;
  g_drawState.areaX2 = w;
  g_drawState.areaY2 = h;
  g_drawState.blendMode = 0;
  g_drawState.blendParam = 255;
  g_drawState.brightWord = 0xFFFFFFFF;
}

inline TexturedTriangle Tri(int x0, int y0, int u0, int v0, int x1, int y1, int u1, int v1, int x2,
                            int y2, int u2, int v2) {
  return TexturedTriangle{x0, y0, u0, v0, x1, y1, u1, v1, x2, y2, u2, v2};
}

// xorshift32: reproducible draws for the randomised cases.
struct Rng {
  uint32_t s;
  explicit Rng(uint32_t seed) : s(seed ? seed : 1) {}
  uint32_t next() {
    s ^= s << 13;
    s ^= s >> 17;
    s ^= s << 5;
    return s;
  }
  int range(int lo, int hi) {  // inclusive
    const uint32_t draw = next();
    return lo + static_cast<int>(draw % static_cast<uint32_t>(hi - lo + 1));
  }
};

}  // namespace textri_test
