// MemImgRotatedBlit: a whole source turned and scaled about its centre, by
// inverse mapping of every pixel of the turned image's box in 14.18 fixed
// point. The mirrored (turn) draw goes to the textured quad.
#include <cmath>

#include "core/log.h"
#include "core/numeric.h"
#include "softrender/softrender.h"
#include "softrender/sr_blit_common.h"
#include "softrender/sr_pixel.h"
#include "softrender/sr_wide.h"

namespace sr {
namespace {

constexpr int32_t kOne = 262144;       // 1.0 in 14.18
constexpr int32_t kMaxCoord = 8191;    // whole-pixel range of 14.18: -8192..8191
constexpr int32_t kMaxRotatedSide = 2 * kMaxCoord + 1;

struct RotatedJob {
  const uint8_t* const* srcRows;
  const uint8_t* const* graphRows;
  uint8_t* dst;
  intptr_t dstPitch;
  int32_t cols, rows;
  uint32_t uStart, vStart;  // 14.18 source position of the first pixel
  uint32_t stepU, stepV;    // per target pixel
  uint32_t du, dv;          // per target row
  uint32_t uLimit, vLimit;  // width and height in 14.18
  bool wide;                // the four-pixel steps may be taken
};

// One axis of the bounds test, 0 <= a + i s < limit, for a 32-bit a and s and
// a limit of at most 2^31, prepared once per call: the run of i that passes
// is found per row with two exact divisions by |s| done as multiplications.
struct RunAxis {
  uint64_t step;   // |s|
  uint64_t recip;  // floor(2^32 / |s|)
  int64_t limit;
  bool zero, negative;
};

RunAxis MakeRunAxis(int64_t s, uint32_t limit) {
  RunAxis ax;
  ax.zero = s == 0;
  ax.negative = s < 0;
  ax.step = static_cast<uint64_t>(s < 0 ? -s : s);
  ax.recip = ax.zero ? 0 : (uint64_t{1} << 32) / ax.step;
  ax.limit = limit;
  return ax;
}

// floor(n / step) for n < 2^32: the product estimate is the quotient or one
// below it (n recip / 2^32 > n / step - 1), and one comparison settles which.
SR_INLINE uint64_t DivideByStep(uint64_t n, const RunAxis& ax) {
  const uint64_t q = (n * ax.recip) >> 32;
  return q + ((q + 1) * ax.step <= n ? 1u : 0u);
}

// Narrows [*first, *last] to the i with 0 <= a + i s <= limit - 1. A negative
// step is the positive one from the other end: b = limit - 1 - a.
SR_INLINE void NarrowToRange(int64_t a, const RunAxis& ax, int64_t* first, int64_t* last) {
  if (ax.zero) {
    if (a < 0 || a >= ax.limit) *last = -1;
    return;
  }
  const int64_t b = ax.negative ? ax.limit - 1 - a : a;
  // First i with b + i step >= 0: ceil(-b / step) when b < 0, else 0.
  const uint64_t need = b < 0 ? static_cast<uint64_t>(-b) : 0u;
  const uint64_t some = need != 0 ? 1u : 0u;
  const int64_t f = static_cast<int64_t>(DivideByStep(need - some, ax) + some);
  // Last i with b + i step <= limit - 1: floor(room / step), none when room < 0.
  const int64_t room = ax.limit - 1 - b;
  const int64_t l =
      static_cast<int64_t>(DivideByStep(room < 0 ? 0u : static_cast<uint64_t>(room), ax));
  const int64_t lastHere = room < 0 ? -1 : l;
  *first = f > *first ? f : *first;
  *last = lastHere < *last ? lastHere : *last;
}

// One pixel of the rotated loop. The keyed whole-pixel copy stores the target
// pixel back where the key matches instead of branching: the same bytes, but
// no mispredicted jump at every edge of a sprite's shape.
template <Variant V>
SR_INLINE void DrawRotatedPixel(const KernelParams& k, const uint8_t* src,
                                const uint8_t* graphByte, uint8_t* dst) {
  using T = PixelTraits<V.kind>;
  if constexpr (V.trans && IsWholeCopy(V) && !V.palette) {
    const uint32_t s = T::Load(src);
    const uint32_t d = T::Load(dst);
    T::Store(dst, s == k.key ? d : s);
  } else {
    BlendPixel<V, kRotatedPolicy>(k, src, graphByte, dst);
  }
}

// floor(a / b) for 0 < b < 2^32 and |a| < 2^40, with inverse = 1 / b: the
// truncated product is within one of the quotient (its error is far below
// one), and the remainder says which way to correct it. No integer division.
SR_INLINE int64_t FloorDiv(int64_t a, int64_t b, double inverse) {
  const int64_t q = static_cast<int64_t>(static_cast<double>(a) * inverse);
  const int64_t r = a - q * b;
  return q + (r >= b ? 1 : 0) - (r < 0 ? 1 : 0);
}

// floor((n0 + r dn) / m) for the rows r = 0, 1, 2, ..., exactly, with one
// addition and one comparison per row (quotient and remainder carried along).
struct FloorWalk {
  int64_t q, rem, dq, drem, m;
  void Init(int64_t n0, int64_t dn, int64_t divisor, double inverse) {
    m = divisor;
    q = FloorDiv(n0, m, inverse);
    rem = n0 - q * m;
    dq = FloorDiv(dn, m, inverse);
    drem = dn - dq * m;
  }
  SR_INLINE void Next() {
    // Branch-free: the carry follows the slope's fraction, not a pattern.
    const int64_t over = rem + drem - m;
    const int64_t below = over >> 63;  // -1 when no carry
    rem = over + (m & below);
    q += dq + 1 + below;
  }
};

// The pixels i of row r with 0 <= a0 + r da + i s <= limit - 1 (no wrap-around
// anywhere in the box): first = ceil(-a / s) and last = floor((limit - 1 - a) / s)
// for a positive step, mirrored for a negative one, both walked row by row. A
// zero step passes or fails the whole row.
struct AxisWalk {
  FloorWalk first, last;
  int64_t a, da, limit;
  bool still;
  void Init(int64_t a0, int64_t rowStep, int64_t s, int64_t lim) {
    a = a0;
    da = rowStep;
    limit = lim;
    still = s == 0;
    const int64_t m = s < 0 ? -s : (s > 0 ? s : 1);
    const double inverse = 1.0 / static_cast<double>(m);
    if (s > 0) {
      first.Init(s - 1 - a0, -rowStep, m, inverse);
      last.Init(lim - 1 - a0, -rowStep, m, inverse);
    } else if (s < 0) {
      first.Init(a0 - lim - s, rowStep, m, inverse);
      last.Init(a0, rowStep, m, inverse);
    } else {
      first.Init(0, 0, 1, 1.0);
      last.Init(0, 0, 1, 1.0);
    }
  }
  // Narrows [*lo, *hi] to this row's pixels, then steps to the next row.
  SR_INLINE void Row(int64_t* lo, int64_t* hi) {
    if (still) {
      if (a < 0 || a >= limit) *hi = -1;
      a += da;
      return;
    }
    *lo = first.q > *lo ? first.q : *lo;
    *hi = last.q < *hi ? last.q : *hi;
    first.Next();
    last.Next();
  }
};

// Pixels [0, count) of a run that lies wholly inside the source: u, v at the
// first, target pointer d.
template <Variant V>
SR_INLINE void DrawRun(const KernelParams& k, const WideParams& w, const RotatedJob& j,
                       uint32_t u, uint32_t v, uint8_t* d, int64_t count) {
  using T = PixelTraits<V.kind>;
  constexpr int kSrcBytes = SourceBytes<V>();
  (void)w;  // read only by the wide steps
  int64_t i = 0;
#if SR_WIDE_SSE2
  if constexpr (HasWideForm<V>()) {
    if (j.wide) {
      // Four source pixels gathered, blended together, stored together.
      const uint8_t* const* rows = j.srcRows;
      const uint32_t su = j.stepU, sv = j.stepV;
      if constexpr (V.kind == ColorKind16) {
        // 16-bit pixels fill a register eight at a time.
        auto four = [&](uint32_t n) {
          const uint32_t ua = u + n * su, va = v + n * sv;
          const uint32_t a = Load16(rows[va >> 18] + (ua >> 18) * kSrcBytes);
          const uint32_t b = Load16(rows[(va + sv) >> 18] + ((ua + su) >> 18) * kSrcBytes);
          const uint32_t c = Load16(rows[(va + 2 * sv) >> 18] + ((ua + 2 * su) >> 18) * kSrcBytes);
          const uint32_t e = Load16(rows[(va + 3 * sv) >> 18] + ((ua + 3 * su) >> 18) * kSrcBytes);
          return _mm_unpacklo_epi32(_mm_cvtsi32_si128(static_cast<int32_t>(a | (b << 16))),
                                    _mm_cvtsi32_si128(static_cast<int32_t>(c | (e << 16))));
        };
        for (; i + 8 <= count; i += 8) {
          const __m128i s8 = _mm_unpacklo_epi64(four(0), four(4));
          u += 8 * su;
          v += 8 * sv;
          const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d));
          _mm_storeu_si128(reinterpret_cast<__m128i*>(d), Blend16x8<V>(w, s8, dv));
          d += 8 * T::kBytes;
        }
      }
      for (; i + 4 <= count; i += 4) {
        const uint8_t* p0 = rows[v >> 18] + (u >> 18) * kSrcBytes;
        const uint8_t* p1 = rows[(v + sv) >> 18] + ((u + su) >> 18) * kSrcBytes;
        const uint8_t* p2 = rows[(v + 2 * sv) >> 18] + ((u + 2 * su) >> 18) * kSrcBytes;
        const uint8_t* p3 = rows[(v + 3 * sv) >> 18] + ((u + 3 * su) >> 18) * kSrcBytes;
        u += 4 * su;
        v += 4 * sv;
        if constexpr (V.kind == ColorKind32) {
          const __m128i s = _mm_setr_epi32(
              static_cast<int32_t>(Load32(p0)), static_cast<int32_t>(Load32(p1)),
              static_cast<int32_t>(Load32(p2)), static_cast<int32_t>(Load32(p3)));
          const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d));
          _mm_storeu_si128(reinterpret_cast<__m128i*>(d), Blend32x4<V>(w, s, dv));
        } else {
          const __m128i s01 = _mm_cvtsi32_si128(static_cast<int32_t>(Load16(p0) | (Load16(p1) << 16)));
          const __m128i s23 = _mm_cvtsi32_si128(static_cast<int32_t>(Load16(p2) | (Load16(p3) << 16)));
          const __m128i dv = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(d));
          _mm_storel_epi64(reinterpret_cast<__m128i*>(d),
                           Blend16x8<V>(w, _mm_unpacklo_epi32(s01, s23), dv));
        }
        d += 4 * T::kBytes;
      }
    }
  }
