// Benchmark of a worst-case game frame drawn by the software renderer,
// headless, at 16 and 32 bits: three 384 x 448 field layers (one multiplied,
// one turned at scale 2), 2048 turned 16 x 16 bullets in blend modes 0, 1 and 2
// with colour key, and the 640 x 480 frame picture. Prints the median and
// 99th-percentile milliseconds (thread CPU time) per frame and the median of
// each part, nanoseconds per visited pixel of each driver, the same bullets
// (turned, and unturned at scale 1) and 2048 turned sprites with per-pixel
// alpha, each beside SDL2's software renderer, and writes the last frame as a
// BMP.
//
// Usage: bench_frame [frames] [output directory]
#include <SDL.h>

#include <algorithm>
#include <ctime>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "graphics/drawstate.h"
#include "graphics/memimg.h"
#include "softrender/softrender.h"

namespace {

// Milliseconds of this thread's CPU time: steadier than the wall clock on a
// shared machine.
double NowMs() {
  timespec ts;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) * 1e-6;
}

struct Image {
  MEMIMG m{};
  Image(int w, int h, uint32_t kind, uint32_t alpha = 0) {
    CreateMemImg(&m, w, h, -1, 0, kind, 0, alpha, 0);
  }
  ~Image() { FreeMemImg(&m); }
  void Set(int x, int y, uint32_t v) {
    uint8_t* p = m.pixels + y * m.pitch + x * m.format->bytesPerPixel;
    if (m.format->bytesPerPixel == 4) std::memcpy(p, &v, 4);
    else {
      const uint16_t w = static_cast<uint16_t>(v);
      std::memcpy(p, &w, 2);
    }
  }
  uint32_t Get(int x, int y) const {
    const uint8_t* p = m.pixels + y * m.pitch + x * m.format->bytesPerPixel;
    uint32_t v = 0;
    std::memcpy(&v, p, m.format->bytesPerPixel);
    return v;
  }
};

// A colour (red, green, blue bytes) in the image's pixel format.
uint32_t Rgb(uint32_t kind, int r, int g, int b) {
  if (kind == ColorKind32) return (static_cast<uint32_t>(r) << 16) | (g << 8) | b;
  return ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3);
}
void ToRgb(uint32_t kind, uint32_t v, int* r, int* g, int* b) {
  if (kind == ColorKind32) {
    *r = (v >> 16) & 0xFF;
    *g = (v >> 8) & 0xFF;
    *b = v & 0xFF;
  } else {
    *r = ((v >> 11) & 31) * 255 / 31;
    *g = ((v >> 5) & 63) * 255 / 63;
    *b = (v & 31) * 255 / 31;
  }
}

constexpr uint32_t kKeyRgb[3] = {255, 0, 255};

struct Scene {
  uint32_t kind;
  Image screen{640, 480, kind};
  Image layer0{384, 448, kind}, layer1{384, 448, kind}, layer2{384, 448, kind};
  Image frame{640, 480, kind};
  Image bullet{16, 16, kind};
  struct Bullet {
    int x, y, mode;
    float angle;
  };
  std::vector<Bullet> bullets;

  explicit Scene(uint32_t k) : kind(k) {
    for (int y = 0; y < 448; ++y)
      for (int x = 0; x < 384; ++x) {
        layer0.Set(x, y, Rgb(kind, (x * 255) / 384, (y * 255) / 448, 96));
        layer1.Set(x, y, Rgb(kind, 200, 160 + ((x ^ y) & 63), 255));
        layer2.Set(x, y, Rgb(kind, ((x / 16 + y / 16) & 1) * 200, 40, 90));
      }
    const uint32_t key = Rgb(kind, kKeyRgb[0], kKeyRgb[1], kKeyRgb[2]);
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x) {
        const bool window = x >= 16 && x < 400 && y >= 16 && y < 464;
        frame.Set(x, y, window ? key : Rgb(kind, 40 + (y & 31), 30, 60 + (x & 63)));
      }
    frame.m.transparentColor = key;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        const int dx = 2 * x - 15, dy = 2 * y - 15;
        const int d2 = dx * dx + dy * dy;
        bullet.Set(x, y, d2 > 225 ? key : Rgb(kind, 255, 255 - d2, 80 + d2 / 2));
      }
    bullet.m.transparentColor = key;
    std::mt19937 rng(4242);
    for (int i = 0; i < 2048; ++i) {
      const uint32_t rx = rng(), ry = rng(), ra = rng();
      bullets.push_back({16 + static_cast<int>(rx % 384), 16 + static_cast<int>(ry % 448), i % 3,
                         static_cast<float>(ra % 6283) / 1000.0f});
    }
  }
};

