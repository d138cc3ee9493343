// The graphics entry points with the library started on the headless back
// end: draws into the front screen show at once, the draw dispatch (quad
// corner order, rotation about a point, box outline, triangle chain), file and
// archive loading, BMP snapshots, and the release at the library end.
#include <gtest/gtest.h>

#include "memimg_access.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

#include "core/archive_pack.h"
#include "core/fileio.h"
#include "core/library.h"
#include "core/log.h"
#include "core/memory.h"
#include "core/test_files.h"
#include "graphics/font.h"
#include "graphics/graph_ops.h"
#include "graphics/graph_registry.h"
#include "graphics/screen.h"
#include "picture_writers.h"
#include "platform/platform.h"
#include "softrender/softrender.h"
#include "tesra.h"

namespace {

constexpr auto ScreenPixel = testutil::GetPixel;

void WriteFile(const std::string& path, const Bytes& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

class LibraryGraphics : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    PlatformUseBackend(PlatformBackend::Headless);
    HeadlessReset();
    ApiSetLogOutput(0);
    g_librarySettings.soundOff = 1;
    ASSERT_NE(ApiSetScreenMode(640, 480, GetParam(), 60), -1);
    ASSERT_EQ(ApiInitializeLibrary(), 0);
    ASSERT_TRUE(ScreensExist());
  }
  void TearDown() override {
    ApiEndLibrary();
    UseArchiveFileAccess(0);
    g_librarySettings.soundOff = 0;
  }
  // A graph from a picture written in memory.
  int Graph(const Picture& p) {
    const Bytes file = WriteTgaTrue(p, 24, false, true);  // opaque, no alpha channel
    return LoadGraphFromMemoryInner(file.data(), file.size());
  }
  uint32_t Colour(uint32_t argb) {
    return ApiRgbToScreenColor((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
  }
  const MEMIMG* Back() { return GetBackScreenMemImg(); }
};

// Four quadrants of distinct opaque colours, 16 x 16.
Picture Quadrants() {
  Picture p;
  p.width = p.height = 16;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      p.argb.push_back(y < 8 ? (x < 8 ? 0xFFF80000u : 0xFF00FC00u)
                             : (x < 8 ? 0xFF0000F8u : 0xFFF8FC00u));
  return p;
}

}  // namespace

TEST_P(LibraryGraphics, DrawsIntoTheFrontScreenShowAtOnce) {
  ASSERT_EQ(ApiSelectDrawTarget(FrontBufferTarget), 0);
  const int before = HeadlessPresentedFrameCount();
  ASSERT_EQ(ApiDrawRectangle(5, 6, 9, 8, Colour(0xFFFFFF), 1), 0);
  EXPECT_EQ(HeadlessPresentedFrameCount(), before + 1);
  const HeadlessFrame frame = HeadlessLastFrame();
  const int bpp = GetParam() / 8;
  uint32_t shown = 0;
  std::memcpy(&shown, frame.pixels.data() + (7 * 640 + 8) * bpp, static_cast<size_t>(bpp));
  EXPECT_EQ(shown, Colour(0xFFFFFF));
  EXPECT_EQ(ScreenPixel(Back(), 8, 7), 0u);  // the back screen was not touched
  // A draw to the back screen shows nothing until the present.
  ApiSelectDrawTarget(BackBufferTarget);
  ApiDrawRectangle(0, 0, 4, 4, Colour(0x808080), 1);
  EXPECT_EQ(HeadlessPresentedFrameCount(), before + 1);
  ApiPresentBackScreen();
  EXPECT_EQ(HeadlessPresentedFrameCount(), before + 2);
  EXPECT_EQ(ScreenPixel(Back(), 1, 1), Colour(0x808080));  // kept after the present
}

TEST_P(LibraryGraphics, QuadCornersGoRoundTheGraph) {
  const int graph = Graph(Quadrants());
  ASSERT_GE(graph, 0);
  // Corners top-left, top-right, bottom-right, bottom-left of an upright square.
  ASSERT_EQ(ApiDrawGraphQuad(100, 100, 116, 100, 116, 116, 100, 116, graph, 0), 0);
  EXPECT_EQ(ScreenPixel(Back(), 103, 103), Colour(0xF80000));
  EXPECT_EQ(ScreenPixel(Back(), 112, 103), Colour(0x00FC00));
  EXPECT_EQ(ScreenPixel(Back(), 103, 112), Colour(0x0000F8));  // left quarter not left empty
  EXPECT_EQ(ScreenPixel(Back(), 112, 112), Colour(0xF8FC00));
}

TEST_P(LibraryGraphics, RotationAboutAPointAtAngleZeroPlacesTheTopLeft) {
  const int graph = Graph(Quadrants());
  ASSERT_EQ(ApiDrawGraphRotatedAboutPoint(200, 150, 5, 3, 1.0, 0.0, graph, 0, 0), 0);
  EXPECT_EQ(ScreenPixel(Back(), 195, 147), Colour(0xF80000));  // (x - cx, y - cy)
  EXPECT_EQ(ScreenPixel(Back(), 194, 147), 0u);
  EXPECT_EQ(ScreenPixel(Back(), 195, 146), 0u);
  EXPECT_EQ(ScreenPixel(Back(), 210, 162), Colour(0xF8FC00));
  EXPECT_EQ(ScreenPixel(Back(), 211, 162), 0u);
  // Mirrored, the point is taken on the turned picture: (5, 3) of the graph
  // lies 3 left of the turned centre, so the centre goes to (197, 155).
  auto region = [&] {
    std::vector<uint32_t> pixels;
    for (int y = 130; y < 180; ++y)
      for (int x = 170; x < 230; ++x) pixels.push_back(ScreenPixel(Back(), x, y));
    return pixels;
  };
  ApiDrawRectangle(0, 0, 640, 480, 0, 1);
  ASSERT_EQ(ApiDrawGraphRotatedAboutPoint(200, 150, 5, 3, 1.0, 0.0, graph, 0, 1), 0);
  const std::vector<uint32_t> aboutPoint = region();
  ApiDrawRectangle(0, 0, 640, 480, 0, 1);
  ASSERT_EQ(ApiDrawGraphRotated(197, 155, 1.0, 0.0, graph, 0, 1), 0);
  EXPECT_EQ(region(), aboutPoint);
  EXPECT_NE(std::count(aboutPoint.begin(), aboutPoint.end(), 0u), static_cast<long>(aboutPoint.size()));
  // A quarter turn about (5, 3): the centre's offset (3, 5) turns to (-5, 3).
  ApiDrawRectangle(0, 0, 640, 480, 0, 1);
  ASSERT_EQ(ApiDrawGraphRotatedAboutPoint(200, 150, 5, 3, 1.0, 3.14159265358979 / 2, graph, 0, 0), 0);
  const std::vector<uint32_t> turned = region();
  ApiDrawRectangle(0, 0, 640, 480, 0, 1);
  ASSERT_EQ(ApiDrawGraphRotated(195, 153, 1.0, 3.14159265358979 / 2, graph, 0, 0), 0);
  EXPECT_EQ(region(), turned);
  // About its centre, the same as the centred rotated draw.
  ASSERT_EQ(ApiDrawGraphRotatedAboutPoint(400, 300, 8, 8, 1.0, 3.14159265358979 / 2, graph, 0, 0), 0);
  EXPECT_NE(ScreenPixel(Back(), 400, 300), 0u);
}

TEST_P(LibraryGraphics, BoxOutlineDrawsEachPixelOnce) {
  ApiSetBlendMode(2, 255);  // add: a pixel drawn twice would show double
  const uint32_t step = Colour(0x000010);
  ASSERT_EQ(ApiDrawRectangle(10, 10, 20, 15, step, 0), 0);
  int drawn = 0;
  for (int y = 8; y < 18; ++y)
    for (int x = 8; x < 22; ++x) {
      const uint32_t v = ScreenPixel(Back(), x, y);
      const bool edge = (y == 10 || y == 14 || x == 10 || x == 19) && x >= 10 && x < 20 &&
                        y >= 10 && y < 15;
      EXPECT_EQ(v, edge ? step : 0u) << x << "," << y;
      drawn += v != 0;
    }
  EXPECT_EQ(drawn, 26);
}

TEST_P(LibraryGraphics, ViewportMatrixAndTriangleChain) {
  float m[16];
  ASSERT_EQ(ApiBuildViewportMatrix(m, 208.0f, 240.0f, 384.0f, 448.0f), 0);
  const float want[16] = {192, 0, 0, 0, 0, -224, 0, 0, 0, 0, 1, 0, 208, 240, 0, 1};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(m[i], want[i]) << i;
  ASSERT_EQ(ApiSetViewportMatrix(m), 0);
  // The panel at angle 0 covers the play field exactly and upright.
  RasterVertex r;
  GraphVertex topLeft{0, 480, 0, 0x80402010u, 0.25f, 0.75f};
  ASSERT_TRUE(TransformGraphVertex(&topLeft, &r));
  EXPECT_EQ(r.x, 16.0f);
  EXPECT_EQ(r.y, 16.0f);
  EXPECT_EQ(r.rhw, 1.0f / 128);  // w in 128ths of the camera distance
  EXPECT_EQ(r.color, 0x80402010u);
  EXPECT_EQ(r.u, 0.25f);
  EXPECT_EQ(r.v, 0.75f);
  GraphVertex centre{320, 240, 0, 0, 0, 0};
  ASSERT_TRUE(TransformGraphVertex(&centre, &r));
  EXPECT_EQ(r.x, 208.0f);
  EXPECT_EQ(r.y, 240.0f);
  EXPECT_GT(r.z, 0.0f);
  EXPECT_LT(r.z, 1.0f);
  EXPECT_GT(r.rhw, 0.0f);
  GraphVertex bottomRight{640, 0, 0, 0xFFFFFFFF, 1, 1};
  ASSERT_TRUE(TransformGraphVertex(&bottomRight, &r));
  EXPECT_EQ(r.x, 400.0f);
  EXPECT_EQ(r.y, 464.0f);
  GraphVertex near{320, 240, -240, 0xFFFFFFFF, 0, 0};
  EXPECT_TRUE(TransformGraphVertex(&near, &r));  // in front of the camera
  // Two triangles over the whole field: drawn inside, nothing outside.
  Picture white;
  white.width = white.height = 8;
  white.argb.assign(64, 0xFFFFFFFFu);
  const int graph = Graph(white);
  // The tally's panel layout: (u, v) = (0,0) (1,0) (0,1) (1,1) (0,1) (1,0).
  const GraphVertex panel[6] = {{0, 480, 0, 0xFFFFFFFF, 0, 0},   {640, 480, 0, 0xFFFFFFFF, 1, 0},
                                {0, 0, 0, 0xFFFFFFFF, 0, 1},     {640, 0, 0, 0xFFFFFFFF, 1, 1},
                                {0, 0, 0, 0xFFFFFFFF, 0, 1},     {640, 480, 0, 0xFFFFFFFF, 1, 0}};
  ASSERT_EQ(ApiDrawGraphTriangles(panel, 2, graph, 0), 0);
  EXPECT_NE(ScreenPixel(Back(), 16, 16), 0u);
  EXPECT_NE(ScreenPixel(Back(), 399, 463), 0u);
  EXPECT_NE(ScreenPixel(Back(), 200, 240), 0u);
  EXPECT_EQ(ScreenPixel(Back(), 15, 100), 0u);
  EXPECT_EQ(ScreenPixel(Back(), 400, 100), 0u);
  EXPECT_EQ(ScreenPixel(Back(), 200, 15), 0u);
  EXPECT_EQ(ScreenPixel(Back(), 200, 464), 0u);
  EXPECT_EQ(ScreenPixel(GetDepthBufferMemImg(), 200, 240), 65535u);  // depth write is off
  // Turned by 60 degrees about the horizontal axis (top edge away from the
  // camera): narrower at the top than at the bottom, still over the middle.
  ApiDrawRectangle(0, 0, 640, 480, 0, 1);
  const float c = 0.5f, sn = 0.8660254f;
  GraphVertex turned[6];
  for (int i = 0; i < 6; ++i) {
    turned[i] = panel[i];
    const bool top = panel[i].v == 0;
    turned[i].y = top ? 240 + 240 * c : 240 - 240 * c;
    turned[i].z = top ? 240 * sn : -240 * sn;
  }
  ASSERT_EQ(ApiDrawGraphTriangles(turned, 2, graph, 0), 0);
  EXPECT_NE(ScreenPixel(Back(), 208, 240), 0u);
  int topWidth = 0, bottomWidth = 0;
  int firstRow = -1, lastRow = -1;
  for (int y = 0; y < 480; ++y) {
    int width = 0;
    for (int x = 0; x < 640; ++x) width += ScreenPixel(Back(), x, y) != 0;
    if (width && firstRow < 0) firstRow = y;
    if (width) lastRow = y;
  }
  ASSERT_GE(firstRow, 0);
  for (int x = 0; x < 640; ++x) {
    topWidth += ScreenPixel(Back(), x, firstRow + 1) != 0;
    bottomWidth += ScreenPixel(Back(), x, lastRow - 1) != 0;
  }
  EXPECT_LT(topWidth, bottomWidth);  // perspective: the far edge is shorter
  EXPECT_GT(firstRow, 16);
  EXPECT_LT(lastRow, 464);
}

TEST_P(LibraryGraphics, ArchiveAndPlainFileGiveTheSameGraph) {
  TempFolder dir;
  const Picture p = MakeTestPicture(11, 7, true);
  const Bytes tga = WriteTgaTrue(p, 32, true, false);
  ASSERT_EQ(std::system(("mkdir -p " + (dir / "plain")).c_str()), 0);
  WriteFile(dir / "plain/sprite.tga", tga);
  PackOptions options;
  options.key = "dorvask";
  WriteFile(dir / "packed.dat", BuildArchive({{"sprite.tga", tga}}, options));
  const int plain = ApiLoadGraphFromFile((dir / "plain/sprite.tga").c_str(), 0);
  ASSERT_GE(plain, 0);
  ApiSetArchiveFileAccess(1);
  ApiSetArchiveFileExtension("dat");
  ApiSetArchiveKey("dorvask");
  const int packed = ApiLoadGraphFromFile((dir / "packed/sprite.tga").c_str(), 0);
  ASSERT_GE(packed, 0);
  MEMIMG va, vb;
  const MEMIMG* a = GraphHandleMemImg(plain, &va);
  const MEMIMG* b = GraphHandleMemImg(packed, &vb);
  ASSERT_EQ(a->width, 11);
  ASSERT_EQ(b->width, 11);
  ASSERT_EQ(b->alphaFlag, 1u);
  for (int y = 0; y < 7; ++y)
    EXPECT_EQ(std::memcmp(MemImgRow(a, y), MemImgRow(b, y), 11u * a->format->bytesPerPixel), 0);
  EXPECT_EQ(ApiLoadGraphFromFile((dir / "packed/missing.tga").c_str(), 0), -1);
  ApiSetArchiveFileAccess(0);
}

TEST_P(LibraryGraphics, SplitLoadAndSnapshotRoundTrip) {
  TempFolder dir;
  WriteFile(dir / "sheet.bmp", WriteBmpDirect(Quadrants(), 24, false));
  int pieces[4];
  ASSERT_EQ(ApiLoadGraphFileSplit((dir / "sheet.bmp").c_str(), 4, 2, 2, 8, 8, pieces, 0), 0);
  EXPECT_EQ(CountGraphs(), 4);  // the whole sheet is let go
  ApiDrawGraphAt(0, 0, pieces[1], 0);  // top-right piece
  ApiDrawGraphAt(8, 0, pieces[2], 0);  // bottom-left piece
  EXPECT_EQ(ScreenPixel(Back(), 3, 3), Colour(0x00FC00));
  EXPECT_EQ(ScreenPixel(Back(), 11, 3), Colour(0x0000F8));
  ASSERT_EQ(ApiSaveScreenRectToBmp(0, 0, 16, 8, (dir / "shot.bmp").c_str()), 0);
  const int shot = ApiLoadGraphFromFile((dir / "shot.bmp").c_str(), 0);
  ASSERT_GE(shot, 0);
  MEMIMG view;
  const MEMIMG* image = GraphHandleMemImg(shot, &view);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 16; ++x) EXPECT_EQ(ScreenPixel(image, x, y), ScreenPixel(Back(), x, y));
  EXPECT_EQ(ApiSaveScreenRectToBmp(0, 0, 16, 8, (dir / "no/such/folder/shot.bmp").c_str()), -1);
}

