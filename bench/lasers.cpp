// The laser scene: 64 additive 16 x 400 quads turned at spread angles over a
// 640 x 480 screen, drawn by the textured quad fill in 32 and 16 bits. Prints
// milliseconds per scene and nanoseconds per drawn pixel.
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "graphics/drawstate.h"
#include "graphics/memimg.h"
#include "softrender/softrender.h"

namespace {

constexpr int kLasers = 64;
constexpr int kWidth = 16, kLength = 400;

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

void Run(uint32_t kind, const char* name) {
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
  const int frames = 200;
  uint32_t checksum = 0;
  const auto start = std::chrono::steady_clock::now();
  for (int f = 0; f < frames; ++f) {
    for (int y = 0; y < 480; ++y) std::memset(MemImgRow(&screen, y), 0, size_t(screen.pitch));
    for (int i = 0; i < kLasers; ++i) MemImgTexturedQuad(&screen, &laser, quads[i], 0, nullptr);
    checksum += MemImgRow(&screen, 240)[320];
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const double pixels = double(kLasers) * kWidth * kLength;  // nominal laser area per scene
  std::printf("lasers %s: %.3f ms per scene, %.2f ns per pixel (%d scenes, checksum %u)\n", name,
              seconds * 1000.0 / frames, seconds * 1e9 / (frames * pixels), frames, checksum);
  FreeMemImg(&screen);
  FreeMemImg(&laser);
}

}  // namespace

int main() {
  BuildScaleTables();
  Run(ColorKind32, "32-bit");
  Run(ColorKind16, "16-bit");
  return 0;
}
