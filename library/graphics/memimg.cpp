// MEMIMG records: creation, release, views and the standard colour formats.
#include "graphics/memimg.h"

#include <cstring>

#include "core/memory.h"

namespace {

ColorFormat MakeFormat(uint32_t kind, uint32_t alpha, uint32_t palette) {
  ColorFormat f{};
  f.paletteFlag = palette ? 1 : 0;
  if (palette) {
    f.bitsPerPixel = 8;
    f.bytesPerPixel = 1;
  }
  if (kind == ColorKind16) {
    if (!palette) {
      f.bitsPerPixel = alpha ? 32 : 16;
      f.bytesPerPixel = alpha ? 4 : 2;
    }
    f.redWidth = 5; f.greenWidth = 6; f.blueWidth = 5;
    f.redShift = 11; f.greenShift = 5; f.blueShift = 0;
    f.redMask = 0xF800; f.greenMask = 0x07E0; f.blueMask = 0x001F;
    if (alpha && !palette) {
      f.alphaWidth = 8; f.alphaShift = 16; f.alphaMask = 0xFF0000;
      f.otherMask = 0xFF000000;
    }
  } else if (kind == ColorKind32) {
    if (!palette) {
      f.bitsPerPixel = 32;
      f.bytesPerPixel = 4;
    }
    f.redWidth = 8; f.greenWidth = 8; f.blueWidth = 8;
    f.redShift = 16; f.greenShift = 8; f.blueShift = 0;
    f.redMask = 0xFF0000; f.greenMask = 0xFF00; f.blueMask = 0xFF;
    if (alpha && !palette) {
      f.alphaWidth = 8; f.alphaShift = 24; f.alphaMask = 0xFF000000;
    } else {
      f.otherMask = 0xFF000000;
    }
  } else {
    f.bitsPerPixel = kind == ColorKind8 ? 8 : 16;
    f.bytesPerPixel = kind == ColorKind8 ? 1 : 2;
  }
  return f;
}

struct FormatTable {
  ColorFormat formats[4][2][2];
  FormatTable() {
    for (uint32_t k = 0; k < 4; ++k)
      for (uint32_t a = 0; a < 2; ++a)
        for (uint32_t p = 0; p < 2; ++p) formats[k][a][p] = MakeFormat(k, a, p);
  }
};

const FormatTable& Formats() {
  static const FormatTable table;
  return table;
}

}  // namespace

const ColorFormat* GetStandardColorFormat(uint32_t colorKind, uint32_t alphaFlag,
                                          uint32_t paletteFlag) {
  return &Formats().formats[colorKind & 3][alphaFlag ? 1 : 0][paletteFlag ? 1 : 0];
}

int MemImgBytesPerPixel(uint32_t colorKind, uint32_t paletteFlag, uint32_t alphaFlag) {
  if (paletteFlag) return 1;
  switch (colorKind) {
    case ColorKind16: return alphaFlag ? 4 : 2;
    case ColorKind32: return 4;
    case ColorKind8: return 1;
    default: return 2;
  }
}

int CreateMemImg(MEMIMG* record, int width, int height, int pitch, uint32_t transparentColor,
                 uint32_t colorKind, uint32_t paletteFlag, uint32_t alphaFlag,
                 int makeBuffers) {
  if (!record || record->aliveMark == MemImgAliveMark) return -1;
  if (colorKind > ColorKindOther || width < 0 || height < 0 || width > 32767 ||
      height > 32767)
    return -1;
  if (colorKind >= ColorKind8) paletteFlag = 0;
  if (paletteFlag || colorKind >= ColorKind8) alphaFlag = 0;
  paletteFlag = paletteFlag ? 1 : 0;
  alphaFlag = alphaFlag ? 1 : 0;
  const int bpp = MemImgBytesPerPixel(colorKind, paletteFlag, alphaFlag);
  if (pitch < 0) pitch = (bpp * width + 15) & ~15;
  if (pitch < bpp * width) return -1;

  uint8_t* pixels = record->pixels;
  const bool borrowed = pixels != nullptr;
  uint8_t* palette = nullptr;
  uint8_t* alphaBuffer = nullptr;
  uint8_t* extraBuffer = nullptr;
  const size_t blockSize = static_cast<size_t>(pitch) * static_cast<size_t>(height);
  if (!borrowed) {
    pixels = static_cast<uint8_t*>(TALLOC(blockSize ? blockSize : 1));
    if (!pixels) return -1;
  }
  if (paletteFlag) {
    palette = static_cast<uint8_t*>(TCALLOC(2 * 256 * 4));
    if (!palette) {
      if (!borrowed) TrackedFree(pixels);
      return -1;
    }
  }
  if (makeBuffers) {
    const size_t plane = static_cast<size_t>(width) * static_cast<size_t>(height);
    alphaBuffer = static_cast<uint8_t*>(TCALLOC(plane ? plane : 1));
    extraBuffer = static_cast<uint8_t*>(TCALLOC(plane ? plane : 1));
    if (!alphaBuffer || !extraBuffer) {
      TrackedFree(alphaBuffer);
      TrackedFree(extraBuffer);
      TrackedFree(palette);
      if (!borrowed) TrackedFree(pixels);
      return -1;
    }
  }
  record->width = width;
  record->height = height;
  record->pitch = pitch;
  record->format = GetStandardColorFormat(colorKind, alphaFlag, paletteFlag);
  record->transparentColor = transparentColor;
  record->colorKind = colorKind;
  record->paletteFlag = paletteFlag;
  record->paletteCount = paletteFlag ? 256 : 0;
  record->alphaFlag = alphaFlag;
  record->palette = palette;
  record->pixels = pixels;
  record->alphaBuffer = alphaBuffer;
  record->extraBuffer = extraBuffer;
  record->borrowedPixels = borrowed ? 1 : 0;
  record->ownsPalette = palette ? 1 : 0;
  record->aliveMark = MemImgAliveMark;
  return 0;
}

void FreeMemImg(MEMIMG* record) {
  if (!record || record->aliveMark != MemImgAliveMark) return;
  if (!record->borrowedPixels) TrackedFree(record->pixels);
  if (record->ownsPalette) TrackedFree(record->palette);
  TrackedFree(record->alphaBuffer);
  TrackedFree(record->extraBuffer);
  record->pixels = nullptr;
  record->palette = nullptr;
  record->alphaBuffer = nullptr;
  record->extraBuffer = nullptr;
  record->aliveMark = 0;
}

void MakeMemImgView(MEMIMG* view, const MEMIMG* parent, int x, int y, int width, int height) {
  *view = *parent;
  const int bpp = parent->format ? parent->format->bytesPerPixel
                                 : MemImgBytesPerPixel(parent->colorKind, parent->paletteFlag,
                                                       parent->alphaFlag);
  view->pixels = parent->pixels + static_cast<intptr_t>(y) * parent->pitch +
                 static_cast<intptr_t>(x) * bpp;
  view->width = width;
  view->height = height;
  view->alphaBuffer = nullptr;
  view->extraBuffer = nullptr;
  view->borrowedPixels = 1;
  view->ownsPalette = 0;
  view->aliveMark = MemImgAliveMark;
}
