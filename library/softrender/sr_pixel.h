// Pixel traits and the blend kernel shared by every software pixel loop: the
// 32-bit and 16-bit 5-6-5 layouts, the packed saturating add and subtract, the
// per-call variant (a compile-time argument of each loop, chosen once per call)
// and the per-pixel blend of one source pixel onto one target pixel.
//
// Use: ChooseVariant() once per call -> Variant + KernelParams; index a table
// built by BuildVariantTable() with VariantIndex(); the selected loop calls
// BlendPixel<V, Pol>() (fetch + tests + blend) or BlendValue<V, Pol>() (blend of
// an already fetched value) for every visited pixel.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <utility>

#include "graphics/drawstate.h"
#include "graphics/memimg.h"

#if defined(__GNUC__)
#define SR_INLINE inline __attribute__((always_inline))
#else
#define SR_INLINE inline
#endif

namespace sr {

SR_INLINE uint32_t Load32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}
SR_INLINE uint32_t Load16(const uint8_t* p) {
  uint16_t v;
  std::memcpy(&v, p, 2);
  return v;
}
SR_INLINE void Store32(uint8_t* p, uint32_t v) { std::memcpy(p, &v, 4); }
SR_INLINE void Store16(uint8_t* p, uint32_t v) {
  const uint16_t w = static_cast<uint16_t>(v);
  std::memcpy(p, &w, 2);
}

// ---- Pixel traits -------------------------------------------------------------
// Channel c: 0 blue, 1 green, 2 red (the order of the bright bytes too).

// 32-bit pixel: byte 0 blue, byte 1 green, byte 2 red, byte 3 alpha or unused.
struct Pixel32 {
  static constexpr uint32_t kKind = ColorKind32;
  static constexpr int kBytes = 4;            // target / direct source pixel
  static constexpr int kAlphaSourceBytes = 4; // direct source with alpha
  static constexpr int kAlphaByte = 3;        // alpha byte of such a source pixel
  static constexpr int kShift[3] = {0, 8, 16};
  static constexpr int kWidth[3] = {8, 8, 8};
  static constexpr uint32_t kFieldMask = 0xFF;  // every channel is a byte
  static constexpr uint32_t kKeepMask = 0xFF000000u;  // kept by the channel formulas
  static constexpr uint32_t kColorMask = 0x00FFFFFFu;

  static SR_INLINE uint32_t Load(const uint8_t* p) { return Load32(p); }
  static SR_INLINE void Store(uint8_t* p, uint32_t v) { Store32(p, v); }
  static SR_INLINE uint32_t Field(uint32_t px, int c) { return (px >> kShift[c]) & 0xFFu; }
  static SR_INLINE uint32_t Pack(uint32_t b, uint32_t g, uint32_t r) {
    return b | (g << 8) | (r << 16);
  }
  // Saturating add of s (byte 3 zero) onto d; byte 3 becomes red's carry.
  static SR_INLINE uint32_t PackedAdd(uint32_t d, uint32_t s) {
    const uint32_t t = (d & 0x00FEFEFFu) + (s & 0x00FEFEFFu);
    const uint32_t k = t & 0x01010100u;
    return (k - (k >> 8)) | ((d | s) & 0x00010100u) | t;
  }
  // Saturating subtract of s from d (low bits of green and red per borrow rule).
  static SR_INLINE uint32_t PackedSub(uint32_t d, uint32_t s) {
    const uint32_t t = (d | 0x01010100u) - (s & 0xFEFEFEFFu);
    const uint32_t k = t & 0x01010100u;
    return (k - (k >> 8)) & t;
  }
  // max(0, d - s) exactly on each of the four bytes.
  static SR_INLINE uint32_t ExactSub(uint32_t d, uint32_t s) {
    uint32_t r = 0;
    for (int i = 0; i < 32; i += 8) {
      const uint32_t db = (d >> i) & 0xFFu, sb = (s >> i) & 0xFFu;
      r |= (db > sb ? db - sb : 0u) << i;
    }
    return r;
  }
};

// 16-bit 5-6-5 word: red bits 11-15, green 5-10, blue 0-4. A direct source
// with alpha has 4-byte pixels: the word, the alpha byte, one unused byte.
struct Pixel16 {
  static constexpr uint32_t kKind = ColorKind16;
  static constexpr int kBytes = 2;
  static constexpr int kAlphaSourceBytes = 4;
  static constexpr int kAlphaByte = 2;
  static constexpr int kShift[3] = {0, 5, 11};
  static constexpr int kWidth[3] = {5, 6, 5};
  static constexpr uint32_t kKeepMask = 0;
  static constexpr uint32_t kColorMask = 0xFFFFu;

