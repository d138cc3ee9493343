// Checks and helpers shared by the software blits and primitives: which
// records can be drawn into or from, and the draw area clamped to the target.
#pragma once
#include <cstdint>

#include "graphics/drawstate.h"
#include "graphics/memimg.h"

namespace sr {

// Largest width or height of an image the blits read or write.
constexpr int32_t kMaxImageSide = 32767;

// Bytes per pixel of a record as the blits read it: 1 for a palette image,
// 4 for a 16-bit image with alpha, 2 or 4 by colour kind otherwise.
int SourcePixelBytes(const MEMIMG& image);

// A record the blits may read: pixels present, positive size, colour kind 0 or
// 1, at most kMaxImageSide each way, a pitch that holds a row, and a palette pointer when flagged.
bool SourceUsable(const MEMIMG* image);
// A record the blits and primitives may write: as above, and without palette
// or alpha flag.
bool TargetUsable(const MEMIMG* image);
// A blend graph that covers the source (at least its width and height) and
// holds a byte per column in each row.
bool GraphCovers(const MEMIMG* graph, const MEMIMG& source);

// The draw area of g_drawState clamped to the target's bounds; false when empty.
bool ClampedDrawArea(const MEMIMG& target, IntRect* area);

struct Variant;
struct KernelParams;
// The unscaled blit's pixel loops on one region, the variant already chosen:
// cols x rows source pixels from (sx, sy) onto the target at (dx, dy), the
// region lying inside both images and the draw area.
void BlitRegion(const Variant& v, KernelParams k, MEMIMG* target, const MEMIMG* source,
                const MEMIMG* blendGraph, int64_t sx, int64_t sy, int64_t dx, int64_t dy,
                int32_t cols, int32_t rows);

}  // namespace sr
