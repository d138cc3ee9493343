// Several pixels per step for the commonest kernel variants: a direct source
// without blend graph or bright, in every blend mode (with per-pixel alpha:
// 32-bit pixels in modes 0 to 3). Four 32-bit pixels or up to eight 16-bit
// pixels travel in one SSE2 register and get exactly the arithmetic of
// BlendValue (sr_pixel.h), lane by lane:
// - 8-bit channel products stay below 2^16, so they are formed in 16-bit lanes
//   (with a second factor, the high half of the 32-bit product is taken);
// - floor(t / 255) for t <= 65025 is (t + 1 + (t >> 8)) >> 8, which stands in
//   for the BlendMulTable and BlendDiffTable rows of the parameter;
// - the packed add and subtract run on whole pixels as in the scalar kernel
//   (32-bit lanes), or with the carry out of red taken from a saturating
//   16-bit add or subtract (16-bit pixels).
// SSE2 is part of every x86-64 processor; elsewhere kWideKernels is false and
// the callers keep their one-pixel loops.
#pragma once
#include <cstdint>

#include "softrender/sr_pixel.h"

#if defined(__SSE2__) && (defined(__x86_64__) || defined(_M_X64))
#include <emmintrin.h>
#define SR_WIDE_SSE2 1
#else
#define SR_WIDE_SSE2 0
#endif

namespace sr {

constexpr bool kWideKernels = SR_WIDE_SSE2 != 0;

// Variants with a wide form (the rest keep the one-pixel kernel): direct
// sources without blend graph or bright; with per-pixel alpha, 32-bit pixels
// in modes 0 to 3.
template <Variant V>
constexpr bool HasWideForm() {
  return kWideKernels && !V.palette && !V.graph && !V.bright &&
         (!V.alpha || (V.kind == ColorKind32 && V.mode <= 3));
}

// Source and target memory that may overlap: the wide loops read several
// source pixels before writing, so such draws keep the pixel-by-pixel order.
// Judged on a generous extent of each record (any pitch sign, rows of up to
// four bytes a pixel plus a pitch), so a doubt means "shared".
inline bool SharesMemory(const MEMIMG& a, const MEMIMG& b) {
  auto extent = [](const MEMIMG& m, int64_t* lo, int64_t* hi) {
    const int64_t base = static_cast<int64_t>(reinterpret_cast<uintptr_t>(m.pixels));
    const int64_t pitch = m.pitch;
    const int64_t rows = m.height > 0 ? m.height : 0;
    const int64_t span = pitch * (rows > 0 ? rows - 1 : 0);
    const int64_t row = (m.width > 0 ? int64_t{m.width} * 4 : 0) + (pitch < 0 ? -pitch : pitch);
    *lo = base + (span < 0 ? span : 0);
    *hi = base + (span > 0 ? span : 0) + row;
  };
  int64_t alo, ahi, blo, bhi;
  extent(a, &alo, &ahi);
  extent(b, &blo, &bhi);
  return alo < bhi && blo < ahi;
}

#if SR_WIDE_SSE2

// Per-call constants of the wide kernels.
struct WideParams {
  __m128i key;   // transparent colour in every 32-bit or 16-bit lane
  __m128i p;     // blend parameter in every 16-bit lane
  __m128i q;     // 256 - p in every 16-bit lane
  bool keyable;  // false: a 16-bit key above 0xFFFF, which no pixel matches
  bool fullP;    // p is 255: the BlendMulTable row p is the identity
};

template <Variant V>
inline WideParams MakeWideParams(const KernelParams& k) {
  WideParams w;
  if constexpr (V.kind == ColorKind32) {
    w.key = _mm_set1_epi32(static_cast<int32_t>(k.key));
    w.keyable = true;
  } else {
    w.key = _mm_set1_epi16(static_cast<int16_t>(k.key & 0xFFFFu));
    w.keyable = k.key <= 0xFFFFu;
  }
  w.p = _mm_set1_epi16(static_cast<int16_t>(k.p));
  w.q = _mm_set1_epi16(static_cast<int16_t>(256u - k.p));
  w.fullP = k.p == 255;
  return w;
}

// floor(t / 255) in 16-bit lanes holding t <= 65025 (255 x 255): the sum
// below stays under 2^16.
SR_INLINE __m128i Div255(__m128i t) {
  const __m128i one = _mm_set1_epi16(1);
  return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(t, one), _mm_srli_epi16(t, 8)), 8);
}
// Lane-wise choice: where mask is set, a; elsewhere b.
SR_INLINE __m128i Select(__m128i mask, __m128i a, __m128i b) {
  return _mm_or_si128(_mm_and_si128(mask, a), _mm_andnot_si128(mask, b));
}

