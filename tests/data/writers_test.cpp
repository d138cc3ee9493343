// The generator's file writers byte for byte (RLE TGA packets, BMP row padding,
// the WAV header), its tileable noise and its text fitting.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "../../tools/datagen/audio.h"
#include "../../tools/datagen/canvas.h"
#include "../../tools/datagen/font.h"
#include "../../tools/datagen/noise.h"
#include "../../tools/datagen/writers.h"
#include "file_readers.h"

namespace {

using datagen::Canvas;
using datagen::Rgba;

TEST(DataWriters, TgaRunsAndRawPacketsStayInTheirRow) {
  // Row 0 (top): A A A B; row 1: C D D D. Written bottom row first.
  Canvas c(4, 2);
  const Rgba a{1, 2, 3, 255}, b{4, 5, 6, 0}, cc{7, 8, 9, 128}, d{10, 11, 12, 64};
  c.Set(0, 0, a); c.Set(1, 0, a); c.Set(2, 0, a); c.Set(3, 0, b);
  c.Set(0, 1, cc); c.Set(1, 1, d); c.Set(2, 1, d); c.Set(3, 1, d);
  const std::vector<uint8_t> t = datagen::EncodeTga(c);
  const std::vector<uint8_t> header = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 0, 2, 0, 32, 0x08};
  ASSERT_GE(t.size(), 18u);
  EXPECT_EQ(std::vector<uint8_t>(t.begin(), t.begin() + 18), header);
  const std::vector<uint8_t> body = {
      0x00, 9, 8, 7, 128,    // raw 1: C
      0x82, 12, 11, 10, 64,  // run 3: D
      0x82, 3, 2, 1, 255,    // run 3: A
      0x00, 6, 5, 4, 0};     // raw 1: B
  EXPECT_EQ(std::vector<uint8_t>(t.begin() + 18, t.end()), body);
}

TEST(DataWriters, TgaLongRowsRoundTrip) {
  // 300 wide: runs longer than 128, raw stretches longer than 128, and mixtures.
  Canvas c(300, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 300; ++x) {
      const bool flat = (y == 0) || (y == 2 && x > 150);
      const uint8_t v = flat ? 200 : static_cast<uint8_t>(datagen::Hash3(x, y, 9) & 0xFF);
      c.Set(x, y, Rgba{v, static_cast<uint8_t>(x & 0xFF), static_cast<uint8_t>(y), static_cast<uint8_t>(flat ? 255 : v)});
      if (flat) c.Set(x, y, Rgba{200, 100, 50, 255});
    }
  const datatest::Image img = datatest::ParseTga(datagen::EncodeTga(c));
  ASSERT_TRUE(img.ok);
  ASSERT_EQ(img.width, 300);
  ASSERT_EQ(img.height, 3);
  int wrong = 0;
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 300; ++x) {
      const Rgba p = c.Get(x, y);
      const uint32_t want = p.b | (p.g << 8) | (p.r << 16) | (uint32_t{p.a} << 24);
      wrong += img.At(x, y) != want;
    }
  EXPECT_EQ(wrong, 0);
}

