// Fuzzes the textured triangle and quad fills with hostile geometry (slivers,
// huge and NaN coordinates), every blend setting and odd image shapes; aborts
// when a pixel outside the draw area changes. Sanitizers catch the rest.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/numeric.h"
#include "graphics/drawstate.h"
#include "graphics/memimg.h"
#include "softrender/softrender.h"

namespace {

struct Reader {
  const uint8_t* data;
  size_t size;
  size_t pos = 0;
  uint8_t byte() { return pos < size ? data[pos++] : 0; }
  uint32_t word() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= uint32_t(byte()) << (8 * i);
    return v;
  }
  // Mostly small coordinates, sometimes anything at all.
  int32_t coord() {
    const uint8_t sel = byte();
    if (sel < 160) return int32_t(int8_t(byte())) + 20;
    if (sel < 220) return int32_t(int16_t(word() & 0xFFFF));
    return int32_t(word());
  }
  float fcoord() {
    const uint8_t sel = byte();
    if (sel < 40) return std::nanf("");
    if (sel < 60) return sel & 1 ? INFINITY : -INFINITY;
    if (sel < 160) return float(int8_t(byte())) + 20.5f;
    float f;
    const uint32_t w = word();
    std::memcpy(&f, &w, 4);
    return f;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Reader in{data, size};
  BuildScaleTables();
  const uint32_t kind = in.byte() & 1;
  const uint8_t flags = in.byte();
  const uint32_t palette = flags & 1, alpha = (flags >> 1) & 1;
  const int srcW = 1 + in.byte() % 48, srcH = 1 + in.byte() % 48;
  const int dstW = 1 + in.byte() % 64, dstH = 1 + in.byte() % 64;

  MEMIMG src{}, dst{}, graph{};
  if (CreateMemImg(&src, srcW, srcH, -1, in.word(), kind, palette, alpha, 0) != 0) return 0;
  if (CreateMemImg(&dst, dstW, dstH, -1, 0, kind, 0, 0, 0) != 0) {
    FreeMemImg(&src);
    return 0;
  }
  const bool useGraph = (flags >> 2) & 1;
  const int graphW = 1 + in.byte() % 48, graphH = 1 + in.byte() % 48;
  if (useGraph && CreateMemImg(&graph, graphW, graphH, -1, 0, ColorKind8, 0, 0, 0) != 0) {
    FreeMemImg(&src);
    FreeMemImg(&dst);
    return 0;
  }
  uint8_t seed = in.byte();
  for (int y = 0; y < srcH; ++y)
    for (int x = 0; x < src.pitch; ++x) MemImgRow(&src, y)[x] = seed = uint8_t(seed * 37 + 11);
  if (src.palette) {
    for (int i = 0; i < 512; ++i) src.palette[i] = uint8_t(i * 7);
    src.paletteCount = in.byte() + 1u;
  }
  if (useGraph)
    for (int y = 0; y < graphH; ++y)
      for (int x = 0; x < graph.pitch; ++x) MemImgRow(&graph, y)[x] = uint8_t(x * 13 + y);
  for (int y = 0; y < dstH; ++y) std::memset(MemImgRow(&dst, y), 0xA5, size_t(dst.pitch));

  ResetDrawState(dstW, dstH);
  g_drawState.areaX1 = int32_t(in.byte() % 80) - 8;
  g_drawState.areaY1 = int32_t(in.byte() % 80) - 8;
  g_drawState.areaX2 = int32_t(in.byte() % 80) - 8;
  g_drawState.areaY2 = int32_t(in.byte() % 80) - 8;
  g_drawState.blendMode = in.byte() % 7;
  g_drawState.blendParam = in.byte();
  g_drawState.brightWord = (flags & 8) ? in.word() : 0xFFFFFFFFu;
  BuildBlendGraphWeightTable(in.byte(), in.byte());
  const int32_t trans = (flags >> 4) & 1;
  const MEMIMG* blendGraph = useGraph ? &graph : nullptr;

  std::vector<uint8_t> before;
  for (int y = 0; y < dstH; ++y) before.insert(before.end(), MemImgRow(&dst, y), MemImgRow(&dst, y) + dst.pitch);

  const int calls = 1 + in.byte() % 4;
  for (int i = 0; i < calls; ++i) {
    const uint8_t what = in.byte() % 3;
    if (what == 0) {
      TexturedTriangle t;
      int32_t* w = &t.x0;
      for (int k = 0; k < 12; ++k) w[k] = in.coord();
      MemImgTexturedTriangle(&dst, &src, &t, trans, blendGraph, 0);
    } else if (what == 1) {
      int32_t q[8];
      for (auto& c : q) c = in.coord();
      MemImgTexturedQuad(&dst, &src, q, trans, blendGraph);
    } else {
      // Float corners as the four-corner front end converts them.
      int32_t q[8];
      for (auto& c : q) c = FloatToIntTrunc(in.fcoord());
      MemImgTexturedQuad(&dst, &src, q, trans, blendGraph);
    }
  }

  // Nothing outside the draw area (kept inside the image) may change.
  const int bpp = kind == ColorKind32 ? 4 : 2;
  const int x1 = g_drawState.areaX1 < 0 ? 0 : g_drawState.areaX1;
  const int y1 = g_drawState.areaY1 < 0 ? 0 : g_drawState.areaY1;
  const int x2 = g_drawState.areaX2 > dstW ? dstW : g_drawState.areaX2;
  const int y2 = g_drawState.areaY2 > dstH ? dstH : g_drawState.areaY2;
  for (int y = 0; y < dstH; ++y) {
    for (int x = 0; x < dst.pitch; ++x) {
      const bool inside = y >= y1 && y < y2 && x >= x1 * bpp && x < x2 * bpp;
      if (!inside && MemImgRow(&dst, y)[x] != before[size_t(y) * dst.pitch + x]) std::abort();
    }
  }
  FreeMemImg(&src);
  FreeMemImg(&dst);
  if (useGraph) FreeMemImg(&graph);
  return 0;
}