void SetState(int x1, int y1, int x2, int y2, int mode, int param) {
  g_drawState.areaX1 = x1;
  g_drawState.areaY1 = y1;
  g_drawState.areaX2 = x2;
  g_drawState.areaY2 = y2;
  g_drawState.blendMode = mode;
  g_drawState.blendParam = param;
}

// Target pixels a turned draw visits: its box (corners, 2 and 4 pixel
// margins) clipped to the field.
int64_t RotatedBoxPixels(int w, int h, int cx, int cy, float angle, float scale) {
  const float hw = w * scale * 0.5f, hh = h * scale * 0.5f;
  const float c = std::cos(angle), s = std::sin(angle);
  const float ex = std::fabs(hw * c) + std::fabs(hh * s), ey = std::fabs(hw * s) + std::fabs(hh * c);
  const int x1 = std::max(16, static_cast<int>(cx - ex) - 2), x2 = std::min(400, static_cast<int>(cx + ex) + 4);
  const int y1 = std::max(16, static_cast<int>(cy - ey) - 2), y2 = std::min(464, static_cast<int>(cy + ey) + 4);
  return x2 > x1 && y2 > y1 ? static_cast<int64_t>(x2 - x1) * (y2 - y1) : 0;
}

struct Timing {
  std::vector<double> frameMs;
  // Per frame: the two unscaled layers, the turned layer, the bullets, the frame picture.
  std::vector<double> partMs[4];
  double unscaledMs = 0, rotatedLayerMs = 0, bulletMs = 0;
  int64_t unscaledPixels = 0, rotatedLayerPixels = 0, bulletPixels = 0;
};

void DrawFrame(Scene& sc, int index, Timing* t) {
  MEMIMG* screen = &sc.screen.m;
  const auto t0 = NowMs();
  SetState(16, 16, 400, 464, 0, 255);
  MemImgBlit(screen, &sc.layer0.m, 16, 16, 0, nullptr);
  SetState(16, 16, 400, 464, 4, 255);
  MemImgBlit(screen, &sc.layer1.m, 16, 16, 0, nullptr);
  const auto t1 = NowMs();
  SetState(16, 16, 400, 464, 2, 128);
  const float layerAngle = 0.01f * static_cast<float>(index);
  MemImgRotatedBlit(screen, &sc.layer2.m, 208, 240, layerAngle, 2.0f, 0, 0, nullptr);
  const auto t2 = NowMs();
  for (const Scene::Bullet& b : sc.bullets) {
    SetState(16, 16, 400, 464, b.mode, b.mode == 1 ? 160 : 255);
    MemImgRotatedBlit(screen, &sc.bullet.m, b.x, b.y, b.angle + layerAngle, 1.0f, 1, 0, nullptr);
  }
  const auto t3 = NowMs();
  SetState(0, 0, 640, 480, 0, 255);
  MemImgBlit(screen, &sc.frame.m, 0, 0, 1, nullptr);
  const auto t4 = NowMs();
  t->frameMs.push_back(t4 - t0);
  t->partMs[0].push_back(t1 - t0);
  t->partMs[1].push_back(t2 - t1);
  t->partMs[2].push_back(t3 - t2);
  t->partMs[3].push_back(t4 - t3);
  t->unscaledMs += (t1 - t0) + (t4 - t3);
  t->unscaledPixels += 2 * 384 * 448 + 640 * 480;
  t->rotatedLayerMs += t2 - t1;
  t->rotatedLayerPixels += RotatedBoxPixels(384, 448, 208, 240, layerAngle, 2.0f);
  t->bulletMs += t3 - t2;
  for (const Scene::Bullet& b : sc.bullets)
    t->bulletPixels += RotatedBoxPixels(16, 16, b.x, b.y, b.angle + layerAngle, 1.0f);
}

