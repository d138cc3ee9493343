// GraphImage helpers and the built-in decoders: BMP, raw BGRA, TGA and
// uncompressed DDS, each over a whole file in memory with every read bounded.
#include <cstdlib>
#include <cstring>

#include "graphics/graph_image.h"

namespace {

uint32_t U16(const uint8_t* p) { return p[0] | (p[1] << 8); }
uint32_t U32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

bool SizeAcceptable(int64_t width, int64_t height) {
  return width > 0 && height > 0 && width <= MaxImageSide && height <= MaxImageSide &&
         width * height <= MaxImagePixels;
}

int Align4(int64_t bytes) { return static_cast<int>((bytes + 3) & ~int64_t{3}); }

void SetPaletteEntry(ColorFormat* format, int index, uint8_t b, uint8_t g, uint8_t r, uint8_t a) {
  format->palette[index] = b | (g << 8) | (r << 16) | (static_cast<uint32_t>(a) << 24);
}

}  // namespace

int AllocateGraphImage(GraphImage* image, int32_t width, int32_t height, int32_t pitch) {
  image->pixels = nullptr;
  if (!SizeAcceptable(width, height) || pitch <= 0) return -1;
  const size_t bytes = static_cast<size_t>(pitch) * static_cast<size_t>(height);
  image->pixels = static_cast<uint8_t*>(std::calloc(bytes, 1));
  if (!image->pixels) return -1;
  image->width = width;
  image->height = height;
  image->pitch = pitch;
  return 0;
}

void ReleaseGraphImage(GraphImage* image) {
  if (!image) return;
  std::free(image->pixels);
  image->pixels = nullptr;
}

static int MaskShift(uint32_t mask) {
  if (!mask) return 0;
  int shift = 0;
  while (!(mask & 1u)) {
    mask >>= 1;
    ++shift;
  }
  return shift;
}
static int MaskWidth(uint32_t mask) {
  mask >>= MaskShift(mask);
  int width = 0;
  while (mask & 1u) {
    mask >>= 1;
    ++width;
  }
  return width;
}

void SetMaskFormat(ColorFormat* format, int bytesPerPixel, uint32_t red, uint32_t green,
                   uint32_t blue, uint32_t alpha) {
  std::memset(format, 0, sizeof *format);
  format->bitsPerPixel = static_cast<uint16_t>(bytesPerPixel * 8);
  format->bytesPerPixel = static_cast<uint16_t>(bytesPerPixel);
  format->redMask = red;
  format->greenMask = green;
  format->blueMask = blue;
  format->alphaMask = alpha;
  format->redShift = static_cast<uint8_t>(MaskShift(red));
  format->greenShift = static_cast<uint8_t>(MaskShift(green));
  format->blueShift = static_cast<uint8_t>(MaskShift(blue));
  format->alphaShift = static_cast<uint8_t>(MaskShift(alpha));
  format->redWidth = static_cast<uint8_t>(MaskWidth(red));
  format->greenWidth = static_cast<uint8_t>(MaskWidth(green));
  format->blueWidth = static_cast<uint8_t>(MaskWidth(blue));
  format->alphaWidth = static_cast<uint8_t>(MaskWidth(alpha));
  const uint64_t all = bytesPerPixel >= 4 ? 0xFFFFFFFFull : ((1ull << (bytesPerPixel * 8)) - 1);
  format->otherMask = static_cast<uint32_t>(all & ~uint64_t{red | green | blue | alpha});
}

void SetPaletteFormat(ColorFormat* format) {
  std::memset(format, 0, sizeof *format);
  format->bitsPerPixel = 8;
  format->bytesPerPixel = 1;
  format->paletteFlag = 1;
}