TEST(DataWriters, BmpPadsRowsAndBlackensTransparency) {
  Canvas c(3, 2);
  c.Set(0, 0, Rgba{255, 0, 0, 255});
  c.Set(1, 0, Rgba{9, 9, 9, 0});  // transparent: written black
  c.Set(2, 1, Rgba{0, 0, 255, 255});
  const std::vector<uint8_t> b = datagen::EncodeBmp(c);
  ASSERT_EQ(b.size(), 54u + 2 * 12);  // rows of 9 bytes padded to 12
  EXPECT_EQ(datatest::Le32(b, 2), b.size());
  EXPECT_EQ(datatest::Le32(b, 10), 54u);
  EXPECT_EQ(datatest::Le32(b, 34), 24u);  // image bytes
  // Bottom row first: (0,1) (1,1) (2,1) then padding, then the top row.
  const std::vector<uint8_t> rows = {0, 0, 0, 0, 0, 0, 255, 0, 0, 0, 0, 0,
                                     0, 0, 255, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(std::vector<uint8_t>(b.begin() + 54, b.end()), rows);
}

TEST(DataWriters, WavHeaderIsCanonical) {
  const std::vector<uint8_t> w = datagen::EncodeWav({1, -2, 0x1234}, 1, 22050);
  const std::vector<uint8_t> want = {'R', 'I', 'F', 'F', 42, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ',
                                     16, 0, 0, 0, 1, 0, 1, 0, 0x22, 0x56, 0, 0, 0x44, 0xAC, 0, 0,
                                     2, 0, 16, 0, 'd', 'a', 't', 'a', 6, 0, 0, 0,
                                     1, 0, 0xFE, 0xFF, 0x34, 0x12};
  EXPECT_EQ(w, want);
  // Loop points fall on whole samples at 22,050 Hz.
  EXPECT_EQ(datagen::LoopSample(4500), 99225);
  EXPECT_EQ(datagen::LoopSample(6860), 151263);
  EXPECT_EQ(datagen::LoopSample(17000), 374850);
}

TEST(DataWriters, PeriodicNoiseWrapsAtThePictureSize) {
  for (int i = 0; i < 20; ++i) {
    const double x = i * 17.3, y = i * 5.1;
    EXPECT_NEAR(datagen::TileFbm(x, y, 384, 448, 6, 7, 5, 3), datagen::TileFbm(x + 384, y, 384, 448, 6, 7, 5, 3), 1e-9);
    EXPECT_NEAR(datagen::TileFbm(x, y, 384, 448, 6, 7, 5, 3), datagen::TileFbm(x, y + 448, 384, 448, 6, 7, 5, 3), 1e-9);
  }
  // The precomputed field gives the very same values.
  const datagen::NoiseField field(384, 448, 6, 7, 5, 3);
  for (int i = 0; i < 50; ++i) {
    const double x = i * 7.7, y = 447.0 - i * 9.1;
    EXPECT_EQ(field.At(x, y), datagen::TileFbm(x, y, 384, 448, 6, 7, 5, 3)) << x << "," << y;
  }
  EXPECT_EQ(datagen::Hash3(1, 2, 3), datagen::Hash3(1, 2, 3));
  EXPECT_NE(datagen::Hash3(1, 2, 3), datagen::Hash3(2, 1, 3));
}

TEST(DataWriters, DegenerateShapesLeaveTheCanvasAlone) {
  EXPECT_EQ(Canvas(-4, 3).width(), 0);
  EXPECT_TRUE(Canvas(-4, 3).pixels().empty());
  Canvas c(8, 8);
  const Rgba red{255, 0, 0, 255};
  c.Glow(4, 4, 0.0, red);
  c.Glow(4, 4, std::nan(""), red);
  c.Blend(2, 2, red, std::nan(""));
  c.Add(3, 3, red, std::nan(""));
  c.FillEllipse(4, 4, 0.0, 3.0, red);
  c.Set(-1, 0, red);
  c.Set(8, 8, red);
  int touched = 0;
  for (const Rgba& p : c.pixels()) touched += p.r || p.g || p.b || p.a;
  EXPECT_EQ(touched, 0);
  EXPECT_EQ(datagen::MakeRgba(300, -5, 128, 999).r, 255);
  EXPECT_EQ(datagen::Mix(red, Rgba{0, 0, 255, 255}, std::nan("")).r, 0) << "a NaN weight gives 0, not garbage";
}

TEST(DataWriters, FittedTextStaysInsideItsWidth) {
  ASSERT_TRUE(datagen::FontsAvailable());
  datagen::TextStyle st;
  st.size = 40;
  const std::string text = "琥珀「千年の樹液」";
  const datagen::TextStyle fit = datagen::FitText(text, st, 150);
  EXPECT_LT(fit.size, 40);
  EXPECT_LE(datagen::MeasureText(text, fit), 150);
  EXPECT_EQ(datagen::MeasureText("", st), 0);
  // Drawn text stays inside a clip and leaves ink there.
  Canvas c(160, 40);
  c.SetClip(10, 0, 100, 40);
  datagen::DrawText(c, 0, 0, text, st);
  int inside = 0, outside = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 160; ++x) (x >= 10 && x < 110 ? inside : outside) += c.Get(x, y).a > 0;
  EXPECT_GT(inside, 100);
  EXPECT_EQ(outside, 0);
}

}  // namespace
