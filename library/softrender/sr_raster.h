// Internals of the polygon rasteriser: the per-row span table, the frame that
// the triangle set-up hands to the span loops, the depth-range clipper and the
// span-loop dispatch. Only the rasteriser's own files and its tests use this.
#pragma once
#include <cstdint>

#include "softrender/softrender.h"

// One row of the triangle being drawn: first pixel column and pixel count.
struct SpanEntry {
  int16_t firstX;
  int16_t count;
};
constexpr int SpanTableRows = 4096;
// Shared by every call; valid from the end of the set-up to the end of the span loop.
extern SpanEntry SpanTable[SpanTableRows];

// A fixed-point plane f(x, y) over target pixels: step per pixel (a), step per
// row (b) and the value at the centre of the first row, at x = 0 (r).
struct RasterPlane {
  int32_t a;
  int32_t b;
  int32_t r;
};

// Fixed-point scales of the interpolants.
constexpr double RasterScaleRhw = 67108864.0;    // 2^26: rhw, u*rhw, v*rhw
constexpr double RasterScaleDepth = 16777216.0;  // 2^24: z
constexpr double RasterScaleColour = 16384.0;    // 2^14: colour bytes

// Everything the span loops need for one triangle.
struct RasterFrame {
  int32_t firstRow;
  int32_t rowCount;
  RasterPlane rhw, uRhw, vRhw, depth;
  RasterPlane blue, green, red, alpha;

  uint8_t* targetRow;    // pixel x = 0 of row firstRow
  int32_t targetPitch;
  uint8_t* depthRow;     // entry x = 0 of row firstRow, or null without a depth buffer
  int32_t depthPitch;

  const uint8_t* texPixels;
  int32_t texPitch;
  int32_t texWidth;
  int32_t texHeight;
  const uint8_t* texPalette;
  uint32_t texTransparent;

  const uint8_t* graphPixels;  // null without a blend graph
  int32_t graphPitch;

  int32_t param;                  // draw-state blend parameter 0..255
  const uint32_t* paramRow;       // ScaleTable row of the blend parameter
  const int32_t* signedParamRow;  // SignedScaleTable row of it, from entry 255 on
  const uint32_t* brightRow[3];   // ScaleTable rows of bright blue, green, red
};

// Orders the triangle, rejects it when it cannot cover a pixel, fills the
// SpanTable and the planes. area is the draw area, already inside the target
// and at most SpanTableRows rows tall and 32767 columns wide; the blend
// parameter and bright colour come from g_drawState. Returns 1 with a frame to
// draw (rowCount may be 0), 0 when the triangle is rejected.
int RasterSetUp(MEMIMG* target, MEMIMG* depthBuffer, const MEMIMG* texture,
                const MEMIMG* blendGraph, const RasterVertex* triangle, const IntRect& area,
                RasterFrame* frame);

// The draw area the rasteriser works in: g_drawState's area cut to the target.
// Returns 0 when that area is empty or too large for the span table.
int RasterDrawArea(const MEMIMG* target, IntRect* area);

// Clips a triangle that crosses the depth range 0..1 in clip space. Returns
// the number of vertices of the clipped polygon written to out (3..7, in
// screen space again), or 0 when nothing is to be drawn. Vertices whose
// crossing parameter is not finite or leaves 0..1, or a vertex that is not
// finite in screen space, drop the whole polygon.
constexpr int RasterClipCapacity = 7;
int RasterClipDepthRange(const RasterVertex* triangle, RasterVertex* out);

// Depth-range classification of a triangle as passed: 0 wholly inside,
// 1 needs clipping, 2 wholly outside (nothing drawn).
int RasterDepthRangeTest(const RasterVertex* triangle);

// The loop choice of one triangle.
struct RasterVariant {
  int32_t mode;        // 0..4
  bool vertexColour;
  bool palette;
  bool graph;
  bool bright;         // state-coloured only
  bool alphaTexture;   // direct-colour texture with the alpha flag
  bool transparent;
  bool depthWrite;
};
// Runs the span loop of the variant over the frame's rows (one per target depth).
void RasterRunSpans32(const RasterFrame& frame, const RasterVariant& variant);
void RasterRunSpans16(const RasterFrame& frame, const RasterVariant& variant);
