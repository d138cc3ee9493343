// Helpers of the solid-colour primitives shared with their front ends.
#pragma once
#include <cstdint>

namespace sr {

// The four segment records (x1, y1, x2, y2, colour, blend parameter) of a box
// outline: top, right, bottom, left; with end points not drawn every pixel of
// the outline is drawn once.
void BuildBoxFrameSegments(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour,
                           int32_t param, int32_t out[24]);

}  // namespace sr
