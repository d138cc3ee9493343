// The textured triangle fill: argument checks, the choice of the span variant
// (one span loop per combination of pixel format, palette, blend mode, blend
// graph, bright colour, alpha channel and transparency) and the walk.
#include <cstdint>

#include "graphics/drawstate.h"
#include "softrender/softrender.h"
#include "softrender/sr_pixel.h"
#include "softrender/sr_textri_walk.h"
#include "softrender/sr_wide.h"

namespace {

// This renderer's own rules on top of the shared kernel: a texel with alpha 0
// is not skipped in multiply mode; in 16-bit add and subtract with alpha and no
// blend graph the alpha weight comes before the bright colour; no
// full-strength subtract and no tie rule.
constexpr sr::Policy kTexturedPolicy{false, true, false, false, false};

struct SpanContext {
  const textri::TriangleSetup* setup;
  const sr::KernelParams* kernel;
  uint8_t* targetPixels;
  intptr_t targetPitch;
  const uint8_t* sourcePixels;
  intptr_t sourcePitch;
  const uint8_t* graphPixels;  // null without a blend graph
  intptr_t graphPitch;
  uint64_t uLimit, vLimit;     // texels at or beyond these 14.18 values are not read
  bool wide;                   // four pixels per step may be taken
};

template <sr::Variant V>
void DrawTriangleVariant(const SpanContext& c, const textri::SpanClip& clip) {
  using T = sr::PixelTraits<V.kind>;
  constexpr int kSourceBytes = sr::SourceBytes<V>();
  const uint32_t du = static_cast<uint32_t>(c.setup->uStepX);
  const uint32_t dv = static_cast<uint32_t>(c.setup->vStepX);
  const sr::KernelParams& k = *c.kernel;
  textri::WalkTexturedTriangle(
      *c.setup, clip, [&](int32_t row, int32_t col, int32_t n, uint32_t u, uint32_t v) {
        uint8_t* dst = c.targetPixels + row * c.targetPitch + intptr_t{col} * T::kBytes;
#if SR_WIDE_SSE2
        if constexpr (sr::HasWideForm<V>()) {
          if (c.wide) {
            // Four texels per step; a texel outside the source is not read
            // (the first one stands in for it) and its target pixel is kept.
            const sr::WideParams w = sr::MakeWideParams<V>(k);
            const int64_t su = static_cast<int32_t>(du), sv = static_cast<int32_t>(dv);
            const uint64_t uWhole = c.uLimit < (uint64_t{1} << 32) ? c.uLimit : uint64_t{1} << 32;
            const uint64_t vWhole = c.vLimit < (uint64_t{1} << 32) ? c.vLimit : uint64_t{1} << 32;
            for (; n >= 4; n -= 4, dst += 4 * T::kBytes, u += 4 * du, v += 4 * dv) {
              const uint8_t* p[4];
              int32_t in[4];
              auto lane = [&](int i, bool checked) {
                const uint32_t ui = u + static_cast<uint32_t>(i) * du;
                const uint32_t vi = v + static_cast<uint32_t>(i) * dv;
                const intptr_t at = static_cast<intptr_t>(vi >> textri::kFracBits) * c.sourcePitch +
                                    intptr_t{ui >> textri::kFracBits} * kSourceBytes;
                if (!checked) {
                  p[i] = c.sourcePixels + at;
                  return;
                }
                const bool inside = (uint64_t{ui} < c.uLimit) & (uint64_t{vi} < c.vLimit);
                p[i] = c.sourcePixels + (inside ? at : 0);
                in[i] = -static_cast<int32_t>(inside);
              };
              // The four positions lie on a line: when the first and the
              // fourth are inside the source (without wrapping), all are.
              const int64_t u3 = int64_t{u} + 3 * su, v3 = int64_t{v} + 3 * sv;
              const bool all = (uint64_t{u} < uWhole) & (uint64_t{v} < vWhole) & (u3 >= 0) &
                               (v3 >= 0) & (static_cast<uint64_t>(u3) < uWhole) &
                               (static_cast<uint64_t>(v3) < vWhole);
              for (int i = 0; i < 4; ++i) in[i] = -1;
              if (all) {
                lane(0, false);
                lane(1, false);
                lane(2, false);
                lane(3, false);
              } else {
                lane(0, true);
                lane(1, true);
                lane(2, true);
                lane(3, true);
              }
              if constexpr (V.kind == ColorKind32) {
                const __m128i s4 = _mm_setr_epi32(
                    static_cast<int32_t>(sr::Load32(p[0])), static_cast<int32_t>(sr::Load32(p[1])),
                    static_cast<int32_t>(sr::Load32(p[2])), static_cast<int32_t>(sr::Load32(p[3])));
                const __m128i d4 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst));
                const __m128i r = sr::Blend32x4<V>(w, s4, d4);
                const __m128i keep = _mm_setr_epi32(in[0], in[1], in[2], in[3]);
                _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), sr::Select(keep, r, d4));
              } else {
                const __m128i s4 = _mm_setr_epi16(
                    static_cast<int16_t>(sr::Load16(p[0])), static_cast<int16_t>(sr::Load16(p[1])),
                    static_cast<int16_t>(sr::Load16(p[2])), static_cast<int16_t>(sr::Load16(p[3])),
                    0, 0, 0, 0);
                const __m128i d4 = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(dst));
                const __m128i r = sr::Blend16x8<V>(w, s4, d4);
                const __m128i keep = _mm_setr_epi16(
                    static_cast<int16_t>(in[0]), static_cast<int16_t>(in[1]),
                    static_cast<int16_t>(in[2]), static_cast<int16_t>(in[3]), 0, 0, 0, 0);
                _mm_storel_epi64(reinterpret_cast<__m128i*>(dst), sr::Select(keep, r, d4));
              }
            }
          }
        }
