// Pictures the graphics tests write themselves: a small reference picture and
// encoders for BMP, TGA, BGRA, DDS, PNG and JPEG files of it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

// A picture as 0xAARRGGBB values, rows top first.
struct Picture {
  int width = 0, height = 0;
  std::vector<uint32_t> argb;
  uint32_t At(int x, int y) const { return argb[static_cast<size_t>(y) * width + x]; }
};

// width x height, every pixel distinct enough to catch flips and shifts.
Picture MakeTestPicture(int width, int height, bool withAlpha);
// Only colours from a palette of `colours` entries (index = (x + 2y) % colours).
Picture MakePalettePicture(int width, int height, int colours, std::vector<uint32_t>* palette);

// BMP of 24 or 32 bits (32: 4th byte written as the alpha, BI_RGB).
Bytes WriteBmpDirect(const Picture& p, int bits, bool topDown);
// 16-bit BMP with 5-5-5 (no bit fields) or 5-6-5 bit fields.
Bytes WriteBmp16(const Picture& p, bool bitfields565, bool topDown);
// 1, 4 or 8-bit palette BMP of a palette picture.
Bytes WriteBmpPalette(const Picture& p, const std::vector<uint32_t>& palette, int bits,
                      bool topDown);
// TGA: type 2/10 at 16, 24 or 32 bits, type 3/11 grey, type 1/9 colour-mapped.
Bytes WriteTgaTrue(const Picture& p, int bits, bool rle, bool topOrigin, bool rightOrigin = false);
Bytes WriteTgaMapped(const Picture& p, const std::vector<uint32_t>& palette, bool rle,
                     bool topOrigin, int mapDepth = 24);
Bytes WriteTgaGrey(const Picture& p, bool rle, bool topOrigin);
Bytes WriteBgra(const Picture& p);
// Uncompressed DDS, 32 bits with alpha (pitch may exceed width x 4).
Bytes WriteDds32(const Picture& p, int pitch);
Bytes WritePng(const Picture& p, bool withAlpha);
Bytes WriteJpeg(const Picture& p, int quality);

// The colour a channel keeps through 5 or 6 bits and back (bits repeated).
uint32_t Through565(uint32_t argb);
uint32_t Through555(uint32_t argb);
