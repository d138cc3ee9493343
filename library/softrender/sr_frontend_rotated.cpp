// SoftwareDrawRotatedGraph: the software side of the rotated graph draw.
#include "core/numeric.h"
#include "graphics/graphics_internal.h"
#include "softrender/softrender.h"
#include "softrender/sr_frontend_common.h"

int SoftwareDrawRotatedGraph(int32_t x, int32_t y, double scale, double angle,
                             const GraphRecord* graph, int32_t transparency, int32_t turn) {
  using namespace sr;
  if (!DeviceStarted() || !graph) return -1;
  Surface2D* part = GetSurface2D(graph->surface2D);
  if (!part) return -1;
  SurfaceData* data = GetSurfaceData(part->surfaceData);
  if (!data) return -1;
  const MEMIMG* blendGraph = BlendGraphMemImg();
  const float angleF = static_cast<float>(angle), scaleF = static_cast<float>(scale);

  if (MemImgScreens()) {
    MEMIMG view;
    const MEMIMG* source = PartSourceImage(*part, *data, &view);
    MEMIMG* target = SoftwareDrawTarget();
    if (!source || !target) return -1;
    MemImgRotatedBlit(target, source, x, y, angleF, scaleF, transparency, turn, blendGraph);
    return 0;
  }

  PrepareDirectDrawLock();
  // Hull of the turned corners, for the lock.
  float sine, cosine;
  SinCosFloat(angleF, &sine, &cosine);
  const float hw = static_cast<float>(graph->width * scale * 0.5);
  const float hh = static_cast<float>(graph->height * scale * 0.5);
  const float cornerX[4] = {-hw, hw, -hw, hw}, cornerY[4] = {-hh, -hh, hh, hh};
  int32_t minX = 1000000, minY = 1000000, maxX = -1000000, maxY = -1000000;
  for (int i = 0; i < 4; ++i) {
    const float tx = cornerX[i] * cosine - cornerY[i] * sine;
    const float ty = cornerX[i] * sine + cornerY[i] * cosine;
    const int32_t px = FloatToIntTrunc(static_cast<float>(x) + static_cast<float>(FloatToIntTrunc(tx)));
    const int32_t py = FloatToIntTrunc(static_cast<float>(y) + static_cast<float>(FloatToIntTrunc(ty)));
    minX = px < minX ? px : minX;
    maxX = px > maxX ? px : maxX;
    minY = py < minY ? py : minY;
    maxY = py > maxY ? py : maxY;
  }
  const IntRect box{minX, minY, maxX, maxY};
  const IntRect source{0, 0, part->width, part->height};
  if (BeginDirectDrawDraw(part, 0, &source, &box, 0, nullptr, 0) < 0) return -1;
  MemImgRotatedBlit(&g_workTargetMemImg, &g_workSourceMemImg, x, y, angleF, scaleF, transparency,
                    turn, blendGraph);
  EndDirectDrawDraw();
  return 0;
}
