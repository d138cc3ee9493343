// The draw front end: every graph, box and pixel draw goes to the software
// renderer, into the draw target (or the mask while masking is on).
#include <cmath>
#include <cstdint>

#include "core/numeric.h"
#include "graphics/graph_ops.h"
#include "graphics/graph_registry.h"
#include "graphics/screen.h"
#include "softrender/softrender.h"

namespace {

MEMIMG* SoftwareTarget() {
  MEMIMG* target = g_drawState.maskOn ? GetMaskMemImg() : GetDrawTargetMemImg();
  return target && target->aliveMark == MemImgAliveMark ? target : nullptr;
}

// The graph of a draw, or null (stale, foreign or no screens).
const GraphRecord* DrawableGraph(int graph) {
  if (!ScreensExist()) return nullptr;
  return GetGraphRecord(graph);
}

bool Empty(const GraphRecord* graph) { return graph->width <= 0 || graph->height <= 0; }

}  // namespace

void AfterDraw() {
  if (g_drawState.drawTarget == FrontBufferTarget) ShowFrontScreen();
}

int DrawGraphAtInner(int x, int y, int graph, int transparency) {
  const GraphRecord* record = DrawableGraph(graph);
  if (!record) return -1;
  MEMIMG* target = SoftwareTarget();
  if (!target) return -1;
  if (Empty(record)) return 0;
  MEMIMG view;
  MEMIMG* source = GraphSourceMemImg(record, &view);
  if (!source) return -1;
  MemImgBlit(target, source, x, y, transparency, BlendGraphMemImg());
  AfterDraw();
  return 0;
}

int DrawGraphStretchedInner(int x1, int y1, int x2, int y2, int graph, int transparency) {
  const GraphRecord* record = DrawableGraph(graph);
  if (!record) return -1;
  if (Empty(record)) return 0;
  const int result = SoftwareDrawStretchedGraph(x1, y1, x2, y2, record, transparency, 1, -1);
  AfterDraw();
  return result;
}

int DrawGraphRotatedInner(int x, int y, double scale, double angle, int graph, int transparency,
                          int turn) {
  const GraphRecord* record = DrawableGraph(graph);
  if (!record) return -1;
  if (Empty(record)) return 0;
  const int result = SoftwareDrawRotatedGraph(x, y, scale, angle, record, transparency, turn);
  AfterDraw();
  return result;
}

int DrawGraphRotatedAboutPointInner(int x, int y, int centreX, int centreY, double scale,
                                    double angle, int graph, int transparency, int turn) {
  const GraphRecord* record = DrawableGraph(graph);
  if (!record) return -1;
  if (Empty(record)) return 0;
  if (angle == 0.0 && scale == 1.0 && !turn) {
    // Unturned and unscaled: the top-left lands exactly on (x - cx, y - cy).
    const int64_t left = int64_t{x} - centreX, top = int64_t{y} - centreY;
    if (left < INT32_MIN || left > INT32_MAX || top < INT32_MIN || top > INT32_MAX) return 0;
    return DrawGraphAtInner(static_cast<int>(left), static_cast<int>(top), graph, transparency);
  }
  // Where the graph's centre goes when (centreX, centreY) of it lands on (x, y).
  // A mirrored draw flips the point's offset from the centre left-right.
  double dx = record->width / 2.0 - centreX;
  const double dy = record->height / 2.0 - centreY;
  if (turn) dx = -dx;
  const double c = std::cos(angle), s = std::sin(angle);
  const double gx = x + (dx * c - dy * s) * scale;
  const double gy = y + (dx * s + dy * c) * scale;
  const int result = SoftwareDrawRotatedGraph(DoubleToIntTrunc(std::floor(gx + 0.5)),
                                              DoubleToIntTrunc(std::floor(gy + 0.5)), scale,
                                              angle, record, transparency, turn);
  AfterDraw();
  return result;
}

int DrawGraphQuadInner(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4, int graph,
                       int transparency) {
  const GraphRecord* record = DrawableGraph(graph);
  if (!record) return -1;
  if (Empty(record)) return 0;
  // The caller goes round the quad (top-left, top-right, bottom-right,
  // bottom-left); the four-corner draw takes the bottom corners left first.
  const int result =
      SoftwareDrawQuadGraph(x1, y1, x2, y2, x4, y4, x3, y3, record, transparency);
  AfterDraw();
  return result;
}

int DrawGraphPartInner(int x, int y, int srcX, int srcY, int width, int height, int graph,
                       int transparency, int turn) {
  const GraphRecord* record = DrawableGraph(graph);
  if (!record) return -1;
  MEMIMG* target = SoftwareTarget();
  if (!target) return -1;
  // Cut the source rectangle to the graph, moving the target point along
  // (in 64 bits: hostile corners must not overflow).
  int64_t left = x, top = y, sx = srcX, sy = srcY, w = width, h = height;
  if (sx < 0) { if (!turn) left -= sx; w += sx; sx = 0; }
  if (sy < 0) { top -= sy; h += sy; sy = 0; }
  if (w > record->width - sx) {
    if (turn) left += w - (record->width - sx);
    w = record->width - sx;
  }
  if (h > record->height - sy) h = record->height - sy;
  if (w <= 0 || h <= 0) return 0;
  // Wholly off any target: nothing to draw (and the corners fit in 32 bits).
  if (left + w <= INT32_MIN / 2 || left >= INT32_MAX / 2 || top + h <= INT32_MIN / 2 ||
      top >= INT32_MAX / 2)
    return 0;
  x = static_cast<int>(left);
  y = static_cast<int>(top);
  srcX = static_cast<int>(sx);
  srcY = static_cast<int>(sy);
  width = static_cast<int>(w);
  height = static_cast<int>(h);
  MEMIMG view;
  MEMIMG* whole = GraphSourceMemImg(record, &view);
  if (!whole) return -1;
  MEMIMG part;
  MakeMemImgView(&part, whole, srcX, srcY, width, height);
  if (turn) {
    const IntRect rect{x + width, y, x, y + height};  // right-to-left mirrors
    MemImgScaledBlit(target, &part, &rect, transparency, BlendGraphMemImg());
  } else {
    MemImgBlit(target, &part, x, y, transparency, BlendGraphMemImg());
  }
  AfterDraw();
  return 0;
}

int DrawRectangleInner(int x1, int y1, int x2, int y2, uint32_t color, int fill) {
  if (!ScreensExist()) return -1;
  const int result = fill ? SoftwareFillRect(x1, y1, x2, y2, color)
                          : SoftwareDrawBoxFrame(x1, y1, x2, y2, color);
  AfterDraw();
  return result;
}

int PlotPixelInner(int x, int y, uint32_t color) {
  if (!ScreensExist()) return -1;
  const int result = SoftwareDrawPixel(x, y, color);
  AfterDraw();
  return result;
}

int LoadAndDrawGraphInner(int x, int y, const char* fileName, int transparency) {
  const int graph = LoadGraphInner(fileName);
  if (graph < 0) return -1;
  const int result = DrawGraphAtInner(x, y, graph, transparency);
  DeleteGraph(graph);  // drawn once, then let go
  return result;
}