// ---- BMP -------------------------------------------------------------------------
// File header (14 bytes) then an information header of 12 (core), 40, 52, 56,
// 108 or 124 bytes; 1, 4 and 8-bit pictures use the palette, 16 and 32-bit
// ones masks (5-5-5 and 8-8-8 by default, or the header's bit fields), 24-bit
// ones blue, green, red bytes. A negative height stores the rows top-down.
int DecodeBmp(const uint8_t* data, size_t size, GraphImage* image) {
  if (size < 26 || data[0] != 'B' || data[1] != 'M') return -1;
  const uint32_t pixelOffset = U32(data + 10);
  const uint32_t headerSize = U32(data + 14);
  int64_t width, height;
  uint32_t bits, compression = 0, paletteCount = 0;
  int paletteEntryBytes = 4;
  if (headerSize == 12) {
    width = U16(data + 18);
    height = static_cast<int16_t>(U16(data + 20));
    bits = U16(data + 24);
    paletteEntryBytes = 3;
  } else if (headerSize >= 40 && headerSize <= 124) {
    if (size < 14 + static_cast<size_t>(headerSize)) return -1;
    width = static_cast<int32_t>(U32(data + 18));
    height = static_cast<int32_t>(U32(data + 22));
    if (U16(data + 26) != 1) return -1;  // planes
    bits = U16(data + 28);
    compression = U32(data + 30);
    paletteCount = U32(data + 46);
  } else {
    return -1;
  }
  const bool topDown = height < 0;
  if (topDown) height = -height;
  if (!SizeAcceptable(width, height)) return -1;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return -1;
  if (compression != 0 && !(compression == 3 && (bits == 16 || bits == 32))) return -1;

  // Channel masks of 16 and 32-bit pictures.
  uint32_t red = 0, green = 0, blue = 0, alpha = 0;
  if (bits == 16) {
    red = 0x7C00; green = 0x03E0; blue = 0x001F;
  } else if (bits == 32) {
    red = 0xFF0000; green = 0xFF00; blue = 0xFF;
  }
  size_t paletteStart = 14 + headerSize;
  if (compression == 3) {
    // The masks follow a 40-byte header, or lie inside a header of 52 bytes
    // or more (the alpha mask from 56); a header in between has no room.
    const size_t maskAt = 14 + 40;
    if (headerSize == 40) {
      if (size < maskAt + 12) return -1;
      paletteStart += 12;
    } else if (headerSize < 52) {
      return -1;
    }
    red = U32(data + maskAt);
    green = U32(data + maskAt + 4);
    blue = U32(data + maskAt + 8);
    if (headerSize >= 56) alpha = U32(data + maskAt + 12);
    const uint32_t limit = bits == 16 ? 0xFFFFu : 0xFFFFFFFFu;
    if (!red || !green || !blue || (red | green | blue | alpha) > limit) return -1;
    if ((red & green) || (red & blue) || (green & blue) || (alpha & (red | green | blue)))
      return -1;
  }

  const int64_t fileStride = ((width * bits + 31) / 32) * 4;
  if (pixelOffset > size || static_cast<uint64_t>(fileStride) * height > size - pixelOffset)
    return -1;

  GraphImage out{};
  if (bits <= 8) {
    const uint32_t maxEntries = 1u << bits;
    if (paletteCount == 0 || paletteCount > maxEntries) paletteCount = maxEntries;
    if (paletteStart + static_cast<size_t>(paletteCount) * paletteEntryBytes > pixelOffset)
      return -1;
    SetPaletteFormat(&out.format);
    for (uint32_t i = 0; i < paletteCount; ++i) {
      const uint8_t* e = data + paletteStart + i * paletteEntryBytes;
      SetPaletteEntry(&out.format, static_cast<int>(i), e[0], e[1], e[2], 0);
    }
    if (AllocateGraphImage(&out, static_cast<int32_t>(width), static_cast<int32_t>(height),
                           Align4(width)) != 0)
      return -1;
    for (int64_t y = 0; y < height; ++y) {
      const uint8_t* src = data + pixelOffset + fileStride * (topDown ? y : height - 1 - y);
      uint8_t* dst = out.pixels + out.pitch * y;
      for (int64_t x = 0; x < width; ++x) {
        uint32_t index;
        if (bits == 8) index = src[x];
        else if (bits == 4) index = (src[x >> 1] >> ((x & 1) ? 0 : 4)) & 15;
        else index = (src[x >> 3] >> (7 - (x & 7))) & 1;
        if (index >= paletteCount) {
          ReleaseGraphImage(&out);
          return -1;
        }
        dst[x] = static_cast<uint8_t>(index);
      }
    }
  } else {
    const int bpp = static_cast<int>(bits / 8);
    if (bits == 24) SetMaskFormat(&out.format, 3, 0xFF0000, 0xFF00, 0xFF, 0);
    else SetMaskFormat(&out.format, bpp, red, green, blue, alpha);
    out.alphaFlag = alpha ? 1 : 0;
    if (AllocateGraphImage(&out, static_cast<int32_t>(width), static_cast<int32_t>(height),
                           Align4(width * bpp)) != 0)
      return -1;
    for (int64_t y = 0; y < height; ++y) {
      const uint8_t* src = data + pixelOffset + fileStride * (topDown ? y : height - 1 - y);
      std::memcpy(out.pixels + out.pitch * y, src, static_cast<size_t>(width * bpp));
    }
  }
  *image = out;
  return 0;
}