  static SR_INLINE uint32_t Load(const uint8_t* p) { return Load16(p); }
  static SR_INLINE void Store(uint8_t* p, uint32_t v) { Store16(p, v); }
  static SR_INLINE uint32_t Field(uint32_t px, int c) {
    return (px >> kShift[c]) & ((1u << kWidth[c]) - 1u);
  }
  static SR_INLINE uint32_t Pack(uint32_t b, uint32_t g, uint32_t r) {
    return b | (g << 5) | (r << 11);
  }
  static SR_INLINE uint32_t PackedAdd(uint32_t d, uint32_t s) {
    const uint32_t t = (d & 0xF7DFu) + (s & 0xF7DFu);
    const uint32_t k = t & 0x10820u;
    return ((k - (k >> 5)) | ((d | s) & 0x0820u) | t) & 0xFFFFu;
  }
  static SR_INLINE uint32_t PackedSub(uint32_t d, uint32_t s) {
    const uint32_t t = (d | 0x10820u) - (s & 0xF7DFu);
    const uint32_t k = t & 0x10820u;
    return ((k - (k >> 5)) & t) & 0xFFFFu;
  }
};

template <uint32_t Kind>
using PixelTraits = std::conditional_t<Kind == ColorKind32, Pixel32, Pixel16>;

// ---- Variant: one pixel loop per value ----------------------------------------

enum : uint8_t {
  SubScaled = 0,     // packed subtract of the scaled source (the general form)
  SubFull = 1,       // mode 3, p 255: packed subtract of the raw source value
  SubFullExact = 2,  // the same, byte-exact saturating subtract on all 4 bytes (32-bit)
};

struct Variant {
  uint32_t kind;   // ColorKind32 or ColorKind16 (source and target)
  bool palette;    // source pixels are 1-byte indices into the palette copy
  uint8_t mode;    // 0 copy, 1 alpha, 2 add, 3 subtract, 4 multiply (mode 1 at p 255 -> 0)
  bool graph;      // a blend graph gives the weight w per pixel
  bool bright;     // bright colour on
  bool alpha;      // direct source with per-pixel alpha a
  bool trans;      // transparency flag of the call
  uint8_t sub;     // SubScaled / SubFull / SubFullExact (mode 3 only)
  constexpr bool operator==(const Variant&) const = default;
};

// Renderer-specific rules, fixed per loop family.
struct Policy {
  // Alpha source with transparency: alpha 0 skips the pixel in mode 4 too
  // (blits). false: mode 4 has no alpha-0 shortcut (textured triangles).
  bool alphaZeroSkipsMultiply = true;
  // 16-bit modes 2 and 3, alpha source without blend graph: the bright colour
  // is applied after the alpha weight, s' = mul_p(bright((s*a)>>8)) (textured
  // triangles). false: bright first, everywhere.
  bool alphaBeforeBright16 = false;
  // Bright is (channel x bright byte) >> 8 applied to the source value, byte 3
  // kept, and the blend then runs as with bright off (solid-colour primitives).
  // false: bright through the BlendMulTable rows.
  bool brightShift8 = false;
  // ChooseVariant may pick the raw-source subtract for mode 3 at p 255 without
  // blend graph, bright or alpha (unscaled and scaled blits). false: never.
  bool fullStrengthSubtract = false;
  // Driver rule, read by the scaled blit: whole-pixel copy variants (and the
  // full-strength subtract) advance the accumulator only while below 0.
  bool tieRule = false;
};

constexpr Policy kBlitPolicy{true, false, false, true, false};
constexpr Policy kScaledPolicy{true, false, false, true, true};
constexpr Policy kRotatedPolicy{true, false, false, false, false};
constexpr Policy kPrimitivePolicy{true, false, true, false, false};

constexpr Variant WithoutAlpha(Variant v) {
  v.alpha = false;
  return v;
}

// Whole-pixel copy variants (mode 0 without blend graph, bright or alpha).
constexpr bool IsWholeCopy(const Variant& v) {
  return v.mode == 0 && !v.graph && !v.bright && !v.alpha;
}
// Variants that take the scaled blit's tie rule.
constexpr bool UsesTieRule(const Variant& v) { return IsWholeCopy(v) || v.sub != SubScaled; }

