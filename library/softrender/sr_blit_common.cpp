// Record checks and the clamped draw area of the software blits.
#include "softrender/sr_blit_common.h"

namespace sr {

int SourcePixelBytes(const MEMIMG& image) {
  if (image.paletteFlag) return 1;
  if (image.colorKind == ColorKind16) return image.alphaFlag ? 4 : 2;
  return 4;
}

static bool RecordShapeOk(const MEMIMG& image, int bytesPerPixel) {
  if (!image.pixels || image.width <= 0 || image.height <= 0 || image.pitch <= 0) return false;
  if (image.width > kMaxImageSide || image.height > kMaxImageSide) return false;
  return static_cast<int64_t>(image.pitch) >= static_cast<int64_t>(image.width) * bytesPerPixel;
}

bool SourceUsable(const MEMIMG* image) {
  if (!image) return false;
  if (image->colorKind != ColorKind16 && image->colorKind != ColorKind32) return false;
  if (image->paletteFlag && !image->palette) return false;
  return RecordShapeOk(*image, SourcePixelBytes(*image));
}

bool TargetUsable(const MEMIMG* image) {
  if (!image || image->paletteFlag || image->alphaFlag) return false;
  if (image->colorKind != ColorKind16 && image->colorKind != ColorKind32) return false;
  return RecordShapeOk(*image, image->colorKind == ColorKind32 ? 4 : 2);
}

bool GraphCovers(const MEMIMG* graph, const MEMIMG& source) {
  if (!graph || !RecordShapeOk(*graph, 1)) return false;
  return graph->width >= source.width && graph->height >= source.height;
}

bool ClampedDrawArea(const MEMIMG& target, IntRect* area) {
  IntRect a{g_drawState.areaX1, g_drawState.areaY1, g_drawState.areaX2, g_drawState.areaY2};
  const IntRect bounds{0, 0, target.width, target.height};
  IntersectRectangles(&a, &bounds);
  *area = a;
  return a.x2 > a.x1 && a.y2 > a.y1;
}

}  // namespace sr