#endif
        for (; n > 0; --n, dst += T::kBytes, u += du, v += dv) {
          if (uint64_t{u} < c.uLimit && uint64_t{v} < c.vLimit) {
            const uint32_t cx = u >> textri::kFracBits;
            const uint32_t cy = v >> textri::kFracBits;
            const uint8_t* src = c.sourcePixels + cy * c.sourcePitch + intptr_t{cx} * kSourceBytes;
            const uint8_t* graph = nullptr;
            if constexpr (V.graph) graph = c.graphPixels + cy * c.graphPitch + cx;
            sr::BlendPixel<V, kTexturedPolicy>(k, src, graph, dst);
          }
        }
      });
}

using VariantFn = void (*)(const SpanContext&, const textri::SpanClip&);

struct TexturedLoops {
  template <sr::Variant V>
  static constexpr VariantFn Get() {
    if constexpr (!sr::VariantValid(V) || V.sub != sr::SubScaled) {
      return nullptr;
    } else {
      return &DrawTriangleVariant<V>;
    }
  }
};

const std::array<VariantFn, sr::kVariantCount>& TexturedLoopTable() {
  static constexpr auto table = sr::BuildVariantTable<VariantFn, TexturedLoops>();
  return table;
}

bool ImageUsable(const MEMIMG* image) {
  return image->pixels != nullptr && image->width > 0 && image->height > 0;
}

}  // namespace

void MemImgTexturedTriangle(MEMIMG* target, const MEMIMG* source, const TexturedTriangle* triangle,
                            int32_t transparency, const MEMIMG* blendGraph, int32_t extraWord) {
  (void)extraWord;  // a textured draw has no use for the colour word
  if (target == nullptr || source == nullptr || triangle == nullptr) return;
  if (source->colorKind != target->colorKind) return;
  if (target->paletteFlag == 1 || target->alphaFlag == 1) return;
  if (!ImageUsable(target) || !ImageUsable(source)) return;
  if (blendGraph != nullptr && !ImageUsable(blendGraph)) return;

  sr::EnsureBlendTables();
  textri::TriangleSetup setup;
  if (textri::SetUpTexturedTriangle(*triangle, &setup) != 0) return;

  sr::Variant variant;
  sr::KernelParams kernel;
  if (!sr::ChooseVariant(*source, transparency, blendGraph != nullptr, g_drawState,
                         kTexturedPolicy, g_mmxFlag, &variant, &kernel)) {
    return;
  }
  const VariantFn loop = TexturedLoopTable()[sr::VariantIndex(variant)];
  if (loop == nullptr) return;

  // Palette sources read a 256-entry copy whose entries past the palette's
  // entry count are zero, so any index byte is safe.
  if (variant.palette) kernel.palette = sr::CopyPalette(sr::DefaultRenderContext(), *source);

  // The draw area, kept inside the target image.
  textri::SpanClip clip{g_drawState.areaX1, g_drawState.areaY1, g_drawState.areaX2,
                        g_drawState.areaY2};
  if (clip.x1 < 0) clip.x1 = 0;
  if (clip.y1 < 0) clip.y1 = 0;
  if (clip.x2 > target->width) clip.x2 = target->width;
  if (clip.y2 > target->height) clip.y2 = target->height;
  if (clip.x1 >= clip.x2 || clip.y1 >= clip.y2) return;

  // Texels are read only inside the source and, with a blend graph, inside
  // the graph too (it is addressed in source coordinates).
  int64_t readWidth = source->width, readHeight = source->height;
  if (blendGraph != nullptr) {
    if (blendGraph->width < readWidth) readWidth = blendGraph->width;
    if (blendGraph->height < readHeight) readHeight = blendGraph->height;
  }

  SpanContext context{};
  context.setup = &setup;
  context.kernel = &kernel;
  context.targetPixels = target->pixels;
  context.targetPitch = target->pitch;
  context.sourcePixels = source->pixels;
  context.sourcePitch = source->pitch;
  context.graphPixels = blendGraph != nullptr ? blendGraph->pixels : nullptr;
  context.graphPitch = blendGraph != nullptr ? blendGraph->pitch : 0;
  context.uLimit = static_cast<uint64_t>(readWidth) << textri::kFracBits;
  context.vLimit = static_cast<uint64_t>(readHeight) << textri::kFracBits;
  context.wide = !sr::SharesMemory(*target, *source) &&
                 (source->colorKind == ColorKind32 || !variant.trans || kernel.key <= 0xFFFFu);
  loop(context, clip);
}
