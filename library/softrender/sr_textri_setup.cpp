// Textured triangle set-up: fixed-point conversion, the two index sorts, the
// texture gradients and the left and right edges of the walk.
#include <cmath>
#include <cstdint>

#include "softrender/sr_textri_walk.h"

namespace textri {
namespace {

// Truncation toward zero that saturates at the 32-bit range instead of
// wrapping (a sliver triangle gives gradients far beyond it).
int32_t SaturatingTrunc(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return INT32_MAX;
  if (value <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(value);
}

bool InRange(int32_t c) { return c >= -kCoordLimit && c <= kCoordLimit; }

// The exchange sort of {0, 1, 2} on key, strict comparison.
void SortIndices(const int64_t key[3], int index[3]) {
  index[0] = 0;
  index[1] = 1;
  index[2] = 2;
  for (int i = 0; i < 2; ++i) {
    for (int j = i + 1; j < 3; ++j) {
      if (key[index[i]] > key[index[j]]) {
        const int t = index[i];
        index[i] = index[j];
        index[j] = t;
      }
    }
  }
}

struct FixedVertex {
  int64_t x, y, u, v;
};

int32_t Rows(const FixedVertex& p, const FixedVertex& q) {
  return static_cast<int32_t>(ToPixels(q.y - p.y));
}

int64_t Step(const FixedVertex& p, const FixedVertex& q, int64_t start) {
  const int32_t rows = Rows(p, q);
  return rows != 0 ? (q.x - start) / rows : 0;
}

void OneSegment(Edge* e, int64_t startX, int32_t startRow, int32_t rows, int64_t step) {
  *e = Edge{};
  e->firstSegment = 1;
  e->startX[1] = startX;
  e->startRow[1] = startRow;
  e->rows[1] = rows;
  e->step[1] = step;
}

}  // namespace

int SetUpTexturedTriangle(const TexturedTriangle& t, TriangleSetup* s) {
  const int32_t raw[3][4] = {{t.x0, t.y0, t.u0, t.v0},
                             {t.x1, t.y1, t.u1, t.v1},
                             {t.x2, t.y2, t.u2, t.v2}};
  FixedVertex p[3];
  for (int i = 0; i < 3; ++i) {
    for (int k = 0; k < 4; ++k) {
      if (!InRange(raw[i][k])) return -1;
    }
    p[i].x = int64_t{raw[i][0]} * kOne + kHalf;
    p[i].y = int64_t{raw[i][1]} * kOne + kHalf;
    p[i].u = int64_t{raw[i][2]} * kOne;
    p[i].v = int64_t{raw[i][3]} * kOne;
  }

  const int64_t keyX[3] = {p[0].x, p[1].x, p[2].x};
  const int64_t keyY[3] = {p[0].y, p[1].y, p[2].y};
  int byX[3], byY[3];
  SortIndices(keyX, byX);
  SortIndices(keyY, byY);
  const FixedVertex& a = p[byX[0]];
  const FixedVertex& b = p[byX[1]];
  const FixedVertex& c = p[byX[2]];

  // Gradients from whole-pixel differences relative to A. With coordinates
  // within the limit every product fits 32 bits; the quotients may not.
  const int64_t dXab = ToPixels(b.x - a.x), dXac = ToPixels(c.x - a.x);
  const int64_t dYab = ToPixels(b.y - a.y), dYac = ToPixels(c.y - a.y);
  const int64_t dUab = ToPixels(b.u - a.u), dUac = ToPixels(c.u - a.u);
  const int64_t dVab = ToPixels(b.v - a.v), dVac = ToPixels(c.v - a.v);
  const int64_t area = dYab * dXac - dYac * dXab;
  if (area == 0) return -1;
  const double areaD = static_cast<double>(area);
  s->uStepX = SaturatingTrunc(static_cast<double>(dYab * dUac - dYac * dUab) * 262144.0 / areaD);
  s->uStepY = SaturatingTrunc(static_cast<double>(dUab * dXac - dXab * dUac) * 262144.0 / areaD);
  s->vStepX = SaturatingTrunc(static_cast<double>(dYab * dVac - dYac * dVab) * 262144.0 / areaD);
  s->vStepY = SaturatingTrunc(static_cast<double>(dVab * dXac - dXab * dVac) * 262144.0 / areaD);
  s->originX = static_cast<int32_t>(ToPixels(a.x));
  s->originY = static_cast<int32_t>(ToPixels(a.y));
  s->originU = static_cast<uint32_t>(a.u);
  s->originV = static_cast<uint32_t>(a.v);

  const FixedVertex& top = p[byY[0]];
  const FixedVertex& mid = p[byY[1]];
  const FixedVertex& bot = p[byY[2]];
  if (top.y == mid.y) {
    const bool topLeft = top.x <= mid.x;
    const FixedVertex& l = topLeft ? top : mid;
    const FixedVertex& r = topLeft ? mid : top;
    OneSegment(&s->left, l.x, static_cast<int32_t>(ToPixels(l.y)), Rows(l, bot), Step(l, bot, l.x));
    OneSegment(&s->right, r.x, 0, Rows(r, bot), Step(r, bot, r.x));
  } else if (mid.y == bot.y) {
    const bool midLeft = mid.x <= bot.x;
    const FixedVertex& l = midLeft ? mid : bot;
    const FixedVertex& r = midLeft ? bot : mid;
    const int32_t row = static_cast<int32_t>(ToPixels(top.y));
    OneSegment(&s->left, top.x, row, Rows(top, l), Step(top, l, top.x));
    OneSegment(&s->right, top.x, 0, Rows(top, r), Step(top, r, top.x));
  } else {
    const double hTM = static_cast<double>(mid.y - top.y) / 262144.0;
    const double hTB = static_cast<double>(bot.y - top.y) / 262144.0;
    const double sTM = static_cast<double>(mid.x - top.x) / hTM;
    const double sTB = static_cast<double>(bot.x - top.x) / hTB;
    const int32_t topRow = static_cast<int32_t>(ToPixels(top.y));
    if (sTM < sTB) {
      Edge& e = s->left;
      e = Edge{};
      e.firstSegment = 0;
      e.startX[0] = top.x;
      e.startRow[0] = topRow;
      e.rows[0] = Rows(top, mid);
      e.step[0] = Step(top, mid, top.x);
      e.startX[1] = mid.x;
      e.startRow[1] = static_cast<int32_t>(ToPixels(mid.y));
      e.rows[1] = Rows(mid, bot);
      e.step[1] = Step(mid, bot, mid.x);
      OneSegment(&s->right, top.x, 0, Rows(top, bot), Step(top, bot, top.x));
    } else {
      OneSegment(&s->left, top.x, topRow, Rows(top, bot), Step(top, bot, top.x));
      Edge& e = s->right;
      e = Edge{};
      e.firstSegment = 0;
      e.startX[0] = top.x;
      e.rows[0] = Rows(top, mid);
      e.step[0] = Step(top, mid, top.x);
      // The lower right segment starts one unit right of the middle vertex.
      e.startX[1] = mid.x + 1;
      e.rows[1] = Rows(mid, bot);
      e.step[1] = Step(mid, bot, mid.x + 1);
    }
  }
  return 0;
}

}  // namespace textri