double Percentile(std::vector<double> v, double q) {
  std::sort(v.begin(), v.end());
  const size_t i = std::min(v.size() - 1, static_cast<size_t>(q * (v.size() - 1) + 0.5));
  return v[i];
}

// Nanoseconds per pixel of a stretched blit (half-size layer drawn at full size).
double ScaledNsPerPixel(Scene& sc) {
  Image half(192, 224, sc.kind);
  for (int y = 0; y < 224; ++y)
    for (int x = 0; x < 192; ++x) half.Set(x, y, sc.layer0.Get(2 * x, 2 * y));
  const IntRect rect{16, 16, 400, 464};
  SetState(16, 16, 400, 464, 1, 128);
  const auto t0 = NowMs();
  const int rounds = 50;
  for (int i = 0; i < rounds; ++i) MemImgScaledBlit(&sc.screen.m, &half.m, &rect, 0, nullptr);
  return (NowMs() - t0) * 1e6 / (static_cast<double>(rounds) * 384 * 448);
}

// The bullets unturned at scale 1 (the common case of a game's shots):
// median milliseconds per 2048.
double UnturnedBulletMs(Scene& sc, int frames) {
  std::vector<double> ms;
  for (int f = 0; f < frames; ++f) {
    const auto t0 = NowMs();
    for (const Scene::Bullet& b : sc.bullets) {
      SetState(16, 16, 400, 464, b.mode, b.mode == 1 ? 160 : 255);
      MemImgRotatedBlit(&sc.screen.m, &sc.bullet.m, b.x, b.y, 0.0f, 1.0f, 1, 0, nullptr);
    }
    ms.push_back(NowMs() - t0);
  }
  return Percentile(ms, 0.5);
}

// The bullets through SDL2's software renderer (turned as ours, or unturned):
// median milliseconds per bullet set.
double SdlBulletMs(Scene& sc, int frames, bool turned) {
  const Uint32 format = sc.kind == ColorKind32 ? SDL_PIXELFORMAT_XRGB8888 : SDL_PIXELFORMAT_RGB565;
  SDL_Surface* target = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, sc.kind == ColorKind32 ? 32 : 16, format);
  SDL_Surface* sprite = SDL_CreateRGBSurfaceWithFormatFrom(sc.bullet.m.pixels, 16, 16,
                                                           sc.kind == ColorKind32 ? 32 : 16,
                                                           sc.bullet.m.pitch, format);
  if (!target || !sprite) {
    std::printf("  SDL2: surfaces failed: %s\n", SDL_GetError());
    return -1.0;
  }
  SDL_SetColorKey(sprite, SDL_TRUE, sc.bullet.m.transparentColor);
  SDL_Renderer* renderer = SDL_CreateSoftwareRenderer(target);
  SDL_Texture* texture = renderer ? SDL_CreateTextureFromSurface(renderer, sprite) : nullptr;
  if (!texture) {
    std::printf("  SDL2: software renderer failed: %s\n", SDL_GetError());
    if (renderer) SDL_DestroyRenderer(renderer);
    SDL_FreeSurface(sprite);
    SDL_FreeSurface(target);
    return -1.0;
  }
  const SDL_Rect clip{16, 16, 384, 448};
  SDL_RenderSetClipRect(renderer, &clip);
  const SDL_BlendMode modes[3] = {SDL_BLENDMODE_BLEND, SDL_BLENDMODE_BLEND, SDL_BLENDMODE_ADD};
  std::vector<double> times;
  for (int f = 0; f < frames; ++f) {
    const auto t0 = NowMs();
    for (const Scene::Bullet& b : sc.bullets) {
      SDL_SetTextureBlendMode(texture, modes[b.mode]);
      SDL_SetTextureAlphaMod(texture, b.mode == 1 ? 160 : 255);
      const SDL_Rect dst{b.x - 8, b.y - 8, 16, 16};
      if (turned) {
        SDL_RenderCopyEx(renderer, texture, nullptr, &dst, b.angle * 57.29578f, nullptr,
                         SDL_FLIP_NONE);
      } else {
        SDL_RenderCopy(renderer, texture, nullptr, &dst);
      }
    }
    SDL_RenderFlush(renderer);
    times.push_back(NowMs() - t0);
  }
  const double ms = Percentile(times, 0.5);
  SDL_DestroyTexture(texture);
  SDL_DestroyRenderer(renderer);
  SDL_FreeSurface(sprite);
  SDL_FreeSurface(target);
  return ms;
}

