// The inner operations behind the image, drawing and screen entry points of
// tesra.h (the entry points add the library lock). Same arguments and results.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "graphics/graph_image.h"
#include "tesra.h"

// ---- Loading (graph_load.cpp) ----------------------------------------------------
// Decodes a file read through the library's file layer. 0 or -1 (logged).
int LoadGraphImageFile(const char* fileName, GraphImage* image);
int LoadGraphInner(const char* fileName);
int LoadGraphFromMemoryInner(const void* data, size_t size);
int LoadGraphSplitInner(const char* fileName, int count, int across, int down, int pieceWidth,
                        int pieceHeight, int* handles);
// Cuts an existing graph into pieces row by row (the parent stays).
int SplitGraphInner(int graph, int count, int across, int down, int pieceWidth, int pieceHeight,
                    int* handles);
int CreateBlankGraphInner(int width, int height);
int LoadAndDrawGraphInner(int x, int y, const char* fileName, int transparency);

// ---- Draws (draw_dispatch.cpp) ----------------------------------------------------
int DrawGraphAtInner(int x, int y, int graph, int transparency);
int DrawGraphStretchedInner(int x1, int y1, int x2, int y2, int graph, int transparency);
int DrawGraphRotatedInner(int x, int y, double scale, double angle, int graph, int transparency,
                          int turn);
int DrawGraphRotatedAboutPointInner(int x, int y, int centreX, int centreY, double scale,
                                    double angle, int graph, int transparency, int turn);
int DrawGraphQuadInner(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4, int graph,
                       int transparency);
int DrawGraphPartInner(int x, int y, int srcX, int srcY, int width, int height, int graph,
                       int transparency, int turn);
int DrawRectangleInner(int x1, int y1, int x2, int y2, uint32_t color, int fill);
int PlotPixelInner(int x, int y, uint32_t color);
// After a draw: a draw into the front screen is shown at once.
void AfterDraw();

// ---- Triangles and the transform chain (transform.cpp) -----------------------------
int SetViewportMatrixInner(const float* matrix16);
int BuildViewportMatrixInner(float* matrix16, float centreX, float centreY, float width,
                             float height);
// The world -> screen chain: default view and projection, then the viewport
// matrix. Fills a rasteriser vertex from a graph vertex; false when the point
// lies behind the camera.
struct RasterVertex;
bool TransformGraphVertex(const GraphVertex* in, RasterVertex* out);
void ResetTransformChain();
int DrawGraphTrianglesInner(const GraphVertex* vertices, int triangleCount, int graph,
                            int transparency);
// The software path of the triangle-list draw: one rasteriser call per
// triangle of screen-space vertices.
int DirectDrawDrawTriangles(const RasterVertex* vertices, int triangleCount, const MEMIMG* texture,
                            int transparency);

// ---- Screens (screen_present.cpp) -------------------------------------------------
int PresentBackScreenInner();
int ShowFrontScreen();
int CopyScreenToGraphInner(int x1, int y1, int x2, int y2, int graph);
int SaveScreenRectToBmpInner(int x1, int y1, int x2, int y2, const char* fileName, bool onlyNew,
                             int* error = nullptr);
// The 24-bit bottom-up BMP of a rectangle of image (clipped to it) in memory:
// 14-byte file header, 40-byte information header, rows padded to 4 bytes.
// Returns the file bytes (empty when the rectangle is empty).
std::vector<uint8_t> EncodeBmp24(const MEMIMG* image, int x1, int y1, int x2, int y2);
