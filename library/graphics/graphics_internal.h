// What the graphics layer offers the software renderer's front ends: graph,
// part and surface records, the screens and their flags, the blend graph and
// the (here always failing) DirectDraw lock path.
#pragma once
#include <cstdint>

#include "graphics/drawstate.h"
#include "graphics/memimg.h"

// The whole loaded image behind one or more graphs.
struct SurfaceData {
  MEMIMG image;       // the pixels of the whole loaded image
  uint16_t width;     // image width
  uint16_t height;    // image height
  int32_t refCount;   // Surface2D records that use it
};

// A rectangle of a SurfaceData: what one graph shows.
struct Surface2D {
  uint16_t x, y;            // part origin in the SurfaceData image
  uint16_t width, height;   // part size
  int32_t surfaceData;      // SurfaceData handle
};

struct GraphRecord {
  int32_t surface2D;  // Surface2D handle, or -1
  int32_t width;      // graph width in pixels
  int32_t height;     // graph height in pixels
  int32_t renderTarget;  // 1 when made while render-target creation was on
};

GraphRecord* GetGraphRecord(int32_t graphHandle);   // null for a stale or foreign handle
Surface2D* GetSurface2D(int32_t surface2DHandle);    // null when unknown
SurfaceData* GetSurfaceData(int32_t surfaceDataHandle);

// Screen flags and objects.
struct GraphicsScreenState {
  int32_t softwareRendering;   // 1: screens are images drawn by software
  void* directDraw;            // always null here
  int32_t memImgScreen;        // 1: the screens are MEMIMGs
  int32_t screenBits;          // 16 or 32
  int32_t directDrawStarted;   // always 0 here
};
extern GraphicsScreenState g_screen;

MEMIMG* GetMaskMemImg();         // the mask screen (unused; masking is off)
MEMIMG* GetDrawTargetMemImg();   // the MEMIMG of the current draw target
MEMIMG* GetDepthBufferMemImg();  // 640 x 480 16-bit depth buffer of the screens
MEMIMG* BlendGraphMemImg();      // the current blend graph's image, or null

// The lock path of DirectDraw screens; with MEMIMG screens it always fails.
extern MEMIMG g_workTargetMemImg;
extern MEMIMG g_workSourceMemImg;
int BeginDirectDrawDraw(Surface2D* surface, int32_t zero, const IntRect* sourceRect,
                        const IntRect* targetRect, int32_t primitive, uint32_t* color,
                        int32_t zero2);
void EndDirectDrawDraw();
int DirectDrawDrawGraph(int32_t x, int32_t y, const GraphRecord* graph, int32_t transparency,
                        int32_t intFlag);
int DirectDrawDrawSegments(const int32_t* segments, int32_t count);
void FlushVertexBatch();
void EndDeviceScene();
