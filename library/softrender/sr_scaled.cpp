// MemImgScaledBlit: nearest-sample stretch of a whole source onto a target
// rectangle with 16.16 accumulators; a reversed rectangle mirrors that axis.
#include "softrender/softrender.h"
#include "softrender/sr_blit_common.h"
#include "softrender/sr_pixel.h"
#include "softrender/sr_wide.h"

namespace sr {
namespace {

struct ScaledJob {
  const uint8_t* srcRow;    // source row of the first drawn target row
  intptr_t srcRowStep;      // +pitch, or -pitch when mirrored top-bottom
  const uint8_t* graphRow;  // blend-graph row likewise, or null
  intptr_t graphRowStep;
  int32_t startCol;         // source column of the first drawn target column
  int32_t colDir;           // +1, or -1 when mirrored left-right
  uint8_t* dst;             // first drawn target pixel
  intptr_t dstPitch;
  int32_t cols, rows;
  int32_t stepX, stepY;     // 16.16 target pixels per source pixel
  int32_t accX0, accY0;
  bool wide;                // several pixels per step may be taken
};

// Widest clipped rectangle whose column walk the wide loop lays out in advance.
constexpr int32_t kMaxLaidOutColumns = 4096;

template <Variant V>
void ScaledLoop(const KernelParams& kernel, const ScaledJob& job) {
  // Local copies: the pixel stores may alias anything, and the compiler would
  // reload every field after each of them.
  const KernelParams k = kernel;
  const ScaledJob j = job;
  using T = PixelTraits<V.kind>;
  constexpr int kSrcBytes = SourceBytes<V>();
  // The whole-copy and full-strength subtract variants take an accumulator
  // that lands exactly on 0 as a sample; the others step past it.
  constexpr bool kTie = kScaledPolicy.tieRule && UsesTieRule(V);
  const intptr_t srcStep = static_cast<intptr_t>(j.colDir) * kSrcBytes;
#if SR_WIDE_SSE2
  if constexpr (HasWideForm<V>()) {
    if (j.wide && j.cols <= kMaxLaidOutColumns) {
      // Every row walks the same source columns: the walk is laid out once
      // (byte offsets from the row's start) and each row gathers four source
      // pixels per step from it.
      intptr_t offsets[kMaxLaidOutColumns];
      intptr_t at = static_cast<intptr_t>(j.startCol) * kSrcBytes;
      int32_t acc = j.accX0;
      for (int32_t c = 0; c < j.cols; ++c) {
        offsets[c] = at;
        acc -= 0x10000;
        if (acc <= 0) {
          do {
            acc += j.stepX;
            at += srcStep;
          } while (kTie ? acc < 0 : acc <= 0);
        }
      }
      const WideParams w = MakeWideParams<V>(k);
      const uint8_t* srow = j.srcRow;
      uint8_t* drow = j.dst;
      int32_t accY = j.accY0;
      for (int32_t r = 0; r < j.rows; ++r) {
        uint8_t* d = drow;
        int32_t c = 0;
        if constexpr (V.kind == ColorKind16) {
          // 16-bit pixels fill a register eight at a time.
          auto four = [&](int32_t at4) {
            const uint32_t a = Load16(srow + offsets[at4]), b = Load16(srow + offsets[at4 + 1]);
            const uint32_t e = Load16(srow + offsets[at4 + 2]), f = Load16(srow + offsets[at4 + 3]);
            return _mm_unpacklo_epi32(_mm_cvtsi32_si128(static_cast<int32_t>(a | (b << 16))),
                                      _mm_cvtsi32_si128(static_cast<int32_t>(e | (f << 16))));
          };
          for (; c + 8 <= j.cols; c += 8, d += 8 * T::kBytes) {
            const __m128i s8 = _mm_unpacklo_epi64(four(c), four(c + 4));
            const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d), Blend16x8<V>(w, s8, dv));
          }
        }
        for (; c + 4 <= j.cols; c += 4, d += 4 * T::kBytes) {
          const uint8_t* p0 = srow + offsets[c];
          const uint8_t* p1 = srow + offsets[c + 1];
          const uint8_t* p2 = srow + offsets[c + 2];
          const uint8_t* p3 = srow + offsets[c + 3];
          if constexpr (V.kind == ColorKind32) {
            const __m128i s4 = _mm_setr_epi32(
                static_cast<int32_t>(Load32(p0)), static_cast<int32_t>(Load32(p1)),
                static_cast<int32_t>(Load32(p2)), static_cast<int32_t>(Load32(p3)));
            const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d), Blend32x4<V>(w, s4, dv));
          } else {
            const __m128i s4 = _mm_unpacklo_epi32(
                _mm_cvtsi32_si128(static_cast<int32_t>(Load16(p0) | (Load16(p1) << 16))),
                _mm_cvtsi32_si128(static_cast<int32_t>(Load16(p2) | (Load16(p3) << 16))));
            const __m128i dv = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(d));
            _mm_storel_epi64(reinterpret_cast<__m128i*>(d), Blend16x8<V>(w, s4, dv));
          }
        }
        for (; c < j.cols; ++c, d += T::kBytes)
          BlendPixel<V, kScaledPolicy>(k, srow + offsets[c], nullptr, d);
        if (r + 1 == j.rows) break;
        drow += j.dstPitch;
        accY -= 0x10000;
        if (accY <= 0) {
          do {
            accY += j.stepY;
            srow += j.srcRowStep;
          } while (kTie ? accY < 0 : accY <= 0);
        }
      }
      return;
    }
  }
