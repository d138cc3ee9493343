// The software back ends of the graph triangle and four-corner draws: they find
// the graph's pixels and the target image and hand each triangle to the
// textured triangle fill, straight on MEMIMG screens or on locked work images.
#include <cstdint>

#include "core/numeric.h"
#include "graphics/graphics_internal.h"
#include "softrender/softrender.h"

namespace {

bool GraphicsStarted() { return g_screen.softwareRendering != 0 || g_screen.directDraw != nullptr; }

}  // namespace

int SoftwareDrawTriangleGraph(const TexturedTriangle* triangle, const GraphRecord* graph,
                              int32_t transparency, int32_t extraWord) {
  if (!GraphicsStarted()) return -1;
  if (triangle == nullptr || graph == nullptr) return -1;
  Surface2D* part = GetSurface2D(graph->surface2D);
  if (part == nullptr) return -1;
  SurfaceData* data = GetSurfaceData(part->surfaceData);
  if (data == nullptr) return -1;
  const MEMIMG* blendGraph = BlendGraphMemImg();

  if (g_screen.memImgScreen == 1 && g_screen.screenBits != 8) {
    const MEMIMG* source = &data->image;
    MEMIMG view{};
    if (part->width != data->width || part->height != data->height) {
      // A part reaching past its image would make a view over foreign memory.
      if (int{part->x} + part->width > data->image.width ||
          int{part->y} + part->height > data->image.height) {
        return -1;
      }
      MakeMemImgView(&view, &data->image, part->x, part->y, part->width, part->height);
      source = &view;
    }
    MEMIMG* target = g_drawState.maskOn ? GetMaskMemImg() : GetDrawTargetMemImg();
    if (target == nullptr) return -1;
    MemImgTexturedTriangle(target, source, triangle, transparency, blendGraph, extraWord);
    return 0;
  }

  FlushVertexBatch();
  if (g_screen.directDrawStarted) EndDeviceScene();
  IntRect targetBox{1000000, 1000000, -1000000, -1000000};
  IntRect sourceBox{1000000, 1000000, -1000000, -1000000};
  const int32_t corner[3][4] = {{triangle->x0, triangle->y0, triangle->u0, triangle->v0},
                                {triangle->x1, triangle->y1, triangle->u1, triangle->v1},
                                {triangle->x2, triangle->y2, triangle->u2, triangle->v2}};
  for (const auto& c : corner) {
    if (c[0] < targetBox.x1) targetBox.x1 = c[0];
    if (c[1] < targetBox.y1) targetBox.y1 = c[1];
    if (c[0] > targetBox.x2) targetBox.x2 = c[0];
    if (c[1] > targetBox.y2) targetBox.y2 = c[1];
    if (c[2] < sourceBox.x1) sourceBox.x1 = c[2];
    if (c[3] < sourceBox.y1) sourceBox.y1 = c[3];
    if (c[2] > sourceBox.x2) sourceBox.x2 = c[2];
    if (c[3] > sourceBox.y2) sourceBox.y2 = c[3];
  }
  if (BeginDirectDrawDraw(part, 0, &sourceBox, &targetBox, 0, nullptr, 0) < 0) return -1;
  MemImgTexturedTriangle(&g_workTargetMemImg, &g_workSourceMemImg, triangle, transparency,
                         blendGraph, extraWord);
  EndDirectDrawDraw();
  return 0;
}

int SoftwareDrawQuadGraph(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                          int32_t x3, int32_t y3, const GraphRecord* graph, int32_t transparency) {
  if (graph == nullptr) return -1;
  const int32_t w = graph->width, h = graph->height;
  // Two overlapping windows of one block of four vertices: 0-2 and 1-3.
  const int32_t block[16] = {x0, y0, 0, 0, x1, y1, w, 0, x2, y2, 0, h, x3, y3, w, h};
  TexturedTriangle first, second;
  static_assert(sizeof(TexturedTriangle) == 12 * sizeof(int32_t));
  CopyBytes(&first, block, sizeof first);
  CopyBytes(&second, block + 4, sizeof second);
  SoftwareDrawTriangleGraph(&first, graph, transparency, 0);
  SoftwareDrawTriangleGraph(&second, graph, transparency, 0);
  return 0;
}

int SoftwareDrawQuadGraphF(float x0, float y0, float x1, float y1, float x2, float y2, float x3,
                           float y3, const GraphRecord* graph, int32_t transparency) {
  return SoftwareDrawQuadGraph(FloatToIntTrunc(x0), FloatToIntTrunc(y0), FloatToIntTrunc(x1),
                               FloatToIntTrunc(y1), FloatToIntTrunc(x2), FloatToIntTrunc(y2),
                               FloatToIntTrunc(x3), FloatToIntTrunc(y3), graph, transparency);
}
