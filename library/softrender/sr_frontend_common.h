// Shared steps of the software draw front ends: the source image of a graph
// part (the whole image or a view into it) and the software draw target.
#pragma once
#include "graphics/graphics_internal.h"

namespace sr {

// True when the screens are MEMIMGs drawn directly (not 8-bit).
inline bool MemImgScreens() { return g_screen.memImgScreen && g_screen.screenBits != 8; }
// True when some drawing device exists.
inline bool DeviceStarted() { return g_screen.softwareRendering || g_screen.directDraw; }

// The image of a part: the SurfaceData's own image when the part covers it,
// else a view at the part's position (in *view). Null when the part does
// not lie inside its image.
const MEMIMG* PartSourceImage(const Surface2D& part, SurfaceData& data, MEMIMG* view);

// The software draw target: the mask while masking is on, else the draw target.
MEMIMG* SoftwareDrawTarget();

// Before a lock of DirectDraw surfaces: flush batched vertices, end the scene.
void PrepareDirectDrawLock();

}  // namespace sr