TEST_P(LibraryGraphics, HandleRulesAndTheReleaseAtTheEnd) {
  const int graph = Graph(Quadrants());
  EXPECT_EQ(ApiFreeGraphHandle(graph, 0), 0);
  EXPECT_EQ(ApiFreeGraphHandle(graph, 0), -1);  // stale: ignored
  EXPECT_EQ(ApiFreeGraphHandle(-1, 0), -1);
  EXPECT_EQ(ApiDrawGraphAt(0, 0, graph, 0), -1);
  EXPECT_EQ(ApiDrawGraphRotated(0, 0, 1.0, 0.0, graph, 0, 0), -1);
  EXPECT_EQ(ApiDeriveSubGraph(0, 0, 2, 2, graph), -1);
  const int kept = Graph(Quadrants());
  ApiDeriveSubGraph(1, 1, 4, 4, kept);
  const int zero = ApiDeriveSubGraph(2, 2, 0, 0, kept);
  ASSERT_GE(zero, 0);
  EXPECT_EQ(ApiDrawGraphAt(0, 0, zero, 1), 0);  // valid, draws nothing
  EXPECT_EQ(ApiDrawGraphStretched(0, 0, 30, 30, zero, 1), 0);
  ApiSetRenderTargetCreation(1);
  const int target = ApiCreateBlankGraph(32, 32, 0);
  ApiSetRenderTargetCreation(0);
  ASSERT_EQ(ApiSelectDrawTarget(target), 0);
  ApiFreeGraphHandle(target, 0);  // the draw target falls back to the back screen
  EXPECT_EQ(g_drawState.drawTarget, BackBufferTarget);
  EXPECT_GE(ApiCreateFontToHandle("\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e", 14, 6, 3,
                                  -1, -1, 0, -1, -1),
            0);
  ApiEndLibrary();
  EXPECT_EQ(CountGraphs(), 0);
  EXPECT_EQ(CountSurface2D(), 0);
  EXPECT_EQ(CountSurfaceData(), 0);
  EXPECT_EQ(CountFonts(), 0);
  EXPECT_FALSE(ScreensExist());
  EXPECT_EQ(TrackedLiveBlockCount(), 0);  // the allocator dump is empty
  ASSERT_EQ(ApiInitializeLibrary(), 0);  // for the tear-down
}

