// Depth-range clipping of the polygon rasteriser: a triangle that crosses
// z = 0 or z = 1 is clipped in homogeneous clip space against the far plane
// (z = w) and the near plane (z = 0) and comes back as a convex polygon.
#include <cmath>

#include "core/numeric.h"
#include "softrender/sr_raster.h"

namespace {

enum class Plane { Far, Near };

bool Outside(const RasterVertex& v, Plane plane) {
  // In clip space the rhw field holds w.
  return plane == Plane::Far ? v.rhw < v.z : v.z < 0.0f;
}

float Lerp(float i, float o, float t) {
  return static_cast<float>(i + (static_cast<double>(o) - i) * t);
}

// The crossing point from the inside vertex towards the outside one; false
// when the parameter is unusable (not finite or outside 0..1).
bool Crossing(const RasterVertex& in, const RasterVertex& out, Plane plane, RasterVertex* v) {
  float t;
  if (plane == Plane::Far) {
    const double zi = static_cast<double>(in.z) / in.rhw;
    const double zo = static_cast<double>(out.z) / out.rhw;
    t = static_cast<float>((1.0 - zi) / (zo - zi));
  } else {
    t = static_cast<float>(-static_cast<double>(in.z) / (static_cast<double>(out.z) - in.z));
  }
  if (!(t >= 0.0f && t <= 1.0f)) return false;
  v->x = Lerp(in.x, out.x, t);
  v->y = Lerp(in.y, out.y, t);
  v->z = plane == Plane::Far ? Lerp(in.z, out.z, t) : 0.0f;
  v->rhw = Lerp(in.rhw, out.rhw, t);
  v->u = Lerp(in.u, out.u, t);
  v->v = Lerp(in.v, out.v, t);
  const int32_t k = FloatToIntTrunc(t * 255.0f) & 0xFF;
  uint32_t colour = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const int32_t ci = static_cast<int32_t>((in.color >> shift) & 0xFF);
    const int32_t co = static_cast<int32_t>((out.color >> shift) & 0xFF);
    const int32_t mixed = (ci * 256 + (co - ci) * k) >> 8;
    colour |= (static_cast<uint32_t>(mixed) & 0xFF) << shift;
  }
  v->color = colour;
  return true;
}

// One pass over the closed polygon in[0..n-1]; returns the output count, or
// -1 when a crossing is unusable or the output would not fit.
int ClipPass(const RasterVertex* in, int n, RasterVertex* out, Plane plane) {
  int count = 0;
  auto emit = [&](const RasterVertex& v) {
    if (count >= RasterClipCapacity) return false;
    out[count++] = v;
    return true;
  };
  for (int i = 0; i < n; ++i) {
    const RasterVertex& s = in[i];
    const RasterVertex& e = in[i + 1 < n ? i + 1 : 0];
    const bool sOut = Outside(s, plane);
    const bool eOut = Outside(e, plane);
    RasterVertex cross;
    if (!sOut) {
      if (!emit(s)) return -1;
      if (eOut) {
        if (!Crossing(s, e, plane, &cross) || !emit(cross)) return -1;
      }
    } else if (!eOut) {
      if (!Crossing(e, s, plane, &cross) || !emit(cross)) return -1;
    }
  }
  return count;
}

}  // namespace

int RasterDepthRangeTest(const RasterVertex* tri) {
  int outside = 0;
  for (int i = 0; i < 3; ++i) {
    if (tri[i].z < 0.0f || tri[i].z > 1.0f) ++outside;
  }
  if (outside == 3) return 2;
  return outside == 0 ? 0 : 1;
}

int RasterClipDepthRange(const RasterVertex* tri, RasterVertex* out) {
  RasterVertex first[RasterClipCapacity];
  RasterVertex second[RasterClipCapacity];
  for (int i = 0; i < 3; ++i) {
    RasterVertex v = tri[i];
    const float w = 1.0f / v.rhw;
    v.rhw = w;
    v.x *= w;
    v.y *= w;
    v.z *= w;
    first[i] = v;
  }
  const int afterFar = ClipPass(first, 3, second, Plane::Far);
  if (afterFar < 3) return 0;
  const int afterNear = ClipPass(second, afterFar, first, Plane::Near);
  if (afterNear < 3) return 0;
  for (int i = 0; i < afterNear; ++i) {
    RasterVertex v = first[i];
    const float w = 1.0f / v.rhw;
    v.rhw = w;
    v.x *= w;
    v.y *= w;
    v.z *= w;
    // A vertex made of infinities (w of 0) cannot be placed: drop the polygon.
    if (!std::isfinite(v.x) || !std::isfinite(v.y) || !std::isfinite(v.z) ||
        !std::isfinite(v.rhw))
      return 0;
    out[i] = v;
  }
  return afterNear;
}
