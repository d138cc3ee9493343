// The library demo: opens the window with the game's title, pumps events and
// shows a moving test pattern through the frame present path until the window
// is closed (or Esc is pressed, or --frames N have been shown).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/input.h"
#include "core/sjis.h"
#include "platform/platform.h"
#include "tesra.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

// Colour bars, a grey ramp, a moving square and a one-pixel checker: scaling,
// channel order and pacing faults all show at a glance.
void DrawPattern(std::vector<uint32_t>* pixels, int frame) {
  static const uint32_t bars[8] = {0xFFFFFF, 0xFFFF00, 0x00FFFF, 0x00FF00,
                                   0xFF00FF, 0xFF0000, 0x0000FF, 0x000000};
  for (int y = 0; y < kHeight; ++y) {
    uint32_t* row = pixels->data() + static_cast<size_t>(y) * kWidth;
    for (int x = 0; x < kWidth; ++x) {
      uint32_t c;
      if (y < 240) {
        c = bars[x / (kWidth / 8)];
      } else if (y < 320) {
        const uint32_t g = static_cast<uint32_t>(x * 255 / (kWidth - 1));
        c = (g << 16) | (g << 8) | g;
      } else if (y < 400) {
        c = ((x ^ y) & 1) ? 0xFFFFFF : 0x000000;
      } else {
        c = 0x202040;
      }
      row[x] = c;
    }
  }
  const int sx = (frame * 4) % (kWidth - 40);
  for (int y = 420; y < 460; ++y)
    for (int x = sx; x < sx + 40; ++x) (*pixels)[static_cast<size_t>(y) * kWidth + x] = 0xE0B040;
}

}  // namespace

int main(int argc, char** argv) {
  long maxFrames = -1;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--frames") == 0 && i + 1 < argc) {
      maxFrames = std::strtol(argv[++i], nullptr, 10);
    } else if (std::strcmp(argv[i], "--headless") == 0) {
      PlatformUseBackend(PlatformBackend::Headless);
    } else {
      std::fprintf(stderr, "usage: demo [--frames N] [--headless]\n");
      return 2;
    }
  }
  const std::string title = Utf8ToCp932("碧霞霜月譚　～ Amber Snowfall Nocturne.　Ver 1.05");
  ApiSetLogOutput(0);
  ApiSetWindowTitle(title.c_str());
  ApiSetWindowIconResource(101);
  ApiChangeWindowMode(1);
  ApiSetScreenMode(640, 480, 32, 60);
  if (ApiInitializeLibrary() != 0) {
    std::fprintf(stderr, "demo: the library could not start (no display?)\n");
    return 1;
  }
  std::vector<uint32_t> pixels(static_cast<size_t>(kWidth) * kHeight);
  const int start = ApiGetMillisecondCount();
  long frame = 0;
  while (maxFrames < 0 || frame < maxFrames) {
    if (ApiProcessMessage() != 0) break;
    if (ApiIsKeyDown(KeyEscape)) break;
    DrawPattern(&pixels, static_cast<int>(frame));
    PlatformPresentFrame(pixels.data(), kWidth, kHeight, kWidth * 4, 32);
    ++frame;
  }
  const int elapsed = ApiGetMillisecondCount() - start;
  ApiEndLibrary();
  std::printf("demo: %ld frames in %d ms\n", frame, elapsed);
  return 0;
}
