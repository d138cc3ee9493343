// Textured triangle set-up (14.18 fixed point, gradients, edges) and the edge
// walk that hands each clipped span to a span loop. The walk is a template on
// the span loop so that every pixel variant gets its own loop.
#pragma once
#include <cstdint>

#include "softrender/softrender.h"

namespace textri {

constexpr int kFracBits = 18;
constexpr int64_t kOne = int64_t{1} << kFracBits;  // one pixel in 14.18
constexpr int64_t kHalf = kOne / 2;
// Vertex coordinates (target and texture) outside this range do not fit the
// 14.18 positions and are refused.
constexpr int32_t kCoordLimit = 8191;

// Whole pixels of a 14.18 value, truncated toward zero.
inline int64_t ToPixels(int64_t z) { return (z < 0 ? z + (kOne - 1) : z) >> kFracBits; }

struct Edge {
  int64_t startX[2];   // 14.18
  int64_t step[2];     // 14.18 per row
  int32_t rows[2];
  int32_t startRow[2]; // left side only
  int firstSegment;    // 0 for a side of two segments, 1 for one
};

struct TriangleSetup {
  int32_t originX, originY;  // whole-pixel position of the plane origin A
  uint32_t originU, originV; // 14.18 texture position at A
  int32_t uStepX, vStepX, uStepY, vStepY;
  Edge left, right;
};

// The conversion, sorts, gradients and edges of one triangle. Returns 0, or
// -1 when nothing is to be drawn (coordinates out of range, zero area).
int SetUpTexturedTriangle(const TexturedTriangle& triangle, TriangleSetup* setup);

// The clip rectangle of a walk (x1, y1 inside, x2, y2 outside).
struct SpanClip {
  int32_t x1, y1, x2, y2;
};

// Walks the edges of a set-up triangle and calls
//   span(int32_t row, int32_t column, int32_t count, uint32_t u, uint32_t v)
// for every visible span (count > 0, inside the clip). u and v are the 14.18
// texture coordinates of the first pixel; the span loop steps them by
// setup.uStepX and setup.vStepX per pixel.
template <class Span>
inline void WalkTexturedTriangle(const TriangleSetup& s, const SpanClip& clip, Span&& span) {
  int lseg = s.left.firstSegment;
  int rseg = s.right.firstSegment;
  int64_t lx = s.left.startX[lseg], lstep = s.left.step[lseg];
  int64_t rx = s.right.startX[rseg], rstep = s.right.step[rseg];
  int32_t lrows = s.left.rows[lseg], rrows = s.right.rows[rseg];
  int32_t y = s.left.startRow[lseg];
  int32_t xl = static_cast<int32_t>(ToPixels(lx));
  int32_t xr = static_cast<int32_t>(ToPixels(rx));
  for (;;) {
    // Rows below the clip draw nothing; y only moves back at a switch of the
    // left side to its second segment.
    if (y >= clip.y2 && lseg == 1) return;
    int32_t n = xr - xl;
    int32_t col = xl;
    if (col < clip.x1) {
      n -= clip.x1 - col;
      col = clip.x1;
    }
    n += 1;
    if (y >= clip.y1 && y < clip.y2 && col < clip.x2 && n > 0) {
      if (n > clip.x2 - col) n = clip.x2 - col;
      const uint32_t u = s.originU + static_cast<uint32_t>(col - s.originX) *
                                         static_cast<uint32_t>(s.uStepX) +
                         static_cast<uint32_t>(y - s.originY) * static_cast<uint32_t>(s.uStepY);
      const uint32_t v = s.originV + static_cast<uint32_t>(col - s.originX) *
                                         static_cast<uint32_t>(s.vStepX) +
                         static_cast<uint32_t>(y - s.originY) * static_cast<uint32_t>(s.vStepY);
      span(y, col, n, u, v);
    }
    lx += lstep;
    rx += rstep;
    xl = static_cast<int32_t>(ToPixels(lx));
    xr = static_cast<int32_t>(ToPixels(rx));
    --lrows;
    --rrows;
    ++y;
    if (lrows <= 0) {
      if (lseg == 1) return;
      lseg = 1;
      lx = s.left.startX[1];
      lstep = s.left.step[1];
      xl = static_cast<int32_t>(ToPixels(lx));
      y = s.left.startRow[1];
      lrows = s.left.rows[1];
    }
    if (rrows <= 0) {
      if (rseg == 1) return;
      rseg = 1;
      rx = s.right.startX[1];
      rstep = s.right.step[1];
      xr = static_cast<int32_t>(ToPixels(rx));
      rrows = s.right.rows[1];
    }
  }
}

}  // namespace textri
