// MemImgBlit: the unscaled blit, one pixel loop per kernel variant.
#include <cstring>

#include "softrender/softrender.h"
#include "softrender/sr_blit_common.h"
#include "softrender/sr_pixel.h"
#include "softrender/sr_wide.h"

namespace sr {
namespace {

struct BlitJob {
  const uint8_t* src;    // first drawn source pixel
  intptr_t srcPitch;
  const uint8_t* graph;  // blend-graph byte of that pixel, or null
  intptr_t graphPitch;
  uint8_t* dst;          // first drawn target pixel
  intptr_t dstPitch;
  int32_t cols, rows;
  bool wide;             // several pixels per step may be taken
};

template <Variant V>
void BlitLoop(const KernelParams& kernel, const BlitJob& job) {
  // Local copies: the pixel stores may alias anything, and the compiler would
  // reload every field after each of them.
  const KernelParams k = kernel;
  const BlitJob j = job;
  using T = PixelTraits<V.kind>;
  constexpr int kSrcBytes = SourceBytes<V>();
  const uint8_t* srow = j.src;
  const uint8_t* grow = j.graph;
  uint8_t* drow = j.dst;
  for (int32_t r = 0; r < j.rows; ++r) {
    if constexpr (IsWholeCopy(V) && !V.palette && !V.trans) {
      // memmove: a graph may be drawn onto an image that shares its pixels.
      std::memmove(drow, srow, static_cast<size_t>(j.cols) * T::kBytes);
    } else {
      const uint8_t* s = srow;
      const uint8_t* g = grow;
      uint8_t* d = drow;
      int32_t c = 0;
#if SR_WIDE_SSE2
      if constexpr (HasWideForm<V>()) {
        if (j.wide) {
          const WideParams w = MakeWideParams<V>(k);
          constexpr int kStep = 16 / T::kBytes;
          for (; c + kStep <= j.cols; c += kStep) {
            const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
            const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d));
            __m128i r;
            if constexpr (V.kind == ColorKind32) r = Blend32x4<V>(w, sv, dv);
            else r = Blend16x8<V>(w, sv, dv);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d), r);
            s += 16;
            d += 16;
          }
        }
      }
#endif
      for (; c < j.cols; ++c) {
        BlendPixel<V, kBlitPolicy>(k, s, g, d);
        s += kSrcBytes;
        d += T::kBytes;
        if constexpr (V.graph) ++g;
      }
    }
    srow += j.srcPitch;
    drow += j.dstPitch;
    if constexpr (V.graph) grow += j.graphPitch;
  }
}

using BlitFn = void (*)(const KernelParams&, const BlitJob&);
struct BlitMaker {
  template <Variant V>
  static constexpr BlitFn Get() {
    if constexpr (!VariantValid(V)) return nullptr;
    else return &BlitLoop<V>;
  }
};
constexpr auto kBlitTable = BuildVariantTable<BlitFn, BlitMaker>();

}  // namespace
}  // namespace sr

namespace sr {

void BlitRegion(const Variant& v, KernelParams k, MEMIMG* target, const MEMIMG* source,
                const MEMIMG* blendGraph, int64_t sx, int64_t sy, int64_t dx, int64_t dy,
                int32_t cols, int32_t rows) {
  if (v.palette) k.palette = CopyPalette(DefaultRenderContext(), *source);
  BlitJob j;
  j.src = source->pixels + sy * source->pitch + sx * SourcePixelBytes(*source);
  j.srcPitch = source->pitch;
  j.graph = blendGraph ? blendGraph->pixels + sy * blendGraph->pitch + sx : nullptr;
  j.graphPitch = blendGraph ? blendGraph->pitch : 0;
  const int dstBytes = target->colorKind == ColorKind32 ? 4 : 2;
  j.dst = target->pixels + dy * target->pitch + dx * dstBytes;
  j.dstPitch = target->pitch;
  j.cols = cols;
  j.rows = rows;
  j.wide = !SharesMemory(*target, *source) &&
           (source->colorKind == ColorKind32 || !v.trans || k.key <= 0xFFFFu);
  const BlitFn fn = kBlitTable[VariantIndex(v)];
  if (fn) fn(k, j);
}

}  // namespace sr

void MemImgBlit(MEMIMG* target, const MEMIMG* source, int32_t x, int32_t y,
                int32_t transparency, const MEMIMG* blendGraph) {
  using namespace sr;
  if (!TargetUsable(target) || !SourceUsable(source)) return;
  if (source->colorKind != target->colorKind) return;
  if (blendGraph && !GraphCovers(blendGraph, *source)) return;
  IntRect area;
  if (!ClampedDrawArea(*target, &area)) return;
  const int64_t left = x, top = y;
  const int64_t cl = left > area.x1 ? left : area.x1;
  const int64_t ct = top > area.y1 ? top : area.y1;
  const int64_t right = left + source->width, bottom = top + source->height;
  const int64_t cr = right < area.x2 ? right : area.x2;
  const int64_t cb = bottom < area.y2 ? bottom : area.y2;
  if (cr <= cl || cb <= ct) return;

  EnsureBlendTables();
  Variant v;
  KernelParams k;
  if (!ChooseVariant(*source, transparency, blendGraph != nullptr, g_drawState, kBlitPolicy,
                     g_mmxFlag, &v, &k))
    return;
  BlitRegion(v, k, target, source, blendGraph, cl - left, ct - top, cl, ct,
             static_cast<int32_t>(cr - cl), static_cast<int32_t>(cb - ct));
}
