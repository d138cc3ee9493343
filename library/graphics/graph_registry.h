// The graph registry: graph handles -> Surface2D parts -> SurfaceData images.
// A graph is a rectangle (Surface2D) of a loaded image (SurfaceData); derived
// graphs share the image, which lives while any part refers to it.
#pragma once
#include <cstdint>

#include "core/handle.h"
#include "graphics/graphics_internal.h"

// Handle kinds of the graphics layer (bits 27-30 of a handle).
constexpr int32_t GraphHandleKind = HandleKindGraph;
constexpr int32_t FontHandleKind = HandleKindFont;
constexpr int32_t Surface2DHandleKind = HandleKindSurface2D;
constexpr int32_t SurfaceDataHandleKind = HandleKindSurfaceData;

// Takes over image (which must be alive; the record is moved and left not
// alive) as a new graph covering all of it. Returns the graph handle or -1.
int32_t AddGraphFromMemImg(MEMIMG* image, int32_t renderTarget);
// A graph for the rectangle (x, y, width, height) of parent, cut at the
// parent's edges; -1 when the rectangle starts outside the parent, a size is
// negative or parent is no graph. Offsets of parts of parts accumulate.
int32_t DeriveGraph(int32_t x, int32_t y, int32_t width, int32_t height, int32_t parent);
// Deletes a graph handle; the image goes with its last part. -1 when the
// value is no graph handle.
int DeleteGraph(int32_t graph);
// Deletes every graph, part and image.
void DeleteAllGraphs();
// Number of live graphs, parts and images (for checks of the release).
int CountGraphs();
int CountSurface2D();
int CountSurfaceData();

// The pixels a graph shows: the whole image when the part covers it, else a
// view written into viewStorage. Null for an unknown graph.
MEMIMG* GraphSourceMemImg(const GraphRecord* graph, MEMIMG* viewStorage);
// The same for a graph handle.
MEMIMG* GraphHandleMemImg(int32_t graph, MEMIMG* viewStorage);
