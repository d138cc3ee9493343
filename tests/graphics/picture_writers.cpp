// Encoders for the pictures of the graphics tests.
#include "picture_writers.h"

#include <png.h>

#include <cstdio>
#include <cstring>

#include <jpeglib.h>

namespace {

void Put16(Bytes& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(Bytes& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}
uint8_t R(uint32_t c) { return static_cast<uint8_t>(c >> 16); }
uint8_t G(uint32_t c) { return static_cast<uint8_t>(c >> 8); }
uint8_t B(uint32_t c) { return static_cast<uint8_t>(c); }
uint8_t A(uint32_t c) { return static_cast<uint8_t>(c >> 24); }

uint32_t Widen(uint32_t v, int bits) {
  return bits == 5 ? ((v << 3) | (v >> 2)) : ((v << 2) | (v >> 4));
}

Bytes BmpHeaders(int width, int height, int bits, uint32_t compression, uint32_t paletteCount,
                 uint32_t extra, uint32_t dataBytes, bool topDown) {
  Bytes b;
  const uint32_t offset = 14 + 40 + extra + paletteCount * 4;
  b.push_back('B');
  b.push_back('M');
  Put32(b, offset + dataBytes);
  Put32(b, 0);
  Put32(b, offset);
  Put32(b, 40);
  Put32(b, static_cast<uint32_t>(width));
  Put32(b, static_cast<uint32_t>(topDown ? -height : height));
  Put16(b, 1);
  Put16(b, static_cast<uint32_t>(bits));
  Put32(b, compression);
  Put32(b, dataBytes);
  Put32(b, 2835);
  Put32(b, 2835);
  Put32(b, paletteCount);
  Put32(b, 0);
  return b;
}

int FileRow(int height, int y, bool topDown) { return topDown ? y : height - 1 - y; }

}  // namespace

Picture MakeTestPicture(int width, int height, bool withAlpha) {
  Picture p;
  p.width = width;
  p.height = height;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const uint32_t r = (x * 37 + y * 11) & 0xFF, g = (y * 53 + 7) & 0xFF,
                     b = (x * 5 + y * 29 + 100) & 0xFF;
      const uint32_t a = withAlpha ? ((x * 16 + y * 40) & 0xFF) : 0xFF;
      p.argb.push_back((a << 24) | (r << 16) | (g << 8) | b);
    }
  return p;
}

Picture MakePalettePicture(int width, int height, int colours, std::vector<uint32_t>* palette) {
  palette->clear();
  for (int i = 0; i < colours; ++i)
    palette->push_back(0xFF000000u | (static_cast<uint32_t>(i * 40 + 3) & 0xFF) << 16 |
                       (static_cast<uint32_t>(255 - i * 9) & 0xFF) << 8 |
                       (static_cast<uint32_t>(i * 77) & 0xFF));
  Picture p;
  p.width = width;
  p.height = height;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) p.argb.push_back((*palette)[(x + 2 * y) % colours]);
  return p;
}

Bytes WriteBmpDirect(const Picture& p, int bits, bool topDown) {
  const int bpp = bits / 8;
  const uint32_t stride = (p.width * bpp + 3) & ~3;
  Bytes b = BmpHeaders(p.width, p.height, bits, 0, 0, 0, stride * p.height, topDown);
  for (int row = 0; row < p.height; ++row) {
    const int y = FileRow(p.height, row, topDown);
    for (int x = 0; x < p.width; ++x) {
      const uint32_t c = p.At(x, y);
      b.push_back(B(c));
      b.push_back(G(c));
      b.push_back(R(c));
      if (bpp == 4) b.push_back(A(c));
    }
    for (uint32_t i = p.width * bpp; i < stride; ++i) b.push_back(0);
  }
  return b;
}

Bytes WriteBmp16(const Picture& p, bool bitfields565, bool topDown) {
  const uint32_t stride = (p.width * 2 + 3) & ~3;
  Bytes b = BmpHeaders(p.width, p.height, 16, bitfields565 ? 3 : 0, 0, bitfields565 ? 12 : 0,
                       stride * p.height, topDown);
  if (bitfields565) {
    Put32(b, 0xF800);
    Put32(b, 0x07E0);
    Put32(b, 0x001F);
  }
  for (int row = 0; row < p.height; ++row) {
    const int y = FileRow(p.height, row, topDown);
    for (int x = 0; x < p.width; ++x) {
      const uint32_t c = p.At(x, y);
      const uint32_t v = bitfields565 ? ((R(c) >> 3) << 11) | ((G(c) >> 2) << 5) | (B(c) >> 3)
                                      : ((R(c) >> 3) << 10) | ((G(c) >> 3) << 5) | (B(c) >> 3);
      Put16(b, v);
    }
    for (uint32_t i = p.width * 2; i < stride; ++i) b.push_back(0);
  }
  return b;
}

