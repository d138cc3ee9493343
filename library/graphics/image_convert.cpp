// The conversion blitter.
#include "graphics/image_convert.h"

#include <cstring>

namespace {

uint32_t Widen(uint32_t value, int width) {
  if (width <= 0) return 0;
  if (width >= 8) return (value >> (width - 8)) & 0xFF;
  uint32_t out = 0;
  int filled = 0;
  while (filled < 8) {  // repeat the bits from the top: 5 bits abcde -> abcdeabc
    out = (out << width) | value;
    filled += width;
  }
  return (out >> (filled - 8)) & 0xFF;
}

uint32_t Channel(uint32_t pixel, uint32_t mask, int shift, int width) {
  return Widen((pixel & mask) >> shift, width);
}

}  // namespace

uint32_t GraphImagePixelArgb(const GraphImage* image, int32_t x, int32_t y) {
  const ColorFormat& f = image->format;
  const uint8_t* p = image->pixels + static_cast<intptr_t>(y) * image->pitch +
                     static_cast<intptr_t>(x) * f.bytesPerPixel;
  if (f.paletteFlag) {
    const uint32_t entry = f.palette[*p];
    return image->alphaFlag ? entry : (entry | 0xFF000000u);
  }
  uint32_t v = 0;
  for (int i = 0; i < f.bytesPerPixel; ++i) v |= static_cast<uint32_t>(p[i]) << (8 * i);
  const uint32_t r = Channel(v, f.redMask, f.redShift, f.redWidth);
  const uint32_t g = Channel(v, f.greenMask, f.greenShift, f.greenWidth);
  const uint32_t b = Channel(v, f.blueMask, f.blueShift, f.blueWidth);
  const uint32_t a = f.alphaMask ? Channel(v, f.alphaMask, f.alphaShift, f.alphaWidth) : 255;
  return (a << 24) | (r << 16) | (g << 8) | b;
}

uint32_t ArgbToMemImgPixel(uint32_t argb, uint32_t colorKind, uint32_t alphaFlag) {
  const uint32_t a = argb >> 24, r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
  if (colorKind == ColorKind32) return (alphaFlag ? a << 24 : 0) | (r << 16) | (g << 8) | b;
  const uint32_t word = ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3);
  return alphaFlag ? (word | (a << 16)) : word;
}

int ConvertGraphImageToMemImg(const GraphImage* image, int32_t screenBits, MEMIMG* out) {
  if (!image || !image->pixels || !out) return -1;
  const uint32_t kind = screenBits == 32 ? ColorKind32 : ColorKind16;
  const uint32_t alpha = image->alphaFlag ? 1 : 0;
  std::memset(out, 0, sizeof *out);
  if (CreateMemImg(out, image->width, image->height, -1, 0, kind, 0, alpha, 0) != 0) return -1;
  const int bpp = out->format->bytesPerPixel;
  for (int32_t y = 0; y < image->height; ++y) {
    uint8_t* row = MemImgRow(out, y);
    std::memset(row, 0, static_cast<size_t>(out->pitch));
    for (int32_t x = 0; x < image->width; ++x) {
      const uint32_t pixel = ArgbToMemImgPixel(GraphImagePixelArgb(image, x, y), kind, alpha);
      for (int i = 0; i < bpp; ++i) row[x * bpp + i] = static_cast<uint8_t>(pixel >> (8 * i));
    }
  }
  return 0;
}