#endif
  for (; i < count; ++i) {
    const uint32_t col = u >> 18, row = v >> 18;
    const uint8_t* g = nullptr;
    if constexpr (V.graph) g = j.graphRows[row] + col;
    DrawRotatedPixel<V>(k, j.srcRows[row] + col * kSrcBytes, g, d);
    u += j.stepU;
    v += j.stepV;
    d += T::kBytes;
  }
}

template <Variant V>
void RotatedLoop(const KernelParams& kernel, const RotatedJob& job) {
  // Local copies: the pixel stores may alias anything, and the compiler would
  // reload every field after each of them.
  const KernelParams k = kernel;
  const RotatedJob j = job;
  const WideParams w = MakeWideParams<V>(k);
  using T = PixelTraits<V.kind>;
  constexpr int kSrcBytes = SourceBytes<V>();
  // With limits up to 2^31 and a row whose positions do not wrap, the pixels
  // that pass the bounds test form one run: the loop then visits only those.
  // Other rows test every pixel.
  const bool runs = j.uLimit <= 0x80000000u && j.vLimit <= 0x80000000u;
  const int64_t su = static_cast<int32_t>(j.stepU), sv = static_cast<int32_t>(j.stepV);
  const int64_t u0 = static_cast<int32_t>(j.uStart), v0 = static_cast<int32_t>(j.vStart);
  const int64_t du = static_cast<int32_t>(j.du), dv = static_cast<int32_t>(j.dv);
  // Positions are linear in row and column: when the box's four corners stay
  // within 32 bits, no row wraps, and the runs of all rows are walked.
  auto within = [](int64_t x) { return x >= INT32_MIN && x <= INT32_MAX; };
  const int64_t lastRow = j.rows - 1, lastCol = j.cols - 1;
  const bool walk = runs && within(u0 + lastRow * du) && within(u0 + lastCol * su) &&
                    within(u0 + lastRow * du + lastCol * su) && within(v0 + lastRow * dv) &&
                    within(v0 + lastCol * sv) && within(v0 + lastRow * dv + lastCol * sv);
  uint32_t uRow = j.uStart, vRow = j.vStart;
  uint8_t* drow = j.dst;
  if (walk) {
    AxisWalk wu, wv;
    wu.Init(u0, du, su, j.uLimit);
    wv.Init(v0, dv, sv, j.vLimit);
    for (int32_t r = 0; r < j.rows; ++r, uRow += j.du, vRow += j.dv, drow += j.dstPitch) {
      int64_t lo = 0, last = lastCol;
      wu.Row(&lo, &last);
      wv.Row(&lo, &last);
      // An empty run may start far past the row: form no pointer there.
      if (lo > last) continue;
      DrawRun<V>(k, w, j, uRow + static_cast<uint32_t>(lo) * j.stepU,
                 vRow + static_cast<uint32_t>(lo) * j.stepV, drow + lo * T::kBytes, last + 1 - lo);
    }
    return;
  }
  const RunAxis axisU = MakeRunAxis(su, j.uLimit), axisV = MakeRunAxis(sv, j.vLimit);
  for (int32_t r = 0; r < j.rows; ++r, uRow += j.du, vRow += j.dv, drow += j.dstPitch) {
    if (runs) {
      const int64_t ur = static_cast<int32_t>(uRow), vr = static_cast<int32_t>(vRow);
      const int64_t uLast = ur + su * lastCol, vLast = vr + sv * lastCol;
      if (within(uLast) && within(vLast)) {
        int64_t lo = 0, last = lastCol;
        NarrowToRange(ur, axisU, &lo, &last);
        NarrowToRange(vr, axisV, &lo, &last);
        if (lo > last) continue;
        DrawRun<V>(k, w, j, uRow + static_cast<uint32_t>(lo) * j.stepU,
                   vRow + static_cast<uint32_t>(lo) * j.stepV, drow + lo * T::kBytes,
                   last + 1 - lo);
        continue;
      }
    }
    uint32_t u = uRow, v = vRow;
    uint8_t* d = drow;
    for (int32_t c = 0; c < j.cols; ++c) {
      if (u < j.uLimit && v < j.vLimit) {
        const uint32_t col = u >> 18, row = v >> 18;
        const uint8_t* g = nullptr;
        if constexpr (V.graph) g = j.graphRows[row] + col;
        DrawRotatedPixel<V>(k, j.srcRows[row] + col * kSrcBytes, g, d);
      }
      u += j.stepU;
      v += j.stepV;
      d += T::kBytes;
    }
  }
}

