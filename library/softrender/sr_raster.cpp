// The polygon rasteriser's entry: refusal checks, the depth-range clip with
// its fan of nested draws, the white substitute texture for untextured
// triangles, and the choice of span loop.
#include "softrender/sr_raster.h"

namespace {

// Nested depth clips beyond this draw their pieces as they stand (a piece
// wholly outside the range is still dropped): rounding can leave a piece a
// hair outside the range, and that must not recurse forever.
constexpr int kMaxClipNesting = 3;

// The 8 x 8 white texture of an untextured triangle, one per target colour
// kind. It is built once, from static storage, so it can never fail.
struct WhiteTextures {
  uint8_t pixels[8 * 32];
  MEMIMG image[2];
  WhiteTextures() : pixels{}, image{} {
    for (uint8_t& b : pixels) b = 0xFF;
    for (uint32_t kind = 0; kind < 2; ++kind) {
      MEMIMG& m = image[kind];
      m.aliveMark = MemImgAliveMark;
      m.width = 8;
      m.height = 8;
      m.pitch = kind == ColorKind32 ? 32 : 16;
      m.format = GetStandardColorFormat(kind, 0, 0);
      m.transparentColor = 0;
      m.colorKind = kind;
      m.pixels = pixels;
      m.borrowedPixels = 1;
    }
  }
};

const MEMIMG* SubstituteTexture(uint32_t colorKind) {
  static WhiteTextures textures;
  return colorKind <= ColorKind32 ? &textures.image[colorKind] : nullptr;
}

bool Usable(const MEMIMG* image, int bytesPerPixel) {
  return image->pixels && image->width > 0 && image->height > 0 &&
         static_cast<int64_t>(image->pitch) >= static_cast<int64_t>(image->width) * bytesPerPixel;
}

void Rasterize(MEMIMG* target, MEMIMG* depthBuffer, const MEMIMG* texture,
               const RasterVertex* triangle, int32_t transparent, const MEMIMG* blendGraph,
               int32_t depthWrite, int32_t pieceDepthWrite, int32_t vertexColour,
               int32_t depthClip, int nesting) {
  if (!target || !triangle) return;

  if (depthClip == 1) {
    const int range = RasterDepthRangeTest(triangle);
    if (range == 2) return;
    if (range == 1 && nesting < kMaxClipNesting) {
      RasterVertex polygon[RasterClipCapacity];
      const int n = RasterClipDepthRange(triangle, polygon);
      for (int i = 2; i < n; ++i) {
        // Fan: (0, 1, 2), then (i, 0, i - 1) for every further vertex.
        RasterVertex piece[3] = {polygon[0], polygon[1], polygon[2]};
        if (i > 2) {
          piece[0] = polygon[i];
          piece[1] = polygon[0];
          piece[2] = polygon[i - 1];
        }
        Rasterize(target, depthBuffer, texture, piece, transparent, blendGraph, pieceDepthWrite,
                  0, 1, 1, nesting + 1);
      }
      return;
    }
  }

  if (target->colorKind > ColorKind32) return;
  const int targetBytes = target->colorKind == ColorKind32 ? 4 : 2;
  if (!Usable(target, targetBytes)) return;
  if (depthBuffer) {
    if (depthBuffer->width != target->width || depthBuffer->height != target->height) return;
    if (!Usable(depthBuffer, 2)) return;
  }
  if (!texture) texture = SubstituteTexture(target->colorKind);
  if (texture->colorKind != target->colorKind) return;
  if (target->paletteFlag == 1 || target->alphaFlag == 1) return;

  const bool palette = texture->paletteFlag == 1;
  const bool alphaTexture = !palette && texture->alphaFlag == 1;
  const int texelBytes = palette ? 1 : (target->colorKind == ColorKind32 || alphaTexture ? 4 : 2);
  if (!Usable(texture, texelBytes) || (palette && !texture->palette)) return;
  // The blend graph is read at texel coordinates: it must cover the texture.
  if (blendGraph && (!blendGraph->pixels || blendGraph->width < texture->width ||
                     blendGraph->height < texture->height ||
                     blendGraph->pitch < texture->width))
    return;

  IntRect area;
  if (!RasterDrawArea(target, &area)) return;
  RasterFrame frame;
  if (!RasterSetUp(target, depthBuffer, texture, blendGraph, triangle, area, &frame)) return;

  RasterVariant variant;
  variant.mode = g_drawState.blendMode;
  if (static_cast<uint32_t>(variant.mode) > 4) return;
  variant.vertexColour = vertexColour != 0;
  if (!variant.vertexColour) {
    const int32_t p = frame.param;
    if (variant.mode == 1 && p == 255) variant.mode = 0;
    else if (variant.mode == 1 && p == 0) return;
    else if (variant.mode == 2 && p == 0) return;
    else if (variant.mode == 3 && p == 0 && !palette) return;
  }
  variant.palette = palette;
  variant.graph = blendGraph != nullptr;
  variant.bright = !variant.vertexColour && DrawStateBrightOn(g_drawState);
  variant.alphaTexture = alphaTexture;
  variant.transparent = transparent != 0;
  variant.depthWrite = depthWrite != 0;
  if (target->colorKind == ColorKind32)
    RasterRunSpans32(frame, variant);
  else
    RasterRunSpans16(frame, variant);
}

}  // namespace

void MemImgRasterizeTriangle(MEMIMG* target, MEMIMG* depthBuffer, const MEMIMG* texture,
                             const RasterVertex* triangle, int32_t transparent,
                             const MEMIMG* blendGraph, int32_t depthWrite,
                             int32_t pieceDepthWrite, int32_t vertexColour, int32_t depthClip) {
  Rasterize(target, depthBuffer, texture, triangle, transparent, blendGraph, depthWrite,
            pieceDepthWrite, vertexColour, depthClip, 0);
}