// ---- Raw BGRA ----------------------------------------------------------------------
// "BGRA", width and height (32-bit little-endian), then rows of 32-bit pixels
// (bytes blue, green, red, alpha), top row first, no padding.
int DecodeBgra(const uint8_t* data, size_t size, GraphImage* image) {
  if (size < 12 || std::memcmp(data, "BGRA", 4) != 0) return -1;
  const int64_t width = U32(data + 4);
  const int64_t height = U32(data + 8);
  if (!SizeAcceptable(width, height)) return -1;
  if (static_cast<uint64_t>(width) * height * 4 > size - 12) return -1;
  GraphImage out{};
  SetMaskFormat(&out.format, 4, 0xFF0000, 0xFF00, 0xFF, 0xFF000000);
  out.alphaFlag = 1;
  if (AllocateGraphImage(&out, static_cast<int32_t>(width), static_cast<int32_t>(height),
                         static_cast<int32_t>(width * 4)) != 0)
    return -1;
  std::memcpy(out.pixels, data + 12, static_cast<size_t>(width * height * 4));
  *image = out;
  return 0;
}

// ---- TGA ---------------------------------------------------------------------------
// TGA has no magic number, so the header is checked strictly: image type 1, 2,
// 3, 9, 10 or 11; a colour map exactly when the type needs one (types 2 and 10
// may carry an unused one), with a depth of 15, 16, 24 or 32; pixel depths of
// 8 (mapped, grey) or 15, 16, 24, 32 (true colour); no interleave bits; a
// non-zero size; and the data inside the file.
int DecodeTga(const uint8_t* data, size_t size, GraphImage* image) {
  if (size < 18) return -1;
  const uint32_t idLength = data[0];
  const uint32_t mapType = data[1];
  const uint32_t type = data[2];
  const uint32_t mapFirst = U16(data + 3);
  const uint32_t mapLength = U16(data + 5);
  const uint32_t mapDepth = data[7];
  const int64_t width = U16(data + 12);
  const int64_t height = U16(data + 14);
  const uint32_t depth = data[16];
  const uint32_t descriptor = data[17];
  const bool mapped = type == 1 || type == 9;
  const bool trueColour = type == 2 || type == 10;
  const bool grey = type == 3 || type == 11;
  const bool rle = type >= 9;
  if (!mapped && !trueColour && !grey) return -1;
  if (mapType > 1 || (mapped && mapType != 1) || (grey && mapType != 0)) return -1;
  if (mapType == 1) {
    if (mapLength == 0 || (mapDepth != 15 && mapDepth != 16 && mapDepth != 24 && mapDepth != 32))
      return -1;
  } else if (mapFirst != 0 || mapLength != 0) {
    return -1;
  }
  if (mapped && (depth != 8 || mapFirst >= 256)) return -1;
  if (grey && depth != 8) return -1;
  if (trueColour && depth != 15 && depth != 16 && depth != 24 && depth != 32) return -1;
  if ((descriptor & 0xC0) != 0 || (descriptor & 15) > 8) return -1;
  if (width == 0 || height == 0 || !SizeAcceptable(width, height)) return -1;

  const int mapEntryBytes = mapType ? static_cast<int>((mapDepth + 7) / 8) : 0;
  const size_t mapStart = 18 + idLength;
  const size_t dataStart = mapStart + static_cast<size_t>(mapLength) * mapEntryBytes;
  if (dataStart > size) return -1;
  const int bpp = static_cast<int>((depth + 7) / 8);
  const int64_t pixelCount = width * height;
  const size_t available = size - dataStart;
  if (!rle && static_cast<uint64_t>(pixelCount) * bpp > available) return -1;
  // Each packet holds at most 128 pixels in at least 1 + bpp bytes.
  if (rle && static_cast<uint64_t>(pixelCount) > (available / (1 + bpp)) * 128 + 128) return -1;

  GraphImage out{};
  if (mapped || grey) {
    SetPaletteFormat(&out.format);
    if (grey) {
      for (int i = 0; i < 256; ++i)
        SetPaletteEntry(&out.format, i, static_cast<uint8_t>(i), static_cast<uint8_t>(i),
                        static_cast<uint8_t>(i), 0);
    } else {
      const uint32_t usable = mapLength < 256 - mapFirst ? mapLength : 256 - mapFirst;
      for (uint32_t i = 0; i < usable; ++i) {
        const uint8_t* e = data + mapStart + static_cast<size_t>(i) * mapEntryBytes;
        uint8_t b, g, r, a = 0;
        if (mapEntryBytes == 2) {
          const uint32_t v = U16(e);
          b = static_cast<uint8_t>(((v & 31) << 3) | ((v & 31) >> 2));
          g = static_cast<uint8_t>((((v >> 5) & 31) << 3) | (((v >> 5) & 31) >> 2));
          r = static_cast<uint8_t>((((v >> 10) & 31) << 3) | (((v >> 10) & 31) >> 2));
        } else {
          b = e[0]; g = e[1]; r = e[2];
          if (mapEntryBytes == 4) a = e[3];
        }
        SetPaletteEntry(&out.format, static_cast<int>(mapFirst + i), b, g, r, a);
      }
      if (mapEntryBytes == 4) out.alphaFlag = 1;
    }
  } else if (bpp == 2) {
    SetMaskFormat(&out.format, 2, 0x7C00, 0x03E0, 0x001F, 0);
  } else if (bpp == 3) {
    SetMaskFormat(&out.format, 3, 0xFF0000, 0xFF00, 0xFF, 0);
  } else {
    SetMaskFormat(&out.format, 4, 0xFF0000, 0xFF00, 0xFF, 0xFF000000);
    out.alphaFlag = 1;
  }
  const int64_t pitch = width * bpp;  // TGA rows are exactly width x bytes
  if (AllocateGraphImage(&out, static_cast<int32_t>(width), static_cast<int32_t>(height),
                         static_cast<int32_t>(pitch)) != 0)
    return -1;

  // Pixels in file order, then placed by the origin bits.
  uint8_t* linear = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(pixelCount) * bpp));
  if (!linear) {
    ReleaseGraphImage(&out);
    return -1;
  }
  const uint8_t* src = data + dataStart;
  const uint8_t* end = data + size;
  bool ok = true;
  if (!rle) {
    std::memcpy(linear, src, static_cast<size_t>(pixelCount) * bpp);
  } else {
    int64_t filled = 0;
    while (filled < pixelCount) {
      if (src >= end) { ok = false; break; }
      const uint8_t head = *src++;
      const int64_t count = (head & 127) + 1;
      if (filled + count > pixelCount) { ok = false; break; }  // run past the picture
      if (head & 128) {
        if (end - src < bpp) { ok = false; break; }
        for (int64_t i = 0; i < count; ++i)
          std::memcpy(linear + (filled + i) * bpp, src, static_cast<size_t>(bpp));
        src += bpp;
      } else {
        if (end - src < count * bpp) { ok = false; break; }
        std::memcpy(linear + filled * bpp, src, static_cast<size_t>(count * bpp));
        src += count * bpp;
      }
      filled += count;
    }
  }
  if (ok && mapped) {
    for (int64_t i = 0; i < pixelCount; ++i) {
      if (linear[i] < mapFirst || linear[i] >= mapFirst + mapLength) {  // index past the map
        ok = false;
        break;
      }
    }
  }
  if (!ok) {
    std::free(linear);
    ReleaseGraphImage(&out);
    return -1;
  }
  const bool topOrigin = (descriptor & 0x20) != 0;
  const bool rightOrigin = (descriptor & 0x10) != 0;
  for (int64_t y = 0; y < height; ++y) {
    const uint8_t* row = linear + (topOrigin ? y : height - 1 - y) * width * bpp;
    uint8_t* dst = out.pixels + out.pitch * y;
    if (!rightOrigin) {
      std::memcpy(dst, row, static_cast<size_t>(width * bpp));
    } else {
      for (int64_t x = 0; x < width; ++x)
        std::memcpy(dst + x * bpp, row + (width - 1 - x) * bpp, static_cast<size_t>(bpp));
    }
  }
  std::free(linear);
  *image = out;
  return 0;
}