using RotatedFn = void (*)(const KernelParams&, const RotatedJob&);
struct RotatedMaker {
  template <Variant V>
  static constexpr RotatedFn Get() {
    if constexpr (!VariantValid(V) || V.sub != SubScaled) return nullptr;
    else return &RotatedLoop<V>;
  }
};
constexpr auto kRotatedTable = BuildVariantTable<RotatedFn, RotatedMaker>();

// 14.18 to whole pixels, toward zero.
int32_t WholePixels(int32_t v) { return (v < 0 ? v + (kOne - 1) : v) >> 18; }

// Wrapping 32-bit arithmetic: the products of the set-up are 32-bit
// quantities whose overflow must not be undefined.
int32_t MulWrap(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}
int32_t AddWrap(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
int32_t SubWrap(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

// FloatToIntTrunc, inline: toward zero, INT32_MIN for what does not fit.
SR_INLINE int32_t TruncToInt(float value) {
  const double v = value;
  if (!(v > -2147483649.0 && v < 2147483648.0)) return INT32_MIN;
  return static_cast<int32_t>(v);
}

// Integer numerator over the float scale, rounded to single, truncated. At
// scale 1 the quotient is the numerator itself.
SR_INLINE int32_t DivideByScale(int32_t numerator, float scale) {
  const double n = static_cast<double>(numerator);
  return TruncToInt(static_cast<float>(scale == 1.0f ? n : n / scale));
}

}  // namespace
}  // namespace sr

