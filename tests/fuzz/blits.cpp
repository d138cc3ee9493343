// Fuzz target of the software blits and primitives: extreme coordinates,
// NaN and zero scales, tiny and 4097-row sources, short blend graphs, hostile
// palettes and draw areas larger than the target. Every draw goes into a view
// framed by canary bytes; a byte changed outside the draw area is a failure.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "graphics/drawstate.h"
#include "graphics/memimg.h"
#include "softrender/softrender.h"

namespace blitfuzz {

struct Reader {
  const uint8_t* p;
  size_t n;
  uint8_t U8() {
    if (!n) return 0;
    --n;
    return *p++;
  }
  uint32_t U32() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(U8()) << (8 * i);
    return v;
  }
  // Mostly small values around the target, sometimes anything at all.
  int32_t Coord() {
    const uint8_t how = U8();
    if (how < 150) return static_cast<int32_t>(U8() % 64) - 16;
    if (how < 200) return static_cast<int32_t>(U8()) - 100;
    if (how < 230) return static_cast<int32_t>(U32() % 20000) - 10000;
    return static_cast<int32_t>(U32());
  }
  float Real() {
    const uint8_t how = U8();
    if (how < 160) return (static_cast<float>(U8()) - 128.0f) / 16.0f;
    if (how < 200) return 0.0f;
    uint32_t bits = U32();
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;  // NaN, infinities, huge and tiny values
  }
};

struct Owned {
  MEMIMG m{};
  ~Owned() { FreeMemImg(&m); }
};

