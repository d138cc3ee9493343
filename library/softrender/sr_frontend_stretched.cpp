// SoftwareDrawStretchedGraph: the software side of the stretched graph draw.
#include <cstring>

#include "core/numeric.h"
#include "graphics/graphics_internal.h"
#include "softrender/softrender.h"
#include "softrender/sr_frontend_common.h"

int SoftwareDrawStretchedGraph(int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                               const GraphRecord* graph, int32_t transparency, int32_t intFlag,
                               int32_t surface) {
  using namespace sr;
  if (!DeviceStarted() || !graph) return -1;
  IntRect rect{x1, y1, x2, y2};
  if (intFlag != 1) {
    // The four words are floats: whole pixels toward zero.
    int32_t* words[4] = {&rect.x1, &rect.y1, &rect.x2, &rect.y2};
    for (int32_t* w : words) {
      float f;
      std::memcpy(&f, w, sizeof f);
      *w = FloatToIntTrunc(f);
    }
  }
  const bool mirrorX = rect.x1 > rect.x2, mirrorY = rect.y1 > rect.y2;
  const int32_t left = mirrorX ? rect.x2 : rect.x1, right = mirrorX ? rect.x1 : rect.x2;
  const int32_t top = mirrorY ? rect.y2 : rect.y1, bottom = mirrorY ? rect.y1 : rect.y2;

  Surface2D* part = GetSurface2D(surface == -1 ? graph->surface2D : surface);
  if (!part) return -1;
  const int32_t srcW = surface == -1 ? graph->width : part->width;
  const int32_t srcH = surface == -1 ? graph->height : part->height;
  SurfaceData* data = GetSurfaceData(part->surfaceData);
  if (!data) return -1;
  const MEMIMG* blendGraph = BlendGraphMemImg();

  if (MemImgScreens()) {
    MEMIMG view;
    const MEMIMG* source = PartSourceImage(*part, *data, &view);
    MEMIMG* target = SoftwareDrawTarget();
    if (!source || !target) return -1;
    MemImgScaledBlit(target, source, &rect, transparency, blendGraph);
    return 0;
  }

  PrepareDirectDrawLock();
  const int64_t dw = static_cast<int64_t>(right) - left, dh = static_cast<int64_t>(bottom) - top;
  if (dw == 0 || dh == 0) return -1;
  if (dw == srcW && dh == srcH && !mirrorX && !mirrorY)
    return DirectDrawDrawGraph(left, top, graph, transparency, 1);
  if (srcW <= 0 || srcH <= 0 || dw > 32767 || dh > 32767) return -1;
  const uint32_t stepX = static_cast<uint32_t>(dw << 16) / static_cast<uint32_t>(srcW);
  const uint32_t stepY = static_cast<uint32_t>(dh << 16) / static_cast<uint32_t>(srcH);
  if (stepX == 0 || stepY == 0) return -1;
  IntRect clipped{left, top, right, bottom};
  const IntRect area{g_drawState.areaX1, g_drawState.areaY1, g_drawState.areaX2,
                     g_drawState.areaY2};
  IntersectRectangles(&clipped, &area);
  if (clipped.x2 == clipped.x1 || clipped.y2 == clipped.y1) return -1;
  // The source rectangle that the clipped draw reads, rounded outward.
  const uint32_t sx = left < clipped.x1 ? (static_cast<uint32_t>(clipped.x1 - left) << 16) / stepX : 0;
  const uint32_t sy = top < clipped.y1 ? (static_cast<uint32_t>(clipped.y1 - top) << 16) / stepY : 0;
  const uint32_t sw = ((static_cast<uint32_t>(clipped.x2 - clipped.x1) << 16) + stepX - 1) / stepX;
  const uint32_t sh = ((static_cast<uint32_t>(clipped.y2 - clipped.y1) << 16) + stepY - 1) / stepY;
  IntRect source{static_cast<int32_t>(sx), static_cast<int32_t>(sy), static_cast<int32_t>(sx + sw),
                 static_cast<int32_t>(sy + sh)};
  if (mirrorX) {
    source.x1 = srcW - static_cast<int32_t>(sx + sw);
    source.x2 = srcW - static_cast<int32_t>(sx);
  }
  if (mirrorY) {
    source.y1 = srcH - static_cast<int32_t>(sy + sh);
    source.y2 = srcH - static_cast<int32_t>(sy);
  }
  if (BeginDirectDrawDraw(part, 0, &source, &clipped, 0, nullptr, 0) < 0) return -1;
  MemImgScaledBlit(&g_workTargetMemImg, &g_workSourceMemImg, &rect, transparency, blendGraph);
  EndDirectDrawDraw();
  return 0;
}
