// The software renderer's entry points: MEMIMG-to-MEMIMG blits, solid-colour
// primitives, textured triangles and the polygon rasteriser, plus the front
// ends that the graphics layer calls for graph draws. Every routine reads the
// current draw state (graphics/drawstate.h) and draws nothing when refused.
#pragma once
#include <cstdint>

#include "graphics/drawstate.h"
#include "graphics/memimg.h"

struct GraphRecord;

// ---- Blits (MEMIMG level) -----------------------------------------------------
// Whole source, unscaled, top-left at (x, y), clipped to the draw area.
void MemImgBlit(MEMIMG* target, const MEMIMG* source, int32_t x, int32_t y,
                int32_t transparency, const MEMIMG* blendGraph);
// Whole source stretched onto rect (x1 > x2 or y1 > y2 mirrors that axis).
void MemImgScaledBlit(MEMIMG* target, const MEMIMG* source, const IntRect* rect,
                      int32_t transparency, const MEMIMG* blendGraph);
// Whole source turned by angle (radians, clockwise on screen) and scaled about
// its centre, which lands on (centreX, centreY); turn mirrors it left-right.
void MemImgRotatedBlit(MEMIMG* target, const MEMIMG* source, int32_t centreX, int32_t centreY,
                       float angle, float scale, int32_t transparency, int32_t turn,
                       const MEMIMG* blendGraph);

// ---- Solid-colour primitives (colour = pixel value in the target's format) ------
void MemImgBlendPixel(MEMIMG* image, int32_t x, int32_t y, uint32_t color);
void MemImgFillRect(MEMIMG* image, const IntRect* rect, uint32_t color);  // null rect = whole image
void MemImgFillRectAt(MEMIMG* image, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                      uint32_t color);
void MemImgDrawSegment(MEMIMG* image, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                       uint32_t color);
// segments: count records of six words x1, y1, x2, y2, colour, blend parameter.
void MemImgDrawSegments(MEMIMG* image, const int32_t* segments, int32_t count);

// ---- Textured triangles --------------------------------------------------------
// Three vertices of x, y (target pixels) and u, v (source pixels).
struct TexturedTriangle {
  int32_t x0, y0, u0, v0;
  int32_t x1, y1, u1, v1;
  int32_t x2, y2, u2, v2;
};
void MemImgTexturedTriangle(MEMIMG* target, const MEMIMG* source, const TexturedTriangle* triangle,
                            int32_t transparency, const MEMIMG* blendGraph, int32_t extraWord);
// quad: four points (x, y): image top-left, top-right, bottom-left, bottom-right.
void MemImgTexturedQuad(MEMIMG* target, const MEMIMG* source, const int32_t* quad,
                        int32_t transparency, const MEMIMG* blendGraph);

// ---- Polygon rasteriser ----------------------------------------------------------
struct RasterVertex {
  float x, y, z, rhw;
  uint32_t color;  // bytes blue, green, red, alpha in memory order
  float u, v;
};
void MemImgRasterizeTriangle(MEMIMG* target, MEMIMG* depthBuffer, const MEMIMG* texture,
                             const RasterVertex* triangle, int32_t transparent,
                             const MEMIMG* blendGraph, int32_t depthWrite,
                             int32_t pieceDepthWrite, int32_t vertexColour, int32_t depthClip);

// ---- Front ends for graph draws (0 drawn or refused inside, -1 failure) ------------
int SoftwareDrawStretchedGraph(int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                               const GraphRecord* graph, int32_t transparency, int32_t intFlag,
                               int32_t surface);
int SoftwareDrawRotatedGraph(int32_t x, int32_t y, double scale, double angle,
                             const GraphRecord* graph, int32_t transparency, int32_t turn);
int SoftwareFillRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t color);
int SoftwareDrawPixel(int32_t x, int32_t y, uint32_t color);
int SoftwareDrawBoxFrame(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t color);
// Corners in the order top-left, top-right, bottom-left, bottom-right.
int SoftwareDrawQuadGraph(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                          int32_t x3, int32_t y3, const GraphRecord* graph, int32_t transparency);
int SoftwareDrawQuadGraphF(float x0, float y0, float x1, float y1, float x2, float y2, float x3,
                           float y3, const GraphRecord* graph, int32_t transparency);
int SoftwareDrawTriangleGraph(const TexturedTriangle* triangle, const GraphRecord* graph,
                              int32_t transparency, int32_t extraWord);
