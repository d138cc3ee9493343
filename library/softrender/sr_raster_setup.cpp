// Triangle set-up of the polygon rasteriser: vertex order, rejection of
// triangles that cannot cover a pixel centre, the edge walk into the span
// table and the fixed-point plane equations of every interpolant.
#include <initializer_list>

#include "core/numeric.h"
#include "softrender/sr_raster.h"

SpanEntry SpanTable[SpanTableRows];

namespace {

constexpr float kRowUnitF = 262144.0f;  // 14.18: one row or one pixel
constexpr double kRowUnit = 262144.0;
constexpr int32_t kHalfUnit = 0x20000;
constexpr float kMinExtent = 1.1f;

inline int32_t WrapAdd(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
inline int32_t WrapMul(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

// Orders three indices by key, smallest first; equal keys keep index order.
void Order3(const float k[3], int idx[3]) {
  idx[0] = 0;
  idx[1] = 1;
  idx[2] = 2;
  auto swapIf = [&](int i, int j) {
    if (k[idx[j]] < k[idx[i]]) {
      const int t = idx[i];
      idx[i] = idx[j];
      idx[j] = t;
    }
  };
  swapIf(0, 1);
  swapIf(1, 2);
  swapIf(0, 1);
}

// One edge of a side: start point and change of x per row.
struct Edge {
  float xs;
  float ys;
  float slope;
};

Edge MakeEdge(float x0, float y0, float x1, float y1) {
  Edge e;
  e.xs = x0;
  e.ys = y0;
  e.slope = static_cast<float>((static_cast<double>(x1) - x0) / (static_cast<double>(y1) - y0));
  return e;
}

// x of the edge at row centre yc (14.18), measured from start row ysFrom.
int32_t EdgeX(const Edge& e, int64_t yc, float ysFrom) {
  const double rows = static_cast<double>(yc) / kRowUnit - ysFrom;
  const float pos = static_cast<float>(e.xs + static_cast<double>(e.slope) * rows);
  return FloatToIntTrunc(pos * kRowUnitF);
}

int32_t EdgeStep(const Edge& e) { return FloatToIntTrunc(e.slope * kRowUnitF); }

// A side of the triangle: one edge, or two with a switch point.
struct Side {
  Edge first;
  Edge second;
  bool twoEdges;
  bool switched;
  int32_t x;
  int32_t step;
};

// Geometry shared by every plane of one triangle.
struct PlaneBasis {
  double xb, yb;        // base (left-most) vertex
  double ex, ey;        // right-most minus base
  double mx, my;        // remaining minus base
  float invD;           // 1 / doubled signed area
  int32_t firstRow;
};

void MakePlane(const PlaneBasis& p, double fb, double fe, double fm, double scale,
               RasterPlane* out) {
  const double fE = fe - fb;
  const double fM = fm - fb;
  const float a = static_cast<float>((fM * p.ey - fE * p.my) * p.invD);
  const float b = static_cast<float>((fE * p.mx - fM * p.ex) * p.invD);
  const float f0 = static_cast<float>(fb - static_cast<double>(a) * p.xb -
                                      static_cast<double>(b) * p.yb);
  // Values outside the fixed-point range come out as 0x80000000 (DoubleToIntTrunc).
  out->a = DoubleToIntTrunc(static_cast<double>(a) * scale);
  out->b = DoubleToIntTrunc(static_cast<double>(b) * scale);
  const int32_t r0 = DoubleToIntTrunc(static_cast<double>(f0) * scale);
  out->r = WrapAdd(WrapAdd(r0, WrapMul(p.firstRow, out->b)), out->b / 2);
}

inline double ColourByte(uint32_t colour, int shift) { return (colour >> shift) & 0xFF; }

}  // namespace

int RasterDrawArea(const MEMIMG* target, IntRect* area) {
  IntRect r{g_drawState.areaX1, g_drawState.areaY1, g_drawState.areaX2, g_drawState.areaY2};
  const IntRect whole{0, 0, target->width, target->height};
  IntersectRectangles(&r, &whole);
  if (r.x2 <= r.x1 || r.y2 <= r.y1) return 0;
  // Spans are stored as 16-bit values, one row per table entry.
  if (r.y2 - r.y1 > SpanTableRows || r.x2 > 32767) return 0;
  *area = r;
  return 1;
}

int RasterSetUp(MEMIMG* target, MEMIMG* depthBuffer, const MEMIMG* texture,
                const MEMIMG* blendGraph, const RasterVertex* tri, const IntRect& area,
                RasterFrame* frame) {
  struct {
    int32_t areaX1, areaY1, areaX2, areaY2;
  } const ds{area.x1, area.y1, area.x2, area.y2};
  const float xs[3] = {tri[0].x, tri[1].x, tri[2].x};
  const float ys[3] = {tri[0].y, tri[1].y, tri[2].y};
  const float zs[3] = {tri[0].z, tri[1].z, tri[2].z};
  int byX[3], byY[3], byZ[3];
  Order3(xs, byX);
  Order3(ys, byY);
  Order3(zs, byZ);
  const RasterVertex& vb = tri[byX[0]];
  const RasterVertex& vm = tri[byX[1]];
  const RasterVertex& ve = tri[byX[2]];
  const RasterVertex& top = tri[byY[0]];
  const RasterVertex& mid = tri[byY[1]];
  const RasterVertex& bot = tri[byY[2]];

  if (ve.x < static_cast<float>(ds.areaX1)) return 0;
  if (vb.x >= static_cast<float>(ds.areaX2)) return 0;
  if (bot.y < static_cast<float>(ds.areaY1)) return 0;
  if (top.y >= static_cast<float>(ds.areaY2)) return 0;
  if (zs[byZ[2]] < 0.0f) return 0;
  if (zs[byZ[0]] >= 1.0f) return 0;
  if (bot.y - top.y < kMinExtent) return 0;
  if (ve.x - vb.x < kMinExtent) return 0;

  PlaneBasis basis;
  basis.xb = vb.x;
  basis.yb = vb.y;
  basis.ex = static_cast<double>(ve.x) - vb.x;
  basis.ey = static_cast<double>(ve.y) - vb.y;
  basis.mx = static_cast<double>(vm.x) - vb.x;
  basis.my = static_cast<double>(vm.y) - vb.y;
  const float area2 = static_cast<float>(basis.ey * basis.mx - basis.ex * basis.my);
  if (area2 == 0.0f) return 0;
  basis.invD = static_cast<float>(1.0 / static_cast<double>(area2));

  // First row: the row whose centre is the first at or below the top vertex.
  int64_t firstRow =
      (static_cast<int64_t>(FloatToIntTrunc(top.y * kRowUnitF)) + kHalfUnit) / 262144;
  if (firstRow < ds.areaY1) firstRow = ds.areaY1;
  int64_t yEnd = FloatToIntTrunc(bot.y * kRowUnitF);
  const int64_t areaBottom = static_cast<int64_t>(ds.areaY2) * 262144;
  if (yEnd > areaBottom) yEnd = areaBottom;
  basis.firstRow = static_cast<int32_t>(firstRow);

  // Edges by the integer rows of the three vertices.
  const int32_t rowTop = FloatToIntTrunc(top.y);
  const int32_t rowMid = FloatToIntTrunc(mid.y);
  const int32_t rowBot = FloatToIntTrunc(bot.y);
  Side left{}, right{};
  int32_t switchPoint = 0;
  float leftStartY;
  if (rowTop == rowMid) {
    const bool midIsLeft = mid.x < top.x;
    const RasterVertex& lt = midIsLeft ? mid : top;
    const RasterVertex& rt = midIsLeft ? top : mid;
    left.first = MakeEdge(lt.x, lt.y, bot.x, bot.y);
    right.first = MakeEdge(rt.x, rt.y, bot.x, bot.y);
  } else if (rowMid == rowBot) {
    const bool botIsLeft = bot.x < mid.x;
    const RasterVertex& lb = botIsLeft ? bot : mid;
    const RasterVertex& rb = botIsLeft ? mid : bot;
    left.first = MakeEdge(top.x, top.y, lb.x, lb.y);
    right.first = MakeEdge(top.x, top.y, rb.x, rb.y);
  } else {
    const Edge shortEdge = MakeEdge(top.x, top.y, mid.x, mid.y);
    const Edge longEdge = MakeEdge(top.x, top.y, bot.x, bot.y);
    switchPoint = FloatToIntTrunc(mid.y * kRowUnitF);
    if (shortEdge.slope < longEdge.slope) {
      left.first = shortEdge;
      left.second = MakeEdge(mid.x, mid.y, bot.x, bot.y);
      left.twoEdges = true;
      right.first = longEdge;
    } else {
      left.first = longEdge;
      right.first = shortEdge;
      // Below the middle vertex the right edge starts one pixel further right.
      right.second = MakeEdge(mid.x + 1.0f, mid.y, bot.x, bot.y);
      right.twoEdges = true;
    }
  }
  leftStartY = left.first.ys;

  int64_t yc = firstRow * 262144 + kHalfUnit;
  left.x = EdgeX(left.first, yc, leftStartY);
  left.step = EdgeStep(left.first);
  right.x = EdgeX(right.first, yc, leftStartY);
  right.step = EdgeStep(right.first);

  int32_t rows = 0;
  while (yc < yEnd && rows < SpanTableRows) {
    for (Side* side : {&left, &right}) {
      if (side->twoEdges && !side->switched && switchPoint <= yc) {
        side->switched = true;
        side->x = EdgeX(side->second, yc, side->second.ys);
        side->step = EdgeStep(side->second);
      }
    }
    int64_t xFirst = WrapAdd(left.x, kHalfUnit) / 262144;
    const int64_t xLast = WrapAdd(right.x, -kHalfUnit) / 262144;
    int64_t count = xLast - xFirst + 1;
    if (xFirst < ds.areaX1) {
      count -= ds.areaX1 - xFirst;
      xFirst = ds.areaX1;
    }
    if (xFirst + count > ds.areaX2) count = ds.areaX2 - xFirst;
    if (count <= 0) count = 0;
    SpanTable[rows].firstX = static_cast<int16_t>(xFirst);
    SpanTable[rows].count = static_cast<int16_t>(count);
    left.x = WrapAdd(left.x, left.step);
    right.x = WrapAdd(right.x, right.step);
    yc += 0x40000;
    ++rows;
  }

  frame->firstRow = basis.firstRow;
  frame->rowCount = rows;

  const RasterVertex* v[3] = {&vb, &ve, &vm};
  auto plane = [&](double scale, auto get, RasterPlane* out) {
    MakePlane(basis, get(*v[0]), get(*v[1]), get(*v[2]), scale, out);
  };
  plane(RasterScaleRhw, [](const RasterVertex& q) { return static_cast<double>(q.rhw); },
        &frame->rhw);
  plane(RasterScaleRhw, [](const RasterVertex& q) { return static_cast<double>(q.u * q.rhw); },
        &frame->uRhw);
  plane(RasterScaleRhw, [](const RasterVertex& q) { return static_cast<double>(q.v * q.rhw); },
        &frame->vRhw);
  plane(RasterScaleDepth, [](const RasterVertex& q) { return static_cast<double>(q.z); },
        &frame->depth);
  plane(RasterScaleColour, [](const RasterVertex& q) { return ColourByte(q.color, 0); },
        &frame->blue);
  plane(RasterScaleColour, [](const RasterVertex& q) { return ColourByte(q.color, 8); },
        &frame->green);
  plane(RasterScaleColour, [](const RasterVertex& q) { return ColourByte(q.color, 16); },
        &frame->red);
  plane(RasterScaleColour, [](const RasterVertex& q) { return ColourByte(q.color, 24); },
        &frame->alpha);

  // Row pointers of the first drawn row (the image start when no row is drawn).
  const intptr_t rowOffset = rows > 0 ? basis.firstRow : 0;
  frame->targetRow = target->pixels + rowOffset * target->pitch;
  frame->targetPitch = target->pitch;
  if (depthBuffer) {
    frame->depthRow = depthBuffer->pixels + rowOffset * depthBuffer->pitch;
    frame->depthPitch = depthBuffer->pitch;
  } else {
    frame->depthRow = nullptr;
    frame->depthPitch = 0;
  }
  frame->texPixels = texture->pixels;
  frame->texPitch = texture->pitch;
  frame->texWidth = texture->width;
  frame->texHeight = texture->height;
  frame->texPalette = texture->palette;
  frame->texTransparent = texture->transparentColor;
  if (blendGraph) {
    frame->graphPixels = blendGraph->pixels;
    frame->graphPitch = blendGraph->pitch;
  } else {
    frame->graphPixels = nullptr;
    frame->graphPitch = 0;
  }
  int32_t param = g_drawState.blendParam;
  if (param < 0) param = 0;
  if (param > 255) param = 255;
  frame->param = param;
  frame->paramRow = ScaleTable[param];
  frame->signedParamRow = SignedScaleTable[param] + 255;
  frame->brightRow[0] = ScaleTable[g_drawState.brightBlue];
  frame->brightRow[1] = ScaleTable[g_drawState.brightGreen];
  frame->brightRow[2] = ScaleTable[g_drawState.brightRed];
  return 1;
}