// 2048 turned 16 x 16 sprites with per-pixel alpha (a soft disc), 32-bit,
// blended by their alpha: ours and SDL2's software renderer, median
// milliseconds per 2048 each.
void AlphaSprites(Scene& sc, int frames, double* oursMs, double* sdlMs) {
  Image sprite(16, 16, ColorKind32, 1);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const int dx = 2 * x - 15, dy = 2 * y - 15;
      const int d2 = dx * dx + dy * dy;
      const uint32_t a = d2 >= 225 ? 0u : static_cast<uint32_t>(255 - d2 * 255 / 225);
      sprite.Set(x, y, (a << 24) | (255u << 16) | (static_cast<uint32_t>(200 - d2 / 2) << 8) | 64u);
    }
  std::vector<double> ms;
  for (int f = 0; f < frames; ++f) {
    const auto t0 = NowMs();
    for (const Scene::Bullet& b : sc.bullets) {
      SetState(16, 16, 400, 464, 1, 255);
      MemImgRotatedBlit(&sc.screen.m, &sprite.m, b.x, b.y, b.angle, 1.0f, 0, 0, nullptr);
    }
    ms.push_back(NowMs() - t0);
  }
  *oursMs = Percentile(ms, 0.5);
  *sdlMs = -1.0;
  SDL_Surface* target = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 32, SDL_PIXELFORMAT_XRGB8888);
  SDL_Surface* image = SDL_CreateRGBSurfaceWithFormatFrom(sprite.m.pixels, 16, 16, 32, sprite.m.pitch,
                                                          SDL_PIXELFORMAT_ARGB8888);
  SDL_Renderer* renderer = target ? SDL_CreateSoftwareRenderer(target) : nullptr;
  SDL_Texture* texture = renderer && image ? SDL_CreateTextureFromSurface(renderer, image) : nullptr;
  if (texture) {
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
    const SDL_Rect clip{16, 16, 384, 448};
    SDL_RenderSetClipRect(renderer, &clip);
    ms.clear();
    for (int f = 0; f < frames; ++f) {
      const auto t0 = NowMs();
      for (const Scene::Bullet& b : sc.bullets) {
        const SDL_Rect dst{b.x - 8, b.y - 8, 16, 16};
        SDL_RenderCopyEx(renderer, texture, nullptr, &dst, b.angle * 57.29578f, nullptr,
                         SDL_FLIP_NONE);
      }
      SDL_RenderFlush(renderer);
      ms.push_back(NowMs() - t0);
    }
    *sdlMs = Percentile(ms, 0.5);
  }
  if (texture) SDL_DestroyTexture(texture);
  if (renderer) SDL_DestroyRenderer(renderer);
  if (image) SDL_FreeSurface(image);
  if (target) SDL_FreeSurface(target);
}

