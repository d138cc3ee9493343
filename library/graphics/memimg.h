// MEMIMG: the software renderer's image in memory, and ColorFormat, the
// colour-format record. Every screen and every graph of the library is a
// MEMIMG; the software renderer draws from one into another.
#pragma once
#include <cstdint>

// Colour-format record: layout of one pixel.
struct ColorFormat {
  uint16_t bitsPerPixel;   // 8, 16 or 32
  uint16_t bytesPerPixel;  // 1, 2 or 4 (a 16-bit image with alpha uses 4)
  uint8_t redWidth, greenWidth, blueWidth, alphaWidth;  // bits per channel
  uint8_t redShift, greenShift, blueShift, alphaShift;  // lowest bit of each channel
  uint32_t redMask, greenMask, blueMask, alphaMask;     // channel masks
  uint32_t otherMask;      // bits of the pixel outside every channel
  uint8_t paletteFlag;     // 1: pixels are 1-byte palette indices
  uint8_t reserved[3];
  uint32_t palette[256];   // palette entries, four bytes each (blue, green, red, 4th)
};

// Colour kinds.
enum : uint32_t {
  ColorKind16 = 0,  // 16-bit 5-6-5 words (red 11-15, green 5-10, blue 0-4)
  ColorKind32 = 1,  // 32-bit: byte 0 blue, 1 green, 2 red, 3 alpha or unused
  ColorKind8 = 2,   // one byte per pixel (blend graphs); not drawn by the blits
  ColorKindOther = 3,
};

constexpr uint32_t MemImgAliveMark = 0x12345678;

struct MEMIMG {
  uint32_t aliveMark;          // MemImgAliveMark while the record is alive
  int32_t width;               // pixels
  int32_t height;              // pixels
  int32_t pitch;               // bytes from one row to the next
  const ColorFormat* format;   // standard format of (kind, alpha, palette)
  uint32_t transparentColor;   // colour key: whole pixel value, or palette index
  uint32_t colorKind;          // ColorKind16 / ColorKind32 / ColorKind8 / ColorKindOther
  uint32_t paletteFlag;        // 1: pixels are indices into palette
  uint32_t paletteCount;       // palette entries in use (at most 256)
  uint32_t alphaFlag;          // 1: per-pixel alpha (32-bit byte 3; 16-bit: 4-byte pixels, alpha byte 2)
  uint8_t* palette;            // first of two 256-entry tables (4-byte entries, 2-byte on kind 0)
  uint8_t* pixels;             // pixel (0, 0)
  uint8_t* alphaBuffer;        // optional separate alpha plane, or null
  uint8_t* extraBuffer;        // optional run-length table for transparent drawing, or null
  uint32_t borrowedPixels;     // 1: pixels (and palette) belong to another image
  uint32_t ownsPalette;        // 1: palette was allocated with this record
};

// The standard colour format of (kind, alpha, palette).
const ColorFormat* GetStandardColorFormat(uint32_t colorKind, uint32_t alphaFlag,
                                          uint32_t paletteFlag);

// Bytes per pixel as CreateMemImg lays them out: 2, 4, 1, 2 for kinds 0-3,
// 1 with a palette, 4 for kind 0 with alpha.
int MemImgBytesPerPixel(uint32_t colorKind, uint32_t paletteFlag, uint32_t alphaFlag);

// Fills a record that is not alive. pitch -1 = bytes per pixel x width rounded
// up to 16. Allocates the pixel block (not cleared) unless record->pixels is
// already set (then it is borrowed). Returns 0, or -1 (record left not alive)
// when it is alive already, the size is bad or an allocation fails.
int CreateMemImg(MEMIMG* record, int width, int height, int pitch, uint32_t transparentColor,
                 uint32_t colorKind, uint32_t paletteFlag, uint32_t alphaFlag,
                 int makeBuffers);
// Releases what an alive record owns and clears its marker; ignores dead records.
void FreeMemImg(MEMIMG* record);
// Makes view an image of (width x height) whose pixels are parent's from (x, y).
// Nothing is allocated; the view borrows the parent's pixels and palette.
void MakeMemImgView(MEMIMG* view, const MEMIMG* parent, int x, int y, int width, int height);

inline uint8_t* MemImgRow(const MEMIMG* image, int y) {
  return image->pixels + static_cast<intptr_t>(y) * image->pitch;
}