TEST_P(LibraryGraphics, PartDrawsCutTheSourceAndMirror) {
  // Columns of distinct greens: column x of the picture has green 0x1C * (x + 1).
  Picture p;
  p.width = 8;
  p.height = 4;
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x) p.argb.push_back(0xFF000000u | (0x1Cu * (x + 1)) << 8);
  const int graph = Graph(p);
  ASSERT_GE(graph, 0);
  auto column = [&](int x) { return Colour(0x1Cu * (x + 1) << 8); };
  struct Case {
    const char* what;
    int x, srcX, width, turn;
    int drawnFrom, drawnTo;  // screen columns drawn (to exclusive)
    int firstColumn;         // picture column at drawnFrom
    int step;                // +1 plain, -1 mirrored
  };
  const Case cases[] = {
      {"plain", 100, 2, 3, 0, 100, 103, 2, 1},
      {"source starts left of the graph", 100, -2, 4, 0, 102, 104, 0, 1},
      {"source runs past the right edge", 100, 6, 5, 0, 100, 102, 6, 1},
      {"mirrored", 100, 2, 3, 1, 100, 103, 4, -1},
      {"mirrored, source starts left of the graph", 100, -2, 4, 1, 100, 102, 1, -1},
      {"mirrored, source runs past the right edge", 100, 6, 5, 1, 103, 105, 7, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ApiDrawRectangle(0, 0, 640, 480, 0, 1);
    ASSERT_EQ(ApiDrawGraphPart(c.x, 50, c.srcX, 1, c.width, 2, graph, 0, c.turn), 0);
    for (int x = 96; x < 110; ++x) {
      const bool inside = x >= c.drawnFrom && x < c.drawnTo;
      EXPECT_EQ(ScreenPixel(Back(), x, 50),
                inside ? column(c.firstColumn + c.step * (x - c.drawnFrom)) : 0u)
          << "screen column " << x;
      EXPECT_EQ(ScreenPixel(Back(), x, 51) != 0, inside) << "screen column " << x;
      EXPECT_EQ(ScreenPixel(Back(), x, 52), 0u);  // height 2: rows 50 and 51
    }
  }
  // Hostile corners and sizes draw nothing and do not overflow.
  EXPECT_EQ(ApiDrawGraphPart(INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX,
                             graph, 0, 1),
            0);
  EXPECT_EQ(ApiDrawGraphPart(INT32_MAX, 0, -2, 0, 4, 4, graph, 0, 0), 0);
  EXPECT_EQ(ApiDrawGraphPart(INT32_MAX - 1, 0, 0, 0, 4, 4, graph, 0, 1), 0);
  EXPECT_EQ(ApiDrawGraphRotatedAboutPoint(INT32_MIN, INT32_MIN, INT32_MAX, 5, 1.0, 0.0, graph, 0,
                                          0),
            0);
  EXPECT_EQ(ApiDrawGraphPart(0, 0, 0, 0, 4, 4, graph + 1, 0, 0), -1);
}

