// Fuzzes the polygon rasteriser with hostile vertices (NaN, infinities, huge
// and tiny values, every depth and rhw), every blend mode, variant flag and
// texture kind, and the depth clip; aborts when a pixel or depth entry outside
// the draw area changes. Sanitizers catch the rest (and unbounded nesting).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

#include "graphics/drawstate.h"
#include "graphics/memimg.h"
#include "softrender/softrender.h"

namespace {

struct Reader {
  const uint8_t* data;
  size_t size;
  size_t pos = 0;
  uint8_t Byte() { return pos < size ? data[pos++] : 0; }
  uint32_t Word() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(Byte()) << (8 * i);
    return v;
  }
  // Mostly values in a useful range, sometimes any bit pattern or a special.
  float Real(float lo, float hi) {
    const uint8_t how = Byte();
    if (how < 200) return lo + (hi - lo) * static_cast<float>(Word() & 0xFFFFFF) / 16777216.0f;
    if (how < 230) {
      const float specials[] = {0.0f, -0.0f, 1.0f, -1.0f, 1e-30f, 1e30f, -1e30f,
                                std::numeric_limits<float>::infinity(),
                                -std::numeric_limits<float>::infinity(),
                                std::numeric_limits<float>::quiet_NaN()};
      return specials[Byte() % 10];
    }
    const uint32_t bits = Word();
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
  }
};

struct Owned {
  MEMIMG m;
  Owned() { std::memset(&m, 0, sizeof m); }
  ~Owned() { FreeMemImg(&m); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Reader in{data, size};
  BuildScaleTables();
  const uint32_t kind = in.Byte() & 1;  // 0 = 16-bit, 1 = 32-bit
  const int w = 1 + in.Byte() % 48, h = 1 + in.Byte() % 48;
  ResetDrawState(w, h);
  Owned target, depth, texture, graph;
  if (CreateMemImg(&target.m, w, h, -1, 0, kind, 0, 0, 0) != 0) return 0;
  if (CreateMemImg(&depth.m, w, h, -1, 0, ColorKind16, 0, 0, 0) != 0) return 0;
  std::memset(target.m.pixels, 0x5A, static_cast<size_t>(target.m.pitch) * h);
  std::memset(depth.m.pixels, 0xFF, static_cast<size_t>(depth.m.pitch) * h);

  const uint8_t texKind = in.Byte() % 4;  // palette, direct, direct with alpha, none
  const int tw = 1 + in.Byte() % 32, th = 1 + in.Byte() % 32;
  if (CreateMemImg(&texture.m, tw, th, -1, in.Word(), kind, texKind == 0, texKind == 2, 0) != 0)
    return 0;
  for (size_t i = 0; i < static_cast<size_t>(texture.m.pitch) * th; ++i)
    texture.m.pixels[i] = in.Byte();
  if (texture.m.palette)
    for (int i = 0; i < 1024; ++i) texture.m.palette[i] = in.Byte();
  const int gw = in.Byte() % 40, gh = in.Byte() % 40;
  if (CreateMemImg(&graph.m, gw, gh, -1, 0, ColorKind8, 0, 0, 0) != 0) return 0;
  for (size_t i = 0; i < static_cast<size_t>(graph.m.pitch) * gh; ++i) graph.m.pixels[i] = in.Byte();
  BuildBlendGraphWeightTable(in.Byte(), in.Byte());

  // Draw area: anything, even partly outside the target.
  g_drawState.areaX1 = static_cast<int8_t>(in.Byte());
  g_drawState.areaY1 = static_cast<int8_t>(in.Byte());
  g_drawState.areaX2 = static_cast<int8_t>(in.Byte());
  g_drawState.areaY2 = static_cast<int8_t>(in.Byte());
  g_drawState.blendMode = in.Byte() % 7;
  g_drawState.blendParam = in.Byte();
  g_drawState.brightWord = in.Word();

  const std::vector<uint8_t> targetBefore(target.m.pixels,
                                          target.m.pixels + static_cast<size_t>(target.m.pitch) * h);
  const std::vector<uint8_t> depthBefore(depth.m.pixels,
                                         depth.m.pixels + static_cast<size_t>(depth.m.pitch) * h);
  for (int n = 0; n < 4 && in.pos < in.size; ++n) {
    RasterVertex tri[3];
    for (auto& v : tri) {
      v.x = in.Real(-20.0f, 70.0f);
      v.y = in.Real(-20.0f, 70.0f);
      v.z = in.Real(-1.5f, 2.5f);
      v.rhw = in.Real(-1.0f, 8.0f);
      v.color = in.Word();
      v.u = in.Real(-0.5f, 1.5f);
      v.v = in.Real(-0.5f, 1.5f);
    }
    const uint8_t flags = in.Byte();
    MemImgRasterizeTriangle(&target.m, (flags & 1) ? &depth.m : nullptr,
                            texKind == 3 ? nullptr : &texture.m, tri, flags & 2,
                            (flags & 4) ? &graph.m : nullptr, flags & 8, flags & 16, flags & 32,
                            (flags & 64) ? 1 : (flags >> 7));
  }

  // Nothing outside the draw area (cut to the target) may change.
  const int x1 = std::max(0, g_drawState.areaX1), y1 = std::max(0, g_drawState.areaY1);
  const int x2 = std::min(w, g_drawState.areaX2), y2 = std::min(h, g_drawState.areaY2);
  const int bpp = kind == ColorKind32 ? 4 : 2;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (x >= x1 && x < x2 && y >= y1 && y < y2) continue;
      const size_t t = static_cast<size_t>(y) * target.m.pitch + static_cast<size_t>(x) * bpp;
      const size_t d = static_cast<size_t>(y) * depth.m.pitch + static_cast<size_t>(x) * 2;
      if (std::memcmp(&targetBefore[t], target.m.pixels + t, bpp) != 0) std::abort();
      if (std::memcmp(&depthBefore[d], depth.m.pixels + d, 2) != 0) std::abort();
    }
  }
  return 0;
}
