// The laser scene: 64 additive 16 x 400 quads turned at spread angles over a
// 640 x 480 screen, drawn by the textured quad fill in 32 and 16 bits. Prints
// the median and 99th-percentile milliseconds (thread CPU time) per scene,
// nanoseconds per laser pixel, and the same quads drawn as two triangles each
// by SDL2's software renderer (SDL_RenderGeometry, additive) for comparison.
//
// Usage: bench_lasers [scenes]
#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "graphics/drawstate.h"
#include "graphics/memimg.h"
#include "softrender/softrender.h"

namespace {

constexpr int kLasers = 64;
constexpr int kWidth = 16, kLength = 400;

double NowMs() {
  timespec ts;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) * 1e-6;
}

double Percentile(std::vector<double> v, double q) {
  std::sort(v.begin(), v.end());
  const size_t i = std::min(v.size() - 1, static_cast<size_t>(q * (v.size() - 1) + 0.5));
  return v[i];
}

// Corners of laser i: top-left, top-right, bottom-left, bottom-right of the
// upright 16 x 400 strip, turned about its top centre.
void LaserCorners(int i, int32_t q[8]) {
  const double angle = -1.2 + 2.4 * i / (kLasers - 1);
  const double c = std::cos(angle), s = std::sin(angle);
  const double ox = 80 + (i % 8) * 64, oy = 40 + (i / 8) * 8;
  const double local[4][2] = {{-kWidth / 2.0, 0}, {kWidth / 2.0, 0}, {-kWidth / 2.0, kLength},
                              {kWidth / 2.0, kLength}};
  for (int k = 0; k < 4; ++k) {
    q[2 * k] = static_cast<int32_t>(ox + local[k][0] * c - local[k][1] * s);
    q[2 * k + 1] = static_cast<int32_t>(oy + local[k][0] * s + local[k][1] * c);
  }
}

// The same scene through SDL2's software renderer: median milliseconds per
// scene, or a negative value when SDL2 cannot draw it.
double SdlSceneMs(uint32_t kind, const MEMIMG& laser, const int32_t quads[][8], int scenes) {
  const bool wide = kind == ColorKind32;
  const Uint32 format = wide ? SDL_PIXELFORMAT_XRGB8888 : SDL_PIXELFORMAT_RGB565;
  SDL_Surface* target = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, wide ? 32 : 16, format);
  SDL_Surface* strip = SDL_CreateRGBSurfaceWithFormatFrom(laser.pixels, kWidth, kLength,
                                                          wide ? 32 : 16, laser.pitch, format);
  SDL_Renderer* renderer = target ? SDL_CreateSoftwareRenderer(target) : nullptr;
  SDL_Texture* texture = renderer && strip ? SDL_CreateTextureFromSurface(renderer, strip) : nullptr;
  double result = -1.0;
  if (texture) {
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_ADD);
    std::vector<SDL_Vertex> vertices;
    std::vector<int> indices;
    const float uv[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    for (int i = 0; i < kLasers; ++i) {
      const int base = static_cast<int>(vertices.size());
      for (int k = 0; k < 4; ++k) {
        SDL_Vertex v{};
        v.position = {static_cast<float>(quads[i][2 * k]), static_cast<float>(quads[i][2 * k + 1])};
        v.color = {255, 255, 255, 200};
        v.tex_coord = {uv[k][0], uv[k][1]};
        vertices.push_back(v);
      }
      for (int k : {0, 1, 2, 1, 3, 2}) indices.push_back(base + k);
    }
    std::vector<double> ms;
    for (int f = 0; f < scenes; ++f) {
      SDL_FillRect(target, nullptr, 0);
      const double t0 = NowMs();
      const int ok = SDL_RenderGeometry(renderer, texture, vertices.data(),
                                        static_cast<int>(vertices.size()), indices.data(),
                                        static_cast<int>(indices.size()));
      SDL_RenderFlush(renderer);
      ms.push_back(NowMs() - t0);
      if (ok != 0) {
        ms.clear();
        break;
      }
    }
    if (!ms.empty()) result = Percentile(ms, 0.5);
  }
  if (result < 0) std::printf("  SDL2: geometry not drawn: %s\n", SDL_GetError());
  if (texture) SDL_DestroyTexture(texture);
  if (renderer) SDL_DestroyRenderer(renderer);
  if (strip) SDL_FreeSurface(strip);
  if (target) SDL_FreeSurface(target);
  return result;
}

void Run(uint32_t kind, const char* name, int scenes) {
  MEMIMG screen{}, laser{};
  if (CreateMemImg(&screen, 640, 480, -1, 0, kind, 0, 0, 0) != 0 ||
      CreateMemImg(&laser, kWidth, kLength, -1, 0, kind, 0, 0, 0) != 0) {
    std::printf("%s: could not make the images\n", name);
    return;
  }
  for (int y = 0; y < kLength; ++y) {
    uint8_t* row = MemImgRow(&laser, y);
    for (int x = 0; x < laser.pitch; ++x) row[x] = static_cast<uint8_t>(0x20 + ((x * 7 + y) & 0x3F));
  }
  ResetDrawState(640, 480);
  g_drawState.blendMode = 2;
  g_drawState.blendParam = 200;

  int32_t quads[kLasers][8];
  for (int i = 0; i < kLasers; ++i) LaserCorners(i, quads[i]);
  uint32_t checksum = 0;
  std::vector<double> ms;
  for (int f = 0; f < scenes; ++f) {
    for (int y = 0; y < 480; ++y) std::memset(MemImgRow(&screen, y), 0, size_t(screen.pitch));
    const double t0 = NowMs();
    for (int i = 0; i < kLasers; ++i) MemImgTexturedQuad(&screen, &laser, quads[i], 0, nullptr);
    ms.push_back(NowMs() - t0);
    checksum += MemImgRow(&screen, 240)[320];
  }
  const double median = Percentile(ms, 0.5);
  const double pixels = double(kLasers) * kWidth * kLength;  // nominal laser area per scene
  std::printf("lasers %s (%d scenes): median %.3f ms, 99th percentile %.3f ms, %.2f ns per pixel"
              " (checksum %u)\n",
              name, scenes, median, Percentile(ms, 0.99), median * 1e6 / pixels, checksum);
  const double sdl = SdlSceneMs(kind, laser, quads, scenes);
  if (sdl > 0) {
    std::printf("  SDL2 software renderer, same quads: median %.3f ms; ratio SDL2 / ours %.2f\n", sdl,
                sdl / median);
  }
  FreeMemImg(&screen);
  FreeMemImg(&laser);
}

}  // namespace

int main(int argc, char** argv) {
  const int scenes = argc > 1 ? std::max(5, std::atoi(argv[1])) : 200;
  BuildScaleTables();
  Run(ColorKind32, "32-bit", scenes);
  Run(ColorKind16, "16-bit", scenes);
  return 0;
}
