// Reference model: every rule as a branch, every product in 64 bits.
#include "softrender/reference.h"

#include <cmath>
#include <cstring>

namespace ref {
namespace {

int64_t Floor255(int64_t v) { return v / 255; }  // v >= 0 here

// Channel list of a pixel: {blue, green, red} with their widths.
struct Chan {
  int64_t v[3];
};
const int kW32[3] = {8, 8, 8};
const int kW16[3] = {5, 6, 5};

Chan Split(uint32_t kind, uint32_t px) {
  Chan c;
  if (kind == 1) {
    c.v[0] = px & 0xFF;
    c.v[1] = (px >> 8) & 0xFF;
    c.v[2] = (px >> 16) & 0xFF;
  } else {
    c.v[0] = px & 31;
    c.v[1] = (px >> 5) & 63;
    c.v[2] = (px >> 11) & 31;
  }
  return c;
}

uint32_t Join(uint32_t kind, const Chan& c) {
  if (kind == 1)
    return static_cast<uint32_t>(c.v[0] | (c.v[1] << 8) | (c.v[2] << 16));
  return static_cast<uint32_t>(c.v[0] | (c.v[1] << 5) | (c.v[2] << 11));
}

uint32_t ReadPx(uint32_t kind, const uint8_t* p) {
  if (kind == 1) return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
  return p[0] | (p[1] << 8);
}
void WritePx(uint32_t kind, uint8_t* p, uint32_t v) {
  p[0] = v & 0xFF;
  p[1] = (v >> 8) & 0xFF;
  if (kind == 1) {
    p[2] = (v >> 16) & 0xFF;
    p[3] = (v >> 24) & 0xFF;
  }
}

// Saturating add per the written rules, 32 or 16 bit, on whole pixels.
uint32_t AddPacked(uint32_t kind, uint32_t d, uint32_t s) {
  if (kind == 1) {
    uint32_t A = d & 0x00FEFEFF, B = s & 0x00FEFEFF;
    uint32_t T = A + B;
    uint32_t K = T & 0x01010100;
    return (K - (K >> 8)) | ((d | s) & 0x00010100) | T;
  }
  uint32_t A = d & 0xF7DF, B = s & 0xF7DF;
  uint32_t T = A + B;
  uint32_t K = T & 0x10820;
  return ((K - (K >> 5)) | ((d | s) & 0x0820) | T) & 0xFFFF;
}
uint32_t SubPacked(uint32_t kind, uint32_t d, uint32_t s) {
  if (kind == 1) {
    uint32_t D = d | 0x01010100;
    uint32_t T = D - (s & 0xFEFEFEFF);
    uint32_t K = T & 0x01010100;
    return (K - (K >> 8)) & T;
  }
  uint32_t D = d | 0x10820;
  uint32_t T = D - (s & 0xF7DF);
  uint32_t K = T & 0x10820;
  return ((K - (K >> 5)) & T) & 0xFFFF;
}

bool BrightOn(const Settings& s) { return !(s.brightB == 255 && s.brightG == 255 && s.brightR == 255); }

int EffectiveMode(const Settings& s) {
  if (s.mode == 1 && s.param == 255) return 0;
  return s.mode;
}

}  // namespace

int Weight(const Settings& s, int b) {
  int64_t v = (static_cast<int64_t>(b) * 256) / (s.range + 1) + 256 -
              (((65536 / (s.range + 1)) + 256) * static_cast<int64_t>(s.border) >> 8);
  if (v < 0) v = 0;
  if (v > 255) v = 255;
  return static_cast<int>(v);
}

bool CallDraws(const Settings& s, const MEMIMG& source) {
  if (source.colorKind != 0 && source.colorKind != 1) return false;
  if (s.mode < 0 || s.mode > 4) return false;
  if (s.mode == 1 && s.param == 0) return false;
  if (s.mode == 2 && s.param == 0) return false;
  if (s.mode == 3 && s.param == 0 && !source.paletteFlag) return false;
  return true;
}

void Pixel(const Settings& st, const MEMIMG& source, bool transparency, bool fullSubtractAllowed,
           const uint8_t* src, const uint8_t* graphByte, uint8_t* dst) {
  const uint32_t kind = source.colorKind;
  const bool palette = source.paletteFlag != 0;
  const bool hasAlpha = !palette && source.alphaFlag != 0;
  const int mode = EffectiveMode(st);
  const int64_t p = st.param;
  const bool bright = BrightOn(st);
  const bool graph = graphByte != nullptr;

  // Source value.
  uint32_t sv;
  int64_t a = 0;
  bool alphaFactor = false;
  if (palette) {
    const uint32_t index = src[0];
    if (transparency && index == source.transparentColor) return;
    const uint32_t count = source.paletteCount > 256 ? 256 : source.paletteCount;
    if (index >= count) {
      sv = 0;
    } else if (kind == 1) {
      const uint8_t* e = source.palette + 4 * index;
      sv = e[0] | (e[1] << 8) | (e[2] << 16) | (static_cast<uint32_t>(e[3]) << 24);
    } else {
      const uint8_t* e = source.palette + 2 * index;
      sv = e[0] | (e[1] << 8);
    }
  } else {
    sv = ReadPx(kind, src);
    if (hasAlpha) {
      a = kind == 1 ? src[3] : src[2];
      if (transparency) {
        if (a == 0) return;
        alphaFactor = a != 255;
      } else {
        alphaFactor = true;
      }
    } else if (transparency && sv == source.transparentColor) {
      return;
    }
  }
  const int64_t w = graph ? Weight(st, *graphByte) : 1;

  const uint32_t dv = ReadPx(kind, dst);
  const bool fullSub = fullSubtractAllowed && mode == 3 && p == 255 && !graph && !bright && !hasAlpha;
  if (fullSub) {
    if (kind == 1 && st.mmx) {
      uint32_t out = 0;
      for (int i = 0; i < 4; ++i) {
        int64_t db = (dv >> (8 * i)) & 0xFF, sb = (sv >> (8 * i)) & 0xFF;
        out |= static_cast<uint32_t>(db > sb ? db - sb : 0) << (8 * i);
      }
      WritePx(kind, dst, out);
    } else {
      WritePx(kind, dst, SubPacked(kind, dv, sv));
    }
    return;
  }

  Chan sc = Split(kind, sv);
  const Chan raw = sc;
  const Chan dc = Split(kind, dv);
  const int brightByte[3] = {st.brightB, st.brightG, st.brightR};
  if (bright) {
    for (int c = 0; c < 3; ++c) sc.v[c] = Floor255(sc.v[c] * brightByte[c]);
  }
  // Factors.
  int64_t P = 1;
  int n = 0;
  if (graph) {
    P *= w;
    n += 8;
  }
  if (alphaFactor) {
    P *= a;
    n += 8;
  }
  const int64_t Q = P;
  const int m = n;
  if (mode >= 1 && mode <= 3) {
    P *= p;
    n += 8;
  }
  const uint32_t keep = kind == 1 ? (dv & 0xFF000000u) : 0u;
  Chan out;
  switch (mode) {
    case 0:
      if (n == 0) {
        if (!bright) {
          WritePx(kind, dst, sv);
        } else {
          WritePx(kind, dst, keep | Join(kind, sc));
        }
        return;
      }
      for (int c = 0; c < 3; ++c) out.v[c] = ((dc.v[c] << n) + (sc.v[c] - dc.v[c]) * P) >> n;
      WritePx(kind, dst, keep | Join(kind, out));
      return;
    case 1:
      if (!graph && !alphaFactor) {
        for (int c = 0; c < 3; ++c) {
          if (kind == 1) {
            out.v[c] = ((dc.v[c] << 8) + (sc.v[c] - dc.v[c]) * p) >> 8;
          } else {
            const int64_t diff = sc.v[c] - dc.v[c];
            out.v[c] = dc.v[c] + diff * p / 255;  // C++ division truncates toward zero
          }
        }
      } else {
        for (int c = 0; c < 3; ++c) out.v[c] = ((dc.v[c] << n) + (sc.v[c] - dc.v[c]) * P) >> n;
      }
      WritePx(kind, dst, keep | Join(kind, out));
      return;
    case 2:
    case 3: {
      for (int c = 0; c < 3; ++c) {
        if (kind == 1) {
          out.v[c] = (m == 0) ? Floor255(sc.v[c] * p) : (sc.v[c] * P) >> n;
        } else {
          const int64_t base = (m == 0) ? sc.v[c] : (sc.v[c] * Q) >> m;
          out.v[c] = Floor255(base * p);
        }
      }
      (void)raw;
      const uint32_t sp = Join(kind, out);
      WritePx(kind, dst, mode == 2 ? AddPacked(kind, dv, sp) : SubPacked(kind, dv, sp));
      return;
    }
    case 4:
      for (int c = 0; c < 3; ++c) {
        const int width = kind == 1 ? 8 : kW16[c];
        out.v[c] = (dc.v[c] * sc.v[c] * Q) >> (width + m);
      }
      (void)kW32;
      WritePx(kind, dst, keep | Join(kind, out));
      return;
    default:
      return;
  }
}

namespace {

int SrcBytes(const MEMIMG& m) {
  if (m.paletteFlag) return 1;
  if (m.colorKind == 0) return m.alphaFlag ? 4 : 2;
  return 4;
}
int DstBytes(const MEMIMG& m) { return m.colorKind == 1 ? 4 : 2; }

bool Drawable(const MEMIMG& t, const MEMIMG& s) {
  return t.colorKind == s.colorKind && !t.paletteFlag && !t.alphaFlag;
}

void Area(const Settings& st, const MEMIMG& t, int64_t* L, int64_t* T, int64_t* R, int64_t* B) {
  *L = st.areaX1 < 0 ? 0 : st.areaX1;
  *T = st.areaY1 < 0 ? 0 : st.areaY1;
  *R = st.areaX2 > t.width ? t.width : st.areaX2;
  *B = st.areaY2 > t.height ? t.height : st.areaY2;
}

}  // namespace

void Blit(const Settings& st, MEMIMG& target, const MEMIMG& source, int x, int y, bool trans,
          const MEMIMG* graph) {
  if (!Drawable(target, source) || !CallDraws(st, source)) return;
  int64_t L, T, R, B;
  Area(st, target, &L, &T, &R, &B);
  const int64_t y0 = y > T ? y : T, y1 = y + source.height < B ? y + source.height : B;
  const int64_t x0 = x > L ? x : L, x1 = x + source.width < R ? x + source.width : R;
  for (int64_t ty = y0; ty < y1; ++ty) {
    for (int64_t tx = x0; tx < x1; ++tx) {
      const int64_t sx = tx - x, sy = ty - y;
      if (sx < 0 || sy < 0 || sx >= source.width || sy >= source.height) continue;
      const uint8_t* sp = source.pixels + sy * source.pitch + sx * SrcBytes(source);
      const uint8_t* gp = graph ? graph->pixels + sy * graph->pitch + sx : nullptr;
      Pixel(st, source, trans, true, sp, gp, target.pixels + ty * target.pitch + tx * DstBytes(target));
    }
  }
}

void ScaledBlit(const Settings& st, MEMIMG& target, const MEMIMG& source, int x1, int y1, int x2,
                int y2, bool trans, const MEMIMG* graph) {
  const int64_t left = x1 < x2 ? x1 : x2, right = x1 < x2 ? x2 : x1;
  const int64_t top = y1 < y2 ? y1 : y2, bottom = y1 < y2 ? y2 : y1;
  const bool mx = x1 > x2, my = y1 > y2;
  const int64_t dw = right - left, dh = bottom - top;
  if (dw == 0 || dh == 0) return;
  if (dw == source.width && dh == source.height && !mx && !my) {
    Blit(st, target, source, static_cast<int>(left), static_cast<int>(top), trans, graph);
    return;
  }
  if (!Drawable(target, source) || !CallDraws(st, source)) return;
  const int64_t stepX = (dw << 16) / source.width, stepY = (dh << 16) / source.height;
  int64_t L, T, R, B;
  Area(st, target, &L, &T, &R, &B);
  const int64_t cl = left < L ? L : (left > R ? R : left);
  const int64_t cr = right < L ? L : (right > R ? R : right);
  const int64_t ct = top < T ? T : (top > B ? B : top);
  const int64_t cb = bottom < T ? T : (bottom > B ? B : bottom);
  if (cr <= cl || cb <= ct) return;
  // Copy variants (and the raw-source subtract) keep a sample that lands on 0.
  const bool bright = BrightOn(st);
  const int mode = EffectiveMode(st);
  const bool alpha = !source.paletteFlag && source.alphaFlag;
  const bool tie = (mode == 0 && !graph && !bright && !alpha) ||
                   (mode == 3 && st.param == 255 && !graph && !bright && !alpha);
  // Source index sequence for one axis, from the clipped start.
  auto walk = [&](int64_t offset, int64_t step, int64_t count, std::vector<int64_t>* out) {
    const int64_t skip = (offset << 16) / step, rem = (offset << 16) % step;
    int64_t acc = step - rem, index = skip;
    for (int64_t i = 0; i < count; ++i) {
      out->push_back(index);
      acc -= 65536;
      if (acc > 0) continue;
      do {
        acc += step;
        ++index;
      } while (tie ? acc < 0 : acc <= 0);
    }
  };
  std::vector<int64_t> cols, rows;
  walk(cl - left, stepX, cr - cl, &cols);
  walk(ct - top, stepY, cb - ct, &rows);
  for (int64_t j = 0; j < cb - ct; ++j) {
    const int64_t sy = my ? source.height - 1 - rows[j] : rows[j];
    for (int64_t i = 0; i < cr - cl; ++i) {
      const int64_t sx = mx ? source.width - 1 - cols[i] : cols[i];
      const uint8_t* sp = source.pixels + sy * source.pitch + sx * SrcBytes(source);
      const uint8_t* gp = graph ? graph->pixels + sy * graph->pitch + sx : nullptr;
      Pixel(st, source, trans, true, sp, gp,
            target.pixels + (ct + j) * target.pitch + (cl + i) * DstBytes(target));
    }
  }
}

void RotatedBlit(const Settings& st, MEMIMG& target, const MEMIMG& source, int cx, int cy,
                 float angle, float scale, bool trans, const MEMIMG* graph) {
  if (!Drawable(target, source) || !CallDraws(st, source)) return;
  auto fixed = [](float f) { return static_cast<int64_t>(std::trunc(static_cast<double>(f) * 262144.0)); };
  const int64_t sinN = fixed(std::sin(-angle)), cosN = fixed(std::cos(-angle));
  const int64_t sinA = fixed(std::sin(angle)), cosA = fixed(std::cos(angle));
  const float hw = static_cast<float>(source.width) * scale * 0.5f;
  const float hh = static_cast<float>(source.height) * scale * 0.5f;
  const float A = hw * static_cast<float>(cosA), Bv = hw * static_cast<float>(sinA);
  const float D = hh * static_cast<float>(cosA), E = hh * static_cast<float>(sinA);
  const float xs[4] = {E - A, -A - E, A - E, A + E};
  const float ys[4] = {-D - Bv, D - Bv, D + Bv, Bv - D};
  auto whole = [](int64_t v) { return v < 0 ? -((-v) >> 18) : v >> 18; };
  int64_t minX = INT64_MAX, maxX = INT64_MIN, minY = INT64_MAX, maxY = INT64_MIN;
  for (int i = 0; i < 4; ++i) {
    const int64_t x = static_cast<int64_t>(cx) * 262144 + static_cast<int64_t>(std::trunc(xs[i]));
    const int64_t y = static_cast<int64_t>(cy) * 262144 + static_cast<int64_t>(std::trunc(ys[i]));
    minX = x < minX ? x : minX;
    maxX = x > maxX ? x : maxX;
    minY = y < minY ? y : minY;
    maxY = y > maxY ? y : maxY;
  }
  int64_t bx1 = whole(minX) - 2, by1 = whole(minY) - 2, bx2 = whole(maxX) + 4, by2 = whole(maxY) + 4;
  int64_t L, T, R, B;
  Area(st, target, &L, &T, &R, &B);
  bx1 = bx1 < L ? L : (bx1 > R ? R : bx1);
  bx2 = bx2 < L ? L : (bx2 > R ? R : bx2);
  by1 = by1 < T ? T : (by1 > B ? B : by1);
  by2 = by2 < T ? T : (by2 > B ? B : by2);
  if (bx2 <= bx1 || by2 <= by1) return;
  auto div = [&](int64_t num) {
    return static_cast<int64_t>(std::trunc(static_cast<float>(static_cast<double>(num) / scale)));
  };
  const int64_t ox = bx1 - cx, oy = by1 - cy, oyEnd = by2 - cy;
  const int64_t half = (source.width / 2) * 262144LL, halfV = (source.height / 2) * 262144LL;
  const int64_t u0 = div(ox * cosN - oy * sinN) + half;
  const int64_t v0 = div(oy * cosN + ox * sinN) + halfV;
  const int64_t u1 = div(ox * cosN - oyEnd * sinN) + half;
  const int64_t v1 = div(oyEnd * cosN + ox * sinN) + halfV;
  const int64_t rows = by2 - by1;
  const int64_t du = (u1 - u0) / rows, dv = (v1 - v0) / rows;
  const int64_t su = div(cosA), sv = div(sinN);
  for (int64_t j = 0; j < rows; ++j) {
    for (int64_t i = 0; i < bx2 - bx1; ++i) {
      const int64_t u = u0 + i * su + j * du, v = v0 + i * sv + j * dv;
      if (u < 0 || v < 0 || u >= source.width * 262144LL || v >= source.height * 262144LL) continue;
      const int64_t sx = u >> 18, sy = v >> 18;
      const uint8_t* sp = source.pixels + sy * source.pitch + sx * SrcBytes(source);
      const uint8_t* gp = graph ? graph->pixels + sy * graph->pitch + sx : nullptr;
      Pixel(st, source, trans, false, sp, gp,
            target.pixels + (by1 + j) * target.pitch + (bx1 + i) * DstBytes(target));
    }
  }
}

bool PrimitivePixel(const Settings& st, uint32_t kind, uint32_t colour, uint8_t* dst) {
  if (kind != 0 && kind != 1) return false;
  if (st.mode < 0 || st.mode > 4) return false;
  if (st.mode >= 1 && st.mode <= 3 && st.param == 0) return false;
  if (kind == 0) colour &= 0xFFFF;
  Chan c = Split(kind, colour);
  if (BrightOn(st)) {
    const int bb[3] = {st.brightB, st.brightG, st.brightR};
    for (int i = 0; i < 3; ++i) c.v[i] = (c.v[i] * bb[i]) >> 8;
    colour = (kind == 1 ? (colour & 0xFF000000u) : 0u) | Join(kind, c);
  }
  const uint32_t d = ReadPx(kind, dst);
  const Chan dc = Split(kind, d);
  const int64_t p = st.param;
  const uint32_t keep = kind == 1 ? (d & 0xFF000000u) : 0u;
  Chan out;
  int mode = st.mode == 1 && p == 255 ? 0 : st.mode;
  switch (mode) {
    case 0:
      WritePx(kind, dst, colour);
      return true;
    case 1:
      for (int i = 0; i < 3; ++i) {
        if (kind == 1) out.v[i] = ((dc.v[i] << 8) + (c.v[i] - dc.v[i]) * p) >> 8;
        else out.v[i] = dc.v[i] + (c.v[i] - dc.v[i]) * p / 255;
      }
      WritePx(kind, dst, keep | Join(kind, out));
      return true;
    case 2:
    case 3:
      for (int i = 0; i < 3; ++i) out.v[i] = c.v[i] * p / 255;
      WritePx(kind, dst, mode == 2 ? AddPacked(kind, d, Join(kind, out))
                                   : SubPacked(kind, d, Join(kind, out)));
      return true;
    case 4:
      for (int i = 0; i < 3; ++i) out.v[i] = (dc.v[i] * c.v[i]) >> (kind == 1 ? 8 : kW16[i]);
      WritePx(kind, dst, keep | Join(kind, out));
      return true;
  }
  return false;
}

}  // namespace ref
