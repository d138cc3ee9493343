// Work buffers of the software renderer and the helpers of the blend kernel
// that are not templates.
#include "softrender/sr_pixel.h"

namespace sr {

RenderContext& DefaultRenderContext() {
  static thread_local RenderContext context;
  return context;
}

const uint32_t* CopyPalette(RenderContext& ctx, const MEMIMG& source) {
  uint32_t count = source.palette ? source.paletteCount : 0;
  if (count > 256) count = 256;
  const int entryBytes = source.colorKind == ColorKind16 ? 2 : 4;
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t* e = source.palette + static_cast<size_t>(i) * entryBytes;
    ctx.palette[i] = entryBytes == 2 ? Load16(e) : Load32(e);
  }
  for (uint32_t i = count; i < 256; ++i) ctx.palette[i] = 0;
  return ctx.palette;
}

void EnsureBlendTables() {
  if (BlendMulTable[255][255] != 255 || BlendDiffTable[255][0] != -255) BuildScaleTables();
}

}  // namespace sr
