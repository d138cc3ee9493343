// gfxdemo: the graphics layer in the SDL window. Writes a TGA sprite (with
// alpha) and a BMP tile, loads them through the library, and draws them
// plainly, rotated and scaled, with alpha and additive blends, under two lines
// of Japanese text. Closes with the window, or after N frames: gfxdemo [N]
// (then the last frame is kept as gfxdemo_last.bmp).
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/sjis.h"
#include "tesra.h"

namespace {

void Put16(std::vector<uint8_t>& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

bool Save(const char* name, const std::vector<uint8_t>& bytes) {
  std::FILE* f = std::fopen(name, "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

// A 64 x 64 star-like orb: colour rings, alpha fading to the edge.
std::vector<uint8_t> SpriteTga() {
  std::vector<uint8_t> b = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  Put16(b, 64);
  Put16(b, 64);
  b.push_back(32);
  b.push_back(0x28);  // top-left origin, 8 alpha bits
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) {
      const double dx = x - 31.5, dy = y - 31.5;
      const double r = std::sqrt(dx * dx + dy * dy);
      const double arms = 0.5 + 0.5 * std::cos(5 * std::atan2(dy, dx));
      double a = 1.0 - r / 32.0 + 0.25 * arms * (r < 30);
      a = a < 0 ? 0 : (a > 1 ? 1 : a);
      b.push_back(static_cast<uint8_t>(255 - r * 4));       // blue
      b.push_back(static_cast<uint8_t>(128 + 120 * arms));  // green
      b.push_back(static_cast<uint8_t>(r * 7));             // red
      b.push_back(static_cast<uint8_t>(a * 255));
    }
  return b;
}

// A 32 x 32 two-colour checker with a frame, 24-bit bottom-up BMP.
std::vector<uint8_t> TileBmp() {
  std::vector<uint8_t> b = {'B', 'M'};
  const uint32_t data = 32 * 32 * 3;
  Put32(b, 54 + data);
  Put32(b, 0);
  Put32(b, 54);
  Put32(b, 40);
  Put32(b, 32);
  Put32(b, 32);
  Put16(b, 1);
  Put16(b, 24);
  for (int i = 0; i < 6; ++i) Put32(b, i == 1 ? data : 0);
  for (int y = 31; y >= 0; --y)
    for (int x = 0; x < 32; ++x) {
      const bool frame = x == 0 || y == 0 || x == 31 || y == 31;
      const bool dark = ((x / 8) + (y / 8)) % 2 == 0;
      b.push_back(frame ? 200 : (dark ? 90 : 140));
      b.push_back(frame ? 160 : (dark ? 40 : 70));
      b.push_back(frame ? 40 : (dark ? 30 : 50));
    }
  return b;
}

}  // namespace

int main(int argc, char** argv) {
  const int frames = argc > 1 ? std::atoi(argv[1]) : -1;
  if (!Save("gfxdemo_sprite.tga", SpriteTga()) || !Save("gfxdemo_tile.bmp", TileBmp())) {
    std::fprintf(stderr, "gfxdemo: cannot write the demo pictures here\n");
    return 1;
  }
  ApiSetLogOutput(0);
  ApiSetWindowTitle(Utf8ToCp932("Tesra グラフィックデモ").c_str());
  ApiChangeWindowMode(1);
  ApiSetScreenMode(640, 480, 32, 60);
  if (ApiInitializeLibrary() != 0) {
    std::fprintf(stderr, "gfxdemo: the library did not start\n");
    return 1;
  }
  const int sprite = ApiLoadGraphFromFile("gfxdemo_sprite.tga", 0);
  const int tile = ApiLoadGraphFromFile("gfxdemo_tile.bmp", 0);
  const std::string gothic = Utf8ToCp932("ＭＳ ゴシック");
  const std::string mincho = Utf8ToCp932("ＭＳ 明朝");
  const int fontA = ApiCreateFontToHandle(gothic.c_str(), 18, 6, 3, -1, -1, 0, -1, -1);
  const int fontB = ApiCreateFontToHandle(mincho.c_str(), 24, 8, 3, -1, -1, 0, -1, -1);
  const std::string line1 = Utf8ToCp932("碧霞霜月譚　グラフィック層のデモ");
  const std::string line2 = Utf8ToCp932("ＴＧＡとＢＭＰ、回転・拡大、半透明と加算合成");
  if (sprite < 0 || tile < 0) {
    std::fprintf(stderr, "gfxdemo: loading the pictures failed\n");
    ApiEndLibrary();
    return 1;
  }
  ApiSelectDrawTarget(BackBufferTarget);
  for (int frame = 0; frames < 0 || frame < frames; ++frame) {
    if (ApiProcessMessage() != 0) break;
    ApiSetBlendMode(0, 255);
    ApiDrawRectangle(0, 0, 640, 480, ApiRgbToScreenColor(10, 12, 30), 1);
    for (int y = 0; y < 480; y += 32)  // the BMP as a floor
      for (int x = 0; x < 640; x += 32) ApiDrawGraphAt(x, y, tile, 0);
    const double t = frame / 60.0;
    ApiDrawGraphAt(20, 100, sprite, 1);  // the TGA as it is
    ApiDrawGraphRotated(200, 140, 1.5 + 0.5 * std::sin(t * 2), t, sprite, 1, 0);
    ApiDrawGraphStretched(300, 90, 300 + 160, 90 + 100, sprite, 1);
    ApiSetBlendMode(1, 128);  // alpha: half strength
    ApiDrawGraphRotated(540, 140, 2.0, -t, sprite, 1, 0);
    ApiSetBlendMode(2, 255);  // additive
    for (int i = 0; i < 6; ++i) {
      const double a = t * 1.5 + i * 3.14159265 / 3;
      ApiDrawGraphRotated(320 + static_cast<int>(160 * std::cos(a)),
                          330 + static_cast<int>(70 * std::sin(a)), 1.0, a, sprite, 1, 0);
    }
    ApiSetBlendMode(0, 255);
    ApiDrawRectangle(8, 400, 632, 472, ApiRgbToScreenColor(0, 0, 0), 1);
    ApiDrawRectangle(8, 400, 632, 472, ApiRgbToScreenColor(200, 180, 80), 0);
    ApiDrawTextWithFont(20, 408, line1.c_str(), ApiRgbToScreenColor(255, 255, 255), fontB, 0, 0);
    ApiDrawTextWithFont(20, 442, line2.c_str(), ApiRgbToScreenColor(255, 230, 160), fontA, 0, 0);
    ApiPresentBackScreen();
    if (frame + 1 == frames) ApiSaveScreenRectToBmp(0, 0, 640, 480, "gfxdemo_last.bmp");
  }
  ApiEndLibrary();
  return 0;
}
