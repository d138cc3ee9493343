// Prints the polygon rasteriser's cost in nanoseconds per drawn pixel for a
// few typical variants: a textured 640 x 480 quad (two triangles) drawn
// repeatedly into 32-bit and 16-bit targets.
#include <chrono>
#include <cstdio>
#include <cstring>

#include "graphics/drawstate.h"
#include "graphics/memimg.h"
#include "softrender/softrender.h"

namespace {

constexpr int kWidth = 640, kHeight = 480, kRounds = 40;

struct Case {
  const char* name;
  uint32_t kind;
  int mode;
  int param;
  bool depth;
  bool vertexColour;
  bool alphaTexture;
};

double Run(const Case& c) {
  MEMIMG target{}, depth{}, texture{};
  CreateMemImg(&target, kWidth, kHeight, -1, 0, c.kind, 0, 0, 0);
  CreateMemImg(&depth, kWidth, kHeight, -1, 0, ColorKind16, 0, 0, 0);
  CreateMemImg(&texture, 256, 256, -1, 0, c.kind, 0, c.alphaTexture ? 1 : 0, 0);
  std::memset(target.pixels, 0x40, static_cast<size_t>(target.pitch) * kHeight);
  for (int i = 0; i < texture.pitch * 256; ++i) texture.pixels[i] = static_cast<uint8_t>(i * 7);
  ResetDrawState(kWidth, kHeight);
  g_drawState.blendMode = c.mode;
  g_drawState.blendParam = c.param;
  const uint32_t col = 0xC0FFE0A0u;
  const RasterVertex quad[6] = {
      {0, 0, 0.5f, 1, col, 0, 0},           {kWidth, 0, 0.5f, 0.5f, col, 1, 0},
      {0, kHeight, 0.5f, 1, col, 0, 1},     {kWidth, 0, 0.5f, 0.5f, col, 1, 0},
      {kWidth, kHeight, 0.5f, 0.5f, col, 1, 1}, {0, kHeight, 0.5f, 1, col, 0, 1}};
  const auto start = std::chrono::steady_clock::now();
  for (int r = 0; r < kRounds; ++r) {
    std::memset(depth.pixels, 0xFF, static_cast<size_t>(depth.pitch) * kHeight);
    for (int t = 0; t < 2; ++t)
      MemImgRasterizeTriangle(&target, c.depth ? &depth : nullptr, &texture, quad + 3 * t, 0,
                              nullptr, 1, 1, c.vertexColour ? 1 : 0, 0);
  }
  const double ns = std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();
  FreeMemImg(&target);
  FreeMemImg(&depth);
  FreeMemImg(&texture);
  return ns / (static_cast<double>(kRounds) * kWidth * kHeight);
}

}  // namespace

int main() {
  BuildScaleTables();
  const Case cases[] = {
      {"32-bit copy, state-coloured", ColorKind32, 0, 255, false, false, false},
      {"32-bit copy, vertex-coloured, depth", ColorKind32, 0, 255, true, true, false},
      {"32-bit alpha blend 128, alpha texture", ColorKind32, 1, 128, false, false, true},
      {"32-bit add, vertex-coloured, depth", ColorKind32, 2, 255, true, true, false},
      {"32-bit multiply", ColorKind32, 4, 255, false, false, false},
      {"16-bit copy, state-coloured", ColorKind16, 0, 255, false, false, false},
      {"16-bit alpha blend 128, depth", ColorKind16, 1, 128, true, false, false},
      {"16-bit subtract, vertex-coloured", ColorKind16, 3, 255, false, true, false},
  };
  std::printf("polygon rasteriser, %d x %d textured quad, %d rounds\n", kWidth, kHeight, kRounds);
  for (const Case& c : cases) std::printf("  %-42s %6.2f ns/pixel\n", c.name, Run(c));
  return 0;
}
