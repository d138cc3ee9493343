// The rasteriser behind the library's triangle-list draw on headless MEMIMG
// screens: the stage-result panel over the play field, flat, edge-on and
// half-turned (written as a BMP for the eye), and true to perspective as it turns.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "graphics/graph_ops.h"
#include "graphics/graph_registry.h"
#include "graphics/screen.h"
#include "platform/platform.h"
#include "softrender/softrender.h"
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
  static void PlacePanel(double degrees, GraphVertex* v) {
    const double a = degrees * 3.14159265358979323846 / 180.0;
    const float c = static_cast<float>(std::cos(a)), s = static_cast<float>(std::sin(a));
    const float topY = 240 + 240 * c, topZ = 240 * s, bottomY = 240 - 240 * c, bottomZ = -240 * s;
    const GraphVertex panel[6] = {
        {0, topY, topZ, 0xFFFFFFFFu, 0, 0},          {640, topY, topZ, 0xFFFFFFFFu, 1, 0},
        {0, bottomY, bottomZ, 0xFFFFFFFFu, 0, 1},    {640, bottomY, bottomZ, 0xFFFFFFFFu, 1, 1},
        {0, bottomY, bottomZ, 0xFFFFFFFFu, 0, 1},    {640, topY, topZ, 0xFFFFFFFFu, 1, 0}};
    std::memcpy(v, panel, sizeof panel);
  }
  int DrawPanel(double degrees, int32_t graph = -1) {
    GraphVertex v[6];
    PlacePanel(degrees, v);
    return ApiDrawGraphTriangles(v, 2, graph < 0 ? graph_ : graph, 0);
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

namespace {

// Texel (x, y) of a 512 x 512 picture that names its own coordinates. Every
// byte is at least 1, so the white vertex colour's (c * 255) >> 8 = c - 1
// leaves a code that reads back exactly.
uint32_t CodedTexel(int x, int y) {
  return static_cast<uint32_t>((1 + (x & 127)) | (1 + (y & 127)) << 8 |
                               (1 + (x >> 7) + 4 * (y >> 7)) << 16);
}

// The exact texel at the centre of pixel (x, y) of the plane through three
// screen vertices: rhw, u x rhw and v x rhw are linear on the screen.
void PerspectiveTexel(const RasterVertex* t, int x, int y, int side, int* tx, int* ty) {
  const double d = (t[1].x - t[0].x) * (t[2].y - t[0].y) - (t[2].x - t[0].x) * (t[1].y - t[0].y);
  double r = 0, ur = 0, vr = 0;
  for (int k = 0; k < 3; ++k) {
    const RasterVertex &p = t[(k + 1) % 3], &q = t[(k + 2) % 3];
    const double b = ((p.x - x - 0.5) * (q.y - y - 0.5) - (q.x - x - 0.5) * (p.y - y - 0.5)) / d;
    r += b * t[k].rhw;
    ur += b * t[k].rhw * t[k].u;
    vr += b * t[k].rhw * t[k].v;
  }
  *tx = static_cast<int>(ur / r * side);
  *ty = static_cast<int>(vr / r * side);
}

}  // namespace

// Every covered pixel of the turning panel shows the texel of exact
// perspective within a few texels: no bands, no slanted centre line.
TEST_F(Panel, TurningPanelIsPerspectiveCorrectWithoutBands) {
  constexpr int kSide = 512;  // the tally's screen pictures
  MEMIMG image{};
  ASSERT_EQ(CreateMemImg(&image, kSide, kSide, -1, 0, ColorKind32, 0, 0, 0), 0);
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) Put(&image, x, y, CodedTexel(x, y));
  const int32_t coded = AddGraphFromMemImg(&image, 0);
  ASSERT_GE(coded, 0);
  for (double degrees : {0.0, 30.0, 60.0, 100.0, 150.0, 179.0}) {
    SCOPED_TRACE(degrees);
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x) Put(back_, x, y, kMarker);
    ASSERT_EQ(DrawPanel(degrees, coded), 0);
    GraphVertex panel[6];
    PlacePanel(degrees, panel);
    RasterVertex screen[3];  // the panel is flat: one triangle gives its planes
    for (int k = 0; k < 3; ++k) ASSERT_TRUE(TransformGraphVertex(&panel[k], &screen[k]));
    // Texel rows run down the screen before the half-turn and up it after.
    const int down = degrees < 90 ? 1 : -1;
    int worst = 0, backwards = 0, offCentre = 0, drawn = 0;
    std::vector<int> lastRow(640, down > 0 ? -1 : kSide);
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x) {
        const uint32_t got = Get(back_, x, y);
        if (got == kMarker) continue;
        ++drawn;
        const int high = static_cast<int>(got >> 16 & 255);
        const int tx = static_cast<int>(got & 255) + 128 * (high % 4);
        const int ty = static_cast<int>(got >> 8 & 255) + 128 * (high / 4);
        int wantX, wantY;
        PerspectiveTexel(screen, x, y, kSide, &wantX, &wantY);
        worst = std::max({worst, std::abs(tx - wantX), std::abs(ty - wantY)});
        // The panel's axis is screen column 208: the texture's middle meets it.
        if (x == 207) offCentre = std::max(offCentre, tx - 255);
        if (x == 208) offCentre = std::max(offCentre, 256 - tx);
        backwards = std::max(backwards, (lastRow[x] - ty) * down);
        lastRow[x] = ty;
      }
    EXPECT_GT(drawn, 384 * 100);
    EXPECT_LE(worst, 3);
    EXPECT_LE(offCentre, 1);
    EXPECT_LE(backwards, 1);  // rounding may step back a texel; a band jumps back tens
  }
}
