// Solid-colour primitives into a MEMIMG: one pixel, filled rectangles and
// clipped line segments, with the colour rule of the current draw state.
#include <cstring>

#include "core/numeric.h"
#include "softrender/softrender.h"
#include "softrender/sr_blit_common.h"
#include "softrender/sr_pixel.h"
#include "softrender/sr_primitives.h"

namespace sr {
namespace {

// The colour of one call: variant, kernel rows and the colour after bright.
struct PrimitiveColor {
  Variant v;
  KernelParams k;
  uint32_t color;
};

// Decides the colour rule once per call. False when nothing is drawn.
bool PreparePrimitive(const MEMIMG& target, uint32_t color, PrimitiveColor* out) {
  MEMIMG asSource{};
  asSource.colorKind = target.colorKind;
  if (!ChooseVariant(asSource, 0, false, g_drawState, kPrimitivePolicy, 0, &out->v, &out->k))
    return false;
  // A 16-bit colour is one 5-6-5 word; bits above it would spill into the
  // neighbour of a paired store.
  if (target.colorKind == ColorKind16) color &= 0xFFFFu;
  if (out->v.bright) {
    // Bright of the primitives divides by 256, once for the whole call.
    color = target.colorKind == ColorKind32 ? BrightShift8<Pixel32>(out->k, color)
                                            : BrightShift8<Pixel16>(out->k, color);
    out->v.bright = false;
  }
  out->color = color;
  return true;
}

template <Variant V>
void FillLoop(const KernelParams& k, uint32_t color, uint8_t* dst, intptr_t pitch, int32_t cols,
              int32_t rows) {
  using T = PixelTraits<V.kind>;
  for (int32_t r = 0; r < rows; ++r, dst += pitch) {
    if constexpr (V.mode == 0) {
      if constexpr (V.kind == ColorKind32) {
        for (int32_t c = 0; c < cols; ++c) Store32(dst + 4 * c, color);
      } else {
        // Pairs of 16-bit pixels as 32-bit stores, then the odd last one.
        const uint32_t pair = color | (color << 16);
        int32_t c = 0;
        for (; c + 1 < cols; c += 2) Store32(dst + 2 * c, pair);
        if (c < cols) Store16(dst + 2 * c, color);
      }
    } else {
      for (int32_t c = 0; c < cols; ++c)
        BlendValue<V, kPrimitivePolicy>(k, color, 0, 0, dst + T::kBytes * c);
    }
  }
}

template <Variant V>
void PixelOp(const KernelParams& k, uint32_t color, uint8_t* dst) {
  BlendValue<V, kPrimitivePolicy>(k, color, 0, 0, dst);
}

// The integer walk of a clipped segment from (x, y), |u| by |v| pixels.
template <Variant V>
void SegmentWalk(const KernelParams& k, uint32_t color, const MEMIMG& image, int32_t x, int32_t y,
                 int32_t u, int32_t v) {
  using T = PixelTraits<V.kind>;
  const int32_t sx = u < 0 ? -1 : 1, sy = v < 0 ? -1 : 1;
  const int32_t au = u < 0 ? -u : u, av = v < 0 ? -v : v;
  const intptr_t stepX = static_cast<intptr_t>(sx) * T::kBytes;
  const intptr_t stepY = static_cast<intptr_t>(sy) * image.pitch;
  uint8_t* p = image.pixels + static_cast<intptr_t>(y) * image.pitch +
               static_cast<intptr_t>(x) * T::kBytes;
  int32_t e = 0;
  if (au >= av) {
    for (int32_t i = 0; i < au; ++i) {
      BlendValue<V, kPrimitivePolicy>(k, color, 0, 0, p);
      e += av;
      p += stepX;
      if (e >= au) {
        p += stepY;
        e -= au;
      }
    }
  } else {
    for (int32_t i = 0; i < av; ++i) {
      BlendValue<V, kPrimitivePolicy>(k, color, 0, 0, p);
      e += au;
      p += stepY;
      if (e >= av) {
        p += stepX;
        e -= av;
      }
    }
  }
}

// Runs f.template operator()<V>() for the call's (kind, mode) variant.
template <class F>
void WithPrimitiveVariant(const Variant& v, F&& f) {
  auto pick = [&]<uint32_t Kind>() {
    switch (v.mode) {
      case 0: f.template operator()<Variant{Kind, false, 0, false, false, false, false, 0}>(); break;
      case 1: f.template operator()<Variant{Kind, false, 1, false, false, false, false, 0}>(); break;
      case 2: f.template operator()<Variant{Kind, false, 2, false, false, false, false, 0}>(); break;
      case 3: f.template operator()<Variant{Kind, false, 3, false, false, false, false, 0}>(); break;
      case 4: f.template operator()<Variant{Kind, false, 4, false, false, false, false, 0}>(); break;
      default: break;
    }
  };
  if (v.kind == ColorKind32) pick.template operator()<ColorKind32>();
  else pick.template operator()<ColorKind16>();
}

// Clamps v into lo..hi.
int32_t Clamp(int32_t v, int32_t lo, int32_t hi) { return v < lo ? lo : (v > hi ? hi : v); }

}  // namespace
}  // namespace sr

void MemImgBlendPixel(MEMIMG* image, int32_t x, int32_t y, uint32_t color) {
  using namespace sr;
  if (!TargetUsable(image)) return;
  IntRect area;
  if (!ClampedDrawArea(*image, &area)) return;
  if (x < area.x1 || x >= area.x2 || y < area.y1 || y >= area.y2) return;
  EnsureBlendTables();
  PrimitiveColor pc;
  if (!PreparePrimitive(*image, color, &pc)) return;
  const int bytes = image->colorKind == ColorKind32 ? 4 : 2;
  uint8_t* p = image->pixels + static_cast<intptr_t>(y) * image->pitch +
               static_cast<intptr_t>(x) * bytes;
  WithPrimitiveVariant(pc.v, [&]<Variant V>() { PixelOp<V>(pc.k, pc.color, p); });
}