// Runs one input; returns the number of bytes changed outside the draw area
// (and, when asked, whether anything inside it changed).
inline int RunOne(const uint8_t* data, size_t size, bool* drewInside = nullptr) {
  static const bool tables = (BuildScaleTables(), true);
  (void)tables;
  Reader r{data, size};
  const uint32_t kind = r.U8() & 1;
  const int tw = 1 + r.U8() % 40, th = 1 + r.U8() % 30;
  const int frame = 4;
  Owned parent;
  if (CreateMemImg(&parent.m, tw + 2 * frame, th + 2 * frame, -1, 0, kind, 0, 0, 0) != 0) return 0;
  const size_t bytes = static_cast<size_t>(parent.m.pitch) * parent.m.height;
  for (size_t i = 0; i < bytes; ++i) parent.m.pixels[i] = static_cast<uint8_t>(i * 131 + 7);
  MEMIMG target;
  MakeMemImgView(&target, &parent.m, frame, frame, tw, th);

  // Draw state, including areas far beyond the target.
  if (r.U8() < 160) {  // around the target, often past its edges
    g_drawState.areaX1 = static_cast<int32_t>(r.U8() % 12) - 6;
    g_drawState.areaY1 = static_cast<int32_t>(r.U8() % 12) - 6;
    g_drawState.areaX2 = tw + static_cast<int32_t>(r.U8() % 12) - 6;
    g_drawState.areaY2 = th + static_cast<int32_t>(r.U8() % 12) - 6;
  } else {
    g_drawState.areaX1 = r.Coord();
    g_drawState.areaY1 = r.Coord();
    g_drawState.areaX2 = r.Coord();
    g_drawState.areaY2 = r.Coord();
  }
  g_drawState.blendMode = static_cast<int32_t>(r.U8() % 7) - 1;
  g_drawState.blendParam = r.U8() < 240 ? r.U8() : static_cast<int32_t>(r.U32());
  g_drawState.brightWord = r.U8() < 128 ? 0xFFFFFFFFu : r.U32();
  BuildBlendGraphWeightTable(r.U8(), r.U8());
  g_mmxFlag = r.U8() & 1;

  // Source: usually the target's kind, any flags, sizes down to 1 x 1 and
  // up to 4097 rows.
  const uint8_t srcPick = r.U8();
  const uint32_t srcKind = srcPick < 230 ? kind : (srcPick & 3);
  const uint32_t palette = r.U8() & 1, alpha = r.U8() & 1;
  const int sw = 1 + r.U8() % 24;
  const int sh = r.U8() < 12 ? 4097 : 1 + r.U8() % 24;
  Owned source;
  if (CreateMemImg(&source.m, sw, sh, -1, r.U32(), srcKind, palette, alpha, 0) != 0) return 0;
  // Pixel and palette bytes from a small generator seeded by the input, with
  // a share of zero bytes (alpha 0, index 0, keys).
  uint32_t seed = r.U32();
  auto next = [&seed]() {
    seed = seed * 1664525u + 1013904223u;
    const uint32_t v = seed >> 24;
    return static_cast<uint8_t>(v < 40 ? 0 : v);
  };
  const size_t sourceBytes = static_cast<size_t>(source.m.pitch) * sh;
  for (size_t i = 0; i < sourceBytes; ++i) source.m.pixels[i] = next();
  if (source.m.palette) {
    for (int i = 0; i < 1024; ++i) source.m.palette[i] = next();
    source.m.paletteCount = r.U8() < 200 ? r.U8() : r.U32();
  }
  Owned graph;
  const MEMIMG* blendGraph = nullptr;
  const uint8_t graphPick = r.U8();
  if (graphPick < 100) {
    const int gw = graphPick < 30 ? 1 + r.U8() % 24 : sw, gh = graphPick < 30 ? 1 + r.U8() % 24 : sh;
    if (CreateMemImg(&graph.m, gw, gh, -1, 0, ColorKind8, 0, 0, 0) == 0) {
      std::memset(graph.m.pixels, r.U8(), static_cast<size_t>(graph.m.pitch) * gh);
      blendGraph = &graph.m;
    }
  }
  const int32_t trans = r.U8() & 1;

  const uint8_t op = r.U8();
  switch (op % 8) {
    case 0:
      MemImgBlit(&target, &source.m, r.Coord(), r.Coord(), trans, blendGraph);
      break;
    case 1: {
      const IntRect rect{r.Coord(), r.Coord(), r.Coord(), r.Coord()};
      MemImgScaledBlit(&target, &source.m, &rect, trans, blendGraph);
      break;
    }
    case 2:
    case 3: {
      const int32_t cx = r.Coord(), cy = r.Coord();
      const float angle = r.Real(), scale = r.Real();
      // Case 3 mirrors: the corners go to the textured quad.
      MemImgRotatedBlit(&target, &source.m, cx, cy, angle, scale, trans, op % 8 == 3, blendGraph);
      break;
    }
    case 4: {
      const IntRect rect{r.Coord(), r.Coord(), r.Coord(), r.Coord()};
      MemImgFillRect(&target, (r.U8() & 1) ? &rect : nullptr, r.U32());
      break;
    }
    case 5:
      MemImgBlendPixel(&target, r.Coord(), r.Coord(), r.U32());
      break;
    case 6:
      MemImgDrawSegment(&target, r.Coord(), r.Coord(), r.Coord(), r.Coord(), r.U32());
      break;
    default: {
      int32_t segs[18];
      for (int32_t& v : segs) v = r.Coord();
      MemImgDrawSegments(&target, segs, static_cast<int32_t>(r.U8() % 5) - 1);
      break;
    }
  }

  // The area every draw is bound to: the draw area clipped to the target.
  IntRect area{g_drawState.areaX1, g_drawState.areaY1, g_drawState.areaX2, g_drawState.areaY2};
  const IntRect bounds{0, 0, tw, th};
  IntersectRectangles(&area, &bounds);
  const int bpp = parent.m.format->bytesPerPixel;
  int changed = 0;
  for (int y = 0; y < parent.m.height; ++y) {
    for (int x = 0; x < parent.m.width; ++x) {
      const int tx = x - frame, ty = y - frame;
      const bool inside = tx >= area.x1 && tx < area.x2 && ty >= area.y1 && ty < area.y2;
      for (int b = 0; b < bpp; ++b) {
        const size_t i = static_cast<size_t>(y) * parent.m.pitch + static_cast<size_t>(x) * bpp + b;
        const bool differs = parent.m.pixels[i] != static_cast<uint8_t>(i * 131 + 7);
        if (!inside) changed += differs;
        else if (differs && drewInside) *drewInside = true;
      }
    }
  }
  return changed;
}

}  // namespace blitfuzz

#ifndef BLITFUZZ_NO_ENTRY
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (blitfuzz::RunOne(data, size) != 0) __builtin_trap();
  return 0;
}
#endif
