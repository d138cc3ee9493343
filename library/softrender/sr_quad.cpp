// The textured quad: a whole source image mapped onto four free corners as two
// textured triangles that share the diagonal from the second to the third
// corner, after a cheap bounding-box test against the draw area.
#include <cstdint>

#include "graphics/drawstate.h"
#include "softrender/softrender.h"

namespace {

int32_t ClampToInt32(int64_t v) {
  return v < INT32_MIN ? INT32_MIN : (v > INT32_MAX ? INT32_MAX : static_cast<int32_t>(v));
}

}  // namespace

void MemImgTexturedQuad(MEMIMG* target, const MEMIMG* source, const int32_t* quad,
                        int32_t transparency, const MEMIMG* blendGraph) {
  if (target == nullptr || source == nullptr || quad == nullptr) return;
  int32_t c[8];
  for (int i = 0; i < 8; ++i) c[i] = quad[i];

  int64_t minX = c[0], maxX = c[0], minY = c[1], maxY = c[1];
  for (int i = 1; i < 4; ++i) {
    if (c[2 * i] < minX) minX = c[2 * i];
    if (c[2 * i] > maxX) maxX = c[2 * i];
    if (c[2 * i + 1] < minY) minY = c[2 * i + 1];
    if (c[2 * i + 1] > maxY) maxY = c[2 * i + 1];
  }
  // The widened box is formed in 64 bits: corners near the ends of the
  // 32-bit range must not wrap round into the draw area.
  IntRect box{ClampToInt32(minX - 2), ClampToInt32(minY - 2), ClampToInt32(maxX + 4),
              ClampToInt32(maxY + 4)};
  const IntRect area{g_drawState.areaX1, g_drawState.areaY1, g_drawState.areaX2,
                     g_drawState.areaY2};
  IntersectRectangles(&box, &area);
  if (int64_t{box.x2} - box.x1 <= 0 || int64_t{box.y2} - box.y1 <= 0) return;

  const int32_t w = source->width, h = source->height;
  const TexturedTriangle first{c[0], c[1], 0, 0, c[2], c[3], w, 0, c[4], c[5], 0, h};
  const TexturedTriangle second{c[2], c[3], w, 0, c[4], c[5], 0, h, c[6], c[7], w, h};
  MemImgTexturedTriangle(target, source, &first, transparency, blendGraph, 0);
  MemImgTexturedTriangle(target, source, &second, transparency, blendGraph, 0);
}