// ---- 32-bit pixels, four per register ---------------------------------------------

SR_INLINE __m128i PackedAdd32x4(__m128i d, __m128i s) {
  const __m128i m = _mm_set1_epi32(0x00FEFEFF);
  const __m128i t = _mm_add_epi32(_mm_and_si128(d, m), _mm_and_si128(s, m));
  const __m128i k = _mm_and_si128(t, _mm_set1_epi32(0x01010100));
  const __m128i low = _mm_and_si128(_mm_or_si128(d, s), _mm_set1_epi32(0x00010100));
  return _mm_or_si128(_mm_or_si128(_mm_sub_epi32(k, _mm_srli_epi32(k, 8)), low), t);
}
SR_INLINE __m128i PackedSub32x4(__m128i d, __m128i s) {
  const __m128i t = _mm_sub_epi32(_mm_or_si128(d, _mm_set1_epi32(0x01010100)),
                                  _mm_and_si128(s, _mm_set1_epi32(static_cast<int32_t>(0xFEFEFEFFu))));
  const __m128i k = _mm_and_si128(t, _mm_set1_epi32(0x01010100));
  return _mm_and_si128(_mm_sub_epi32(k, _mm_srli_epi32(k, 8)), t);
}

// Channel bytes scaled by p / 255 (floor), byte 3 cleared: the BlendMulTable row p.
SR_INLINE __m128i MulP32x4(const WideParams& w, __m128i s) {
  if (w.fullP) return _mm_and_si128(s, _mm_set1_epi32(0x00FFFFFF));
  const __m128i zero = _mm_setzero_si128();
  const __m128i lo = Div255(_mm_mullo_epi16(_mm_unpacklo_epi8(s, zero), w.p));
  const __m128i hi = Div255(_mm_mullo_epi16(_mm_unpackhi_epi8(s, zero), w.p));
  return _mm_and_si128(_mm_packus_epi16(lo, hi), _mm_set1_epi32(0x00FFFFFF));
}

template <Variant V>
SR_INLINE __m128i Blend32x4(const WideParams& w, __m128i s, __m128i d);

// ((d << 16) + (s - d) P) >> 16 in 16-bit lanes (channels d, s, weight P up
// to 65025): d plus the difference times P / 2^16, rounded down, which for a
// negative difference is minus the rounded-up magnitude.
SR_INLINE __m128i Mix16(__m128i d, __m128i s, __m128i p) {
  const __m128i diff = _mm_sub_epi16(s, d);
  const __m128i neg = _mm_srai_epi16(diff, 15);
  const __m128i mag = _mm_sub_epi16(_mm_xor_si128(diff, neg), neg);
  const __m128i hi = _mm_mulhi_epu16(mag, p);
  const __m128i exact = _mm_cmpeq_epi16(_mm_mullo_epi16(mag, p), _mm_setzero_si128());
  // hi for a positive difference; -(hi, plus 1 unless exact) for a negative one.
  const __m128i up = _mm_sub_epi16(hi, _mm_andnot_si128(exact, _mm_set1_epi16(-1)));
  const __m128i q = Select(neg, _mm_sub_epi16(_mm_setzero_si128(), up), hi);
  return _mm_add_epi16(d, q);
}

// The alpha byte of each of two pixels in a register of 16-bit channel lanes,
// copied to all four lanes of its pixel.
SR_INLINE __m128i SpreadAlpha(__m128i px16) {
  return _mm_shufflehi_epi16(_mm_shufflelo_epi16(px16, 0xFF), 0xFF);
}