void MemImgRotatedBlit(MEMIMG* target, const MEMIMG* source, int32_t centreX, int32_t centreY,
                       float angle, float scale, int32_t transparency, int32_t turn,
                       const MEMIMG* blendGraph) {
  using namespace sr;
  if (!TargetUsable(target) || !SourceUsable(source)) return;
  if (source->colorKind != target->colorKind) return;
  if (!std::isfinite(angle) || !std::isfinite(scale) || scale == 0.0f) return;
  if (centreX < -kMaxCoord || centreX > kMaxCoord || centreY < -kMaxCoord ||
      centreY > kMaxCoord)
    return;
  if (source->width > kMaxRotatedSide || source->height > kMaxRotatedSide) return;
  if (blendGraph && !GraphCovers(blendGraph, *source)) return;

  float sine, cosine;
  // One sine and cosine pair: the negated angle's pair is (-sine, cosine),
  // bit for bit (the single-precision sine is odd and the cosine even), and
  // both the scaling by 2^18 and the truncation keep that symmetry.
  SinCosFloat(angle, &sine, &cosine);
  const int32_t sinA = TruncToInt(sine * 262144.0f);
  const int32_t cosA = TruncToInt(cosine * 262144.0f);
  const int32_t sinN = -sinA;
  const int32_t cosN = cosA;

  const uint32_t width = static_cast<uint32_t>(source->width);
  const uint32_t height = static_cast<uint32_t>(source->height);
  const float hw = static_cast<float>(width) * scale * 0.5f;
  const float hh = static_cast<float>(height) * scale * 0.5f;
  const float a = hw * static_cast<float>(cosA), b = hw * static_cast<float>(sinA);
  const float d = hh * static_cast<float>(cosA), e = hh * static_cast<float>(sinA);
  // Corner terms: top-left, bottom-left, bottom-right, top-right.
  const float terms[4][2] = {{e - a, -d - b}, {-a - e, d - b}, {a - e, d + b}, {a + e, b - d}};
  // Every corner must stay inside the 14.18 range (with the box margin).
  constexpr float kTermLimit = static_cast<float>((kMaxCoord - 8) * 262144.0);
  for (const auto& t : terms) {
    if (!(std::fabs(t[0]) < kTermLimit && std::fabs(t[1]) < kTermLimit)) return;
  }
  const int32_t cx = centreX * kOne, cy = centreY * kOne;
  int32_t corner[4][2];
  for (int i = 0; i < 4; ++i) {
    const int64_t x = static_cast<int64_t>(cx) + TruncToInt(terms[i][0]);
    const int64_t y = static_cast<int64_t>(cy) + TruncToInt(terms[i][1]);
    if (x < -static_cast<int64_t>(kMaxCoord - 4) * kOne ||
        x > static_cast<int64_t>(kMaxCoord - 4) * kOne ||
        y < -static_cast<int64_t>(kMaxCoord - 4) * kOne ||
        y > static_cast<int64_t>(kMaxCoord - 4) * kOne)
      return;
    corner[i][0] = static_cast<int32_t>(x);
    corner[i][1] = static_cast<int32_t>(y);
  }

  if (turn) {
    // The mirrored image: source (0,0), (w,0), (0,h), (w,h) onto c3, c0, c2, c1.
    const int order[4] = {3, 0, 2, 1};
    int32_t quad[8];
    for (int i = 0; i < 4; ++i) {
      quad[2 * i] = WholePixels(corner[order[i]][0]);
      quad[2 * i + 1] = WholePixels(corner[order[i]][1]);
    }
    MemImgTexturedQuad(target, source, quad, transparency, blendGraph);
    return;
  }

  if (source->height > kMaxRows || (blendGraph && blendGraph->height > kMaxRows)) {
    LogFormatLine("MemImgRotatedBlit: image taller than %d rows refused", kMaxRows);
    return;
  }

  const int32_t stepU = DivideByScale(cosA, scale);
  const int32_t stepV = DivideByScale(sinN, scale);

  int32_t minX = corner[0][0], maxX = minX, minY = corner[0][1], maxY = minY;
  for (int i = 1; i < 4; ++i) {
    minX = corner[i][0] < minX ? corner[i][0] : minX;
    maxX = corner[i][0] > maxX ? corner[i][0] : maxX;
    minY = corner[i][1] < minY ? corner[i][1] : minY;
    maxY = corner[i][1] > maxY ? corner[i][1] : maxY;
  }
  IntRect box{WholePixels(minX) - 2, WholePixels(minY) - 2, WholePixels(maxX) + 4,
              WholePixels(maxY) + 4};
  IntRect clip;
  if (!ClampedDrawArea(*target, &clip)) return;
  IntersectRectangles(&box, &clip);
  if (box.x1 == box.x2 || box.y1 == box.y2) return;

  EnsureBlendTables();
  Variant v;
  KernelParams k;
  if (!ChooseVariant(*source, transparency, blendGraph != nullptr, g_drawState, kRotatedPolicy,
                     g_mmxFlag, &v, &k))
    return;

  if (sinA == 0 && cosA == kOne && scale == 1.0f) {
    // Unturned and unscaled: every step is one whole source pixel, so the
    // box's pixels that pass the bounds test are the image placed with its
    // centre pixel (width / 2, height / 2) on the centre point, drawn by the
    // unscaled blit's loops. The variant is still this blit's own (it never
    // takes the raw-source subtract at p 255).
    const int32_t left = centreX - static_cast<int32_t>(width / 2);
    const int32_t top = centreY - static_cast<int32_t>(height / 2);
    const int32_t x1 = left > box.x1 ? left : box.x1, y1 = top > box.y1 ? top : box.y1;
    const int32_t right = left + source->width, bottom = top + source->height;
    const int32_t x2 = right < box.x2 ? right : box.x2, y2 = bottom < box.y2 ? bottom : box.y2;
    if (x1 < x2 && y1 < y2)
      BlitRegion(v, k, target, source, blendGraph, x1 - left, y1 - top, x1, y1, x2 - x1, y2 - y1);
    return;
  }

  const int32_t ox = box.x1 - centreX, oy = box.y1 - centreY, oyEnd = box.y2 - centreY;
  const int32_t halfU = static_cast<int32_t>(width / 2) * kOne;
  const int32_t halfV = static_cast<int32_t>(height / 2) * kOne;
  const int32_t uStart =
      AddWrap(DivideByScale(SubWrap(MulWrap(ox, cosN), MulWrap(oy, sinN)), scale), halfU);
  const int32_t vStart =
      AddWrap(DivideByScale(AddWrap(MulWrap(oy, cosN), MulWrap(ox, sinN)), scale), halfV);
  const int32_t uEnd =
      AddWrap(DivideByScale(SubWrap(MulWrap(ox, cosN), MulWrap(oyEnd, sinN)), scale), halfU);
  const int32_t vEnd =
      AddWrap(DivideByScale(AddWrap(MulWrap(oyEnd, cosN), MulWrap(ox, sinN)), scale), halfV);
  const int32_t rows = box.y2 - box.y1, cols = box.x2 - box.x1;
  const int32_t du = static_cast<int32_t>((static_cast<int64_t>(uEnd) - uStart) / rows);
  const int32_t dv = static_cast<int32_t>((static_cast<int64_t>(vEnd) - vStart) / rows);

  RenderContext& ctx = DefaultRenderContext();
  if (ctx.sourceRowsOf != source->pixels || ctx.sourceRowsPitch != source->pitch ||
      ctx.sourceRowsCount != source->height) {
    for (int32_t i = 0; i < source->height; ++i)
      ctx.sourceRows[i] = source->pixels + static_cast<intptr_t>(i) * source->pitch;
    ctx.sourceRowsOf = source->pixels;
    ctx.sourceRowsPitch = source->pitch;
    ctx.sourceRowsCount = source->height;
  }
  if (blendGraph) {
    for (int32_t i = 0; i < blendGraph->height; ++i)
      ctx.graphRows[i] = blendGraph->pixels + static_cast<intptr_t>(i) * blendGraph->pitch;
  }
  if (v.palette) k.palette = CopyPalette(ctx, *source);

  RotatedJob j;
  j.srcRows = ctx.sourceRows;
  j.graphRows = ctx.graphRows;
  const int dstBytes = target->colorKind == ColorKind32 ? 4 : 2;
  j.dst = target->pixels + static_cast<intptr_t>(box.y1) * target->pitch +
          static_cast<intptr_t>(box.x1) * dstBytes;
  j.dstPitch = target->pitch;
  j.cols = cols;
  j.rows = rows;
  j.uStart = static_cast<uint32_t>(uStart);
  j.vStart = static_cast<uint32_t>(vStart);
  j.stepU = static_cast<uint32_t>(stepU);
  j.stepV = static_cast<uint32_t>(stepV);
  j.du = static_cast<uint32_t>(du);
  j.dv = static_cast<uint32_t>(dv);
  j.uLimit = width * static_cast<uint32_t>(kOne);
  j.vLimit = height * static_cast<uint32_t>(kOne);
  j.wide = !SharesMemory(*target, *source) &&
           (source->colorKind == ColorKind32 || !v.trans || k.key <= 0xFFFFu);
  const RotatedFn fn = kRotatedTable[VariantIndex(v)];
  if (fn) fn(k, j);
}
