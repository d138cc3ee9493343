// Screens, draw target and the draw-state setters.
#include "graphics/screen.h"

#include <cstring>

#include "core/library.h"
#include "graphics/graph_registry.h"
#include "tesra.h"

// Until the screens exist no software draw has a target: the flags stay off.
GraphicsScreenState g_screen = {0, nullptr, 0, 16, 0};
ScreenSettings g_screenSettings;
MEMIMG g_workTargetMemImg;
MEMIMG g_workSourceMemImg;

namespace {

MEMIMG g_back;
MEMIMG g_front;
MEMIMG g_mask;   // never created: masking is off
MEMIMG g_depth;
MEMIMG g_targetView;      // draw target when it is a part of a larger image
MEMIMG g_blendGraphView;  // blend graph when it is a part of a larger image
bool g_screensExist = false;

int Clamp(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

void ClearImage(MEMIMG* image, uint8_t value) {
  for (int y = 0; y < image->height; ++y)
    std::memset(MemImgRow(image, y), value,
                static_cast<size_t>(image->width) * image->format->bytesPerPixel);
}

}  // namespace

int CreateScreens() {
  DestroyScreens();
  const uint32_t kind = g_screenSettings.bits == 32 ? ColorKind32 : ColorKind16;
  const int w = g_screenSettings.width;
  const int h = g_screenSettings.height;
  if (CreateMemImg(&g_back, w, h, -1, 0, kind, 0, 0, 0) != 0 ||
      CreateMemImg(&g_front, w, h, -1, 0, kind, 0, 0, 0) != 0 ||
      CreateMemImg(&g_depth, w, h, -1, 0, ColorKindOther, 0, 0, 0) != 0) {
    DestroyScreens();
    return -1;
  }
  ClearImage(&g_back, 0);
  ClearImage(&g_front, 0);
  ClearImage(&g_depth, 0xFF);  // 65535 in every entry
  g_screen.softwareRendering = 1;
  g_screen.directDraw = nullptr;
  g_screen.memImgScreen = 1;
  g_screen.screenBits = g_screenSettings.bits == 32 ? 32 : 16;
  g_screen.directDrawStarted = 0;
  g_mmxFlag = 1;
  BuildScaleTables();
  std::memset(&g_drawState, 0, sizeof g_drawState);
  ResetDrawState(w, h);
  g_drawState.drawTarget = BackBufferTarget;
  BuildBlendGraphWeightTable(0, 0);
  g_screensExist = true;
  return 0;
}

void DestroyScreens() {
  FreeMemImg(&g_back);
  FreeMemImg(&g_front);
  FreeMemImg(&g_depth);
  FreeMemImg(&g_mask);
  g_screensExist = false;
  g_screen.softwareRendering = 0;
  g_screen.memImgScreen = 0;
}

bool ScreensExist() { return g_screensExist; }
MEMIMG* GetBackScreenMemImg() { return g_screensExist ? &g_back : nullptr; }
MEMIMG* GetFrontScreenMemImg() { return g_screensExist ? &g_front : nullptr; }
MEMIMG* GetMaskMemImg() { return &g_mask; }
MEMIMG* GetDepthBufferMemImg() { return g_screensExist ? &g_depth : nullptr; }

MEMIMG* GetDrawTargetMemImg() {
  if (!g_screensExist) return nullptr;
  if (g_drawState.drawTarget == BackBufferTarget) return &g_back;
  if (g_drawState.drawTarget == FrontBufferTarget) return &g_front;
  return GraphHandleMemImg(g_drawState.drawTarget, &g_targetView);
}

void DrawTargetSize(int32_t* width, int32_t* height) {
  const MEMIMG* target = GetDrawTargetMemImg();
  *width = target ? target->width : 0;
  *height = target ? target->height : 0;
}

MEMIMG* BlendGraphMemImg() {
  if (g_drawState.blendGraph < 0) return nullptr;
  MEMIMG* image = GraphHandleMemImg(g_drawState.blendGraph, &g_blendGraphView);
  if (!image || !image->pixels) return nullptr;
  return image;
}

int SelectDrawTargetInner(int target) {
  if (!g_screensExist) return -1;
  if (target != BackBufferTarget && target != FrontBufferTarget) {
    const GraphRecord* graph = GetGraphRecord(target);
    if (!graph || !graph->renderTarget) return -1;
  }
  g_drawState.drawTarget = target;
  int32_t w = 0, h = 0;
  DrawTargetSize(&w, &h);
  g_drawState.areaX1 = 0;
  g_drawState.areaY1 = 0;
  g_drawState.areaX2 = w;
  g_drawState.areaY2 = h;
  return 0;
}

int SetClipRectangleInner(int x1, int y1, int x2, int y2) {
  int32_t w = 0, h = 0;
  DrawTargetSize(&w, &h);
  // The draw area always lies inside the target: the software routines trust it.
  IntRect area{x1, y1, x2, y2};
  const IntRect whole{0, 0, w, h};
  IntersectRectangles(&area, &whole);
  g_drawState.areaX1 = area.x1;
  g_drawState.areaY1 = area.y1;
  g_drawState.areaX2 = area.x2;
  g_drawState.areaY2 = area.y2;
  return 0;
}

int SetBlendModeInner(int mode, int parameter) {
  g_drawState.blendMode = mode;
  g_drawState.blendParam = Clamp(parameter, 0, 255);
  return 0;
}

int SetDrawBrightnessInner(int red, int green, int blue) {
  g_drawState.brightRed = static_cast<uint8_t>(Clamp(red, 0, 255));
  g_drawState.brightGreen = static_cast<uint8_t>(Clamp(green, 0, 255));
  g_drawState.brightBlue = static_cast<uint8_t>(Clamp(blue, 0, 255));
  return 0;
}

int SetBlendGraphInner(int graph, int border, int range) {
  border = Clamp(border, 0, 255);
  range = Clamp(range, 0, 255);
  if (graph != -1 && !GetGraphRecord(graph)) return -1;
  g_drawState.blendGraph = graph;
  g_drawState.blendGraphBorder = border;
  g_drawState.blendGraphRange = range;
  BuildBlendGraphWeightTable(border, range);
  return 0;
}

uint32_t RgbToScreenColorInner(int red, int green, int blue) {
  const uint32_t r = static_cast<uint32_t>(Clamp(red, 0, 255));
  const uint32_t g = static_cast<uint32_t>(Clamp(green, 0, 255));
  const uint32_t b = static_cast<uint32_t>(Clamp(blue, 0, 255));
  // Before the screens exist, the depth the library start will give them.
  const int bits = g_screensExist ? g_screenSettings.bits : g_librarySettings.colorBits;
  if (bits == 32) return (r << 16) | (g << 8) | b;
  return ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3);
}

// ---- The DirectDraw lock path: never available with MEMIMG screens --------------
int BeginDirectDrawDraw(Surface2D*, int32_t, const IntRect*, const IntRect*, int32_t, uint32_t*,
                        int32_t) {
  return -1;
}
void EndDirectDrawDraw() {}
void FlushVertexBatch() {}
void EndDeviceScene() {}