Bytes WriteBmpPalette(const Picture& p, const std::vector<uint32_t>& palette, int bits,
                      bool topDown) {
  const uint32_t stride = ((p.width * bits + 31) / 32) * 4;
  Bytes b = BmpHeaders(p.width, p.height, bits, 0, static_cast<uint32_t>(palette.size()), 0,
                       stride * p.height, topDown);
  for (uint32_t c : palette) {
    b.push_back(B(c));
    b.push_back(G(c));
    b.push_back(R(c));
    b.push_back(0);
  }
  for (int row = 0; row < p.height; ++row) {
    const int y = FileRow(p.height, row, topDown);
    Bytes line(stride, 0);
    for (int x = 0; x < p.width; ++x) {
      uint32_t index = 0;
      while (palette[index] != p.At(x, y)) ++index;
      if (bits == 8) line[x] = static_cast<uint8_t>(index);
      else if (bits == 4) line[x / 2] |= static_cast<uint8_t>(index << ((x & 1) ? 0 : 4));
      else line[x / 8] |= static_cast<uint8_t>(index << (7 - (x & 7)));
    }
    b.insert(b.end(), line.begin(), line.end());
  }
  return b;
}

namespace {

Bytes TgaHeader(int type, int mapType, int mapLength, int mapDepth, const Picture& p, int bits,
                int descriptor) {
  Bytes b;
  b.push_back(3);  // id length: "abc" follows
  b.push_back(static_cast<uint8_t>(mapType));
  b.push_back(static_cast<uint8_t>(type));
  Put16(b, 0);
  Put16(b, static_cast<uint32_t>(mapLength));
  b.push_back(static_cast<uint8_t>(mapDepth));
  Put16(b, 0);
  Put16(b, 0);
  Put16(b, static_cast<uint32_t>(p.width));
  Put16(b, static_cast<uint32_t>(p.height));
  b.push_back(static_cast<uint8_t>(bits));
  b.push_back(static_cast<uint8_t>(descriptor));
  b.push_back('a');
  b.push_back('b');
  b.push_back('c');
  return b;
}

// Pixels in file order (rows by origin), as bpp-byte records.
std::vector<Bytes> TgaPixels(const Picture& p, bool topOrigin, bool rightOrigin, int bits,
                             const std::vector<uint32_t>* palette) {
  std::vector<Bytes> out;
  for (int row = 0; row < p.height; ++row) {
    const int y = topOrigin ? row : p.height - 1 - row;
    for (int col = 0; col < p.width; ++col) {
      const int x = rightOrigin ? p.width - 1 - col : col;
      const uint32_t c = p.At(x, y);
      Bytes px;
      if (palette) {
        uint32_t index = 0;
        while ((*palette)[index] != c) ++index;
        px.push_back(static_cast<uint8_t>(index));
      } else if (bits == 8) {
        px.push_back(G(c));
      } else if (bits == 16) {
        const uint32_t v = ((R(c) >> 3) << 10) | ((G(c) >> 3) << 5) | (B(c) >> 3);
        px.push_back(static_cast<uint8_t>(v));
        px.push_back(static_cast<uint8_t>(v >> 8));
      } else {
        px.push_back(B(c));
        px.push_back(G(c));
        px.push_back(R(c));
        if (bits == 32) px.push_back(A(c));
      }
      out.push_back(px);
    }
  }
  return out;
}

void AppendTgaData(Bytes& b, const std::vector<Bytes>& pixels, bool rle) {
  if (!rle) {
    for (const Bytes& px : pixels) b.insert(b.end(), px.begin(), px.end());
    return;
  }
  // Runs of equal pixels become run packets, the rest raw packets (max 128).
  size_t i = 0;
  while (i < pixels.size()) {
    size_t run = 1;
    while (i + run < pixels.size() && run < 128 && pixels[i + run] == pixels[i]) ++run;
    if (run >= 2) {
      b.push_back(static_cast<uint8_t>(0x80 | (run - 1)));
      b.insert(b.end(), pixels[i].begin(), pixels[i].end());
      i += run;
      continue;
    }
    size_t raw = 1;
    while (i + raw < pixels.size() && raw < 128 &&
           !(i + raw + 1 < pixels.size() && pixels[i + raw] == pixels[i + raw + 1]))
      ++raw;
    b.push_back(static_cast<uint8_t>(raw - 1));
    for (size_t k = 0; k < raw; ++k) b.insert(b.end(), pixels[i + k].begin(), pixels[i + k].end());
    i += raw;
  }
}

}  // namespace

Bytes WriteTgaTrue(const Picture& p, int bits, bool rle, bool topOrigin, bool rightOrigin) {
  const int descriptor = (topOrigin ? 0x20 : 0) | (rightOrigin ? 0x10 : 0) | (bits == 32 ? 8 : 0);
  Bytes b = TgaHeader(rle ? 10 : 2, 0, 0, 0, p, bits, descriptor);
  AppendTgaData(b, TgaPixels(p, topOrigin, rightOrigin, bits, nullptr), rle);
  return b;
}

