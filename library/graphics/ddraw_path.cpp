// The DirectDraw-named draws that remain on MEMIMG screens: an unscaled graph
// draw and the segment list, both handed to the software renderer.
#include <cstring>

#include "core/numeric.h"
#include "graphics/graph_registry.h"
#include "graphics/screen.h"
#include "softrender/softrender.h"

static MEMIMG* SoftwareTarget() {
  return g_drawState.maskOn ? GetMaskMemImg() : GetDrawTargetMemImg();
}

int DirectDrawDrawGraph(int32_t x, int32_t y, const GraphRecord* graph, int32_t transparency,
                        int32_t intFlag) {
  if (!graph) return -1;
  MEMIMG view;
  MEMIMG* source = GraphSourceMemImg(graph, &view);
  MEMIMG* target = SoftwareTarget();
  if (!source || !target || target->aliveMark != MemImgAliveMark) return -1;
  if (!intFlag) {
    float fx, fy;
    static_assert(sizeof fx == sizeof x);
    std::memcpy(&fx, &x, sizeof fx);
    std::memcpy(&fy, &y, sizeof fy);
    x = FloatToIntTrunc(fx);
    y = FloatToIntTrunc(fy);
  }
  if (source->width == 0 || source->height == 0) return 0;
  MemImgBlit(target, source, x, y, transparency, BlendGraphMemImg());
  return 0;
}

int DirectDrawDrawSegments(const int32_t* segments, int32_t count) {
  MEMIMG* target = SoftwareTarget();
  if (!segments || !target || target->aliveMark != MemImgAliveMark) return -1;
  MemImgDrawSegments(target, segments, count);
  return 0;
}