// Sources with per-pixel alpha a (byte 3): the factor set holds a (and p in
// modes 1 to 3). Under transparency a of 0 skips the pixel and a of 255
// draws it as a source without alpha.
template <Variant V>
SR_INLINE __m128i BlendAlpha32x4(const WideParams& w, __m128i s, __m128i d) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i keep = _mm_set1_epi32(static_cast<int32_t>(0xFF000000u));
  const __m128i slo = _mm_unpacklo_epi8(s, zero), shi = _mm_unpackhi_epi8(s, zero);
  const __m128i dlo = _mm_unpacklo_epi8(d, zero), dhi = _mm_unpackhi_epi8(d, zero);
  const __m128i alo = SpreadAlpha(slo), ahi = SpreadAlpha(shi);
  __m128i r;
  if constexpr (V.mode == 0) {
    // (d (256 - a) + s a) >> 8, byte 3 of the target kept.
    const __m128i full = _mm_set1_epi16(256);
    const __m128i lo = _mm_srli_epi16(
        _mm_add_epi16(_mm_mullo_epi16(dlo, _mm_sub_epi16(full, alo)), _mm_mullo_epi16(slo, alo)), 8);
    const __m128i hi = _mm_srli_epi16(
        _mm_add_epi16(_mm_mullo_epi16(dhi, _mm_sub_epi16(full, ahi)), _mm_mullo_epi16(shi, ahi)), 8);
    r = Select(keep, d, _mm_packus_epi16(lo, hi));
  } else {
    const __m128i plo = _mm_mullo_epi16(alo, w.p), phi = _mm_mullo_epi16(ahi, w.p);
    if constexpr (V.mode == 1) {
      r = Select(keep, d, _mm_packus_epi16(Mix16(dlo, slo, plo), Mix16(dhi, shi, phi)));
    } else {
      // (s a p) >> 16 per channel, byte 3 zero, then the packed add or subtract.
      const __m128i scaled =
          _mm_and_si128(_mm_packus_epi16(_mm_mulhi_epu16(slo, plo), _mm_mulhi_epu16(shi, phi)),
                        _mm_set1_epi32(0x00FFFFFF));
      r = V.mode == 2 ? PackedAdd32x4(d, scaled) : PackedSub32x4(d, scaled);
    }
  }
  if constexpr (V.trans) {
    constexpr Variant kOpaque = [] {
      Variant o = V;
      o.alpha = false;
      o.trans = false;
      return o;
    }();
    const __m128i a = _mm_srli_epi32(s, 24);
    r = Select(_mm_cmpeq_epi32(a, _mm_set1_epi32(255)), Blend32x4<kOpaque>(w, s, d), r);
    r = Select(_mm_cmpeq_epi32(a, zero), d, r);
  }
  return r;
}

// Blend of four source pixels s onto four target pixels d; returns the new
// target pixels (d where a pixel is skipped).
template <Variant V>
SR_INLINE __m128i Blend32x4(const WideParams& w, __m128i s, __m128i d) {
  static_assert(HasWideForm<V>() && V.kind == ColorKind32);
  if constexpr (V.alpha) return BlendAlpha32x4<V>(w, s, d);
  const __m128i zero = _mm_setzero_si128();
  const __m128i keep = _mm_set1_epi32(static_cast<int32_t>(0xFF000000u));
  __m128i r;
  if constexpr (V.mode == 0) {
    r = s;
  } else if constexpr (V.mode == 1) {
    // (d (256 - p) + s p) >> 8 per channel, byte 3 of the target kept.
    const __m128i lo = _mm_srli_epi16(
        _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(d, zero), w.q),
                      _mm_mullo_epi16(_mm_unpacklo_epi8(s, zero), w.p)), 8);
    const __m128i hi = _mm_srli_epi16(
        _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(d, zero), w.q),
                      _mm_mullo_epi16(_mm_unpackhi_epi8(s, zero), w.p)), 8);
    r = Select(keep, d, _mm_packus_epi16(lo, hi));
  } else if constexpr (V.mode == 2) {
    r = PackedAdd32x4(d, MulP32x4(w, s));
  } else if constexpr (V.mode == 3) {
    if constexpr (V.sub == SubFullExact) r = _mm_subs_epu8(d, s);
    else if constexpr (V.sub == SubFull) r = PackedSub32x4(d, s);
    else r = PackedSub32x4(d, MulP32x4(w, s));
  } else {
    // (d s) >> 8 per channel, byte 3 of the target kept.
    const __m128i lo = _mm_srli_epi16(
        _mm_mullo_epi16(_mm_unpacklo_epi8(d, zero), _mm_unpacklo_epi8(s, zero)), 8);
    const __m128i hi = _mm_srli_epi16(
        _mm_mullo_epi16(_mm_unpackhi_epi8(d, zero), _mm_unpackhi_epi8(s, zero)), 8);
    r = Select(keep, d, _mm_packus_epi16(lo, hi));
  }
  if constexpr (V.trans) r = Select(_mm_cmpeq_epi32(s, w.key), d, r);
  return r;
}

// ---- 16-bit 5-6-5 pixels, eight per register ------------------------------------------

