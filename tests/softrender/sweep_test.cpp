// Exhaustive channel sweeps: every blend formula for all (source, target)
// channel pairs at factor values 0, 1, 127, 128, 254, 255, against the 64-bit
// reference model.
#include <gtest/gtest.h>

#include "images.h"
#include "softrender/softrender.h"

namespace {

using srtest::Image;

// Which factor the sweep varies besides (s, d).
enum Factor { ParamOnly, Graph, AlphaNoKey, AlphaKey, GraphAndAlpha, Bright };

// Column s of the source and row d of the target hold value s / d in each
// channel under a different bijection, so each channel sees all 256 x 256 pairs.
uint32_t Spread32(uint32_t v, uint32_t top) { return v | ((v ^ 0x55u) << 8) | ((255u - v) << 16) | (top << 24); }
uint32_t Spread16(uint32_t v) { return (v >> 3) | (((v >> 2) ^ 0x15u) << 5) | ((31u - (v >> 3)) << 11); }

void Sweep(uint32_t kind, int mode, Factor factor, int x) {
  const bool alpha = factor == AlphaNoKey || factor == AlphaKey || factor == GraphAndAlpha;
  Image src(256, 1, kind, 0, alpha);
  for (uint32_t s = 0; s < 256; ++s) {
    if (kind == 1) src.Set32(s, 0, Spread32(s, alpha ? x : s));
    else src.Set16(s, 0, Spread16(s));
    if (alpha && kind == 0) src.At(s, 0)[2] = static_cast<uint8_t>(x);
  }
  Image graph(256, 1, ColorKind8);
  std::memset(graph.m.pixels, x, 256);
  Image fast(256, 256, kind), slow(256, 256, kind);
  for (uint32_t d = 0; d < 256; ++d)
    for (uint32_t s = 0; s < 256; ++s) {
      if (kind == 1) fast.Set32(s, d, Spread32(d, 0xA5));
      else fast.Set16(s, d, Spread16(d));
    }
  slow.Restore(fast.Snapshot());
  ref::Settings st = srtest::Plain(256, 256);
  st.mode = mode;
  st.param = factor == ParamOnly ? x : (mode == 4 ? 0 : 200);
  st.border = 128;  // with range 255: weight of byte b is b
  st.range = 255;
  if (factor == Bright) {
    st.brightB = x;
    st.brightG = 255 - x;
    st.brightR = x;
    if (x == 255) st.brightG = 254;
    st.param = 255;
  }
  srtest::Apply(st);
  const bool useGraph = factor == Graph || factor == GraphAndAlpha;
  const bool key = factor == AlphaKey;
  for (int row = 0; row < 256; ++row) {
    MemImgBlit(&fast.m, &src.m, 0, row, key, useGraph ? &graph.m : nullptr);
    ref::Blit(st, slow.m, src.m, 0, row, key, useGraph ? &graph.m : nullptr);
  }
  ASSERT_EQ(fast.Snapshot(), slow.Snapshot())
      << "kind " << kind << " mode " << mode << " factor " << factor << " x " << x;
}

class ChannelSweep : public ::testing::TestWithParam<int> {};

TEST_P(ChannelSweep, AllPairsMatchReference) {
  const int mode = GetParam();
  for (uint32_t kind : {1u, 0u})
    for (Factor f : {ParamOnly, Graph, AlphaNoKey, AlphaKey, GraphAndAlpha, Bright})
      for (int x : {0, 1, 127, 128, 254, 255}) Sweep(kind, mode, f, x);
}

INSTANTIATE_TEST_SUITE_P(Modes, ChannelSweep, ::testing::Values(0, 1, 2, 3, 4));

// The colour rule of the solid-colour primitives: column s of the target is
// filled with colour s over rows holding every target value d, at parameters
// 0, 1, 127, 128, 254, 255 and with bright on (which divides by 256 there).
void PrimitiveSweep(uint32_t kind, int mode, int x, bool bright) {
  Image fast(256, 256, kind), slow(256, 256, kind);
  for (uint32_t d = 0; d < 256; ++d)
    for (uint32_t s = 0; s < 256; ++s) {
      if (kind == 1) fast.Set32(s, d, Spread32(d, 0xA5));
      else fast.Set16(s, d, Spread16(d));
    }
  slow.Restore(fast.Snapshot());
  ref::Settings st = srtest::Plain(256, 256);
  st.mode = mode;
  st.param = x;
  if (bright) {
    st.brightB = x;
    st.brightG = 255 - x;
    st.brightR = 200;
    st.param = 200;
  }
  srtest::Apply(st);
  for (uint32_t s = 0; s < 256; ++s) {
    // Byte 3 of a 32-bit colour and bits above a 16-bit one vary too.
    const uint32_t colour = kind == 1 ? Spread32(s, s ^ 0x3C) : (Spread16(s) | (s << 16));
    MemImgFillRectAt(&fast.m, static_cast<int32_t>(s), 0, static_cast<int32_t>(s) + 1, 256, colour);
    for (int d = 0; d < 256; ++d) ref::PrimitivePixel(st, kind, colour, slow.At(s, d));
  }
  ASSERT_EQ(fast.Snapshot(), slow.Snapshot())
      << "kind " << kind << " mode " << mode << " x " << x << " bright " << bright;
}

TEST(PrimitiveSweep, AllPairsMatchReference) {
  for (uint32_t kind : {1u, 0u})
    for (int mode = 0; mode <= 4; ++mode)
      for (int x : {0, 1, 127, 128, 254, 255}) {
        PrimitiveSweep(kind, mode, x, false);
        PrimitiveSweep(kind, mode, x, true);
      }
}

// The 64-bit model and the table rule agree on the weight of every byte.
TEST(ChannelSweepWeights, WeightTableMatchesModel) {
  for (int border : {0, 1, 128, 255})
    for (int range : {0, 1, 127, 255}) {
      BuildBlendGraphWeightTable(border, range);
      ref::Settings s;
      s.border = border;
      s.range = range;
      for (int b = 0; b < 256; ++b) ASSERT_EQ(BlendGraphWeightTable[b], ref::Weight(s, b)) << border << " " << range;
    }
}

}  // namespace
