// Reference model of the rasteriser's span loops (see raster_reference.h).
#include "raster/raster_reference.h"

#include <cstring>

namespace {

struct Layout {
  bool wide;
  int shift[3];
  int bits[3];
};
const Layout kWide{true, {0, 8, 16}, {8, 8, 8}};
const Layout kNarrow{false, {0, 5, 11}, {5, 6, 5}};

uint32_t Get(uint32_t word, const Layout& l, int c) {
  return (word >> l.shift[c]) & ((1u << l.bits[c]) - 1);
}
int64_t FloorShift(int64_t v, int k) { return v >> k; }  // arithmetic: floor
int32_t Wrap32(int64_t v) { return static_cast<int32_t>(static_cast<uint32_t>(v)); }

uint32_t ReadPixel(const uint8_t* p, bool wide) {
  uint32_t v = 0;
  std::memcpy(&v, p, wide ? 4 : 2);
  return v;
}
void WritePixel(uint8_t* p, bool wide, uint32_t v) { std::memcpy(p, &v, wide ? 4 : 2); }

// Saturating add described channel by channel; returns the new pixel.
uint32_t AddChannels(uint32_t d, uint32_t k, const Layout& l) {
  const uint32_t full[3] = {(1u << l.bits[0]) - 1, (1u << l.bits[1]) - 1, (1u << l.bits[2]) - 1};
  uint32_t out[3];
  const uint32_t db = Get(d, l, 0), kb = Get(k, l, 0);
  bool carry = db + kb > full[0];
  out[0] = carry ? full[0] : db + kb;
  for (int c = 1; c < 3; ++c) {
    const uint32_t dc = Get(d, l, c), kc = Get(k, l, c);
    const uint32_t high = (dc >> 1) + (kc >> 1);
    const bool over = high > (full[c] >> 1);
    const uint32_t low = ((dc | kc) & 1) | (carry ? 1u : 0u);
    if (l.wide || c == 2) out[c] = over ? full[c] : (high << 1) | low;
    else out[c] = (over ? full[c] - 1 : high << 1) | low;  // 16-bit green keeps its bit 0 rule
    carry = over;
  }
  uint32_t word = (out[0] << l.shift[0]) | (out[1] << l.shift[1]) | (out[2] << l.shift[2]);
  if (l.wide && carry) word |= 1u << 24;  // byte 3 takes red's carry
  return word;
}

// Subtract with borrow guards described channel by channel.
uint32_t SubChannels(uint32_t d, uint32_t s, const Layout& l) {
  uint32_t out[3];
  const int32_t db = static_cast<int32_t>(Get(d, l, 0)), sb = static_cast<int32_t>(Get(s, l, 0));
  bool borrow = db < sb;
  out[0] = borrow ? 0 : static_cast<uint32_t>(db - sb);
  for (int c = 1; c < 3; ++c) {
    const int32_t dc = static_cast<int32_t>(Get(d, l, c));
    const int32_t sc = static_cast<int32_t>(Get(s, l, c)) & ~1;
    const int32_t y = (dc | 1) - sc - (borrow ? 1 : 0);
    borrow = y < 0;
    uint32_t v = borrow ? 0 : static_cast<uint32_t>(y);
    if (!l.wide && c == 1) v &= ~1u;  // 16-bit green loses its guard bit
    out[c] = v;
  }
  return (out[0] << l.shift[0]) | (out[1] << l.shift[1]) | (out[2] << l.shift[2]);
}

}  // namespace