TEST_P(LibraryGraphics, CopyScreenToAnAlphaGraphConvertsTheColours) {
  const Bytes file = WritePng(MakeTestPicture(4, 3, true), true);
  const int graph = LoadGraphFromMemoryInner(file.data(), file.size());
  ASSERT_GE(graph, 0);
  MEMIMG view;
  const MEMIMG* image = GraphHandleMemImg(graph, &view);
  ASSERT_EQ(image->alphaFlag, 1u);
  const uint32_t colour = Colour(0x3060F0);
  ApiDrawRectangle(20, 10, 24, 13, colour, 1);
  ASSERT_EQ(ApiCopyScreenToGraph(20, 10, 24, 13, graph, 0), 0);
  // The colour word in place, alpha opaque (byte 3 of 32-bit, byte 2 of 16-bit pixels).
  const uint32_t want = GetParam() == 32 ? (colour | 0xFF000000u) : (colour | 0xFF0000u);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(ScreenPixel(image, x, y), want) << x << "," << y;
}

TEST_P(LibraryGraphics, TrianglesWithUnusableVerticesDrawNothing) {
  Picture white;
  white.width = white.height = 4;
  white.argb.assign(16, 0xFFFFFFFFu);
  const int graph = Graph(white);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  RasterVertex r;
  const GraphVertex bad[] = {{nan, 0, 0, 0, 0, 0},   {0, inf, 0, 0, 0, 0},
                             {0, 0, nan, 0, 0, 0},   {0, 0, -1000, 0, 0, 0},  // behind the camera
                             {0, 0, inf, 0, 0, 0},   {0, 0, 0, 0, nan, 0}};
  for (const GraphVertex& v : bad) EXPECT_FALSE(TransformGraphVertex(&v, &r)) << v.x << " " << v.z;
  for (const GraphVertex& v : bad) {
    const GraphVertex triangle[3] = {v, {100, 100, 0, 0xFFFFFFFF, 0, 0}, {200, 300, 0, 0xFFFFFFFF, 1, 1}};
    EXPECT_EQ(ApiDrawGraphTriangles(triangle, 1, graph, 0), 0);
  }
  int drawn = 0;
  for (int y = 0; y < 480; y += 2)
    for (int x = 0; x < 640; x += 2) drawn += ScreenPixel(Back(), x, y) != 0;
  EXPECT_EQ(drawn, 0);
  // A matrix of huge values sends every point out of range.
  float huge[16];
  ApiBuildViewportMatrix(huge, 320, 240, 640, 480);
  huge[12] = 3e38f;
  ApiSetViewportMatrix(huge);
  const GraphVertex fine{320, 240, 0, 0, 0, 0};
  EXPECT_FALSE(TransformGraphVertex(&fine, &r));
  EXPECT_EQ(ApiDrawGraphTriangles(nullptr, 1, graph, 0), -1);
  EXPECT_EQ(ApiDrawGraphTriangles(&fine, -1, graph, 0), -1);
}

INSTANTIATE_TEST_SUITE_P(Depths, LibraryGraphics, ::testing::Values(16, 32));
