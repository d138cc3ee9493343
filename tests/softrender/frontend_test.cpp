// The software draw front ends on MEMIMG screens: float corners, mirroring,
// graphs cut from larger images, the mask target, the primitives' results,
// and the refusals without a drawing device.
#include <gtest/gtest.h>

#include "memimg_access.h"

#include <cstring>
#include <vector>

#include "graphics/graph_registry.h"
#include "graphics/screen.h"
#include "platform/platform.h"
#include "softrender/softrender.h"

namespace {

constexpr auto Get = testutil::GetPixel;
constexpr auto Put = testutil::PutPixel;


int32_t FloatWord(float f) {
  int32_t w;
  std::memcpy(&w, &f, sizeof w);
  return w;
}

class FrontEnds : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    PlatformUseBackend(PlatformBackend::Headless);
    HeadlessReset();
    g_screenSettings = ScreenSettings{};
    g_screenSettings.bits = GetParam();
    ASSERT_EQ(CreateScreens(), 0);
    kind_ = GetParam() == 32 ? ColorKind32 : ColorKind16;
    // An 8 x 4 image whose pixel (x, y) is 1 + x + 16 y; graph 0 is all of
    // it, graph 1 the part (2, 1, 4, 2).
    MEMIMG image{};
    ASSERT_EQ(CreateMemImg(&image, 8, 4, -1, 0, kind_, 0, 0, 0), 0);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 8; ++x) Put(&image, x, y, 1 + x + 16 * y);
    whole_ = AddGraphFromMemImg(&image, 0);
    ASSERT_GE(whole_, 0);
    part_ = DeriveGraph(2, 1, 4, 2, whole_);
    ASSERT_GE(part_, 0);
    back_ = GetBackScreenMemImg();
  }
  void TearDown() override {
    g_screen.softwareRendering = 1;
    g_screen.memImgScreen = 1;
    g_screen.screenBits = GetParam();
    g_drawState.maskOn = 0;
    DeleteAllGraphs();
    DestroyScreens();
  }
  uint32_t kind_ = 0;
  int32_t whole_ = -1, part_ = -1;
  MEMIMG* back_ = nullptr;
};

TEST_P(FrontEnds, StretchedFloatCornersTruncateTowardZero) {
  const GraphRecord* g = GetGraphRecord(whole_);
  ASSERT_NE(g, nullptr);
  // (-0.5, 0) to (10.9, 4.2): the rectangle (0, 0, 10, 4), not (-1, 0, 11, 4).
  EXPECT_EQ(SoftwareDrawStretchedGraph(FloatWord(-0.5f), FloatWord(0.0f), FloatWord(10.9f),
                                       FloatWord(4.2f), g, 0, 0, -1),
            0);
  EXPECT_EQ(Get(back_, 0, 0), 1u);
  EXPECT_NE(Get(back_, 9, 0), 0u);
  EXPECT_EQ(Get(back_, 10, 0), 0u);
  EXPECT_EQ(Get(back_, 0, 4), 0u);
}

TEST_P(FrontEnds, StretchedMirrorsAndDrawsPartsFromViews) {
  const GraphRecord* g = GetGraphRecord(part_);
  ASSERT_NE(g, nullptr);
  // Same size, right to left: mirrored, not handed to the unscaled draw.
  EXPECT_EQ(SoftwareDrawStretchedGraph(24, 10, 20, 12, g, 0, 1, -1), 0);
  for (int row = 0; row < 2; ++row)
    for (int col = 0; col < 4; ++col)
      EXPECT_EQ(Get(back_, 23 - col, 10 + row), 1u + (2 + col) + 16u * (1 + row)) << col;
  EXPECT_EQ(Get(back_, 24, 10), 0u);
  // An empty rectangle draws nothing but is no error on MEMIMG screens.
  EXPECT_EQ(SoftwareDrawStretchedGraph(30, 30, 30, 40, g, 0, 1, -1), 0);
}

