// Front ends of the filled rectangle, the pixel and the box outline.
#include "graphics/graphics_internal.h"
#include "softrender/softrender.h"
#include "softrender/sr_frontend_common.h"
#include "softrender/sr_primitives.h"

int SoftwareFillRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t color) {
  using namespace sr;
  if (!DeviceStarted()) return -1;
  const IntRect rect{x1, y1, x2, y2};
  if (MemImgScreens()) {
    MEMIMG* target = SoftwareDrawTarget();
    if (!target) return -1;
    MemImgFillRect(target, &rect, color);
    return 0;
  }
  PrepareDirectDrawLock();
  if (BeginDirectDrawDraw(nullptr, 0, nullptr, &rect, 1, &color, 0) < 0) return -1;
  MemImgFillRect(&g_workTargetMemImg, &rect, color);
  EndDirectDrawDraw();
  return 0;
}

int SoftwareDrawPixel(int32_t x, int32_t y, uint32_t color) {
  using namespace sr;
  if (!DeviceStarted()) return -1;
  if (MemImgScreens()) {
    MEMIMG* target = SoftwareDrawTarget();
    if (!target) return -1;
    MemImgBlendPixel(target, x, y, color);
    return 0;
  }
  PrepareDirectDrawLock();
  // x + 1 wraps instead of overflowing for a hostile INT32_MAX.
  const IntRect rect{x, y, static_cast<int32_t>(static_cast<uint32_t>(x) + 1u),
                     static_cast<int32_t>(static_cast<uint32_t>(y) + 1u)};
  if (BeginDirectDrawDraw(nullptr, 0, nullptr, &rect, 1, &color, 0) < 0) return -1;
  MemImgBlendPixel(&g_workTargetMemImg, x, y, color);
  EndDirectDrawDraw();
  return 0;
}

int SoftwareDrawBoxFrame(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t color) {
  int32_t segments[24];
  sr::BuildBoxFrameSegments(x1, y1, x2, y2, color, g_drawState.blendParam, segments);
  return DirectDrawDrawSegments(segments, 4);
}
