// The image, drawing, screen and font entry points of the library, and the
// registrar that lets the library start and end the graphics system.
#include "core/hooks.h"
#include "core/library.h"
#include "core/lock.h"
#include "core/log.h"
#include "graphics/font.h"
#include "graphics/graph_ops.h"
#include "graphics/graph_registry.h"
#include "graphics/screen.h"
#include "tesra.h"

namespace {

int InitializeGraphicsSystem() {
  // The mode the library start settled on (ApiSetScreenMode is the core's).
  g_screenSettings.width = g_librarySettings.screenWidth;
  g_screenSettings.height = g_librarySettings.screenHeight;
  g_screenSettings.bits = g_librarySettings.colorBits == 32 ? 32 : 16;
  g_screenSettings.refreshRate = g_librarySettings.refreshRate;
  g_screenSettings.windowed = g_librarySettings.windowed;
  if (CreateScreens() != 0) {
    LogFormatLine("画面の作成に失敗しました");
    return -1;
  }
  ResetTransformChain();
  return 0;
}

void TerminateFontSystem() { DeleteAllFonts(); }

void TerminateGraphicsSystem() {
  DeleteAllGraphs();
  DestroyScreens();
  ResetTransformChain();
  g_screenSettings.renderTargetCreation = 0;
}

struct GraphicsRegistrar {
  GraphicsRegistrar() {
    g_libraryHooks.initializeGraphicsSystem = InitializeGraphicsSystem;
    g_libraryHooks.terminateFontSystem = TerminateFontSystem;
    g_libraryHooks.terminateGraphicsSystem = TerminateGraphicsSystem;
  }
};
const GraphicsRegistrar g_graphicsRegistrar;

}  // namespace

int ApiLoadGraphFromFile(const char* fileName, int) {
  LibraryLockGuard guard;
  return LoadGraphInner(fileName);
}

int ApiLoadGraphFileSplit(const char* fileName, int count, int across, int down, int pieceWidth,
                          int pieceHeight, int* handles, int) {
  LibraryLockGuard guard;
  return LoadGraphSplitInner(fileName, count, across, down, pieceWidth, pieceHeight, handles);
}

int ApiLoadAndDrawGraphFile(int x, int y, const char* fileName, int transparency) {
  LibraryLockGuard guard;
  return LoadAndDrawGraphInner(x, y, fileName, transparency);
}

int ApiDeriveSubGraph(int x, int y, int width, int height, int parent) {
  LibraryLockGuard guard;
  return DeriveGraph(x, y, width, height, parent);
}

int ApiCreateBlankGraph(int width, int height, int) {
  LibraryLockGuard guard;
  return CreateBlankGraphInner(width, height);
}

int ApiFreeGraphHandle(int graph, int) {
  LibraryLockGuard guard;
  if (!GetGraphRecord(graph)) return -1;  // not a graph: nothing happens
  if (g_drawState.drawTarget == graph) SelectDrawTargetInner(BackBufferTarget);
  if (g_drawState.blendGraph == graph) SetBlendGraphInner(-1, 0, 0);
  return DeleteGraph(graph);
}

int ApiSelectDrawTarget(int target) {
  LibraryLockGuard guard;
  return SelectDrawTargetInner(target);
}

int ApiSetRenderTargetCreation(int flag) {
  LibraryLockGuard guard;
  g_screenSettings.renderTargetCreation = flag ? 1 : 0;
  return 0;
}

int ApiSetClipRectangle(int x1, int y1, int x2, int y2) {
  LibraryLockGuard guard;
  return SetClipRectangleInner(x1, y1, x2, y2);
}

int ApiDrawGraphAt(int x, int y, int graph, int transparency) {
  LibraryLockGuard guard;
  return DrawGraphAtInner(x, y, graph, transparency);
}

int ApiDrawGraphStretched(int x1, int y1, int x2, int y2, int graph, int transparency) {
  LibraryLockGuard guard;
  return DrawGraphStretchedInner(x1, y1, x2, y2, graph, transparency);
}

int ApiDrawGraphRotated(int x, int y, double scale, double angle, int graph, int transparency,
                        int turn) {
  LibraryLockGuard guard;
  return DrawGraphRotatedInner(x, y, scale, angle, graph, transparency, turn);
}

