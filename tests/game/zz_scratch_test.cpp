// scratch experiment (QA), to be removed
#include <gtest/gtest.h>
#include <cstring>
#include "driver.h"
#include "library/tesra.h"
#include "shell/savefile.h"
#include "shell/title.h"

TEST(Scratch, Opaque16) {
  GameDriver d;
  ASSERT_TRUE(d.UseStandInData());
  GameState& s = d.State();
  s.screenMode = 0; s.color32 = 0; s.bgmVolume = 100; s.seVolume = 100;
  for (int k = 0; k < 4; ++k) s.padButton[k] = 4 + k;
  uint8_t image[20];
  EncodeConfigFile(s, image);
  GameDriver::WriteFile("vko01.cfg", std::vector<uint8_t>(image, image + 20));
  std::memset(&s, 0, sizeof s);
  ASSERT_EQ(d.Start(), StartUpResult::Ready);
  d.Run(300);
  HeadlessFrame a = HeadlessLastFrame();
  int bd = s.title->backdrop;
  for (int fill : {0, 255}) {
    ApiSetBlendMode(0, 255);
    ApiDrawRectangle(0, 0, 640, 480, ApiRgbToScreenColor(fill, fill, fill), 1);
    int r = ApiDrawGraphAt(0, 0, bd, 0);
    ApiPresentBackScreen();
    HeadlessFrame f = HeadlessLastFrame();
    int diff = 0;
    for (size_t i = 0; i < f.pixels.size(); ++i) diff += f.pixels[i] != a.pixels[i];
    printf("fill %d draw=%d bits=%d differing bytes vs title frame: %d\n", fill, r, f.bits, diff);
    for (int y : {10, 200, 470}) { const uint8_t* px = &f.pixels[(y * 640 + 600) * 2]; printf("  y%d: %04x\n", y, px[0] | px[1] << 8); }
  }
}