constexpr int kVariantCount = 2 * 2 * 5 * 2 * 2 * 2 * 2 * 3;

constexpr int VariantIndex(const Variant& v) {
  int i = v.kind == ColorKind32 ? 1 : 0;
  i = i * 2 + (v.palette ? 1 : 0);
  i = i * 5 + v.mode;
  i = i * 2 + (v.graph ? 1 : 0);
  i = i * 2 + (v.bright ? 1 : 0);
  i = i * 2 + (v.alpha ? 1 : 0);
  i = i * 2 + (v.trans ? 1 : 0);
  return i * 3 + v.sub;
}

constexpr Variant VariantAt(int i) {
  Variant v{};
  v.sub = static_cast<uint8_t>(i % 3);
  i /= 3;
  v.trans = i % 2;
  i /= 2;
  v.alpha = i % 2;
  i /= 2;
  v.bright = i % 2;
  i /= 2;
  v.graph = i % 2;
  i /= 2;
  v.mode = static_cast<uint8_t>(i % 5);
  i /= 5;
  v.palette = i % 2;
  i /= 2;
  v.kind = i ? ColorKind32 : ColorKind16;
  return v;
}

// A combination that ChooseVariant can produce.
constexpr bool VariantValid(const Variant& v) {
  if (v.palette && v.alpha) return false;
  if (v.sub != SubScaled && (v.mode != 3 || v.graph || v.bright || v.alpha)) return false;
  if (v.sub == SubFullExact && v.kind != ColorKind32) return false;
  return true;
}

// Dispatch table with one entry per VariantIndex: Maker::template Get<V>()
// returns the loop for V (nullptr for combinations the family does not use).
template <class Fn, class Maker, std::size_t... I>
constexpr std::array<Fn, sizeof...(I)> BuildVariantTableImpl(std::index_sequence<I...>) {
  return {{Maker::template Get<VariantAt(static_cast<int>(I))>()...}};
}
template <class Fn, class Maker>
constexpr std::array<Fn, kVariantCount> BuildVariantTable() {
  return BuildVariantTableImpl<Fn, Maker>(std::make_index_sequence<kVariantCount>{});
}

// ---- Per-call parameters ---------------------------------------------------------

struct KernelParams {
  uint32_t p;                   // blend parameter 0-255
  uint32_t key;                 // transparent colour (pixel value or palette index)
  const uint32_t* mulP;         // BlendMulTable row p
  const int32_t* diffP;         // BlendDiffTable row p, offset so diffP[s - d] is valid
  const uint32_t* brightRow[3]; // BlendMulTable rows of the bright blue, green, red bytes
  uint32_t brightByte[3];       // the bright bytes themselves (blue, green, red)
  const uint32_t* palette;      // 256 palette entries as pixel values (palette sources)
  const uint8_t* weight;        // BlendGraphWeightTable
};

// Work buffers of one renderer: palette copy and row tables. Sources and blend
// graphs taller than kMaxRows rows are refused by the loops that use them.
constexpr int kMaxRows = 4096;
struct RenderContext {
  uint32_t palette[256];
  const uint8_t* sourceRows[kMaxRows];
  const uint8_t* graphRows[kMaxRows];
  // The image whose rows sourceRows holds (its pixels, pitch and row count):
  // drawing the same image again needs no refill.
  const uint8_t* sourceRowsOf = nullptr;
  int32_t sourceRowsPitch = 0, sourceRowsCount = 0;
};
// The calling thread's context (calls are serialised by the library lock).
RenderContext& DefaultRenderContext();
// Copies the source palette into ctx.palette: always 256 entries, those past
// the entry count (or all, without a palette pointer) zero. Returns the copy.
const uint32_t* CopyPalette(RenderContext& ctx, const MEMIMG& source);
// Builds the blend tables once if nobody has (cheap after the first call).
void EnsureBlendTables();