TEST_P(FrontEnds, RotatedDrawsPartAtItsCentre) {
  const GraphRecord* g = GetGraphRecord(part_);
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(SoftwareDrawRotatedGraph(50, 40, 1.0, 0.0, g, 0, 0), 0);
  // Part 4 x 2: its pixel (0, 0) (image (2, 1)) lands on (48, 39).
  EXPECT_EQ(Get(back_, 48, 39), 1u + 2 + 16);
  EXPECT_EQ(Get(back_, 51, 40), 1u + 5 + 32);
  EXPECT_EQ(Get(back_, 47, 39), 0u);
  EXPECT_EQ(Get(back_, 52, 40), 0u);
}

// The turn flag reaches the blit unchanged: the front end's mirrored draw is
// the blit's mirrored draw, and differs from the plain one.
TEST_P(FrontEnds, RotatedPassesTheTurnFlag) {
  const GraphRecord* g = GetGraphRecord(whole_);
  ASSERT_NE(g, nullptr);
  const size_t bytes = static_cast<size_t>(back_->pitch) * back_->height;
  EXPECT_EQ(SoftwareDrawRotatedGraph(50, 40, 2.0, 0.3, g, 0, 1), 0);
  const std::vector<uint8_t> frontEnd(back_->pixels, back_->pixels + bytes);
  std::memset(back_->pixels, 0, bytes);
  SurfaceData* data = GetSurfaceData(GetSurface2D(g->surface2D)->surfaceData);
  ASSERT_NE(data, nullptr);
  MemImgRotatedBlit(back_, &data->image, 50, 40, 0.3f, 2.0f, 0, 1, nullptr);
  const std::vector<uint8_t> mirrored(back_->pixels, back_->pixels + bytes);
  std::memset(back_->pixels, 0, bytes);
  MemImgRotatedBlit(back_, &data->image, 50, 40, 0.3f, 2.0f, 0, 0, nullptr);
  const std::vector<uint8_t> plain(back_->pixels, back_->pixels + bytes);
  EXPECT_EQ(frontEnd, mirrored);
  EXPECT_NE(frontEnd, plain);
  EXPECT_NE(mirrored, std::vector<uint8_t>(bytes, 0));
}

TEST_P(FrontEnds, MaskOnDrawsIntoTheMask) {
  MEMIMG* mask = GetMaskMemImg();
  ASSERT_NE(mask, nullptr);
  // Without a live mask image a masked draw fails instead of drawing.
  const bool made = mask->aliveMark != MemImgAliveMark;
  if (made) {
    g_drawState.maskOn = 1;
    EXPECT_EQ(SoftwareFillRect(0, 0, 4, 4, 7), -1);
    g_drawState.maskOn = 0;
    ASSERT_EQ(CreateMemImg(mask, 640, 480, -1, 0, kind_, 0, 0, 0), 0);
  }
  std::memset(mask->pixels, 0, static_cast<size_t>(mask->pitch) * mask->height);
  g_drawState.maskOn = 1;
  const GraphRecord* g = GetGraphRecord(whole_);
  EXPECT_EQ(SoftwareDrawStretchedGraph(0, 0, 16, 8, g, 0, 1, -1), 0);
  EXPECT_EQ(SoftwareFillRect(100, 100, 102, 101, 7), 0);
  g_drawState.maskOn = 0;
  EXPECT_EQ(Get(back_, 0, 0), 0u);
  EXPECT_EQ(Get(back_, 100, 100), 0u);
  EXPECT_EQ(Get(mask, 0, 0), 1u);
  EXPECT_EQ(Get(mask, 101, 100), 7u);
  if (made) FreeMemImg(mask);
}

TEST_P(FrontEnds, PrimitivesDrawAndReportZero) {
  EXPECT_EQ(SoftwareFillRect(5, 6, 2, 3, 9), 0);  // corners in either order
  EXPECT_EQ(Get(back_, 2, 3), 9u);
  EXPECT_EQ(Get(back_, 4, 5), 9u);
  EXPECT_EQ(Get(back_, 5, 5), 0u);
  EXPECT_EQ(SoftwareDrawPixel(639, 479, 3), 0);
  EXPECT_EQ(Get(back_, 639, 479), 3u);
  EXPECT_EQ(SoftwareDrawPixel(640, 0, 3), 0);  // outside: nothing, still 0
  EXPECT_EQ(SoftwareDrawBoxFrame(10, 10, 20, 15, 1), 0);
  int outline = 0;
  for (int y = 8; y < 18; ++y)
    for (int x = 8; x < 22; ++x) outline += Get(back_, x, y) == 1u;
  EXPECT_EQ(outline, 26);
}

