// Every kernel variant of the unscaled, scaled and rotated drivers against
// the reference model, on random small images inside a canary border.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "images.h"
#include "softrender/softrender.h"

namespace {

using srtest::Image;

struct Case {
  uint32_t kind;
  bool palette;
  bool alpha;
  int mode;
  int param;
  bool graph;
  bool bright;
  bool trans;
  int mmx;
};

// Source with a small set of values so that the colour key is hit often.
void FillSource(std::mt19937& rng, Image& src, const Case& c) {
  srtest::RandomBytes(rng, src.m.pixels, src.Bytes());
  const uint32_t key = c.palette ? 3u : (c.kind == 1 ? 0xFF00FF00u : 0xF81Fu);
  src.m.transparentColor = key;
  for (int y = 0; y < src.m.height; ++y) {
    for (int x = 0; x < src.m.width; ++x) {
      const uint32_t pick = rng() % 4;
      if (c.palette) {
        if (pick == 0) *src.At(x, y) = static_cast<uint8_t>(key);
        continue;
      }
      if (pick == 0) {
        if (c.kind == 1) src.Set32(x, y, key);
        else src.Set16(x, y, key);
      }
      if (c.alpha) {
        const uint8_t alphaPick = static_cast<uint8_t>(rng() % 4);
        uint8_t* a = src.At(x, y) + (c.kind == 1 ? 3 : 2);
        if (alphaPick == 0) *a = 0;
        if (alphaPick == 1) *a = 255;
      }
    }
  }
  if (c.palette) {
    // Entry count below 256: indices past it read as 0.
    src.m.paletteCount = 200;
    srtest::RandomBytes(rng, src.m.palette, 1024);
  }
}

ref::Settings SettingsFor(std::mt19937& rng, const Case& c, int w, int h) {
  ref::Settings s;
  s.mode = c.mode;
  s.param = c.param;
  if (c.bright) {
    const uint32_t b = rng(), g = rng(), r = rng();
    s.brightB = static_cast<int>(b % 256);
    s.brightG = static_cast<int>(g % 256);
    s.brightR = static_cast<int>(r % 200);
  }
  const uint32_t border = rng(), range = rng();
  s.border = static_cast<int>(border % 256);
  s.range = static_cast<int>(range % 256);
  s.mmx = c.mmx;
  // Draw area inside the target: the frame around it is the canary.
  s.areaX1 = 3;
  s.areaY1 = 2;
  s.areaX2 = w - 4;
  s.areaY2 = h - 3;
  return s;
}

template <class DrawFast, class DrawRef>
void RunAll(const char* name, DrawFast drawFast, DrawRef drawRef) {
  std::mt19937 rng(1234);
  int cases = 0;
  for (uint32_t kind : {0u, 1u})
    for (int srcType = 0; srcType < 3; ++srcType)
      for (int mode = 0; mode <= 5; ++mode)
        for (int param : {0, 1, 128, 255, 77})
          for (int flags = 0; flags < 16; ++flags) {
            Case c{kind, srcType == 1, srcType == 2, mode, param,
                   (flags & 1) != 0, (flags & 2) != 0, (flags & 4) != 0, (flags >> 3) & 1};
            Image src(7, 5, kind, c.palette, c.alpha);
            FillSource(rng, src, c);
            Image graph(9, 6, ColorKind8);
            srtest::RandomBytes(rng, graph.m.pixels, graph.Bytes());
            Image fast(26, 21, kind), slow(26, 21, kind);
            srtest::RandomBytes(rng, fast.m.pixels, fast.Bytes());
            slow.Restore(fast.Snapshot());
            const ref::Settings s = SettingsFor(rng, c, 26, 21);
            srtest::Apply(s);
            const uint32_t geometry = rng();
            drawFast(geometry, fast.m, src.m, c.trans, c.graph ? &graph.m : nullptr);
            drawRef(geometry, s, slow.m, src.m, c.trans, c.graph ? &graph.m : nullptr);
            ASSERT_EQ(fast.Snapshot(), slow.Snapshot())
                << name << " kind " << kind << " srcType " << srcType << " mode " << mode
                << " p " << param << " flags " << flags << " geometry " << geometry;
            ++cases;
          }
  EXPECT_EQ(cases, 2 * 3 * 6 * 5 * 16);
}

// Positions and rectangles that cross every edge of the draw area.
void Position(uint32_t g, int* x, int* y) {
  *x = static_cast<int>(g % 30) - 6;
  *y = static_cast<int>((g >> 8) % 24) - 5;
}

TEST(KernelVariants, UnscaledMatchesReference) {
  RunAll(
      "unscaled",
      [](uint32_t g, MEMIMG& t, MEMIMG& s, bool trans, MEMIMG* graph) {
        int x, y;
        Position(g, &x, &y);
        MemImgBlit(&t, &s, x, y, trans, graph);
      },
      [](uint32_t g, const ref::Settings& st, MEMIMG& t, MEMIMG& s, bool trans, MEMIMG* graph) {
        int x, y;
        Position(g, &x, &y);
        ref::Blit(st, t, s, x, y, trans, graph);
      });
}

void Rect(uint32_t g, IntRect* r) {
  Position(g, &r->x1, &r->y1);
  const int w = static_cast<int>((g >> 16) % 23) + 1, h = static_cast<int>((g >> 24) % 17) + 1;
  r->x2 = r->x1 + w;
  r->y2 = r->y1 + h;
  if (g & 0x80) std::swap(r->x1, r->x2);
  if (g & 0x8000) std::swap(r->y1, r->y2);
}

TEST(KernelVariants, ScaledMatchesReference) {
  RunAll(
      "scaled",
      [](uint32_t g, MEMIMG& t, MEMIMG& s, bool trans, MEMIMG* graph) {
        IntRect r;
        Rect(g, &r);
        MemImgScaledBlit(&t, &s, &r, trans, graph);
      },
      [](uint32_t g, const ref::Settings& st, MEMIMG& t, MEMIMG& s, bool trans, MEMIMG* graph) {
        IntRect r;
        Rect(g, &r);
        ref::ScaledBlit(st, t, s, r.x1, r.y1, r.x2, r.y2, trans, graph);
      });
}

void Turn(uint32_t g, int* x, int* y, float* angle, float* scale) {
  Position(g, x, y);
  *angle = static_cast<float>((g >> 16) % 64) * 0.1f - 3.2f;
  const float scales[8] = {1.0f, 2.0f, 0.5f, -1.0f, 1.7f, -0.6f, 3.0f, 0.3f};
  *scale = scales[(g >> 28) % 8];
}

TEST(KernelVariants, RotatedMatchesReference) {
  RunAll(
      "rotated",
      [](uint32_t g, MEMIMG& t, MEMIMG& s, bool trans, MEMIMG* graph) {
        int x, y;
        float a, sc;
        Turn(g, &x, &y, &a, &sc);
        MemImgRotatedBlit(&t, &s, x, y, a, sc, trans, 0, graph);
      },
      [](uint32_t g, const ref::Settings& st, MEMIMG& t, MEMIMG& s, bool trans, MEMIMG* graph) {
        int x, y;
        float a, sc;
        Turn(g, &x, &y, &a, &sc);
        ref::RotatedBlit(st, t, s, x, y, a, sc, trans, graph);
      });
}

// Unturned at scale 1 the rotated blit takes the unscaled loops: angles whose
// sine and cosine come out as exactly 0 and 1 in 14.18, at positions across
// every edge; the rotated rules (no raw-source subtract at p 255) still hold.
TEST(KernelVariants, UnturnedRotatedMatchesReference) {
  const float angles[] = {0.0f, -0.0f, 1e-7f, -2e-6f, 6.2831855f};
  auto place = [&](uint32_t g, int* x, int* y, float* a) {
    Position(g, x, y);
    *a = angles[(g >> 16) % 5];
  };
  RunAll(
      "unturned",
      [&](uint32_t g, MEMIMG& t, MEMIMG& s, bool trans, MEMIMG* graph) {
        int x, y;
        float a;
        place(g, &x, &y, &a);
        MemImgRotatedBlit(&t, &s, x, y, a, 1.0f, trans, 0, graph);
      },
      [&](uint32_t g, const ref::Settings& st, MEMIMG& t, MEMIMG& s, bool trans, MEMIMG* graph) {
        int x, y;
        float a;
        place(g, &x, &y, &a);
        ref::RotatedBlit(st, t, s, x, y, a, 1.0f, trans, graph);
      });
}

// A source that is a view of the target itself is drawn pixel by pixel in
// order, as the model does, even where several pixels could go at once: views
// shifted each way under the draw, unturned and turned.
TEST(KernelVariants, SourceSharingTheTargetMatchesReference) {
  struct Row {
    uint32_t kind;
    int viewX, viewY;  // the source: a 9 x 6 view of the target at this corner
    int x, y;          // unscaled: top-left; rotated: centre
    bool rotated;
    float angle;
  };
  const Row rows[] = {
      {1, 2, 3, 1, 3, false, 0.0f}, {1, 2, 3, 3, 3, false, 0.0f}, {0, 2, 3, 1, 4, false, 0.0f},
      {0, 2, 3, 3, 2, false, 0.0f}, {1, 4, 4, 8, 7, true, 0.0f},  {1, 4, 4, 9, 8, true, 0.4f},
      {0, 4, 4, 8, 7, true, 0.0f},  {0, 4, 4, 7, 6, true, -0.3f},
  };
  std::mt19937 rng(77);
  for (const Row& r : rows) {
    Image fast(26, 21, r.kind), slow(26, 21, r.kind);
    srtest::RandomBytes(rng, fast.m.pixels, fast.Bytes());
    slow.Restore(fast.Snapshot());
    MEMIMG fastView, slowView;
    MakeMemImgView(&fastView, &fast.m, r.viewX, r.viewY, 9, 6);
    MakeMemImgView(&slowView, &slow.m, r.viewX, r.viewY, 9, 6);
    ref::Settings st = srtest::Plain(26, 21);
    st.mode = 1;
    st.param = 128;
    srtest::Apply(st);
    if (r.rotated) {
      MemImgRotatedBlit(&fast.m, &fastView, r.x, r.y, r.angle, 1.0f, 0, 0, nullptr);
      ref::RotatedBlit(st, slow.m, slowView, r.x, r.y, r.angle, 1.0f, false, nullptr);
    } else {
      MemImgBlit(&fast.m, &fastView, r.x, r.y, 0, nullptr);
      ref::Blit(st, slow.m, slowView, r.x, r.y, false, nullptr);
    }
    ASSERT_EQ(fast.Snapshot(), slow.Snapshot()) << "kind " << r.kind << " at " << r.x << "," << r.y;
  }
}

// Something was drawn at all: the comparisons above are not vacuous.
TEST(KernelVariants, RandomCasesDrawPixels) {
  Image src(7, 5, ColorKind32);
  src.Fill(0x00123456);
  Image t(26, 21, ColorKind32);
  srtest::Apply(srtest::Plain(26, 21));
  MemImgRotatedBlit(&t.m, &src.m, 10, 10, 0.7f, 1.5f, 0, 0, nullptr);
  int drawn = 0;
  for (int y = 0; y < 21; ++y)
    for (int x = 0; x < 26; ++x) drawn += t.Px32(x, y) == 0x00123456;
  EXPECT_GT(drawn, 40);
}

}  // namespace
