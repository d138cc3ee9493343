// Every span loop against the slow reference model: random triangles,
// textures, blend graphs, depth buffers and draw states on both target depths.
#include <random>

#include "raster/raster_reference.h"
#include "raster/raster_test_util.h"

namespace {

struct Rng {
  std::mt19937 gen;
  explicit Rng(uint32_t seed) : gen(seed) {}
  uint32_t Next() { return static_cast<uint32_t>(gen()); }
  int Int(int lo, int hi) { return lo + static_cast<int>(Next() % static_cast<uint32_t>(hi - lo + 1)); }
  float Real(float lo, float hi) {
    const float unit = static_cast<float>(Next() >> 8) / 16777216.0f;
    return lo + (hi - lo) * unit;
  }
  bool Chance(int percent) { return Int(0, 99) < percent; }
  uint8_t Weight() {  // 0 and 255 often, to reach every branch
    const int pick = Int(0, 3);
    return pick == 0 ? 0 : pick == 1 ? 255 : static_cast<uint8_t>(Next());
  }
};

void FillRandom(Image& image, Rng& rng) {
  for (int y = 0; y < image.m.height; ++y)
    for (int x = 0; x < image.m.pitch; ++x) image.Row(y)[x] = static_cast<uint8_t>(rng.Next());
}

struct Outcome {
  bool same;
  int drawn;  // draws that changed the target
};

// Runs count random draws; stops at the first mismatch.
Outcome RunRandomDraws(uint32_t seed, int count) {
  Rng rng(seed);
  int drawn = 0;
  for (int it = 0; it < count; ++it) {
    const uint32_t kind = rng.Chance(50) ? ColorKind32 : ColorKind16;
    const int w = 40, h = 32;
    ResetState(w, h);
    Image target(w, h, kind);
    FillRandom(target, rng);
    Image depth(w, h, ColorKind16);
    FillRandom(depth, rng);
    const bool useDepth = rng.Chance(50);
    if (useDepth && rng.Chance(50)) depth.Fill16(0xFFFF);

    // Texture: palette, direct, direct with alpha, or none (the white substitute).
    const int texKind = rng.Int(0, 3);
    const int tw = rng.Int(1, 24), th = rng.Int(1, 24);
    Image tex(tw, th, kind, texKind == 0 ? 1 : 0, texKind == 2 ? 1 : 0);
    FillRandom(tex, rng);
    if (texKind == 0) {
      for (int i = 0; i < 256 * 4; ++i) tex.m.palette[i] = static_cast<uint8_t>(rng.Next());
      tex.m.transparentColor = rng.Chance(80) ? tex.Row(0)[0] : 256 + rng.Int(0, 3);
    } else if (texKind == 2) {
      const int alphaByte = kind == ColorKind32 ? 3 : 2;
      for (int y = 0; y < th; ++y)
        for (int x = 0; x < tw; ++x) tex.Row(y)[4 * x + alphaByte] = rng.Weight();
    } else {
      uint32_t key = 0;
      std::memcpy(&key, tex.Row(0), kind == ColorKind32 ? 4 : 2);
      tex.m.transparentColor = rng.Chance(80) ? key : key | 0x10000;
    }
    Image white(8, 8, kind);
    std::memset(white.m.pixels, 0xFF, static_cast<size_t>(white.m.pitch) * 8);
    const MEMIMG* texture = texKind == 3 ? nullptr : &tex.m;
    const MEMIMG* modelTexture = texKind == 3 ? &white.m : &tex.m;

    const int graphW = modelTexture->width + rng.Int(0, 3);
    const int graphH = modelTexture->height + rng.Int(0, 3);
    Image graph(graphW, graphH, ColorKind8);
    FillRandom(graph, rng);
    const bool useGraph = rng.Chance(35);
    BuildBlendGraphWeightTable(rng.Int(0, 255), rng.Int(0, 255));

    const int mode = rng.Chance(3) ? 5 : rng.Int(0, 4);
    g_drawState.blendMode = mode;
    const int params[] = {0, 1, 128, 254, 255};
    g_drawState.blendParam = rng.Chance(60) ? params[rng.Int(0, 4)] : rng.Int(0, 255);
    g_drawState.brightWord = rng.Chance(50) ? 0xFFFFFFFFu : rng.Next();
    g_drawState.areaX1 = rng.Int(0, 10);
    g_drawState.areaY1 = rng.Int(0, 10);
    g_drawState.areaX2 = rng.Int(g_drawState.areaX1 + 1, w);
    g_drawState.areaY2 = rng.Int(g_drawState.areaY1 + 1, h);

    RasterVertex tri[3];
    for (auto& v : tri) {
      v.x = rng.Real(-8, 48);
      v.y = rng.Real(-8, 40);
      v.z = rng.Chance(90) ? rng.Real(0, 1) : rng.Real(-0.05f, 1.05f);
      v.rhw = rng.Real(0.25f, 4.0f);
      v.color = rng.Next();
      if (rng.Chance(30)) v.color |= 0xFF000000u;
      v.u = rng.Real(-0.1f, 1.1f);
      v.v = rng.Real(-0.1f, 1.1f);
    }
    if (rng.Chance(15)) {
      // A sliver: its planes are steep, so colours at the covered pixel
      // centres leave 0..255 and the loops meet unclamped values.
      const float t = rng.Real(0.2f, 0.8f);
      tri[2].x = tri[0].x + (tri[1].x - tri[0].x) * t + rng.Real(-1.5f, 1.5f);
      tri[2].y = tri[0].y + (tri[1].y - tri[0].y) * t + rng.Real(-1.5f, 1.5f);
    }
    const int transparent = rng.Chance(50) ? 1 : 0;
    const int vertexColour = rng.Chance(50) ? 1 : 0;
    const int depthWrite = rng.Chance(50) ? 1 : 0;
    const MEMIMG* blendGraph = useGraph ? &graph.m : nullptr;

    // The model draws into copies, from the set-up's frame and span table.
    Image modelTarget(w, h, kind);
    Image modelDepth(w, h, ColorKind16);
    std::memcpy(modelTarget.m.pixels, target.m.pixels, static_cast<size_t>(target.m.pitch) * h);
    std::memcpy(modelDepth.m.pixels, depth.m.pixels, static_cast<size_t>(depth.m.pitch) * h);
    IntRect area;
    RasterFrame frame;
    if (RasterDrawArea(&modelTarget, &area) &&
        RasterSetUp(&modelTarget, useDepth ? &modelDepth.m : nullptr, modelTexture, blendGraph,
                    tri, area, &frame)) {
      ReferenceSpans(frame, &modelTarget, useDepth ? &modelDepth.m : nullptr, modelTexture,
                     blendGraph, transparent, depthWrite, vertexColour);
    }
    const auto before = target.Bytes();
    MemImgRasterizeTriangle(&target, useDepth ? &depth.m : nullptr, texture, tri, transparent,
                            blendGraph, depthWrite, 0, vertexColour, 0);
    drawn += target.Bytes() != before;
    if (target.Bytes() != modelTarget.Bytes() || depth.Bytes() != modelDepth.Bytes()) {
      const auto a = target.Bytes(), b = modelTarget.Bytes();
      for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i]) {
          ADD_FAILURE() << "first difference at byte " << i << " (row " << i / target.m.pitch
                        << "): drawn " << int(a[i]) << ", model " << int(b[i]);
          break;
        }
      }
      ADD_FAILURE() << "iteration " << it << " kind " << kind << " mode " << mode << " tex "
                    << texKind << " graph " << useGraph << " vertex " << vertexColour
                    << " transparent " << transparent << " param " << g_drawState.blendParam
                    << " bright " << std::hex << g_drawState.brightWord;
      return Outcome{false, drawn};
    }
  }
  return Outcome{true, drawn};
}

}  // namespace

TEST(RasterReference, EveryLoopMatchesTheSlowModel) {
  for (uint32_t seed : {20261207u, 7u, 99u, 4242u}) {
    const Outcome o = RunRandomDraws(seed, 3000);
    EXPECT_TRUE(o.same) << seed;
    EXPECT_GT(o.drawn, 1000) << seed;  // the draws do reach the loops
  }
}
