// Graph handles, Surface2D parts and SurfaceData images.
#include "graphics/graph_registry.h"

#include "graphics/slot_table.h"

namespace {

SlotTable<GraphRecord>& Graphs() {
  static SlotTable<GraphRecord> table(GraphHandleKind);
  return table;
}
SlotTable<Surface2D>& Parts() {
  static SlotTable<Surface2D> table(Surface2DHandleKind);
  return table;
}
SlotTable<SurfaceData>& Images() {
  static SlotTable<SurfaceData> table(SurfaceDataHandleKind);
  return table;
}

void ReleaseSurfaceData(int32_t handle) {
  SurfaceData* data = Images().Get(handle);
  if (!data) return;
  if (--data->refCount > 0) return;
  std::unique_ptr<SurfaceData> owned = Images().Remove(handle);
  FreeMemImg(&owned->image);
}

// A part of an image; takes a reference on the image. -1 on failure.
int32_t AddSurface2D(int32_t surfaceData, int32_t x, int32_t y, int32_t width, int32_t height) {
  SurfaceData* data = Images().Get(surfaceData);
  if (!data) return -1;
  auto part = std::make_unique<Surface2D>();
  part->x = static_cast<uint16_t>(x);
  part->y = static_cast<uint16_t>(y);
  part->width = static_cast<uint16_t>(width);
  part->height = static_cast<uint16_t>(height);
  part->surfaceData = surfaceData;
  const int32_t handle = Parts().Add(std::move(part));
  if (handle >= 0) ++data->refCount;
  return handle;
}

void DeleteSurface2D(int32_t handle) {
  std::unique_ptr<Surface2D> part = Parts().Remove(handle);
  if (part) ReleaseSurfaceData(part->surfaceData);
}

int32_t AddGraphRecord(int32_t surface2D, int32_t width, int32_t height, int32_t renderTarget) {
  auto graph = std::make_unique<GraphRecord>();
  graph->surface2D = surface2D;
  graph->width = width;
  graph->height = height;
  graph->renderTarget = renderTarget;
  const int32_t handle = Graphs().Add(std::move(graph));
  if (handle < 0) DeleteSurface2D(surface2D);
  return handle;
}

}  // namespace

GraphRecord* GetGraphRecord(int32_t graphHandle) { return Graphs().Get(graphHandle); }
Surface2D* GetSurface2D(int32_t surface2DHandle) { return Parts().Get(surface2DHandle); }
SurfaceData* GetSurfaceData(int32_t surfaceDataHandle) { return Images().Get(surfaceDataHandle); }

int32_t AddGraphFromMemImg(MEMIMG* image, int32_t renderTarget) {
  if (!image || image->aliveMark != MemImgAliveMark) return -1;
  if (image->width > 65535 || image->height > 65535) {
    FreeMemImg(image);
    return -1;
  }
  auto data = std::make_unique<SurfaceData>();
  data->image = *image;
  data->width = static_cast<uint16_t>(image->width);
  data->height = static_cast<uint16_t>(image->height);
  data->refCount = 0;
  const int32_t width = image->width;
  const int32_t height = image->height;
  SurfaceData* raw = data.get();
  const int32_t dataHandle = Images().Add(std::move(data));
  if (dataHandle < 0) return -1;  // the caller still owns image
  // The record now lives in the SurfaceData.
  image->aliveMark = 0;
  image->pixels = nullptr;
  image->palette = nullptr;
  image->alphaBuffer = nullptr;
  image->extraBuffer = nullptr;
  const int32_t part = AddSurface2D(dataHandle, 0, 0, width, height);
  if (part < 0) {
    raw->refCount = 1;
    ReleaseSurfaceData(dataHandle);
    return -1;
  }
  return AddGraphRecord(part, width, height, renderTarget);
}

int32_t DeriveGraph(int32_t x, int32_t y, int32_t width, int32_t height, int32_t parent) {
  const GraphRecord* graph = GetGraphRecord(parent);
  if (!graph) return -1;
  const Surface2D* part = GetSurface2D(graph->surface2D);
  if (!part) return -1;
  if (x < 0 || y < 0 || width < 0 || height < 0) return -1;
  // A rectangle that starts at or beyond the edge holds no pixel of the parent.
  if (x >= graph->width || y >= graph->height) return -1;
  if (width > graph->width - x) width = graph->width - x;
  if (height > graph->height - y) height = graph->height - y;
  const int32_t partHandle =
      AddSurface2D(part->surfaceData, part->x + x, part->y + y, width, height);
  if (partHandle < 0) return -1;
  return AddGraphRecord(partHandle, width, height, graph->renderTarget);
}

int DeleteGraph(int32_t graph) {
  std::unique_ptr<GraphRecord> record = Graphs().Remove(graph);
  if (!record) return -1;
  DeleteSurface2D(record->surface2D);
  return 0;
}

void DeleteAllGraphs() {
  for (int32_t handle : Graphs().Handles()) DeleteGraph(handle);
  for (int32_t handle : Parts().Handles()) DeleteSurface2D(handle);
  for (int32_t handle : Images().Handles()) {
    std::unique_ptr<SurfaceData> data = Images().Remove(handle);
    if (data) FreeMemImg(&data->image);
  }
}

int CountGraphs() { return Graphs().Count(); }
int CountSurface2D() { return Parts().Count(); }
int CountSurfaceData() { return Images().Count(); }

MEMIMG* GraphSourceMemImg(const GraphRecord* graph, MEMIMG* viewStorage) {
  if (!graph) return nullptr;
  const Surface2D* part = GetSurface2D(graph->surface2D);
  if (!part) return nullptr;
  SurfaceData* data = GetSurfaceData(part->surfaceData);
  if (!data) return nullptr;
  if (part->x == 0 && part->y == 0 && part->width == data->width && part->height == data->height)
    return &data->image;
  MakeMemImgView(viewStorage, &data->image, part->x, part->y, part->width, part->height);
  return viewStorage;
}

MEMIMG* GraphHandleMemImg(int32_t graph, MEMIMG* viewStorage) {
  return GraphSourceMemImg(GetGraphRecord(graph), viewStorage);
}
