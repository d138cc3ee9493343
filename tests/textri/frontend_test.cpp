// The four-corner draw from the public entry point down to the triangle fill,
// on headless MEMIMG screens: corner order, float corners, graph parts and
// the refusals of the triangle front end.
#include <gtest/gtest.h>

#include "memimg_access.h"

#include <cstring>

#include "graphics/graph_registry.h"
#include "graphics/screen.h"
#include "platform/platform.h"
#include "softrender/softrender.h"
#include "tesra.h"

namespace {

constexpr auto Get = testutil::GetPixel;
constexpr auto Put = testutil::PutPixel;

// Pixel (x, y) of the laser image: distinct, never 0.
uint32_t Texel(int x, int y) { return 1 + x + 16 * y; }

class QuadFrontEnd : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    PlatformUseBackend(PlatformBackend::Headless);
    HeadlessReset();
    g_screenSettings = ScreenSettings{};
    g_screenSettings.bits = GetParam();
    ASSERT_EQ(CreateScreens(), 0);
    const uint32_t kind = GetParam() == 32 ? ColorKind32 : ColorKind16;
    // A 4 x 12 laser, pixel (x, y) = Texel(x, y).
    MEMIMG image{};
    ASSERT_EQ(CreateMemImg(&image, 4, 12, -1, 0, kind, 0, 0, 0), 0);
    for (int y = 0; y < 12; ++y)
      for (int x = 0; x < 4; ++x) Put(&image, x, y, Texel(x, y));
    laser_ = AddGraphFromMemImg(&image, 0);
    ASSERT_GE(laser_, 0);
    back_ = GetBackScreenMemImg();
  }
  void TearDown() override {
    g_screen.softwareRendering = 1;
    DeleteAllGraphs();
    DestroyScreens();
  }
  // The laser drawn 1:1 with its top-left at (x, y), nothing around it.
  void ExpectUpright(int x0, int y0, int dx, int dy, int w, int h) {
    for (int y = -2; y < h + 2; ++y) {
      for (int x = -2; x < w + 2; ++x) {
        const bool inside = x >= 0 && x < w && y >= 0 && y < h;
        EXPECT_EQ(Get(back_, x0 + x, y0 + y), inside ? Texel(dx + x, dy + y) : 0u)
            << x << "," << y;
      }
    }
  }
  int32_t laser_ = -1;
  MEMIMG* back_ = nullptr;
};

}  // namespace

TEST_P(QuadFrontEnd, LaserThroughTheEntryPointIsUprightAndUnmirrored) {
  // The entry point goes round the quad: top-left, top-right, bottom-right,
  // bottom-left.
  ASSERT_EQ(ApiDrawGraphQuad(100, 50, 104, 50, 104, 62, 100, 62, laser_, 0), 0);
  ExpectUpright(100, 50, 0, 0, 4, 12);
}

TEST_P(QuadFrontEnd, CornerOrderOfTheBackEndAndFloatCorners) {
  const GraphRecord* record = GetGraphRecord(laser_);
  ASSERT_NE(record, nullptr);
  // Back end order: top-left, top-right, bottom-left, bottom-right.
  ASSERT_EQ(SoftwareDrawQuadGraph(20, 30, 24, 30, 20, 42, 24, 42, record, 0), 0);
  ExpectUpright(20, 30, 0, 0, 4, 12);
  // Swapping the two top and the two bottom points mirrors it.
  ASSERT_EQ(SoftwareDrawQuadGraph(64, 30, 60, 30, 64, 42, 60, 42, record, 0), 0);
  EXPECT_EQ(Get(back_, 64, 30), Texel(0, 0));
  EXPECT_EQ(Get(back_, 61, 41), Texel(3, 11));
  EXPECT_EQ(Get(back_, 60, 30), 0u);
  // Float corners are truncated toward zero: 40.9 -> 40, -1.9 -> -1.
  ASSERT_EQ(SoftwareDrawQuadGraphF(40.9f, 2.9f, 44.9f, 2.9f, 40.9f, 14.9f, 44.9f, 14.9f, record, 0),
            0);
  ExpectUpright(40, 2, 0, 0, 4, 12);
  ASSERT_EQ(SoftwareDrawQuadGraphF(-1.9f, 100.5f, 3.9f, 100.5f, -1.9f, 112.5f, 3.9f, 112.5f,
                                   record, 0),
            0);
  // Corner x -1 sits on column 0 (a negative position converts toward zero),
  // so the image starts there; -2 (a floor) would start it at column -1.
  EXPECT_EQ(Get(back_, 0, 100), Texel(0, 0));
  EXPECT_EQ(Get(back_, 3, 111), Texel(3, 11));
  EXPECT_EQ(Get(back_, 4, 100), 0u);
}

TEST_P(QuadFrontEnd, PartOfAnImageIsMappedFromThePartsCorner) {
  const int32_t part = DeriveGraph(1, 2, 2, 5, laser_);
  ASSERT_GE(part, 0);
  ASSERT_EQ(ApiDrawGraphQuad(200, 100, 202, 100, 202, 105, 200, 105, part, 0), 0);
  ExpectUpright(200, 100, 1, 2, 2, 5);
}

TEST_P(QuadFrontEnd, TriangleFrontEndRefusals) {
  const GraphRecord* record = GetGraphRecord(laser_);
  ASSERT_NE(record, nullptr);
  const TexturedTriangle t{0, 0, 0, 0, 4, 0, 4, 0, 0, 12, 0, 12};
  EXPECT_EQ(SoftwareDrawTriangleGraph(&t, record, 0, 0), 0);
  EXPECT_EQ(Get(back_, 0, 0), Texel(0, 0));
  GraphRecord broken = *record;
  broken.surface2D = -1;
  EXPECT_EQ(SoftwareDrawTriangleGraph(&t, &broken, 0, 0), -1);
  // An 8-bit screen goes through the locked work images, whose lock fails
  // here: -1 and nothing drawn.
  Put(back_, 0, 0, 0);
  const int32_t bits = g_screen.screenBits;
  g_screen.screenBits = 8;
  EXPECT_EQ(SoftwareDrawTriangleGraph(&t, record, 0, 0), -1);
  g_screen.screenBits = bits;
  EXPECT_EQ(Get(back_, 0, 0), 0u);
  g_screen.softwareRendering = 0;  // no drawing device at all
  EXPECT_EQ(SoftwareDrawTriangleGraph(&t, record, 0, 0), -1);
  // The quad reports 0 even when its triangles fail.
  EXPECT_EQ(SoftwareDrawQuadGraph(0, 0, 4, 0, 0, 12, 4, 12, record, 0), 0);
}

INSTANTIATE_TEST_SUITE_P(Depths, QuadFrontEnd, ::testing::Values(16, 32));
