// The transform chain of triangle draws (view, projection, viewport) and the
// software path of the triangle-list draw, which hands each triangle to the
// polygon rasteriser.
#include <cmath>
#include <cstring>

#include "graphics/graph_ops.h"
#include "graphics/graph_registry.h"
#include "graphics/screen.h"
#include "softrender/softrender.h"

namespace {

// The default camera sits on the z axis in front of the screen centre, looking
// along +z; a point of depth 0 maps to (x - 320) / 320, (y - 240) / 240 in
// device coordinates, y pointing up. Its distance is that of a 60-degree
// vertical field of view over 480 rows, so z = -240 stays in front.
constexpr double kCameraDistance = 415.69219381653056;  // 240 / tan(30 degrees)
constexpr double kNear = 1.0;
constexpr double kFar = 4000.0;
// The scale of the homogeneous w handed to the rasteriser (as rhw = 1 / w) is
// ours to choose, and it decides where the rasteriser's fixed point loses
// precision. Its perspective step takes q = 8 x w truncated to a whole number,
// which shrinks a texture coordinate by up to 1 / q (u x W / (8 w) texels),
// and it keeps u x rhw to 16 fraction bits, which blurs the coordinate by up
// to about W x w / 65536 texels. The first wants w large, the second small;
// they balance where w x w = 8192, near w = 90, whatever the texture's width.
// Measuring w in units of kCameraDistance / 128 puts the tally's turning panel
// (depths 0.42 to 1.58 camera distances) at w = 54 to 202 around that point:
// within 3 texels of exact perspective (under 1 on average) at every angle,
// with no bands. Camera distance units (rhw 1 on the screen plane) left q
// only the whole numbers 3 to 12, so the picture slid within rows of one q and
// jumped by up to a third where q stepped. A power of two keeps flat draws exact (q = 1024 on the screen
// plane), and rhw stays below 4 up to the near plane, well inside the
// rasteriser's range of 32.
constexpr double kRhwOnScreenPlane = 1.0 / 128.0;

float g_viewport[16];
bool g_viewportSet = false;

void DefaultViewport(float* m) {
  BuildViewportMatrixInner(m, g_screenSettings.width * 0.5f, g_screenSettings.height * 0.5f,
                           static_cast<float>(g_screenSettings.width),
                           static_cast<float>(g_screenSettings.height));
}

}  // namespace

void ResetTransformChain() { g_viewportSet = false; }

int SetViewportMatrixInner(const float* matrix16) {
  if (!matrix16) return -1;
  std::memcpy(g_viewport, matrix16, sizeof g_viewport);
  g_viewportSet = true;
  return 0;
}

int BuildViewportMatrixInner(float* m, float centreX, float centreY, float width, float height) {
  if (!m) return -1;
  for (int i = 0; i < 16; ++i) m[i] = 0.0f;
  m[0] = 0.5f * width;
  m[5] = -0.5f * height;
  m[10] = 1.0f;
  m[15] = 1.0f;
  m[12] = centreX;
  m[13] = centreY;
  return 0;
}

bool TransformGraphVertex(const GraphVertex* in, RasterVertex* out) {
  float viewport[16];
  if (g_viewportSet) std::memcpy(viewport, g_viewport, sizeof viewport);
  else DefaultViewport(viewport);
  // View: camera at (320, 240, -D). Projection: w = view depth, x and y scaled
  // so that depth 0 lands on the screen rectangle, depth mapped to 0..1.
  const double vx = static_cast<double>(in->x) - 320.0;
  const double vy = static_cast<double>(in->y) - 240.0;
  const double vz = static_cast<double>(in->z) + kCameraDistance;
  if (!(vz > kNear)) return false;  // behind or at the camera (or not a number)
  const double q = kFar / (kFar - kNear);
  const double clipX = vx * (kCameraDistance / 320.0);
  const double clipY = vy * (kCameraDistance / 240.0);
  const double clipZ = vz * q - q * kNear;
  const double w = vz;
  const double nx = clipX / w, ny = clipY / w, nz = clipZ / w;
  // Viewport (row vector times matrix).
  const double sx = nx * viewport[0] + ny * viewport[4] + nz * viewport[8] + viewport[12];
  const double sy = nx * viewport[1] + ny * viewport[5] + nz * viewport[9] + viewport[13];
  const double sz = nx * viewport[2] + ny * viewport[6] + nz * viewport[10] + viewport[14];
  const double sw = nx * viewport[3] + ny * viewport[7] + nz * viewport[11] + viewport[15];
  if (sw == 0.0) return false;
  const double px = sx / sw, py = sy / sw, pz = sz / sw;
  // A point that leaves the float range (or a hostile matrix) is not drawn.
  constexpr double kLimit = 1e30;
  if (!(std::fabs(px) < kLimit && std::fabs(py) < kLimit && std::fabs(pz) < kLimit) ||
      !(std::fabs(in->u) < kLimit && std::fabs(in->v) < kLimit))
    return false;
  out->x = static_cast<float>(px);
  out->y = static_cast<float>(py);
  out->z = static_cast<float>(pz);
  out->rhw = static_cast<float>(kRhwOnScreenPlane * kCameraDistance / w);
  out->color = in->color;
  out->u = in->u;
  out->v = in->v;
  return true;
}

int DirectDrawDrawTriangles(const RasterVertex* vertices, int triangleCount, const MEMIMG* texture,
                            int transparency) {
  MEMIMG* target = g_drawState.maskOn ? GetMaskMemImg() : GetDrawTargetMemImg();
  if (!target || target->aliveMark != MemImgAliveMark) return -1;
  MEMIMG* depth = GetDepthBufferMemImg();
  if (depth && (depth->width != target->width || depth->height != target->height))
    depth = nullptr;  // a graph target has no depth buffer of its size
  const MEMIMG* blendGraph = BlendGraphMemImg();
  for (int i = 0; i < triangleCount; ++i) {
    MemImgRasterizeTriangle(target, depth, texture, vertices + 3 * i, transparency, blendGraph,
                            g_drawState.depthWrite, 1, 1, 0);
  }
  return 0;
}

int DrawGraphTrianglesInner(const GraphVertex* vertices, int triangleCount, int graph,
                            int transparency) {
  if (!vertices || triangleCount < 0 || !ScreensExist()) return -1;
  const GraphRecord* record = GetGraphRecord(graph);
  if (!record) return -1;
  if (record->width <= 0 || record->height <= 0) return 0;
  MEMIMG view;
  const MEMIMG* texture = GraphSourceMemImg(record, &view);
  if (!texture) return -1;
  for (int i = 0; i < triangleCount; ++i) {
    RasterVertex triangle[3];
    bool visible = true;
    for (int k = 0; k < 3; ++k)
      if (!TransformGraphVertex(&vertices[3 * i + k], &triangle[k])) visible = false;
    if (visible) DirectDrawDrawTriangles(triangle, 1, texture, transparency);
  }
  AfterDraw();
  return 0;
}