void MemImgFillRect(MEMIMG* image, const IntRect* rect, uint32_t color) {
  using namespace sr;
  if (!TargetUsable(image)) return;
  IntRect r{0, 0, image->width, image->height};
  if (rect) {
    r.x1 = rect->x1 < rect->x2 ? rect->x1 : rect->x2;
    r.x2 = rect->x1 < rect->x2 ? rect->x2 : rect->x1;
    r.y1 = rect->y1 < rect->y2 ? rect->y1 : rect->y2;
    r.y2 = rect->y1 < rect->y2 ? rect->y2 : rect->y1;
  }
  IntRect area;
  if (!ClampedDrawArea(*image, &area)) return;
  IntersectRectangles(&r, &area);
  if (r.x2 == r.x1 || r.y2 == r.y1) return;
  EnsureBlendTables();
  PrimitiveColor pc;
  if (!PreparePrimitive(*image, color, &pc)) return;
  const int bytes = image->colorKind == ColorKind32 ? 4 : 2;
  uint8_t* p = image->pixels + static_cast<intptr_t>(r.y1) * image->pitch +
               static_cast<intptr_t>(r.x1) * bytes;
  WithPrimitiveVariant(pc.v, [&]<Variant V>() {
    FillLoop<V>(pc.k, pc.color, p, image->pitch, r.x2 - r.x1, r.y2 - r.y1);
  });
}

void MemImgFillRectAt(MEMIMG* image, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                      uint32_t color) {
  const IntRect r{x1, y1, x2, y2};
  MemImgFillRect(image, &r, color);
}

void MemImgDrawSegment(MEMIMG* image, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                       uint32_t color) {
  using namespace sr;
  // A palette or alpha-flagged image has other pixel sizes than its colour
  // kind says: drawing by kind would land on the wrong bytes, so it is refused.
  if (!TargetUsable(image)) return;
  IntRect area;
  if (!ClampedDrawArea(*image, &area)) return;
  const int32_t L = area.x1, T = area.y1, R = area.x2, B = area.y2;
  if ((x1 > x2 ? x1 : x2) < L || (x1 < x2 ? x1 : x2) > R - 1) return;
  if ((y1 > y2 ? y1 : y2) < T || (y1 < y2 ? y1 : y2) > B - 1) return;

  const double dx = static_cast<double>(x2) - x1, dy = static_cast<double>(y2) - y1;
  const double kx = y1 == y2 ? 0.0 : dx / dy;
  const double ky = x1 == x2 ? 0.0 : dy / dx;
  const double cx = x1 - kx * y1;
  const double cy = y1 - ky * x1;
  if (x1 < L) {
    x1 = L;
    y1 = DoubleToIntTrunc(cy + ky * L);
  } else if (x1 >= R) {
    x1 = R - 1;
    y1 = DoubleToIntTrunc(cy + ky * (R - 1));
  }
  if (x2 < L) {
    x2 = L - 1;
    y2 = DoubleToIntTrunc(cy + ky * (L - 1));
  } else if (x2 >= R) {
    x2 = R;
    y2 = DoubleToIntTrunc(cy + ky * R);
  }
  if (y1 < T) {
    y1 = T;
    x1 = DoubleToIntTrunc(cx + kx * T);
  } else if (y1 >= B) {
    y1 = B - 1;
    x1 = DoubleToIntTrunc(cx + kx * (B - 1));
  }
  if (y2 < T) {
    y2 = T - 1;
    x2 = DoubleToIntTrunc(cx + kx * (T - 1));
  } else if (y2 >= B) {
    y2 = B;
    x2 = DoubleToIntTrunc(cx + kx * B);
  }
  x1 = Clamp(x1, L, R - 1);
  y1 = Clamp(y1, T, B - 1);
  x2 = Clamp(x2, L - 1, R);
  y2 = Clamp(y2, T - 1, B);
  const int32_t u = x2 - x1, v = y2 - y1;
  if (u == 0 && v == 0) return;
  EnsureBlendTables();
  PrimitiveColor pc;
  if (!PreparePrimitive(*image, color, &pc)) return;
  WithPrimitiveVariant(pc.v, [&]<Variant V>() { SegmentWalk<V>(pc.k, pc.color, *image, x1, y1, u, v); });
}

void MemImgDrawSegments(MEMIMG* image, const int32_t* segments, int32_t count) {
  if (!segments) return;
  for (int32_t i = 0; i < count; ++i) {
    const int32_t* s = segments + 6 * static_cast<intptr_t>(i);
    MemImgDrawSegment(image, s[0], s[1], s[2], s[3], static_cast<uint32_t>(s[4]));
  }
}

void sr::BuildBoxFrameSegments(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour,
                               int32_t param, int32_t out[24]) {
  // Wrapping: a hostile INT32_MIN corner must not be undefined.
  const int32_t right = static_cast<int32_t>(static_cast<uint32_t>(x2) - 1u);
  const int32_t bottom = static_cast<int32_t>(static_cast<uint32_t>(y2) - 1u);
  const int32_t points[4][4] = {
      {x1, y1, right, y1}, {right, y1, right, bottom}, {right, bottom, x1, bottom}, {x1, bottom, x1, y1}};
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) out[6 * i + j] = points[i][j];
    out[6 * i + 4] = static_cast<int32_t>(colour);
    out[6 * i + 5] = param;
  }
}
