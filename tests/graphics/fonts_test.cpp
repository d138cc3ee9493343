// Fonts: the Windows face names resolve to installed Japanese faces, widths
// of CP932 text never cut a double-byte character, bad handles fail, and text
// is drawn with the blend mode in force.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>

#include "graphics/font.h"
#include "graphics/graph_registry.h"
#include "graphics/screen.h"

namespace {

const char kGothic[] = "\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e";  // ＭＳ ゴシック
const char kMincho[] = "\x82\x6c\x82\x72 \x96\xbe\x92\xa9";                  // ＭＳ 明朝
const char kHiraganaA[] = "\x82\xa0";                                        // あ

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
  return s;
}

class Fonts : public ::testing::Test {
 protected:
  void TearDown() override { DeleteAllFonts(); }
};

}  // namespace

TEST_F(Fonts, FaceNamesResolveToJapaneseFaces) {
  int index = -1;
  const std::string gothic = Lower(ResolveFontFile(kGothic, &index));
  EXPECT_NE(gothic.find("gothic"), std::string::npos) << gothic;
  EXPECT_GE(index, 0);
  const std::string mincho = Lower(ResolveFontFile(kMincho, &index));
  EXPECT_NE(mincho.find("mincho"), std::string::npos) << mincho;
  EXPECT_GE(CreateFontInner(kGothic, 14, 6, 3), 0);
  EXPECT_GE(CreateFontInner(kMincho, 24, 8, 3), 0);
  EXPECT_EQ(CountFonts(), 2);
}

TEST_F(Fonts, WidthsOfCp932Text) {
  const int font = CreateFontInner(kGothic, 16, 6, 3);
  ASSERT_GE(font, 0);
  const int a = MeasureTextInner("a", -1, font);
  const int kana = MeasureTextInner(kHiraganaA, -1, font);
  EXPECT_GT(a, 0);
  EXPECT_EQ(kana, 16);  // a full-width character takes the whole size
  std::string text = std::string("ab") + kHiraganaA + "c";
  EXPECT_EQ(MeasureTextInner(text.c_str(), -1, font), 3 * a + kana);
  EXPECT_EQ(MeasureTextInner(text.c_str(), static_cast<int>(text.size()), font), 3 * a + kana);
  // Three bytes end inside the double-byte character: it is left out whole.
  EXPECT_EQ(MeasureTextInner(text.c_str(), 3, font), 2 * a);
  EXPECT_EQ(MeasureTextInner(text.c_str(), 4, font), 2 * a + kana);
  EXPECT_EQ(MeasureTextInner("", -1, font), 0);
  EXPECT_EQ(MeasureTextInner("abc", 0, font), 0);
}

TEST_F(Fonts, BadHandlesFail) {
  const int font = CreateFontInner(kGothic, 16, 6, 3);
  EXPECT_EQ(MeasureTextInner("a", -1, 12345), -1);
  EXPECT_EQ(MeasureTextInner("a", -1, -1), -1);
  EXPECT_EQ(DrawTextInner(0, 0, "a", 0xFFFFFF, 12345, 0), -1);
  ASSERT_EQ(DeleteFontInner(font), 0);
  EXPECT_EQ(MeasureTextInner("a", -1, font), -1);  // stale
  EXPECT_EQ(DeleteFontInner(font), -1);
  EXPECT_EQ(CreateFontInner(kGothic, 0, 6, 3), -1);
}

TEST_F(Fonts, TextIsDrawnWithTheBlendMode) {
  g_screenSettings = ScreenSettings{};
  g_screenSettings.bits = 32;
  ASSERT_EQ(CreateScreens(), 0);
  const int font = CreateFontInner(kGothic, 24, 6, 3);
  ASSERT_GE(font, 0);
  auto strongest = [](int x0, int x1) {
    int best = 0;
    const MEMIMG* back = GetBackScreenMemImg();
    for (int y = 0; y < 40; ++y)
      for (int x = x0; x < x1; ++x) best = std::max<int>(best, MemImgRow(back, y)[x * 4 + 1]);
    return best;
  };
  ASSERT_EQ(DrawTextInner(10, 5, kHiraganaA, 0xFFFFFF, font, 0), 0);
  EXPECT_EQ(strongest(10, 34), 255);
  EXPECT_EQ(strongest(0, 10), 0);  // nothing left of the text
  SetBlendModeInner(1, 127);       // menus draw unselected entries at half strength
  ASSERT_EQ(DrawTextInner(110, 5, kHiraganaA, 0xFFFFFF, font, 0), 0);
  const int half = strongest(110, 134);
  EXPECT_GE(half, 120);
  EXPECT_LE(half, 128);
  DestroyScreens();
}
