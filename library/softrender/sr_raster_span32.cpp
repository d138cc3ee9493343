// The rasteriser's span loops for 32-bit X8R8G8B8 targets.
#include "softrender/sr_raster_span.h"

void RasterRunSpans32(const RasterFrame& frame, const RasterVariant& variant) {
  raster::RunSpans<true>(frame, variant);
}