int ApiDrawGraphRotatedAboutPoint(int x, int y, int centreX, int centreY, double scale,
                                  double angle, int graph, int transparency, int turn) {
  LibraryLockGuard guard;
  return DrawGraphRotatedAboutPointInner(x, y, centreX, centreY, scale, angle, graph,
                                         transparency, turn);
}

int ApiDrawGraphQuad(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4, int graph,
                     int transparency) {
  LibraryLockGuard guard;
  return DrawGraphQuadInner(x1, y1, x2, y2, x3, y3, x4, y4, graph, transparency);
}

int ApiDrawGraphPart(int x, int y, int srcX, int srcY, int width, int height, int graph,
                     int transparency, int turn) {
  LibraryLockGuard guard;
  return DrawGraphPartInner(x, y, srcX, srcY, width, height, graph, transparency, turn);
}

int ApiDrawGraphTriangles(const GraphVertex* vertices, int triangleCount, int graph,
                          int transparency) {
  LibraryLockGuard guard;
  return DrawGraphTrianglesInner(vertices, triangleCount, graph, transparency);
}

int ApiDrawRectangle(int x1, int y1, int x2, int y2, uint32_t color, int fill) {
  LibraryLockGuard guard;
  return DrawRectangleInner(x1, y1, x2, y2, color, fill);
}

int ApiPlotPixel(int x, int y, uint32_t color) {
  LibraryLockGuard guard;
  return PlotPixelInner(x, y, color);
}

uint32_t ApiRgbToScreenColor(int red, int green, int blue) {
  LibraryLockGuard guard;
  return RgbToScreenColorInner(red, green, blue);
}

int ApiSetDrawFilter(int mode) {
  LibraryLockGuard guard;
  g_drawState.drawFilter = mode;  // stored; the software draws sample the nearest pixel
  return 0;
}

int ApiSetBlendMode(int mode, int parameter) {
  LibraryLockGuard guard;
  return SetBlendModeInner(mode, parameter);
}

int ApiSetDrawBrightness(int red, int green, int blue) {
  LibraryLockGuard guard;
  return SetDrawBrightnessInner(red, green, blue);
}

int ApiPresentBackScreen() {
  LibraryLockGuard guard;
  return PresentBackScreenInner();
}

int ApiCopyScreenToGraph(int x1, int y1, int x2, int y2, int graph, int) {
  LibraryLockGuard guard;
  return CopyScreenToGraphInner(x1, y1, x2, y2, graph);
}

int ApiSaveScreenRectToBmp(int x1, int y1, int x2, int y2, const char* fileName) {
  LibraryLockGuard guard;
  return SaveScreenRectToBmpInner(x1, y1, x2, y2, fileName, false);
}

int ApiSaveScreenRectToNewBmp(int x1, int y1, int x2, int y2, const char* fileName, int* error) {
  LibraryLockGuard guard;
  return SaveScreenRectToBmpInner(x1, y1, x2, y2, fileName, true, error);
}

int ApiSetViewportMatrix(const float* matrix16) {
  LibraryLockGuard guard;
  return SetViewportMatrixInner(matrix16);
}

int ApiBuildViewportMatrix(float* matrix16, float centreX, float centreY, float width,
                           float height) {
  LibraryLockGuard guard;
  return BuildViewportMatrixInner(matrix16, centreX, centreY, width, height);
}

int ApiCreateFontToHandle(const char* faceName, int size, int thickness, int fontType, int, int,
                          int, int reuseHandle, int) {
  LibraryLockGuard guard;
  if (reuseHandle != -1) DeleteFontInner(reuseHandle);
  return CreateFontInner(faceName, size, thickness, fontType);
}

int ApiDrawTextWithFont(int x, int y, const char* text, uint32_t color, int font,
                        uint32_t edgeColor, int) {
  LibraryLockGuard guard;
  return DrawTextInner(x, y, text, color, font, edgeColor);
}

int ApiMeasureTextWidthWithFont(const char* text, int length, int font, int) {
  LibraryLockGuard guard;
  return MeasureTextInner(text, length, font);
}