TEST_P(FrontEnds, DrawAreaBeyondTheScreenIsClamped) {
  g_drawState.areaX1 = -500;
  g_drawState.areaY1 = -500;
  g_drawState.areaX2 = 5000;
  g_drawState.areaY2 = 5000;
  const GraphRecord* g = GetGraphRecord(whole_);
  EXPECT_EQ(SoftwareFillRect(-1000, -1000, 2000, 2000, 5), 0);
  EXPECT_EQ(SoftwareDrawStretchedGraph(600, 400, 700, 500, g, 0, 1, -1), 0);
  EXPECT_EQ(SoftwareDrawRotatedGraph(639, 479, 10.0, 0.5, g, 0, 0), 0);
  EXPECT_EQ(Get(back_, 0, 0), 5u);
}

TEST_P(FrontEnds, RefusedWithoutDeviceOrGraph) {
  const GraphRecord* g = GetGraphRecord(whole_);
  EXPECT_EQ(SoftwareDrawStretchedGraph(0, 0, 8, 4, nullptr, 0, 1, -1), -1);
  EXPECT_EQ(SoftwareDrawStretchedGraph(0, 0, 8, 4, g, 0, 1, 0x7FFF), -1);  // unknown part
  g_screen.softwareRendering = 0;
  EXPECT_EQ(SoftwareDrawStretchedGraph(0, 0, 16, 8, g, 0, 1, -1), -1);
  EXPECT_EQ(SoftwareDrawRotatedGraph(10, 10, 1.0, 0.0, g, 0, 0), -1);
  EXPECT_EQ(SoftwareFillRect(0, 0, 4, 4, 1), -1);
  EXPECT_EQ(SoftwareDrawPixel(0, 0, 1), -1);
  g_screen.softwareRendering = 1;
  EXPECT_EQ(Get(back_, 0, 0), 0u);
}

// With 8-bit screens the DirectDraw path is taken: a same-size draw goes to
// the unscaled DirectDraw draw, everything else needs the surface lock, which
// fails here, so nothing is drawn and the result is -1.
TEST_P(FrontEnds, EightBitScreensTakeTheDirectDrawPath) {
  const GraphRecord* g = GetGraphRecord(whole_);
  g_screen.screenBits = 8;
  EXPECT_EQ(SoftwareDrawStretchedGraph(3, 2, 11, 6, g, 0, 1, -1), 0);
  EXPECT_EQ(SoftwareDrawStretchedGraph(30, 2, 22, 6, g, 0, 1, -1), -1);  // mirrored
  EXPECT_EQ(SoftwareDrawStretchedGraph(40, 2, 56, 10, g, 0, 1, -1), -1);
  EXPECT_EQ(SoftwareDrawStretchedGraph(40, 2, 40, 10, g, 0, 1, -1), -1);  // empty
  EXPECT_EQ(SoftwareDrawRotatedGraph(100, 100, 1.0, 0.0, g, 0, 0), -1);
  EXPECT_EQ(SoftwareFillRect(200, 200, 210, 210, 5), -1);
  EXPECT_EQ(SoftwareDrawPixel(200, 200, 5), -1);
  g_screen.screenBits = GetParam();
  EXPECT_EQ(Get(back_, 3, 2), 1u);   // the unscaled draw at (left, top)
  EXPECT_EQ(Get(back_, 10, 5), 1u + 7 + 48);
  EXPECT_EQ(Get(back_, 29, 2), 0u);
  EXPECT_EQ(Get(back_, 40, 2), 0u);
  EXPECT_EQ(Get(back_, 100, 100), 0u);
  EXPECT_EQ(Get(back_, 200, 200), 0u);
}

INSTANTIATE_TEST_SUITE_P(Depths, FrontEnds, ::testing::Values(16, 32));

}  // namespace
