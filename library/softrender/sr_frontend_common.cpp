// Shared steps of the software draw front ends.
#include "softrender/sr_frontend_common.h"

namespace sr {

const MEMIMG* PartSourceImage(const Surface2D& part, SurfaceData& data, MEMIMG* view) {
  if (data.image.aliveMark != MemImgAliveMark) return nullptr;
  if (part.width == data.width && part.height == data.height) return &data.image;
  // A part reaching past its image would read outside the pixels.
  if (static_cast<int32_t>(part.x) + part.width > data.image.width ||
      static_cast<int32_t>(part.y) + part.height > data.image.height)
    return nullptr;
  MakeMemImgView(view, &data.image, part.x, part.y, part.width, part.height);
  return view;
}

MEMIMG* SoftwareDrawTarget() {
  MEMIMG* target = g_drawState.maskOn ? GetMaskMemImg() : GetDrawTargetMemImg();
  if (!target || target->aliveMark != MemImgAliveMark) return nullptr;
  return target;
}

void PrepareDirectDrawLock() {
  FlushVertexBatch();
  if (g_screen.directDrawStarted) EndDeviceScene();
}

}  // namespace sr
