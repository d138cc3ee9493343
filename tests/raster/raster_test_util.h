// Helpers of the rasteriser tests: images that free themselves, a draw state
// reset, triangles and a one-pixel draw harness for kernel facts.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "graphics/drawstate.h"
#include "graphics/memimg.h"
#include "softrender/softrender.h"
#include "softrender/sr_raster.h"

struct Image {
  MEMIMG m{};
  Image(int w, int h, uint32_t kind, uint32_t palette = 0, uint32_t alpha = 0,
        uint32_t key = 0) {
    EXPECT_EQ(CreateMemImg(&m, w, h, -1, key, kind, palette, alpha, 0), 0);
    std::memset(m.pixels, 0, static_cast<size_t>(m.pitch) * h);
  }
  ~Image() { FreeMemImg(&m); }
  Image(const Image&) = delete;
  Image& operator=(const Image&) = delete;
  MEMIMG* operator&() { return &m; }
  uint8_t* Row(int y) { return m.pixels + static_cast<intptr_t>(y) * m.pitch; }
  uint32_t Get32(int x, int y) {
    uint32_t v;
    std::memcpy(&v, Row(y) + 4 * x, 4);
    return v;
  }
  void Set32(int x, int y, uint32_t v) { std::memcpy(Row(y) + 4 * x, &v, 4); }
  uint32_t Get16(int x, int y) {
    uint16_t v;
    std::memcpy(&v, Row(y) + 2 * x, 2);
    return v;
  }
  void Set16(int x, int y, uint32_t v) {
    const uint16_t w = static_cast<uint16_t>(v);
    std::memcpy(Row(y) + 2 * x, &w, 2);
  }
  void Fill16(uint32_t v) {
    for (int y = 0; y < m.height; ++y)
      for (int x = 0; x < m.width; ++x) Set16(x, y, v);
  }
  std::vector<uint8_t> Bytes() const {
    return std::vector<uint8_t>(m.pixels, m.pixels + static_cast<size_t>(m.pitch) * m.height);
  }
};

inline void ResetState(int w, int h) {
  BuildScaleTables();
  ResetDrawState(w, h);
  g_drawState.blendMode = 0;
  g_drawState.blendParam = 255;
}

inline RasterVertex Vtx(float x, float y, float z = 0.5f, float rhw = 1.0f,
                        uint32_t colour = 0xFFFFFFFF, float u = 0.0f, float v = 0.0f) {
  return RasterVertex{x, y, z, rhw, colour, u, v};
}

// One pixel drawn through MemImgRasterizeTriangle: a 1 x 1 target, a 1 x 1
// texture (or palette entry 0), a triangle covering the pixel with texel (0, 0).
struct OnePixel {
  uint32_t kind = ColorKind32;
  int mode = 0;
  int param = 255;
  uint32_t bright = 0xFFFFFFFF;  // brightWord
  bool vertex = false;
  uint32_t vertexColour = 0xFFFFFFFF;  // A8R8G8B8
  bool palette = false;
  bool alphaTexture = false;
  uint32_t texel = 0;   // direct texel, or palette entry 0
  uint8_t texelAlpha = 255;  // 16-bit textures with alpha
  bool transparent = false;
  uint32_t key = 0xFFFFFFFF;
  int graphWeight = -1;  // -1 = no blend graph
  uint32_t target = 0;

  uint32_t Draw() const {
    ResetState(1, 1);
    g_drawState.blendMode = mode;
    g_drawState.blendParam = param;
    g_drawState.brightWord = bright;
    Image t(1, 1, kind);
    Image tex(1, 1, kind, palette ? 1 : 0, alphaTexture ? 1 : 0, key);
    if (palette) {
      tex.Row(0)[0] = 0;
      std::memcpy(tex.m.palette, &texel, kind == ColorKind32 ? 4 : 2);
    } else if (kind == ColorKind32) {
      tex.Set32(0, 0, texel);
    } else {
      tex.Set16(0, 0, texel);
      if (alphaTexture) tex.Row(0)[2] = texelAlpha;
    }
    Image graph(1, 1, ColorKind8);
    graph.Row(0)[0] = 7;
    if (graphWeight >= 0) BlendGraphWeightTable[7] = static_cast<uint8_t>(graphWeight);
    if (kind == ColorKind32) t.Set32(0, 0, target);
    else t.Set16(0, 0, target);
    const RasterVertex tri[3] = {Vtx(-2, -2, 0.5f, 1, vertexColour), Vtx(6, -2, 0.5f, 1, vertexColour),
                                 Vtx(-2, 6, 0.5f, 1, vertexColour)};
    MemImgRasterizeTriangle(&t, nullptr, &tex, tri, transparent ? 1 : 0,
                            graphWeight >= 0 ? &graph.m : nullptr, 0, 0, vertex ? 1 : 0, 0);
    return kind == ColorKind32 ? t.Get32(0, 0) : t.Get16(0, 0);
  }
};
