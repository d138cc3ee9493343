// Slow reference model of the software blits, written per pixel with plain
// 64-bit arithmetic and no code shared with the renderer: used to check every
// kernel variant of the unscaled, scaled and rotated drivers.
#pragma once
#include <cstdint>
#include <vector>

#include "graphics/memimg.h"

namespace ref {

// The draw settings the model reads (a copy of the draw state's fields).
struct Settings {
  int mode = 0;
  int param = 255;
  int brightB = 255, brightG = 255, brightR = 255;
  int border = 0, range = 255;  // blend-graph weight rule
  int mmx = 1;
  int areaX1 = 0, areaY1 = 0, areaX2 = 0, areaY2 = 0;
};

enum class Driver { Unscaled, Scaled, Rotated };

// Weight of a blend-graph byte.
int Weight(const Settings& s, int b);

// Puts the source pixel (palette index or direct pixel bytes at src) onto
// the target pixel bytes at dst. fullSubtractAllowed: the driver may take the
// raw-source subtract at p 255. Returns false when the call draws nothing.
bool CallDraws(const Settings& s, const MEMIMG& source);
void Pixel(const Settings& s, const MEMIMG& source, bool transparency, bool fullSubtractAllowed,
           const uint8_t* src, const uint8_t* graphByte, uint8_t* dst);

// Whole drivers into target (same semantics as the renderer's entry points).
void Blit(const Settings& s, MEMIMG& target, const MEMIMG& source, int x, int y, bool trans,
          const MEMIMG* graph);
void ScaledBlit(const Settings& s, MEMIMG& target, const MEMIMG& source, int x1, int y1, int x2,
                int y2, bool trans, const MEMIMG* graph);
void RotatedBlit(const Settings& s, MEMIMG& target, const MEMIMG& source, int cx, int cy,
                 float angle, float scale, bool trans, const MEMIMG* graph);

// Colour rule of the solid primitives on one pixel; false when nothing drawn.
bool PrimitivePixel(const Settings& s, uint32_t kind, uint32_t colour, uint8_t* dst);

}  // namespace ref
