// Screens in the headless back end: present keeps the back screen, draw
// target selection resets the draw area, screen colours, the depth buffer,
// copies into graphs, and the BMP snapshot bytes with their round trip.
#include <gtest/gtest.h>

#include "memimg_access.h"

#include <cstring>

#include "graphics/graph_ops.h"
#include "graphics/graph_registry.h"
#include "graphics/image_convert.h"
#include "graphics/screen.h"
#include "platform/platform.h"

namespace {

constexpr auto Get = testutil::GetPixel;
constexpr auto Put = testutil::PutPixel;


class Screens : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    PlatformUseBackend(PlatformBackend::Headless);
    HeadlessReset();
    g_screenSettings = ScreenSettings{};
    g_screenSettings.bits = GetParam();
    ASSERT_EQ(CreateScreens(), 0);
  }
  void TearDown() override {
    DeleteAllGraphs();
    DestroyScreens();
  }
};

}  // namespace

TEST_P(Screens, CreatedClearWithDepthBufferAndFlags) {
  const MEMIMG* back = GetBackScreenMemImg();
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->width, 640);
  EXPECT_EQ(back->height, 480);
  EXPECT_EQ(back->colorKind, GetParam() == 32 ? ColorKind32 : ColorKind16);
  EXPECT_EQ(Get(back, 639, 479), 0u);
  const MEMIMG* depth = GetDepthBufferMemImg();
  ASSERT_NE(depth, nullptr);
  EXPECT_EQ(depth->width, 640);
  EXPECT_EQ(depth->height, 480);
  EXPECT_EQ(Get(depth, 0, 0), 65535u);
  EXPECT_EQ(Get(depth, 639, 479), 65535u);
  EXPECT_EQ(g_screen.softwareRendering, 1);
  EXPECT_EQ(g_screen.memImgScreen, 1);
  EXPECT_EQ(g_screen.directDraw, nullptr);
  EXPECT_EQ(g_screen.directDrawStarted, 0);
  EXPECT_EQ(g_screen.screenBits, GetParam());
  EXPECT_EQ(g_drawState.depthWrite, 0);
  EXPECT_EQ(g_drawState.drawTarget, BackBufferTarget);
  EXPECT_EQ(g_mmxFlag, 1);
  uint32_t colour = 0;
  EXPECT_LT(BeginDirectDrawDraw(nullptr, 0, nullptr, nullptr, 1, &colour, 0), 0);
}

TEST_P(Screens, PresentCopiesAndKeepsTheBackScreen) {
  MEMIMG* back = GetBackScreenMemImg();
  Put(back, 10, 20, 0x1234);
  Put(back, 639, 0, 0x00F1);
  ASSERT_EQ(PresentBackScreenInner(), 0);
  EXPECT_EQ(HeadlessPresentedFrameCount(), 1);
  const HeadlessFrame frame = HeadlessLastFrame();
  ASSERT_EQ(frame.width, 640);
  EXPECT_EQ(frame.bits, GetParam());
  const int bpp = GetParam() / 8;
  uint32_t shown = 0;
  std::memcpy(&shown, frame.pixels.data() + (20 * 640 + 10) * bpp, static_cast<size_t>(bpp));
  EXPECT_EQ(shown, 0x1234u);
  EXPECT_EQ(Get(back, 10, 20), 0x1234u);  // no page flip: the back screen keeps the frame
  EXPECT_EQ(Get(GetFrontScreenMemImg(), 639, 0), 0xF1u);
}

TEST_P(Screens, DrawTargetSelectionResetsTheDrawArea) {
  ASSERT_EQ(SetClipRectangleInner(10, 20, 30, 40), 0);
  EXPECT_EQ(g_drawState.areaX1, 10);
  EXPECT_EQ(g_drawState.areaY2, 40);
  ASSERT_EQ(SetClipRectangleInner(-5, -5, 900, 700), 0);  // kept inside the target
  EXPECT_EQ(g_drawState.areaX1, 0);
  EXPECT_EQ(g_drawState.areaX2, 640);
  EXPECT_EQ(g_drawState.areaY2, 480);
  SetClipRectangleInner(1, 2, 3, 4);
  g_screenSettings.renderTargetCreation = 1;
  const int target = CreateBlankGraphInner(50, 40);
  g_screenSettings.renderTargetCreation = 0;
  const int plain = CreateBlankGraphInner(50, 40);
  ASSERT_EQ(SelectDrawTargetInner(target), 0);
  EXPECT_EQ(g_drawState.areaX1, 0);
  EXPECT_EQ(g_drawState.areaX2, 50);
  EXPECT_EQ(g_drawState.areaY2, 40);
  EXPECT_EQ(GetDrawTargetMemImg()->width, 50);
  EXPECT_EQ(SelectDrawTargetInner(plain), -1);  // not made as a draw target
  EXPECT_EQ(SelectDrawTargetInner(12345), -1);
  ASSERT_EQ(SelectDrawTargetInner(FrontBufferTarget), 0);
  EXPECT_EQ(GetDrawTargetMemImg(), GetFrontScreenMemImg());
  EXPECT_EQ(g_drawState.areaX2, 640);
}