// ---- DDS (uncompressed) ----------------------------------------------------------------
// "DDS ", a 124-byte header with a 32-byte pixel format; only RGB pictures of
// 16, 24 or 32 bits (alpha when the alpha-pixels flag is set) are taken. The
// rows keep the file's pitch when the header gives one.
int DecodeDds(const uint8_t* data, size_t size, GraphImage* image) {
  if (size < 128 || std::memcmp(data, "DDS ", 4) != 0) return -1;
  const uint8_t* h = data + 4;
  if (U32(h) != 124) return -1;
  const uint32_t flags = U32(h + 4);
  const int64_t height = U32(h + 8);
  const int64_t width = U32(h + 12);
  const uint32_t pitchOrLinear = U32(h + 16);
  const uint8_t* pf = h + 72;
  if (U32(pf) != 32) return -1;
  const uint32_t pfFlags = U32(pf + 4);
  const uint32_t bits = U32(pf + 12);
  if ((pfFlags & 0x4) || !(pfFlags & 0x40)) return -1;  // compressed, or not RGB
  if (bits != 16 && bits != 24 && bits != 32) return -1;
  if (!SizeAcceptable(width, height)) return -1;
  const uint32_t red = U32(pf + 16), green = U32(pf + 20), blue = U32(pf + 24);
  const uint32_t alpha = (pfFlags & 0x1) ? U32(pf + 28) : 0;
  const uint64_t limit = bits == 32 ? 0xFFFFFFFFull : ((1ull << bits) - 1);
  if (!red || !green || !blue || (uint64_t{red | green | blue | alpha}) > limit) return -1;
  if ((red & green) || (red & blue) || (green & blue) || (alpha & (red | green | blue))) return -1;
  const int bpp = static_cast<int>(bits / 8);
  int64_t pitch = width * bpp;
  if ((flags & 0x8) && pitchOrLinear != 0) {  // the file's own pitch
    if (pitchOrLinear < pitch || pitchOrLinear > 4 * static_cast<uint64_t>(pitch) + 64) return -1;
    pitch = pitchOrLinear;
  }
  const size_t available = size - 128;
  const uint64_t needed = static_cast<uint64_t>(pitch) * (height - 1) + width * bpp;
  if (needed > available) return -1;
  GraphImage out{};
  SetMaskFormat(&out.format, bpp, red, green, blue, alpha);
  out.alphaFlag = alpha ? 1 : 0;
  if (AllocateGraphImage(&out, static_cast<int32_t>(width), static_cast<int32_t>(height),
                         static_cast<int32_t>(pitch)) != 0)
    return -1;
  for (int64_t y = 0; y < height; ++y)
    std::memcpy(out.pixels + pitch * y, data + 128 + pitch * y, static_cast<size_t>(width * bpp));
  *image = out;
  return 0;
}