// Decides the variant of one call in the fixed order: colour kind, palette,
// mode, parameter, blend graph, bright, alpha, transparency, subtract form.
// Fills params except params->palette. Returns false when nothing is drawn.
inline bool ChooseVariant(const MEMIMG& source, int32_t transparency, bool haveGraph,
                          const DrawState& state, const Policy& pol, int mmxFlag,
                          Variant* out, KernelParams* params) {
  if (source.colorKind != ColorKind32 && source.colorKind != ColorKind16) return false;
  Variant v{};
  v.kind = source.colorKind;
  v.palette = source.paletteFlag != 0;
  if (state.blendMode < 0 || state.blendMode > 4) return false;
  int mode = state.blendMode;
  const uint32_t p = state.blendParam < 0 ? 0u : (state.blendParam > 255 ? 255u
                                                : static_cast<uint32_t>(state.blendParam));
  if (mode == 1) {
    if (p == 255) mode = 0;
    else if (p == 0) return false;
  }
  if (mode == 2 && p == 0) return false;
  if (mode == 3 && p == 0 && !v.palette) return false;
  v.mode = static_cast<uint8_t>(mode);
  v.graph = haveGraph;
  v.bright = DrawStateBrightOn(state);
  v.alpha = !v.palette && source.alphaFlag != 0;
  v.trans = transparency != 0;
  v.sub = SubScaled;
  if (pol.fullStrengthSubtract && mode == 3 && p == 255 && !v.graph && !v.bright && !v.alpha)
    v.sub = (v.kind == ColorKind32 && mmxFlag) ? SubFullExact : SubFull;
  params->p = p;
  params->key = source.transparentColor;
  params->mulP = BlendMulTable[p];
  params->diffP = &BlendDiffTable[p][255];
  params->brightByte[0] = state.brightBlue;
  params->brightByte[1] = state.brightGreen;
  params->brightByte[2] = state.brightRed;
  for (int c = 0; c < 3; ++c) params->brightRow[c] = BlendMulTable[params->brightByte[c]];
  params->palette = nullptr;
  params->weight = BlendGraphWeightTable;
  *out = v;
  return true;
}

// ---- The kernel ---------------------------------------------------------------------

// Bright of a whole pixel value through the tables (channels only, byte 3 zero).
template <class T>
SR_INLINE uint32_t BrightTable(const KernelParams& k, uint32_t s) {
  return T::Pack(k.brightRow[0][T::Field(s, 0)], k.brightRow[1][T::Field(s, 1)],
                 k.brightRow[2][T::Field(s, 2)]);
}
// Bright as (channel x byte) >> 8, byte 3 of a 32-bit value kept.
template <class T>
SR_INLINE uint32_t BrightShift8(const KernelParams& k, uint32_t s) {
  return (s & T::kKeepMask) | T::Pack((T::Field(s, 0) * k.brightByte[0]) >> 8,
                                      (T::Field(s, 1) * k.brightByte[1]) >> 8,
                                      (T::Field(s, 2) * k.brightByte[2]) >> 8);
}

