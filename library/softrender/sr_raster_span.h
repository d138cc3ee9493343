// The span loops of the polygon rasteriser: one template pipeline (span walk,
// depth test and write, perspective divide, texel fetch and tests, colour
// modulation, blend-graph weight) with the write kernels of the five blend
// modes for 32-bit X8R8G8B8 and 16-bit R5G6B5 targets. Every flag that is
// constant for a triangle is a template parameter, so each combination is a
// loop of its own; only the depth buffer and depth-write flag are tested per
// pixel. Arithmetic wraps at 32 bits throughout (unsigned products).
#pragma once
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "softrender/sr_pixel.h"
#include "softrender/sr_raster.h"

namespace raster {

// Loads, stores and the packed saturating add and subtract are the renderer's
// shared pixel traits.
using sr::Load16;
using sr::Load32;
using sr::Store16;
using sr::Store32;
inline uint32_t Mul(uint32_t a, uint32_t b) { return a * b; }
// Arithmetic right shift of a wrapped 32-bit value.
inline uint32_t Sar(uint32_t v, int n) {
  return static_cast<uint32_t>(static_cast<int32_t>(v) >> n);
}
// Start of an interpolant at the centre of pixel x0 of the row.
inline uint32_t SpanStart(int32_t row, int32_t step, int32_t x0) {
  return static_cast<uint32_t>(row) + static_cast<uint32_t>(x0) * static_cast<uint32_t>(step) +
         static_cast<uint32_t>(step / 2);
}
// Truncating mix d + (s - d) * m / 2^k, kept to the bits of the field.
inline uint32_t Mix(uint32_t d, uint32_t s, uint32_t m, int k, uint32_t fieldMask) {
  const uint32_t t = (d << k) + (s - d) * m;
  return (t >> k) & fieldMask;
}

// Running values of one pixel.
struct PixelValues {
  uint32_t rhw, uRhw, vRhw, depth, blue, green, red, alpha;
};

// Steps every running value by its own step (wrapping 32-bit arithmetic).
inline void Advance(PixelValues& v, const PixelValues& step) {
  v.rhw += step.rhw;
  v.uRhw += step.uRhw;
  v.vRhw += step.vRhw;
  v.depth += step.depth;
  v.blue += step.blue;
  v.green += step.green;
  v.red += step.red;
  v.alpha += step.alpha;
}

// Per-pixel inputs of the write kernels after the texel stage.
struct Texel {
  uint32_t src;   // palette entry or texel colour (32-bit value or R5G6B5 word)
  uint32_t a;     // texel alpha
  uint32_t g;     // blend-graph weight
  bool useAlpha;  // texel alpha takes part
};

// Vertex colour of the pixel: blue, green, red and alpha as whole numbers.
struct VertexColour {
  uint32_t c[3];
  uint32_t alpha;
};
inline VertexColour ReadVertexColour(const PixelValues& v) {
  VertexColour vc;
  vc.c[0] = static_cast<uint32_t>(static_cast<int32_t>(v.blue) / 16384);
  vc.c[1] = static_cast<uint32_t>(static_cast<int32_t>(v.green) / 16384);
  vc.c[2] = static_cast<uint32_t>(static_cast<int32_t>(v.red) / 16384);
  vc.alpha = static_cast<uint32_t>(static_cast<int32_t>(v.alpha) / 16384);
  return vc;
}

// ---- 32-bit targets ------------------------------------------------------------

// Weight m (with its shift k) of a copy or alpha-blend pixel: the product of
// the blend-graph weight g, the texel alpha a and, for alpha blending, the
// factor f (blend parameter or vertex alpha); copy passes no factor.
struct Weight {
  uint32_t m;
  int k;
};
inline Weight CopyWeight(bool graph, bool useAlpha, uint32_t g, uint32_t a) {
  if (graph && useAlpha) return {g * a, 16};
  if (graph) return {g, 8};
  return {a, 8};
}
inline Weight BlendWeight(bool graph, bool useAlpha, uint32_t g, uint32_t a, uint32_t f) {
  if (graph && useAlpha) return {Mul(Mul(g, a), f), 24};
  if (graph) return {Mul(g, f), 16};
  if (useAlpha) return {Mul(a, f), 16};
  return {f, 8};
}

template <int Mode, bool Vertex, bool Bright>
inline void Write32(const RasterFrame& f, uint8_t* dst, const Texel& t, const PixelValues& pv,
                    bool graph) {
  uint32_t d = Load32(dst);
  uint32_t s[3] = {t.src & 0xFF, (t.src >> 8) & 0xFF, (t.src >> 16) & 0xFF};
  VertexColour vc{};
  if constexpr (Vertex) vc = ReadVertexColour(pv);
  const uint32_t a = t.a, g = t.g, p = static_cast<uint32_t>(f.param);

  if constexpr (Mode == 0 || Mode == 1) {
    uint32_t S[3];
    for (int c = 0; c < 3; ++c) {
      if constexpr (Vertex) S[c] = Sar(Mul(s[c], vc.c[c]), 8);
      else if constexpr (Bright) S[c] = f.brightRow[c][s[c]];
      else S[c] = s[c];
    }
    uint32_t m;
    int k;
    if constexpr (Mode == 0) {
      if (!graph && !t.useAlpha) {
        if constexpr (!Vertex && !Bright) {
          Store32(dst, t.src);
        } else {
          Store32(dst, (d & 0xFF000000u) | (S[0] & 0xFF) | ((S[1] & 0xFF) << 8) |
                           ((S[2] & 0xFF) << 16));
        }
        return;
      }
      const Weight w = CopyWeight(graph, t.useAlpha, g, a);
      m = w.m;
      k = w.k;
    } else {
      const Weight w = BlendWeight(graph, t.useAlpha, g, a, Vertex ? vc.alpha : p);
      m = w.m;
      k = w.k;
    }
    uint32_t out = d & 0xFF000000u;
    for (int c = 0; c < 3; ++c) out |= Mix((d >> (8 * c)) & 0xFF, S[c], m, k, 0xFF) << (8 * c);
    Store32(dst, out);
  } else if constexpr (Mode == 2 || Mode == 3) {
    uint32_t kk = 0;
    for (int c = 0; c < 3; ++c) {
      uint32_t v;
      if constexpr (Vertex) {
        const uint32_t sc = Mul(s[c], vc.c[c]);
        if (graph && t.useAlpha) v = Mul(Mul(Mul(Sar(sc, 8), vc.alpha), a), g) >> 24;
        else if (graph) v = Mul(Mul(sc, vc.alpha), g) >> 24;
        else if (t.useAlpha) v = Mul(Mul(sc, vc.alpha), a) >> 24;
        else v = Mul(sc, vc.alpha) >> 16;
      } else {
        const uint32_t b = Bright ? f.brightRow[c][s[c]] : s[c];
        if (graph && t.useAlpha) v = Mul(Mul(Mul(b, a), g), p) >> 24;
        else if (graph) v = Mul(Mul(b, g), p) >> 16;
        else if (t.useAlpha) v = Mul(Mul(b, a), p) >> 16;
        else v = f.paramRow[b];
      }
      kk |= (v & 0xFF) << (8 * c);
    }
    if constexpr (Mode == 2) {
      // Packed saturating add; bits 0 of green and red guard the carries.
      Store32(dst, sr::Pixel32::PackedAdd(d, kk));
    } else {
      // Packed subtract that stops at 0; bits 0 of green and red guard the borrows.
      Store32(dst, sr::Pixel32::PackedSub(d, kk));
    }
  } else {  // Mode 4: multiply
    uint32_t out = d & 0xFF000000u;
    for (int c = 0; c < 3; ++c) {
      const uint32_t dc = (d >> (8 * c)) & 0xFF;
      uint32_t v;
      if constexpr (Vertex) {
        const uint32_t tc = Mul(s[c], vc.c[c]);
        if (graph && t.useAlpha) v = Mul(Mul(Mul(Sar(tc, 8), g), a), dc) >> 24;
        else if (graph) v = Mul(Mul(tc, g), dc) >> 24;
        else if (t.useAlpha) v = Mul(Mul(tc, a), dc) >> 24;
        else v = Mul(tc, dc) >> 16;
      } else {
        const uint32_t b = Bright ? f.brightRow[c][s[c]] : s[c];
        if (graph && t.useAlpha) v = Mul(Mul(Mul(b, g), a), dc) >> 24;
        else if (graph) v = Mul(Mul(b, g), dc) >> 16;
        else if (t.useAlpha) v = Mul(Mul(b, a), dc) >> 16;
        else v = Mul(b, dc) >> 8;
      }
      out |= (v & 0xFF) << (8 * c);
    }
    Store32(dst, out);
  }
}

// ---- 16-bit targets ------------------------------------------------------------

constexpr int kFieldShift[3] = {0, 5, 11};  // blue, green, red
constexpr uint32_t kFieldMask[3] = {31, 63, 31};
constexpr int kFieldBits[3] = {5, 6, 5};

inline uint32_t Field(uint32_t word, int c) { return (word >> kFieldShift[c]) & kFieldMask[c]; }

template <int Mode, bool Vertex, bool Bright>
inline void Write16(const RasterFrame& f, uint8_t* dst, const Texel& t, const PixelValues& pv,
                    bool graph) {
  const uint32_t d = Load16(dst);
  uint32_t s[3] = {Field(t.src, 0), Field(t.src, 1), Field(t.src, 2)};
  VertexColour vc{};
  if constexpr (Vertex) vc = ReadVertexColour(pv);
  const uint32_t a = t.a, g = t.g, p = static_cast<uint32_t>(f.param);

  if constexpr (Mode == 0 || Mode == 1) {
    // Modulated source word.
    uint32_t word = t.src;
    if constexpr (Vertex) {
      word = 0;
      for (int c = 0; c < 3; ++c) word |= Sar(Mul(s[c], vc.c[c]), 8) << kFieldShift[c];
      word &= 0xFFFF;
    } else if constexpr (Bright) {
      word = 0;
      for (int c = 0; c < 3; ++c) word |= f.brightRow[c][s[c]] << kFieldShift[c];
    }
    uint32_t S[3] = {Field(word, 0), Field(word, 1), Field(word, 2)};
    uint32_t m = 0;
    int k = 8;
    if constexpr (Mode == 0) {
      if (!graph && !t.useAlpha) {
        Store16(dst, word);
        return;
      }
      const Weight w = CopyWeight(graph, t.useAlpha, g, a);
      m = w.m;
      k = w.k;
    } else if (graph || t.useAlpha || Vertex) {
      const Weight w = BlendWeight(graph, t.useAlpha, g, a, Vertex ? vc.alpha : p);
      m = w.m;
      k = w.k;
    } else {
      // Table form: the signed scale row of the blend parameter.
      uint32_t out = 0;
      for (int c = 0; c < 3; ++c) {
        const uint32_t dc = Field(d, c);
        const int32_t diff = static_cast<int32_t>(S[c]) - static_cast<int32_t>(dc);
        out |= ((dc + static_cast<uint32_t>(f.signedParamRow[diff])) & kFieldMask[c])
               << kFieldShift[c];
      }
      Store16(dst, out);
      return;
    }
    uint32_t out = 0;
    for (int c = 0; c < 3; ++c)
      out |= Mix(Field(d, c), S[c], m, k, kFieldMask[c]) << kFieldShift[c];
    Store16(dst, out);
  } else if constexpr (Mode == 2 || Mode == 3) {
    uint32_t v[3];
    for (int c = 0; c < 3; ++c) {
      if constexpr (Vertex) {
        const uint32_t sc = Mul(s[c], vc.c[c]);
        if (graph && t.useAlpha) v[c] = Sar(Mul(Mul(Mul(Sar(sc, 8), vc.alpha), a), g), 24);
        else if (graph) v[c] = Sar(Mul(Mul(sc, vc.alpha), g), 24);
        else if (t.useAlpha) v[c] = Sar(Mul(Mul(sc, vc.alpha), a), 24);
        else v[c] = Sar(Mul(sc, vc.alpha), 16);
      } else {
        const uint32_t* bright = f.brightRow[c];
        const uint32_t b = Bright ? bright[s[c]] : s[c];
        uint32_t index;
        if (graph && t.useAlpha) index = (b * a * g) >> 16;
        else if (graph) index = (b * g) >> 8;
        else if (t.useAlpha) {
          // The texel alpha comes before the bright colour here.
          index = (s[c] * a) >> 8;
          if constexpr (Bright) index = bright[index];
        } else index = b;
        v[c] = f.paramRow[index];
      }
    }
    uint32_t kk;
    if constexpr (Vertex) {
      if constexpr (Mode == 2)
        kk = ((v[2] << 11) & 0xF800u) + ((v[1] << 5) & 0xFFE0u) + v[0];
      else
        kk = ((v[2] & 31) << 11) + ((v[1] & 0x7FF) << 5) + v[0];
      kk &= 0xFFFF;
    } else {
      kk = (v[2] << 11) + (v[1] << 5) + v[0];
    }
    if constexpr (Mode == 2) {
      Store16(dst, sr::Pixel16::PackedAdd(d, kk));
    } else {
      Store16(dst, sr::Pixel16::PackedSub(d, kk));
    }
  } else {  // Mode 4: multiply, field by field
    uint32_t out = 0;
    for (int c = 0; c < 3; ++c) {
      const uint32_t dc = Field(d, c);
      const int n = kFieldBits[c];
      uint32_t v;
      if constexpr (Vertex) {
        const uint32_t tc = Mul(s[c], vc.c[c]);
        // Signed products (the vertex colour is not clamped), shifted
        // arithmetically: the unmasked blue keeps the sign.
        if (graph && t.useAlpha) v = Sar(Mul(Mul(Mul(Sar(tc, 8), g), a), dc), n + 16);
        else if (graph) v = Sar(Mul(Mul(tc, g), dc), n + 16);
        else if (t.useAlpha) v = Sar(Mul(Mul(tc, a), dc), n + 16);
        else v = Sar(Mul(tc, dc), n + 8);
      } else {
        const uint32_t b = Bright ? f.brightRow[c][s[c]] : s[c];
        if (graph && t.useAlpha) v = Mul(Mul(Mul(b, g), a), dc) >> (n + 16);
        else if (graph) v = Mul(Mul(b, g), dc) >> (n + 8);
        else if (t.useAlpha) v = Mul(Mul(b, a), dc) >> (n + 8);
        else v = Mul(b, dc) >> n;
      }
      if (c != 0) v &= kFieldMask[c];  // blue is not masked
      out |= v << kFieldShift[c];
    }
    Store16(dst, out);
  }
}

// ---- The pipeline ----------------------------------------------------------------

template <bool Wide, int Mode, bool Vertex, bool Palette, bool Graph, bool Bright, bool AlphaTex,
          bool Transparent>
inline void DrawPixel(const RasterFrame& f, const PixelValues& pv, uint8_t* dst, uint8_t* zp,
                      bool depthWrite) {
  if (zp) {
    const uint32_t z16 = Sar(pv.depth, 8) & 0xFFFF;
    if (Load16(zp) < z16) return;
    if (depthWrite) Store16(zp, z16);
  }
  // A span whose rhw reaches 0 after its start: no texel can be found.
  if (pv.rhw == 0) return;
  const int32_t q = 0x20000000 / static_cast<int32_t>(pv.rhw);
  const uint32_t w = static_cast<uint32_t>(f.texWidth);
  const uint32_t h = static_cast<uint32_t>(f.texHeight);
  const uint32_t tx = Mul(Mul(Sar(pv.uRhw, 10), static_cast<uint32_t>(q)), w) >> 19;
  const uint32_t ty = Mul(Mul(Sar(pv.vRhw, 10), static_cast<uint32_t>(q)), h) >> 19;
  if (tx >= w || ty >= h) return;

  constexpr int kTexelBytes = Palette ? 1 : (Wide ? 4 : (AlphaTex ? 4 : 2));
  const uint8_t* tp = f.texPixels + static_cast<intptr_t>(ty) * f.texPitch + tx * kTexelBytes;
  Texel t;
  t.a = 255;
  t.useAlpha = false;
  if constexpr (Palette) {
    const uint32_t index = *tp;
    if constexpr (Transparent) {
      if (index == f.texTransparent) return;
    }
    t.src = Wide ? Load32(f.texPalette + 4 * index) : Load16(f.texPalette + 2 * index);
  } else {
    if constexpr (Wide) {
      t.src = Load32(tp);
      if constexpr (AlphaTex) t.a = t.src >> 24;
    } else {
      t.src = Load16(tp);
      if constexpr (AlphaTex) t.a = tp[2];
    }
    if constexpr (AlphaTex) {
      if constexpr (Transparent) {
        if (t.a == 0 && Mode != 4) return;
        t.useAlpha = t.a != 255;
      } else {
        t.useAlpha = true;
      }
    } else if constexpr (Transparent) {
      if (t.src == f.texTransparent) return;
    }
  }
  if constexpr (Graph) {
    t.g = BlendGraphWeightTable[f.graphPixels[static_cast<intptr_t>(ty) * f.graphPitch + tx]];
  } else {
    t.g = 255;
  }
  if constexpr (Wide)
    Write32<Mode, Vertex, Bright>(f, dst, t, pv, Graph);
  else
    Write16<Mode, Vertex, Bright>(f, dst, t, pv, Graph);
}

template <bool Wide, int Mode, bool Vertex, bool Palette, bool Graph, bool Bright, bool AlphaTex,
          bool Transparent>
void SpanLoop(const RasterFrame& f, bool depthWrite) {
  constexpr int kPixelBytes = Wide ? 4 : 2;
  uint8_t* targetRow = f.targetRow;
  uint8_t* depthRow = f.depthRow;
  PixelValues row{static_cast<uint32_t>(f.rhw.r),   static_cast<uint32_t>(f.uRhw.r),
                  static_cast<uint32_t>(f.vRhw.r),  static_cast<uint32_t>(f.depth.r),
                  static_cast<uint32_t>(f.blue.r),  static_cast<uint32_t>(f.green.r),
                  static_cast<uint32_t>(f.red.r),   static_cast<uint32_t>(f.alpha.r)};
  const PixelValues step{static_cast<uint32_t>(f.rhw.a),   static_cast<uint32_t>(f.uRhw.a),
                         static_cast<uint32_t>(f.vRhw.a),  static_cast<uint32_t>(f.depth.a),
                         static_cast<uint32_t>(f.blue.a),  static_cast<uint32_t>(f.green.a),
                         static_cast<uint32_t>(f.red.a),   static_cast<uint32_t>(f.alpha.a)};
  const PixelValues rowStep{static_cast<uint32_t>(f.rhw.b),   static_cast<uint32_t>(f.uRhw.b),
                            static_cast<uint32_t>(f.vRhw.b),  static_cast<uint32_t>(f.depth.b),
                            static_cast<uint32_t>(f.blue.b),  static_cast<uint32_t>(f.green.b),
                            static_cast<uint32_t>(f.red.b),   static_cast<uint32_t>(f.alpha.b)};
  for (int32_t r = 0; r < f.rowCount; ++r) {
    const int32_t x0 = SpanTable[r].firstX;
    int32_t n = SpanTable[r].count;
    if (n > 0) {
      PixelValues pv;
      pv.rhw = SpanStart(static_cast<int32_t>(row.rhw), f.rhw.a, x0);
      pv.uRhw = SpanStart(static_cast<int32_t>(row.uRhw), f.uRhw.a, x0);
      pv.vRhw = SpanStart(static_cast<int32_t>(row.vRhw), f.vRhw.a, x0);
      pv.depth = SpanStart(static_cast<int32_t>(row.depth), f.depth.a, x0);
      pv.blue = SpanStart(static_cast<int32_t>(row.blue), f.blue.a, x0);
      pv.green = SpanStart(static_cast<int32_t>(row.green), f.green.a, x0);
      pv.red = SpanStart(static_cast<int32_t>(row.red), f.red.a, x0);
      pv.alpha = SpanStart(static_cast<int32_t>(row.alpha), f.alpha.a, x0);
      if (pv.rhw != 0) {
        uint8_t* dst = targetRow + static_cast<intptr_t>(x0) * kPixelBytes;
        uint8_t* zp = depthRow ? depthRow + static_cast<intptr_t>(x0) * 2 : nullptr;
        for (; n > 0; --n) {
          DrawPixel<Wide, Mode, Vertex, Palette, Graph, Bright, AlphaTex, Transparent>(
              f, pv, dst, zp, depthWrite);
          Advance(pv, step);
          dst += kPixelBytes;
          if (zp) zp += 2;
        }
      }
    }
    Advance(row, rowStep);
    targetRow += f.targetPitch;
    if (depthRow) depthRow += f.depthPitch;
  }
}

template <class T>
constexpr auto Value = std::remove_cvref_t<T>::value;

// Turns the runtime variant into the template loop of one target depth.
template <bool Wide>
void RunSpans(const RasterFrame& f, const RasterVariant& v) {
  auto pick = [](bool b, auto&& next) {
    if (b) next(std::true_type{});
    else next(std::false_type{});
  };
  auto withMode = [&](auto mode) {
    pick(v.vertexColour, [&](auto vertex) {
      pick(v.palette, [&](auto palette) {
        pick(v.graph, [&](auto graph) {
          pick(v.bright && !v.vertexColour, [&](auto bright) {
            pick(v.alphaTexture && !v.palette, [&](auto alpha) {
              pick(v.transparent, [&](auto transparent) {
                constexpr bool kValid = !(Value<decltype(vertex)> && Value<decltype(bright)>) &&
                                        !(Value<decltype(palette)> && Value<decltype(alpha)>);
                if constexpr (kValid) {
                  SpanLoop<Wide, Value<decltype(mode)>, Value<decltype(vertex)>,
                           Value<decltype(palette)>, Value<decltype(graph)>,
                           Value<decltype(bright)>, Value<decltype(alpha)>,
                           Value<decltype(transparent)>>(f, v.depthWrite);
                }
              });
            });
          });
        });
      });
    });
  };
  switch (v.mode) {
    case 0: withMode(std::integral_constant<int, 0>{}); break;
    case 1: withMode(std::integral_constant<int, 1>{}); break;
    case 2: withMode(std::integral_constant<int, 2>{}); break;
    case 3: withMode(std::integral_constant<int, 3>{}); break;
    case 4: withMode(std::integral_constant<int, 4>{}); break;
    default: break;
  }
}

}  // namespace raster