void ReferenceSpans(const RasterFrame& f, MEMIMG* target, MEMIMG* depthBuffer,
                    const MEMIMG* texture, const MEMIMG* blendGraph, int transparent,
                    int depthWrite, int vertexColour) {
  const Layout& l = target->colorKind == ColorKind32 ? kWide : kNarrow;
  const bool vertex = vertexColour != 0;
  const bool palette = texture->paletteFlag == 1;
  const bool alphaTex = !palette && texture->alphaFlag == 1;
  const bool bright = !vertex && (g_drawState.brightWord & 0xFFFFFF) != 0xFFFFFF;
  const uint8_t brightByte[3] = {g_drawState.brightBlue, g_drawState.brightGreen,
                                 g_drawState.brightRed};
  int mode = g_drawState.blendMode;
  const int p = g_drawState.blendParam;
  if (mode < 0 || mode > 4) return;
  if (!vertex) {
    if (mode == 1 && p == 255) mode = 0;
    else if ((mode == 1 || mode == 2) && p == 0) return;
    else if (mode == 3 && p == 0 && !palette) return;
  }
  const int pixelBytes = l.wide ? 4 : 2;
  const int texelBytes = palette ? 1 : (l.wide || alphaTex ? 4 : 2);

  for (int32_t r = 0; r < f.rowCount; ++r) {
    const int32_t x0 = SpanTable[r].firstX;
    const int32_t n = SpanTable[r].count;
    if (n <= 0) continue;
    const int32_t y = f.firstRow + r;
    auto at = [&](const RasterPlane& pl, int32_t i) {
      const int64_t v = static_cast<int64_t>(pl.r) + static_cast<int64_t>(r) * pl.b +
                        static_cast<int64_t>(x0 + i) * pl.a + pl.a / 2;
      return Wrap32(v);
    };
    if (at(f.rhw, 0) == 0) continue;
    for (int32_t i = 0; i < n; ++i) {
      const int32_t x = x0 + i;
      const int32_t rhw = at(f.rhw, i);
      uint8_t* dp = target->pixels + static_cast<intptr_t>(y) * target->pitch + x * pixelBytes;
      if (depthBuffer) {
        uint8_t* zp = depthBuffer->pixels + static_cast<intptr_t>(y) * depthBuffer->pitch + 2 * x;
        const uint32_t z16 = static_cast<uint32_t>(at(f.depth, i) >> 8) & 0xFFFF;
        uint16_t stored;
        std::memcpy(&stored, zp, 2);
        if (stored < z16) continue;
        if (depthWrite) {
          const uint16_t z = static_cast<uint16_t>(z16);
          std::memcpy(zp, &z, 2);
        }
      }
      if (rhw == 0) continue;
      const int32_t q = 0x20000000 / rhw;
      const uint32_t w = static_cast<uint32_t>(texture->width);
      const uint32_t h = static_cast<uint32_t>(texture->height);
      const uint32_t tx = (static_cast<uint32_t>(at(f.uRhw, i) >> 10) * static_cast<uint32_t>(q) * w) >> 19;
      const uint32_t ty = (static_cast<uint32_t>(at(f.vRhw, i) >> 10) * static_cast<uint32_t>(q) * h) >> 19;
      if (tx >= w || ty >= h) continue;
      const uint8_t* tp = texture->pixels + static_cast<intptr_t>(ty) * texture->pitch + tx * texelBytes;

      uint32_t src;
      uint32_t a = 0;
      if (palette) {
        if (transparent && *tp == texture->transparentColor) continue;
        src = ReadPixel(texture->palette + *tp * pixelBytes, l.wide);
      } else {
        src = ReadPixel(tp, l.wide);
        if (alphaTex) a = l.wide ? src >> 24 : tp[2];
        else if (transparent && src == texture->transparentColor) continue;
      }
      bool useAlpha = alphaTex;
      if (alphaTex && transparent) {
        if (a == 0 && mode != 4) continue;
        if (a == 255) useAlpha = false;
      }
      const bool graph = blendGraph != nullptr;
      const int64_t g =
          graph ? BlendGraphWeightTable[blendGraph->pixels[static_cast<intptr_t>(ty) * blendGraph->pitch + tx]] : 0;
      int64_t vc[3] = {0, 0, 0}, va = 0;
      if (vertex) {
        vc[0] = at(f.blue, i) / 16384;
        vc[1] = at(f.green, i) / 16384;
        vc[2] = at(f.red, i) / 16384;
        va = at(f.alpha, i) / 16384;
      }
      const uint32_t d = ReadPixel(dp, l.wide);
      int64_t t[3];
      for (int c = 0; c < 3; ++c) t[c] = Get(src, l, c);
      auto brightOf = [&](int c, int64_t v) {
        return bright ? static_cast<int64_t>(v * brightByte[c] / 255) : v;
      };

      if (mode == 0 || mode == 1) {
        // Modulated source. A vertex colour is not clamped: a 32-bit channel
        // takes part in the mix as it is, a 16-bit word is packed (fields
        // spilling into their neighbours) and its fields are read back.
        int64_t S[3];
        for (int c = 0; c < 3; ++c) S[c] = vertex ? FloorShift(t[c] * vc[c], 8) : brightOf(c, t[c]);
        uint32_t sWord = 0;
        if (l.wide) {
          for (int c = 0; c < 3; ++c) sWord |= (static_cast<uint32_t>(S[c]) & 0xFF) << l.shift[c];
        } else {
          for (int c = 0; c < 3; ++c) sWord |= static_cast<uint32_t>(S[c]) << l.shift[c];
          sWord &= 0xFFFF;
        }
        if (mode == 0 && !graph && !useAlpha) {
          if (!vertex && !bright) WritePixel(dp, l.wide, src);
          else WritePixel(dp, l.wide, l.wide ? (d & 0xFF000000u) | sWord : sWord);
          continue;
        }
        uint32_t out = l.wide ? d & 0xFF000000u : 0;
        for (int c = 0; c < 3; ++c) {
          const int64_t dc = Get(d, l, c);
          const int64_t sc = l.wide ? S[c] : Get(sWord, l, c);
          int64_t nv;
          if (mode == 0) {
            if (graph && useAlpha) nv = FloorShift(dc * 65536 + (sc - dc) * g * a, 16);
            else if (graph) nv = FloorShift(dc * 256 + (sc - dc) * g, 8);
            else nv = FloorShift(dc * 256 + (sc - dc) * a, 8);
          } else {
            const int64_t F = vertex ? va : p;
            if (graph && useAlpha) nv = FloorShift(dc * (1ll << 24) + (sc - dc) * g * a * F, 24);
            else if (graph) nv = FloorShift(dc * 65536 + (sc - dc) * g * F, 16);
            else if (useAlpha) nv = FloorShift(dc * 65536 + (sc - dc) * a * F, 16);
            else if (!vertex && !l.wide) nv = dc + (sc - dc) * p / 255;  // table form
            else nv = FloorShift(dc * 256 + (sc - dc) * F, 8);
          }
          out |= (static_cast<uint32_t>(nv) & ((1u << l.bits[c]) - 1)) << l.shift[c];
        }
        WritePixel(dp, l.wide, out);
        continue;
      }

      if (mode == 2 || mode == 3) {
        int64_t k[3];
        for (int c = 0; c < 3; ++c) {
          if (vertex) {
            const int64_t sc = t[c] * vc[c];
            int64_t prod;
            int shift;
            if (graph && useAlpha) { prod = FloorShift(sc, 8) * va * a * g; shift = 24; }
            else if (graph) { prod = sc * va * g; shift = 24; }
            else if (useAlpha) { prod = sc * va * a; shift = 24; }
            else { prod = sc * va; shift = 16; }
            k[c] = FloorShift(Wrap32(prod), shift);
            if (l.wide) k[c] &= 0xFF;
          } else if (l.wide) {
            const int64_t v = brightOf(c, t[c]);
            if (graph && useAlpha) k[c] = (v * a * g * p) >> 24;
            else if (graph) k[c] = (v * g * p) >> 16;
            else if (useAlpha) k[c] = (v * a * p) >> 16;
            else k[c] = v * p / 255;
          } else {
            const int64_t v = brightOf(c, t[c]);
            int64_t index;
            if (graph && useAlpha) index = (v * a * g) >> 16;
            else if (graph) index = (v * g) >> 8;
            else if (useAlpha) index = brightOf(c, (t[c] * a) >> 8);
            else index = v;
            k[c] = index * p / 255;
          }
        }
        uint32_t kWord;
        if (l.wide) {
          kWord = static_cast<uint32_t>(k[0] | (k[1] << 8) | (k[2] << 16));
        } else if (vertex && mode == 2) {
          kWord = static_cast<uint32_t>(((k[2] << 11) & 0xF800) + ((k[1] << 5) & 0xFFE0) + k[0]) & 0xFFFF;
        } else if (vertex) {
          kWord = static_cast<uint32_t>(((k[2] & 31) << 11) + ((k[1] & 0x7FF) << 5) + k[0]) & 0xFFFF;
        } else {
          kWord = static_cast<uint32_t>((k[2] << 11) + (k[1] << 5) + k[0]);
        }
        WritePixel(dp, l.wide, mode == 2 ? AddChannels(d, kWord, l) : SubChannels(d, kWord, l));
        continue;
      }

      // Mode 4: multiply.
      uint32_t out = l.wide ? d & 0xFF000000u : 0;
      for (int c = 0; c < 3; ++c) {
        const int64_t dc = Get(d, l, c);
        const int nb = l.bits[c];
        int64_t prod;
        int shift;
        if (vertex) {
          const int64_t tc = t[c] * vc[c];
          if (graph && useAlpha) { prod = FloorShift(tc, 8) * g * a * dc; shift = nb + 16; }
          else if (graph) { prod = tc * g * dc; shift = nb + 16; }
          else if (useAlpha) { prod = tc * a * dc; shift = nb + 16; }
          else { prod = tc * dc; shift = nb + 8; }
        } else {
          const int64_t b = brightOf(c, t[c]);
          if (graph && useAlpha) { prod = b * g * a * dc; shift = nb + 16; }
          else if (graph) { prod = b * g * dc; shift = nb + 8; }
          else if (useAlpha) { prod = b * a * dc; shift = nb + 8; }
          else { prod = b * dc; shift = nb; }
        }
        // An arithmetic shift of the wrapped 32-bit product: a 16-bit blue
        // field is not masked, so its sign reaches the word.
        uint32_t v = static_cast<uint32_t>(Wrap32(prod) >> shift);
        if (l.wide || c != 0) v &= (1u << nb) - 1;
        out |= v << l.shift[c];
      }
      WritePixel(dp, l.wide, out & (l.wide ? 0xFFFFFFFFu : 0xFFFFu));
    }
  }
}
