// The status display drawn alone: which panel places change with the play's
// counters (MAX at full power, the fifth graze digit from 10000, the boss
// bar's last column, no spell name beyond id 255).
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "game/driver.h"
#include "graphics/graph_registry.h"
#include "library/platform/platform.h"
#include "library/tesra.h"
#include "playfield/backgroundframe.h"
#include "memimg_access.h"
#include "playfield/boss.h"

namespace {

// The frame of the status display over a black screen.
HeadlessFrame RenderPanel(GameState& s) {
  ApiDrawRectangle(0, 0, 640, 480, ApiRgbToScreenColor(0, 0, 0), 1);
  s.backgroundFrame->Draw(s);
  ApiPresentBackScreen();
  return HeadlessLastFrame();
}

bool SameRect(const HeadlessFrame& a, const HeadlessFrame& b, int x, int y, int w, int h) {
  const int bpp = a.bits / 8;
  for (int row = y; row < y + h; ++row)
    for (int i = x * bpp; i < (x + w) * bpp; ++i) {
      const size_t at = static_cast<size_t>(row) * a.width * bpp + i;
      if (a.pixels[at] != b.pixels[at]) return false;
    }
  return true;
}

TEST(Panel, PlacesFollowTheCounters) {
  GameDriver d;
  if (!d.UseStandInData()) GTEST_SKIP() << "the data generator is not built";
  ASSERT_EQ(d.Start(), StartUpResult::Ready);
  GameState& s = d.State();
  s.scene = ScenePlaying;
  s.power = 127;
  s.graze = 0;
  Boss& b = *s.boss;
  b.Start(1, 9, 208, 128, 0.0f, 0.0f);
  b.hp = 0;
  b.maxHp = 1000;
  const HeadlessFrame base = RenderPanel(s);

  struct Case {
    const char* name;
    std::function<void()> set;
    int x, y, w, h;  // the place that changes (or not)
    bool changes;
  };
  const Case cases[] = {
      {"power 128 is MAX", [&] { s.power = 128; }, 519, 166, 12, 16, true},
      {"graze 9999: four digits", [&] { s.graze = 9999; }, 543, 186, 12, 16, false},
      {"graze 10000: five digits", [&] { s.graze = 10000; }, 543, 186, 12, 16, true},
      {"bar to column 207", [&] { b.hp = 500; }, 207, 24, 1, 4, true},
      {"bar not past 207", [&] { b.hp = 500; }, 208, 24, 1, 4, false},
      {"bar clamped to 368 columns", [&] { b.hp = 5000; }, 392, 24, 1, 4, false},
      {"no bar without a maximum", [&] { b.hp = 500, b.maxHp = 0; }, 24, 24, 1, 4, false},
      {"spell name", [&] { b.spellId = 45; }, 126, 42, 256, 16, true},
      {"no name beyond 255", [&] { b.spellId = 300; }, 126, 0, 256, 100, false},
  };
  for (const Case& c : cases) {
    c.set();
    const HeadlessFrame f = RenderPanel(s);
    EXPECT_EQ(!SameRect(base, f, c.x, c.y, c.w, c.h), c.changes) << c.name;
    s.power = 127;
    s.graze = 0;
    b.hp = 0;
    b.maxHp = 1000;
    b.spellId = 0;
  }
}

// The power bar is drawn transparent: its opaque pixels land exactly as the
// piece holds them, where an opaque draw of an alpha picture blends them.
TEST(Panel, PowerBarIsTransparent) {
  GameDriver d;
  if (!d.UseStandInData()) GTEST_SKIP() << "the data generator is not built";
  ASSERT_EQ(d.Start(), StartUpResult::Ready);
  GameState& s = d.State();
  s.scene = ScenePlaying;
  s.power = 127;
  const HeadlessFrame f = RenderPanel(s);
  MEMIMG view;
  const MEMIMG* piece = GraphHandleMemImg(s.backgroundFrame->barPieces[1], &view);
  ASSERT_NE(piece, nullptr);
  ASSERT_EQ(f.bits, 32);
  for (int x : {494, 620})
    for (int y = 0; y < 4; ++y) {
      uint32_t shown = 0;
      std::memcpy(&shown, f.pixels.data() + (static_cast<size_t>(180 + y) * f.width + x) * 4, 3);
      EXPECT_EQ(shown, testutil::GetPixel(piece, 0, y) & 0xFFFFFFu) << x << "," << y;
    }
}

}  // namespace