// Saturating add of s (a 5-6-5 word) onto d; red's carry comes from the
// unsigned saturating sum differing from the wrapped one.
SR_INLINE __m128i PackedAdd16x8(__m128i d, __m128i s) {
  const __m128i m = _mm_set1_epi16(static_cast<int16_t>(0xF7DF));
  const __m128i a = _mm_and_si128(d, m), b = _mm_and_si128(s, m);
  const __m128i t = _mm_add_epi16(a, b);
  const __m128i noCarry = _mm_cmpeq_epi16(_mm_adds_epu16(a, b), t);
  const __m128i k = _mm_and_si128(t, _mm_set1_epi16(0x0820));
  const __m128i red = _mm_andnot_si128(noCarry, _mm_set1_epi16(static_cast<int16_t>(0xF800)));
  const __m128i low = _mm_and_si128(_mm_or_si128(d, s), _mm_set1_epi16(0x0820));
  return _mm_or_si128(_mm_or_si128(_mm_sub_epi16(k, _mm_srli_epi16(k, 5)), red),
                      _mm_or_si128(low, t));
}
// Saturating subtract; red's borrow is (d | 0x0820) < (s & 0xF7DF), unsigned.
SR_INLINE __m128i PackedSub16x8(__m128i d, __m128i s) {
  const __m128i dd = _mm_or_si128(d, _mm_set1_epi16(0x0820));
  const __m128i sm = _mm_and_si128(s, _mm_set1_epi16(static_cast<int16_t>(0xF7DF)));
  const __m128i t = _mm_sub_epi16(dd, sm);
  const __m128i noBorrow = _mm_cmpeq_epi16(_mm_subs_epu16(sm, dd), _mm_setzero_si128());
  const __m128i k = _mm_and_si128(t, _mm_set1_epi16(0x0820));
  const __m128i red = _mm_and_si128(noBorrow, _mm_set1_epi16(static_cast<int16_t>(0xF800)));
  return _mm_and_si128(_mm_or_si128(_mm_sub_epi16(k, _mm_srli_epi16(k, 5)), red), t);
}

struct Fields16 {
  __m128i b, g, r;
};
SR_INLINE Fields16 Split16(__m128i x) {
  return {_mm_and_si128(x, _mm_set1_epi16(31)), _mm_and_si128(_mm_srli_epi16(x, 5), _mm_set1_epi16(63)),
          _mm_srli_epi16(x, 11)};
}
SR_INLINE __m128i Join16(__m128i b, __m128i g, __m128i r) {
  return _mm_or_si128(_mm_or_si128(b, _mm_slli_epi16(g, 5)), _mm_slli_epi16(r, 11));
}
// d + BlendDiffTable[p][s - d]: the difference scaled by p / 255, truncated
// toward zero.
SR_INLINE __m128i AlphaField16(const WideParams& w, __m128i s, __m128i d) {
  const __m128i diff = _mm_sub_epi16(s, d);
  const __m128i neg = _mm_srai_epi16(diff, 15);
  const __m128i mag = _mm_sub_epi16(_mm_xor_si128(diff, neg), neg);
  const __m128i q = Div255(_mm_mullo_epi16(mag, w.p));
  return _mm_add_epi16(d, _mm_sub_epi16(_mm_xor_si128(q, neg), neg));
}
SR_INLINE __m128i MulP16x8(const WideParams& w, __m128i s) {
  if (w.fullP) return s;
  const Fields16 f = Split16(s);
  return Join16(Div255(_mm_mullo_epi16(f.b, w.p)), Div255(_mm_mullo_epi16(f.g, w.p)),
                Div255(_mm_mullo_epi16(f.r, w.p)));
}

template <Variant V>
SR_INLINE __m128i Blend16x8(const WideParams& w, __m128i s, __m128i d) {
  static_assert(HasWideForm<V>() && V.kind == ColorKind16 && !V.alpha);
  __m128i r;
  if constexpr (V.mode == 0) {
    r = s;
  } else if constexpr (V.mode == 1) {
    const Fields16 fs = Split16(s), fd = Split16(d);
    r = Join16(AlphaField16(w, fs.b, fd.b), AlphaField16(w, fs.g, fd.g),
               AlphaField16(w, fs.r, fd.r));
  } else if constexpr (V.mode == 2) {
    r = PackedAdd16x8(d, MulP16x8(w, s));
  } else if constexpr (V.mode == 3) {
    r = PackedSub16x8(d, V.sub == SubFull ? s : MulP16x8(w, s));
  } else {
    // (d s) >> field width.
    const Fields16 fs = Split16(s), fd = Split16(d);
    r = Join16(_mm_srli_epi16(_mm_mullo_epi16(fd.b, fs.b), 5),
               _mm_srli_epi16(_mm_mullo_epi16(fd.g, fs.g), 6),
               _mm_srli_epi16(_mm_mullo_epi16(fd.r, fs.r), 5));
  }
  if constexpr (V.trans) r = Select(_mm_cmpeq_epi16(s, w.key), d, r);
  return r;
}

#else

// Without SSE2 the wide loops are absent; the per-call constants are empty.
struct WideParams {};
template <Variant V>
inline WideParams MakeWideParams(const KernelParams&) {
  return {};
}

#endif  // SR_WIDE_SSE2

}  // namespace sr