// 24-bit bottom-up BMP of the screen.
bool WriteBmp(const Scene& sc, const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const int w = 640, h = 480, row = w * 3;
  const uint32_t size = 54 + row * h;
  uint8_t header[54] = {'B', 'M'};
  auto put32 = [&](int at, uint32_t v) { std::memcpy(header + at, &v, 4); };
  put32(2, size);
  put32(10, 54);
  put32(14, 40);
  put32(18, w);
  put32(22, h);
  header[26] = 1;
  header[28] = 24;
  put32(34, row * h);
  std::fwrite(header, 1, 54, f);
  std::vector<uint8_t> line(row);
  for (int y = h - 1; y >= 0; --y) {
    for (int x = 0; x < w; ++x) {
      int r, g, b;
      ToRgb(sc.kind, sc.screen.Get(x, y), &r, &g, &b);
      line[3 * x] = static_cast<uint8_t>(b);
      line[3 * x + 1] = static_cast<uint8_t>(g);
      line[3 * x + 2] = static_cast<uint8_t>(r);
    }
    std::fwrite(line.data(), 1, row, f);
  }
  return std::fclose(f) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  const int frames = argc > 1 ? std::max(5, std::atoi(argv[1])) : 120;
  const std::string outDir = argc > 2 ? argv[2] : ".";
  BuildScaleTables();
  ResetDrawState(640, 480);
  for (uint32_t kind : {ColorKind32, ColorKind16}) {
    const int bits = kind == ColorKind32 ? 32 : 16;
    Scene sc(kind);
    Timing t;
    for (int i = 0; i < 3; ++i) {  // warm-up
      Timing discard;
      DrawFrame(sc, i, &discard);
    }
    for (int i = 0; i < frames; ++i) DrawFrame(sc, i, &t);
    std::printf("%d-bit frame (%d frames): median %.3f ms, 99th percentile %.3f ms\n", bits, frames,
                Percentile(t.frameMs, 0.5), Percentile(t.frameMs, 0.99));
    std::printf("  unscaled blit:        %.2f ns per visited pixel\n",
                t.unscaledMs * 1e6 / static_cast<double>(t.unscaledPixels));
    std::printf("  rotated layer:        %.2f ns per visited pixel\n",
                t.rotatedLayerMs * 1e6 / static_cast<double>(t.rotatedLayerPixels));
    std::printf("  rotated bullets:      %.2f ns per visited pixel, %.3f ms per 2048\n",
                t.bulletMs * 1e6 / static_cast<double>(t.bulletPixels), t.bulletMs / frames);
    std::printf("  scaled blit (2x):     %.2f ns per visited pixel\n", ScaledNsPerPixel(sc));
    std::printf("  medians per part: layers %.3f ms, turned layer %.3f ms, bullets %.3f ms,"
                " frame picture %.3f ms\n",
                Percentile(t.partMs[0], 0.5), Percentile(t.partMs[1], 0.5),
                Percentile(t.partMs[2], 0.5), Percentile(t.partMs[3], 0.5));
    const int peerFrames = std::max(5, frames / 4);
    const double bullets = Percentile(t.partMs[2], 0.5);
    const double sdl = SdlBulletMs(sc, peerFrames, true);
    if (sdl > 0) {
      std::printf("  SDL2 software renderer, same 2048 bullets: median %.3f ms (%.1f ns per bullet);"
                  " ratio SDL2 / ours %.2f\n",
                  sdl, sdl * 1e6 / 2048, sdl / bullets);
    }
    const double unturned = UnturnedBulletMs(sc, peerFrames);
    const double sdlUnturned = SdlBulletMs(sc, peerFrames, false);
    std::printf("  unturned bullets: median %.3f ms", unturned);
    if (sdlUnturned > 0) {
      std::printf("; SDL2 %.3f ms; ratio SDL2 / ours %.2f", sdlUnturned, sdlUnturned / unturned);
    }
    std::printf("\n");
    if (kind == ColorKind32) {
      double ours, sdlAlpha;
      AlphaSprites(sc, peerFrames, &ours, &sdlAlpha);
      std::printf("  turned sprites with per-pixel alpha: median %.3f ms", ours);
      if (sdlAlpha > 0) std::printf("; SDL2 %.3f ms; ratio SDL2 / ours %.2f", sdlAlpha, sdlAlpha / ours);
      std::printf("\n");
    }
    DrawFrame(sc, frames, &t);
    const std::string path = outDir + "/bench_frame_" + std::to_string(bits) + ".bmp";
    std::printf("  frame picture: %s %s\n", path.c_str(), WriteBmp(sc, path) ? "written" : "NOT written");
  }
  return 0;
}