// Blends the source value s (pixel value; byte 3 included for 32-bit) onto the
// target pixel at dst. a takes part when V.alpha, w when V.graph.
template <Variant V, Policy Pol>
SR_INLINE void BlendValue(const KernelParams& k, uint32_t s, uint32_t a, uint32_t w,
                          uint8_t* dst) {
  using T = PixelTraits<V.kind>;
  constexpr int kMode = V.mode;
  constexpr bool kUsesP = kMode >= 1 && kMode <= 3;
  constexpr bool kBrightTable = V.bright && !Pol.brightShift8;
  if constexpr (V.bright && Pol.brightShift8) s = BrightShift8<T>(k, s);

  if constexpr (kMode == 0 && !V.graph && !V.alpha) {
    if constexpr (!kBrightTable) {
      T::Store(dst, s);
    } else {
      T::Store(dst, (T::Load(dst) & T::kKeepMask) | BrightTable<T>(k, s));
    }
    return;
  }
  if constexpr (kMode == 3 && V.sub == SubFullExact) {
    T::Store(dst, Pixel32::ExactSub(T::Load(dst), s));
    return;
  }
  if constexpr (kMode == 3 && V.sub == SubFull) {
    T::Store(dst, T::PackedSub(T::Load(dst), s));
    return;
  }

  const uint32_t d = T::Load(dst);
  if constexpr (kMode == 1 && V.kind == ColorKind32 && !V.graph && !V.alpha) {
    // Per channel ((d << 8) + (s - d) p) >> 8 = (d (256 - p) + s p) >> 8, which
    // stays below 2^16: blue and red side by side in one product, green alone.
    const uint32_t sc = kBrightTable ? BrightTable<T>(k, s) : s;
    const uint32_t q = 256u - k.p;
    const uint32_t rb = (((d & 0x00FF00FFu) * q + (sc & 0x00FF00FFu) * k.p) >> 8) & 0x00FF00FFu;
    const uint32_t g = (((d & 0x0000FF00u) * q + (sc & 0x0000FF00u) * k.p) >> 8) & 0x0000FF00u;
    T::Store(dst, (d & T::kKeepMask) | rb | g);
    return;
  }
  // Q: product of w and a present; m its shift. P adds p for modes 1-3.
  uint32_t Q = 1;
  if constexpr (V.graph) Q *= w;
  if constexpr (V.alpha) Q *= a;
  constexpr int kM = 8 * ((V.graph ? 1 : 0) + (V.alpha ? 1 : 0));
  const uint32_t P = kUsesP ? Q * k.p : Q;
  constexpr int kN = kM + (kUsesP ? 8 : 0);

  uint32_t r[3];
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC unroll 3
#elif defined(__clang__)
#pragma unroll
#endif
  for (int c = 0; c < 3; ++c) {
    const uint32_t raw = T::Field(s, c);
    const uint32_t sc = kBrightTable ? k.brightRow[c][raw] : raw;
    const uint32_t dc = T::Field(d, c);
    if constexpr (kMode == 0 || (kMode == 1 && kM > 0)) {
      r[c] = ((dc << kN) + (sc - dc) * P) >> kN;
    } else if constexpr (kMode == 1) {
      if constexpr (V.kind == ColorKind32) {
        r[c] = ((dc << 8) + (sc - dc) * k.p) >> 8;
      } else {
        r[c] = static_cast<uint32_t>(static_cast<int32_t>(dc) +
                                     k.diffP[static_cast<int32_t>(sc) - static_cast<int32_t>(dc)]);
      }
    } else if constexpr (kMode == 2 || kMode == 3) {
      if constexpr (V.kind == ColorKind32) {
        r[c] = kM == 0 ? k.mulP[sc] : (sc * P) >> kN;
      } else if constexpr (Pol.alphaBeforeBright16 && V.alpha && !V.graph && kBrightTable) {
        r[c] = k.mulP[k.brightRow[c][(raw * a) >> 8]];
      } else {
        r[c] = kM == 0 ? k.mulP[sc] : k.mulP[(sc * Q) >> kM];
      }
    } else {  // mode 4
      constexpr int kShiftBase = V.kind == ColorKind32 ? 8 : 0;
      const int width = V.kind == ColorKind32 ? 0 : T::kWidth[c];
      r[c] = (dc * sc * P) >> (kShiftBase + width + kN);
    }
  }
  const uint32_t packed = T::Pack(r[0], r[1], r[2]);
  if constexpr (kMode == 2) {
    T::Store(dst, T::PackedAdd(d, packed));
  } else if constexpr (kMode == 3) {
    T::Store(dst, T::PackedSub(d, packed));
  } else {
    T::Store(dst, (d & T::kKeepMask) | packed);
  }
}

// One pixel: fetch from src (direct pixel or palette index), transparency and
// alpha tests, then BlendValue. graphByte is read only when V.graph.
template <Variant V, Policy Pol>
SR_INLINE void BlendPixel(const KernelParams& k, const uint8_t* src, const uint8_t* graphByte,
                          uint8_t* dst) {
  using T = PixelTraits<V.kind>;
  uint32_t w = 0;
  if constexpr (V.graph) w = k.weight[*graphByte];
  if constexpr (V.palette) {
    const uint32_t index = *src;
    if constexpr (V.trans) {
      if (index == k.key) return;
    }
    BlendValue<V, Pol>(k, k.palette[index], 0, w, dst);
  } else if constexpr (V.alpha) {
    const uint32_t s = T::Load(src);
    const uint32_t a = src[T::kAlphaByte];
    if constexpr (V.trans) {
      if (a == 0 && (Pol.alphaZeroSkipsMultiply || V.mode != 4)) return;
      if (a == 255) {
        BlendValue<WithoutAlpha(V), Pol>(k, s, 0, w, dst);
        return;
      }
    }
    BlendValue<V, Pol>(k, s, a, w, dst);
  } else {
    const uint32_t s = T::Load(src);
    if constexpr (V.trans) {
      if (s == k.key) return;
    }
    BlendValue<V, Pol>(k, s, 0, w, dst);
  }
}

// Bytes per source pixel of a variant (palette index, direct, direct with alpha).
template <Variant V>
constexpr int SourceBytes() {
  if constexpr (V.palette) return 1;
  else if constexpr (V.alpha) return PixelTraits<V.kind>::kAlphaSourceBytes;
  else return PixelTraits<V.kind>::kBytes;
}

}  // namespace sr