TEST_P(Screens, ScreenColoursAndBlendSettings) {
  if (GetParam() == 32) {
    EXPECT_EQ(RgbToScreenColorInner(255, 128, 1), 0x00FF8001u);  // byte 3 stays 0
  } else {
    EXPECT_EQ(RgbToScreenColorInner(255, 128, 1), 0xFC00u | (32u << 5));
  }
  EXPECT_EQ(RgbToScreenColorInner(300, -4, 255), RgbToScreenColorInner(255, 0, 255));
  SetBlendModeInner(7, 300);
  EXPECT_EQ(g_drawState.blendMode, 7);  // stored unchanged
  EXPECT_EQ(g_drawState.blendParam, 255);
  SetDrawBrightnessInner(-3, 128, 999);
  EXPECT_EQ(g_drawState.brightRed, 0);
  EXPECT_EQ(g_drawState.brightGreen, 128);
  EXPECT_EQ(g_drawState.brightBlue, 255);
  EXPECT_EQ(SetBlendGraphInner(777, 0, 0), -1);
  EXPECT_EQ(BlendGraphMemImg(), nullptr);
}

TEST_P(Screens, CopyScreenToGraph) {
  MEMIMG* back = GetBackScreenMemImg();
  Put(back, 100, 50, 0x0BEE);
  Put(back, 102, 51, 0x0CAB);
  const int graph = CreateBlankGraphInner(4, 4);
  ASSERT_EQ(CopyScreenToGraphInner(100, 50, 104, 54, graph), 0);
  MEMIMG view;
  const MEMIMG* image = GraphHandleMemImg(graph, &view);
  EXPECT_EQ(Get(image, 0, 0), 0x0BEEu);
  EXPECT_EQ(Get(image, 2, 1), 0x0CABu);
  EXPECT_EQ(CopyScreenToGraphInner(0, 0, 4, 4, graph + 1), -1);
  EXPECT_EQ(CopyScreenToGraphInner(638, 478, 660, 500, graph), 0);  // clipped, no overrun
}

TEST_P(Screens, BmpSnapshotBytesAndRoundTrip) {
  MEMIMG* back = GetBackScreenMemImg();
  const uint32_t red = RgbToScreenColorInner(255, 0, 0);
  const uint32_t mixed = RgbToScreenColorInner(16, 132, 200);
  Put(back, 0, 0, red);
  Put(back, 4, 2, mixed);
  const std::vector<uint8_t> bmp = EncodeBmp24(back, 0, 0, 5, 3);
  // 5 pixels x 3 bytes = 15, padded to 16; 3 rows.
  ASSERT_EQ(bmp.size(), 54u + 48u);
  const uint8_t header[54] = {'B', 'M', 102, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,
                              40, 0, 0, 0, 5, 0, 0, 0, 3, 0, 0, 0, 1, 0, 24, 0,
                              0, 0, 0, 0, 48, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                              0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(std::memcmp(bmp.data(), header, 54), 0);
  // Bottom-up: the first stored row is screen row 2.
  EXPECT_EQ(bmp[54 + 4 * 3 + 2], 16);  // red of (4, 2), also through 5 bits
  EXPECT_EQ(bmp[54 + 2 * 16 + 2], 255);                          // red of (0, 0)
  EXPECT_EQ(bmp[54 + 15], 0);                                    // padding
  GraphImage decoded{};
  ASSERT_EQ(DecodeBmp(bmp.data(), bmp.size(), &decoded), 0);
  EXPECT_EQ(ArgbToMemImgPixel(GraphImagePixelArgb(&decoded, 4, 2), back->colorKind, 0), mixed);
  EXPECT_EQ(ArgbToMemImgPixel(GraphImagePixelArgb(&decoded, 0, 0), back->colorKind, 0), red);
  ReleaseGraphImage(&decoded);
  EXPECT_TRUE(EncodeBmp24(back, 10, 10, 10, 20).empty());
}

INSTANTIATE_TEST_SUITE_P(Depths, Screens, ::testing::Values(16, 32));
