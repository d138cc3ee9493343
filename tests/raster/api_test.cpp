// The rasteriser behind the library's triangle-list draw on headless MEMIMG
// screens: the stage-result panel over the play field, flat, edge-on and
// half-turned (written as a BMP for the eye).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "graphics/graph_registry.h"
#include "graphics/screen.h"
#include "platform/platform.h"
#include "tesra.h"

namespace {

constexpr int kPanelW = 384, kPanelH = 448;
constexpr uint32_t kMarker = 0x00ABCDEF;

uint32_t Get(const MEMIMG* image, int x, int y) {
  uint32_t v = 0;
  std::memcpy(&v, MemImgRow(image, y) + x * 4, 4);
  return v;
}
void Put(MEMIMG* image, int x, int y, uint32_t v) { std::memcpy(MemImgRow(image, y) + x * 4, &v, 4); }

// Texel (x, y) of the panel: blue x / 2, green y / 2, red 0x40.
uint32_t Texel(int x, int y) {
  return static_cast<uint32_t>((x / 2) | ((y / 2) << 8) | (0x40 << 16));
}

class Panel : public ::testing::Test {
 protected:
  void SetUp() override {
    PlatformUseBackend(PlatformBackend::Headless);
    HeadlessReset();
    g_screenSettings = ScreenSettings{};
    g_screenSettings.bits = 32;
    ASSERT_EQ(CreateScreens(), 0);
    MEMIMG image{};
    ASSERT_EQ(CreateMemImg(&image, kPanelW, kPanelH, -1, 0, ColorKind32, 0, 0, 0), 0);
    for (int y = 0; y < kPanelH; ++y)
      for (int x = 0; x < kPanelW; ++x) Put(&image, x, y, Texel(x, y));
    graph_ = AddGraphFromMemImg(&image, 0);
    ASSERT_GE(graph_, 0);
    back_ = GetBackScreenMemImg();
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x) Put(back_, x, y, kMarker);
    float viewport[16];
    ASSERT_EQ(ApiBuildViewportMatrix(viewport, 208, 240, kPanelW, kPanelH), 0);
    ASSERT_EQ(ApiSetViewportMatrix(viewport), 0);
  }
  void TearDown() override {
    DeleteAllGraphs();
    DestroyScreens();
  }
  // The panel as the stage result places it for angle a (degrees).
  int DrawPanel(double degrees) {
    const double a = degrees * 3.14159265358979323846 / 180.0;
    const float c = static_cast<float>(std::cos(a)), s = static_cast<float>(std::sin(a));
    const float topY = 240 + 240 * c, topZ = 240 * s, bottomY = 240 - 240 * c, bottomZ = -240 * s;
    const GraphVertex v[6] = {
        {0, topY, topZ, 0xFFFFFFFFu, 0, 0},          {640, topY, topZ, 0xFFFFFFFFu, 1, 0},
        {0, bottomY, bottomZ, 0xFFFFFFFFu, 0, 1},    {640, bottomY, bottomZ, 0xFFFFFFFFu, 1, 1},
        {0, bottomY, bottomZ, 0xFFFFFFFFu, 0, 1},    {640, topY, topZ, 0xFFFFFFFFu, 1, 0}};
    return ApiDrawGraphTriangles(v, 2, graph_, 0);
  }
  int Changed() {
    int n = 0;
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x) n += Get(back_, x, y) != kMarker;
    return n;
  }
  int32_t graph_ = -1;
  MEMIMG* back_ = nullptr;
};

}  // namespace

TEST_F(Panel, FlatPanelCoversThePlayFieldUpright) {
  ASSERT_EQ(DrawPanel(0), 0);
  int wrongCover = 0, wrongTexel = 0;
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      const bool inside = x >= 16 && x < 400 && y >= 16 && y < 464;
      const uint32_t got = Get(back_, x, y);
      if ((got != kMarker) != inside) {
        if (wrongCover++ < 5) ADD_FAILURE() << "cover " << x << "," << y;
        continue;
      }
      if (!inside) continue;
      // The white vertex colour takes each channel c to (c * 255) >> 8 and the
      // texture holds one code per two texels, so allow that much.
      const int tx = 2 * static_cast<int>((got & 0xFF) + 1);
      const int ty = 2 * static_cast<int>(((got >> 8) & 0xFF) + 1);
      if (std::abs(tx - (x - 16)) > 2 || std::abs(ty - (y - 16)) > 2 || ((got >> 16) & 0xFF) != 0x3F) {
        if (wrongTexel++ < 5)
          ADD_FAILURE() << "texel at " << x << "," << y << ": " << tx << "," << ty;
      }
    }
  }
  EXPECT_EQ(wrongCover, 0);
  EXPECT_EQ(wrongTexel, 0);
}

TEST_F(Panel, EdgeOnPanelDrawsNearlyNothing) {
  ASSERT_EQ(DrawPanel(90), 0);
  EXPECT_LT(Changed(), 2 * 640);
}

TEST_F(Panel, HalfTurnedPanelForTheEye) {
  ASSERT_EQ(DrawPanel(45), 0);
  const int changed = Changed();
  EXPECT_GT(changed, 384 * 448 / 4);
  EXPECT_LT(changed, 640 * 480);
  // Nothing leaves the screen's rows above and below the turning panel's reach.
  const char* name = "raster_panel_45.bmp";
  ASSERT_EQ(ApiSaveScreenRectToBmp(0, 0, 640, 480, name), 0);
  std::FILE* f = std::fopen(name, "rb");
  ASSERT_NE(f, nullptr);
  std::fseek(f, 0, SEEK_END);
  EXPECT_EQ(std::ftell(f), 54 + 640 * 480 * 3);
  std::fclose(f);
}