Bytes WriteTgaMapped(const Picture& p, const std::vector<uint32_t>& palette, bool rle,
                     bool topOrigin, int mapDepth) {
  Bytes b = TgaHeader(rle ? 9 : 1, 1, static_cast<int>(palette.size()), mapDepth, p, 8,
                      topOrigin ? 0x20 : 0);
  for (uint32_t c : palette) {
    if (mapDepth == 16) {
      Put16(b, ((R(c) >> 3) << 10) | ((G(c) >> 3) << 5) | (B(c) >> 3));
    } else {
      b.push_back(B(c));
      b.push_back(G(c));
      b.push_back(R(c));
      if (mapDepth == 32) b.push_back(A(c));
    }
  }
  AppendTgaData(b, TgaPixels(p, topOrigin, false, 8, &palette), rle);
  return b;
}

Bytes WriteTgaGrey(const Picture& p, bool rle, bool topOrigin) {
  Bytes b = TgaHeader(rle ? 11 : 3, 0, 0, 0, p, 8, topOrigin ? 0x20 : 0);
  AppendTgaData(b, TgaPixels(p, topOrigin, false, 8, nullptr), rle);
  return b;
}

Bytes WriteBgra(const Picture& p) {
  Bytes b = {'B', 'G', 'R', 'A'};
  Put32(b, static_cast<uint32_t>(p.width));
  Put32(b, static_cast<uint32_t>(p.height));
  for (uint32_t c : p.argb) {
    b.push_back(B(c));
    b.push_back(G(c));
    b.push_back(R(c));
    b.push_back(A(c));
  }
  return b;
}

Bytes WriteDds32(const Picture& p, int pitch) {
  Bytes b = {'D', 'D', 'S', ' '};
  Put32(b, 124);
  Put32(b, 0x1 | 0x2 | 0x4 | 0x8 | 0x1000);  // caps, height, width, pitch, pixel format
  Put32(b, static_cast<uint32_t>(p.height));
  Put32(b, static_cast<uint32_t>(p.width));
  Put32(b, static_cast<uint32_t>(pitch));
  Put32(b, 0);
  Put32(b, 0);
  for (int i = 0; i < 11; ++i) Put32(b, 0);
  Put32(b, 32);
  Put32(b, 0x40 | 0x1);
  Put32(b, 0);
  Put32(b, 32);
  Put32(b, 0xFF0000);
  Put32(b, 0xFF00);
  Put32(b, 0xFF);
  Put32(b, 0xFF000000);
  Put32(b, 0x1000);
  for (int i = 0; i < 4; ++i) Put32(b, 0);
  for (int y = 0; y < p.height; ++y) {
    for (int x = 0; x < p.width; ++x) {
      const uint32_t c = p.At(x, y);
      b.push_back(B(c));
      b.push_back(G(c));
      b.push_back(R(c));
      b.push_back(A(c));
    }
    for (int i = p.width * 4; i < pitch; ++i) b.push_back(0xEE);
  }
  return b;
}

namespace {
void PngWrite(png_structp png, png_bytep data, png_size_t length) {
  Bytes* out = static_cast<Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}
void PngFlush(png_structp) {}
}  // namespace

Bytes WritePng(const Picture& p, bool withAlpha) {
  Bytes out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return Bytes();
  }
  png_set_write_fn(png, &out, PngWrite, PngFlush);
  png_set_IHDR(png, info, p.width, p.height, 8,
               withAlpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  Bytes row;
  for (int y = 0; y < p.height; ++y) {
    row.clear();
    for (int x = 0; x < p.width; ++x) {
      const uint32_t c = p.At(x, y);
      row.push_back(R(c));
      row.push_back(G(c));
      row.push_back(B(c));
      if (withAlpha) row.push_back(A(c));
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

Bytes WriteJpeg(const Picture& p, int quality) {
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(p.width);
  info.image_height = static_cast<JDIMENSION>(p.height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  Bytes row;
  while (info.next_scanline < info.image_height) {
    row.clear();
    for (int x = 0; x < p.width; ++x) {
      const uint32_t c = p.At(x, static_cast<int>(info.next_scanline));
      row.push_back(R(c));
      row.push_back(G(c));
      row.push_back(B(c));
    }
    JSAMPROW pointer = row.data();
    jpeg_write_scanlines(&info, &pointer, 1);
  }
  jpeg_finish_compress(&info);
  Bytes out(buffer, buffer + size);
  jpeg_destroy_compress(&info);
  free(buffer);
  return out;
}

uint32_t Through565(uint32_t c) {
  return (c & 0xFF000000u) | (Widen(R(c) >> 3, 5) << 16) | (Widen(G(c) >> 2, 6) << 8) |
         Widen(B(c) >> 3, 5);
}
uint32_t Through555(uint32_t c) {
  return (c & 0xFF000000u) | (Widen(R(c) >> 3, 5) << 16) | (Widen(G(c) >> 3, 5) << 8) |
         Widen(B(c) >> 3, 5);
}