#endif
  const uint8_t* srow = j.srcRow;
  const uint8_t* grow = j.graphRow;
  uint8_t* drow = j.dst;
  int32_t accY = j.accY0;
  for (int32_t r = 0; r < j.rows; ++r) {
    const uint8_t* s = srow + static_cast<intptr_t>(j.startCol) * kSrcBytes;
    const uint8_t* g = nullptr;
    if constexpr (V.graph) g = grow + j.startCol;
    uint8_t* d = drow;
    int32_t acc = j.accX0;
    for (int32_t c = 0; c < j.cols; ++c) {
      BlendPixel<V, kScaledPolicy>(k, s, g, d);
      d += T::kBytes;
      acc -= 0x10000;
      if (acc <= 0) {
        do {
          acc += j.stepX;
          s += srcStep;
          if constexpr (V.graph) g += j.colDir;
        } while (kTie ? acc < 0 : acc <= 0);
      }
    }
    drow += j.dstPitch;
    accY -= 0x10000;
    if (accY <= 0) {
      do {
        accY += j.stepY;
        srow += j.srcRowStep;
        if constexpr (V.graph) grow += j.graphRowStep;
      } while (kTie ? accY < 0 : accY <= 0);
    }
  }
}

using ScaledFn = void (*)(const KernelParams&, const ScaledJob&);
struct ScaledMaker {
  template <Variant V>
  static constexpr ScaledFn Get() {
    if constexpr (!VariantValid(V)) return nullptr;
    else return &ScaledLoop<V>;
  }
};
constexpr auto kScaledTable = BuildVariantTable<ScaledFn, ScaledMaker>();

// Rectangles this wide or high would overflow the 16.16 steps.
constexpr int64_t kMaxScaledSide = 32767;

}  // namespace
}  // namespace sr

void MemImgScaledBlit(MEMIMG* target, const MEMIMG* source, const IntRect* rect,
                      int32_t transparency, const MEMIMG* blendGraph) {
  using namespace sr;
  if (!rect || !TargetUsable(target) || !SourceUsable(source)) return;
  if (source->colorKind != target->colorKind) return;
  if (blendGraph && !GraphCovers(blendGraph, *source)) return;

  const bool mirrorX = rect->x1 > rect->x2, mirrorY = rect->y1 > rect->y2;
  const int32_t left = mirrorX ? rect->x2 : rect->x1, right = mirrorX ? rect->x1 : rect->x2;
  const int32_t top = mirrorY ? rect->y2 : rect->y1, bottom = mirrorY ? rect->y1 : rect->y2;
  const int64_t dw = static_cast<int64_t>(right) - left, dh = static_cast<int64_t>(bottom) - top;
  if (dw == 0 || dh == 0) return;
  if (dw > kMaxScaledSide || dh > kMaxScaledSide) return;
  if (dw == source->width && dh == source->height && !mirrorX && !mirrorY) {
    MemImgBlit(target, source, left, top, transparency, blendGraph);
    return;
  }

  const int32_t stepX = static_cast<int32_t>(static_cast<uint32_t>(dw << 16) /
                                             static_cast<uint32_t>(source->width));
  const int32_t stepY = static_cast<int32_t>(static_cast<uint32_t>(dh << 16) /
                                             static_cast<uint32_t>(source->height));
  if (stepX <= 0 || stepY <= 0) return;
  IntRect clip;
  if (!ClampedDrawArea(*target, &clip)) return;
  IntRect r{left, top, right, bottom};
  IntersectRectangles(&r, &clip);
  if (r.x2 == r.x1 || r.y2 == r.y1) return;
  const int32_t offX = r.x1 - left, offY = r.y1 - top;  // 0..dw-1, 0..dh-1
  const int32_t skipX = (offX << 16) / stepX, remX = (offX << 16) % stepX;
  const int32_t skipY = (offY << 16) / stepY, remY = (offY << 16) % stepY;

  EnsureBlendTables();
  Variant v;
  KernelParams k;
  if (!ChooseVariant(*source, transparency, blendGraph != nullptr, g_drawState, kScaledPolicy,
                     g_mmxFlag, &v, &k))
    return;
  if (v.palette) k.palette = CopyPalette(DefaultRenderContext(), *source);

  const int32_t startCol = mirrorX ? source->width - 1 - skipX : skipX;
  const int32_t startRow = mirrorY ? source->height - 1 - skipY : skipY;
  if (startCol < 0 || startCol >= source->width || startRow < 0 || startRow >= source->height)
    return;
  ScaledJob j;
  j.srcRow = source->pixels + static_cast<intptr_t>(startRow) * source->pitch;
  j.srcRowStep = mirrorY ? -static_cast<intptr_t>(source->pitch) : source->pitch;
  j.graphRow = blendGraph ? blendGraph->pixels + static_cast<intptr_t>(startRow) * blendGraph->pitch
                          : nullptr;
  j.graphRowStep = blendGraph ? (mirrorY ? -static_cast<intptr_t>(blendGraph->pitch)
                                         : blendGraph->pitch)
                              : 0;
  j.startCol = startCol;
  j.colDir = mirrorX ? -1 : 1;
  const int dstBytes = target->colorKind == ColorKind32 ? 4 : 2;
  j.dst = target->pixels + static_cast<intptr_t>(r.y1) * target->pitch +
          static_cast<intptr_t>(r.x1) * dstBytes;
  j.dstPitch = target->pitch;
  j.cols = r.x2 - r.x1;
  j.rows = r.y2 - r.y1;
  j.stepX = stepX;
  j.stepY = stepY;
  j.accX0 = stepX - remX;
  j.accY0 = stepY - remY;
  j.wide = !SharesMemory(*target, *source) &&
           (source->colorKind == ColorKind32 || !v.trans || k.key <= 0xFFFFu);
  const ScaledFn fn = kScaledTable[VariantIndex(v)];
  if (fn) fn(k, j);
}
