// The rasteriser's span loops for 16-bit R5G6B5 targets.
#include "softrender/sr_raster_span.h"

void RasterRunSpans16(const RasterFrame& frame, const RasterVariant& variant) {
  raster::RunSpans<false>(frame, variant);
}
