// A slow reference model of the rasteriser's span loops: every pixel of the
// span table is evaluated on its own, channel by channel, with the blend
// results spelled out per channel instead of as packed words.
#pragma once
#include "softrender/sr_raster.h"

// Draws the frame that RasterSetUp left (with the SpanTable it filled) the way
// MemImgRasterizeTriangle must, reading the blend mode, parameter and bright
// colour from g_drawState. texture must not be null (pass the white substitute).
void ReferenceSpans(const RasterFrame& frame, MEMIMG* target, MEMIMG* depthBuffer,
                    const MEMIMG* texture, const MEMIMG* blendGraph, int transparent,
                    int depthWrite, int vertexColour);
