// The decoder chain on pictures written by the tests: every format and
// variant gives the reference pixels, each decoder keeps its pitch rule, the
// conversion gives the same colours on 32 and 16-bit screens, and damaged or
// hostile files fail cleanly.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <functional>
#include <initializer_list>

#include "graphics/graph_image.h"
#include "graphics/image_convert.h"
#include "picture_writers.h"

namespace {

struct Decoded {
  GraphImage image{};
  int result = -1;
  explicit Decoded(const Bytes& bytes) { result = DecodeImageMemory(bytes.data(), bytes.size(), &image); }
  ~Decoded() { ReleaseGraphImage(&image); }
};

uint32_t Opaque(uint32_t c) { return c | 0xFF000000u; }

// Every pixel equals the reference after transform.
void ExpectPixels(const Bytes& file, const Picture& p, const std::function<uint32_t(uint32_t)>& t,
                  const char* what) {
  SCOPED_TRACE(what);
  Decoded d(file);
  ASSERT_EQ(d.result, 0);
  ASSERT_EQ(d.image.width, p.width);
  ASSERT_EQ(d.image.height, p.height);
  int wrong = 0;
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x)
      if (GraphImagePixelArgb(&d.image, x, y) != t(p.At(x, y)) && wrong++ < 3)
        ADD_FAILURE() << "pixel " << x << "," << y << " got " << std::hex
                      << GraphImagePixelArgb(&d.image, x, y) << " want " << t(p.At(x, y));
  EXPECT_EQ(wrong, 0);
}

}  // namespace

TEST(BmpDecoder, DirectColourDepthsAndRowOrders) {
  const Picture p = MakeTestPicture(7, 5, false);
  for (bool topDown : {false, true}) {
    ExpectPixels(WriteBmpDirect(p, 24, topDown), p, Opaque, topDown ? "24 top-down" : "24");
    ExpectPixels(WriteBmpDirect(p, 32, topDown), p, Opaque, "32");
    ExpectPixels(WriteBmp16(p, false, topDown), p, [](uint32_t c) { return Opaque(Through555(c)); },
                 "16 5-5-5");
    ExpectPixels(WriteBmp16(p, true, topDown), p, [](uint32_t c) { return Opaque(Through565(c)); },
                 "16 5-6-5 bit fields");
  }
  // A 32-bit BI_RGB picture's fourth byte is no alpha.
  Decoded d(WriteBmpDirect(MakeTestPicture(3, 2, true), 32, false));
  ASSERT_EQ(d.result, 0);
  EXPECT_EQ(d.image.alphaFlag, 0);
}

TEST(BmpDecoder, PaletteDepthsAndPitchRule) {
  for (int bits : {1, 4, 8}) {
    std::vector<uint32_t> palette;
    const Picture p = MakePalettePicture(13, 6, 1 << (bits == 8 ? 5 : bits), &palette);
    ExpectPixels(WriteBmpPalette(p, palette, bits, false), p, Opaque, "palette bottom-up");
    ExpectPixels(WriteBmpPalette(p, palette, bits, true), p, Opaque, "palette top-down");
  }
  Decoded d(WriteBmpDirect(MakeTestPicture(7, 5, false), 24, false));
  ASSERT_EQ(d.result, 0);
  EXPECT_EQ(d.image.pitch, 24);  // 21 bytes rounded up to a multiple of 4
}

TEST(TgaDecoder, TrueColourPlainAndRunLengthBothOrigins) {
  const Picture p = MakeTestPicture(9, 4, true);
  for (bool rle : {false, true})
    for (bool top : {false, true}) {
      ExpectPixels(WriteTgaTrue(p, 24, rle, top), p, Opaque, "24");
      ExpectPixels(WriteTgaTrue(p, 32, rle, top), p, [](uint32_t c) { return c; }, "32 alpha");
      ExpectPixels(WriteTgaTrue(p, 16, rle, top), p,
                   [](uint32_t c) { return Opaque(Through555(c)); }, "16");
    }
  ExpectPixels(WriteTgaTrue(p, 24, false, true, true), p, Opaque, "right-to-left");
  Decoded d(WriteTgaTrue(p, 24, false, false));
  ASSERT_EQ(d.result, 0);
  EXPECT_EQ(d.image.pitch, 27);  // exactly width x 3, no padding
  Decoded a(WriteTgaTrue(p, 32, false, false));
  EXPECT_EQ(a.image.alphaFlag, 1);
}

TEST(TgaDecoder, ColourMappedAndGrey) {
  std::vector<uint32_t> palette;
  const Picture p = MakePalettePicture(10, 7, 20, &palette);
  for (bool rle : {false, true})
    for (bool top : {false, true}) ExpectPixels(WriteTgaMapped(p, palette, rle, top), p, Opaque, "mapped");
  ExpectPixels(WriteTgaMapped(p, palette, false, true, 16), p,
               [](uint32_t c) { return Opaque(Through555(c)); }, "16-bit map");
  const Picture q = MakeTestPicture(6, 6, false);
  auto grey = [](uint32_t c) {
    const uint32_t g = (c >> 8) & 0xFF;
    return 0xFF000000u | (g << 16) | (g << 8) | g;
  };
  ExpectPixels(WriteTgaGrey(q, false, false), q, grey, "grey");
  ExpectPixels(WriteTgaGrey(q, true, true), q, grey, "grey run-length");
}

TEST(OtherDecoders, BgraDdsPngJpeg) {
  const Picture p = MakeTestPicture(7, 3, true);
  ExpectPixels(WriteBgra(p), p, [](uint32_t c) { return c; }, "BGRA");
  ExpectPixels(WriteDds32(p, 40), p, [](uint32_t c) { return c; }, "DDS");
  {
    Decoded d(WriteDds32(p, 40));
    EXPECT_EQ(d.image.pitch, 40);  // the file's own pitch
  }
  ExpectPixels(WritePng(p, true), p, [](uint32_t c) { return c; }, "PNG alpha");
  ExpectPixels(WritePng(p, false), p, Opaque, "PNG");
  // JPEG is lossy: a flat picture comes back within a few levels.
  Picture flat;
  flat.width = 16;
  flat.height = 8;
  flat.argb.assign(16 * 8, 0xFF2080C0u);
  Decoded d(WriteJpeg(flat, 95));
  ASSERT_EQ(d.result, 0);
  ASSERT_EQ(d.image.width, 16);
  ASSERT_EQ(d.image.height, 8);
  const uint32_t c = GraphImagePixelArgb(&d.image, 5, 5);
  EXPECT_NEAR(static_cast<int>((c >> 16) & 0xFF), 0x20, 3);
  EXPECT_NEAR(static_cast<int>((c >> 8) & 0xFF), 0x80, 3);
  EXPECT_NEAR(static_cast<int>(c & 0xFF), 0xC0, 3);
}

TEST(Conversion, SamePixelsOn32And16BitScreens) {
  const Picture p = MakeTestPicture(5, 4, false);
  const Picture pa = MakeTestPicture(5, 4, true);
  std::vector<uint32_t> palette;
  const Picture pp = MakePalettePicture(5, 4, 12, &palette);
  for (const Bytes& file : {WriteTgaTrue(p, 24, true, false), WriteBmpDirect(p, 24, true),
                            WritePng(pa, true), WriteTgaTrue(pa, 32, false, true),
                            WriteTgaTrue(p, 16, true, true), WriteBmp16(p, true, false),
                            WriteBmpPalette(pp, palette, 8, false), WriteTgaMapped(pp, palette, true, false),
                            WriteTgaGrey(p, false, true), WriteBgra(pa), WriteDds32(pa, 24)}) {
    Decoded d(file);
    ASSERT_EQ(d.result, 0);
    MEMIMG m32, m16;
    std::memset(&m32, 0, sizeof m32);
    std::memset(&m16, 0, sizeof m16);
    ASSERT_EQ(ConvertGraphImageToMemImg(&d.image, 32, &m32), 0);
    ASSERT_EQ(ConvertGraphImageToMemImg(&d.image, 16, &m16), 0);
    EXPECT_EQ(m32.colorKind, ColorKind32);
    EXPECT_EQ(m16.colorKind, ColorKind16);
    EXPECT_EQ(m32.alphaFlag, static_cast<uint32_t>(d.image.alphaFlag));
    EXPECT_EQ(m16.format->bytesPerPixel, d.image.alphaFlag ? 4 : 2);
    EXPECT_EQ(m32.transparentColor, 0u);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 5; ++x) {
        const uint32_t want = GraphImagePixelArgb(&d.image, x, y);
        uint32_t v32, v16 = 0;
        std::memcpy(&v32, MemImgRow(&m32, y) + x * 4, 4);
        std::memcpy(&v16, MemImgRow(&m16, y) + x * m16.format->bytesPerPixel,
                    m16.format->bytesPerPixel);
        const uint32_t alpha = d.image.alphaFlag ? (want >> 24) : 0;  // byte 3 is 0 without alpha
        EXPECT_EQ(v32, (alpha << 24) | (want & 0xFFFFFF));
        const uint32_t word = (((want >> 19) & 31) << 11) | (((want >> 10) & 63) << 5) | ((want >> 3) & 31);
        EXPECT_EQ(v16, word | (d.image.alphaFlag ? (want >> 24) << 16 : 0));
      }
    FreeMemImg(&m32);
    FreeMemImg(&m16);
  }
}

TEST(TgaDecoder, NeverTakesOtherFormats) {
  const Picture p = MakeTestPicture(4, 4, true);
  for (const Bytes& file : {WritePng(p, true), WriteDds32(p, 16), WriteJpeg(p, 80),
                            WriteBmpDirect(p, 24, false), WriteBgra(p)}) {
    GraphImage image{};
    EXPECT_EQ(DecodeTga(file.data(), file.size(), &image), -1);
    EXPECT_EQ(image.pixels, nullptr);
  }
}

TEST(BadInput, TruncatedFilesFailAtEveryLength) {
  std::vector<uint32_t> palette;
  const Picture pp = MakePalettePicture(9, 5, 16, &palette);
  const Picture p = MakeTestPicture(9, 5, true);
  const Bytes files[] = {WriteBmpDirect(p, 24, false), WriteBmpPalette(pp, palette, 4, false),
                         WriteTgaTrue(p, 32, true, false), WriteTgaMapped(pp, palette, true, true),
                         WriteTgaTrue(p, 24, false, true), WriteBgra(p), WriteDds32(p, 36),
                         WritePng(p, true), WriteJpeg(p, 90)};
  for (const Bytes& file : files) {
    for (size_t cut = 0; cut < file.size(); cut += (cut < 64 ? 1 : 7)) {
      Bytes head(file.begin(), file.begin() + static_cast<long>(cut));
      GraphImage image{};
      const int result = DecodeImageMemory(head.data(), head.size(), &image);
      // A cut inside trailing padding can still decode; a real cut must not.
      if (result == 0) ReleaseGraphImage(&image);
      if (cut < file.size() * 3 / 4) {
        EXPECT_EQ(result, -1) << "cut at " << cut;
      }
    }
  }
}

TEST(BadInput, HostileHeadersAndData) {
  const Picture p = MakeTestPicture(4, 4, false);
  GraphImage image{};
  // BMP claiming 100000 x 100000 pixels.
  Bytes bmp = WriteBmpDirect(p, 24, false);
  bmp[18] = 0xA0; bmp[19] = 0x86; bmp[20] = 0x01;
  bmp[22] = 0xA0; bmp[23] = 0x86; bmp[24] = 0x01;
  EXPECT_EQ(DecodeBmp(bmp.data(), bmp.size(), &image), -1);
  // Run-length TGA claiming 65535 x 65535 pixels in a few bytes.
  Bytes tga = WriteTgaTrue(p, 24, true, false);
  tga[12] = tga[13] = tga[14] = tga[15] = 0xFF;
  EXPECT_EQ(DecodeTga(tga.data(), tga.size(), &image), -1);
  // A run that goes past the last pixel.
  Bytes run = WriteTgaTrue(p, 24, false, false);
  run[2] = 10;
  run.resize(18 + 3);
  const uint8_t packet[] = {0xFF, 1, 2, 3};  // 128 pixels for a 16-pixel picture
  run.insert(run.end(), packet, packet + 4);
  EXPECT_EQ(DecodeTga(run.data(), run.size(), &image), -1);
  // A palette index past the colour map.
  std::vector<uint32_t> palette;
  const Picture pp = MakePalettePicture(4, 4, 4, &palette);
  Bytes mapped = WriteTgaMapped(pp, palette, false, false);
  mapped.back() = 9;
  EXPECT_EQ(DecodeTga(mapped.data(), mapped.size(), &image), -1);
  Bytes bmp8 = WriteBmpPalette(pp, palette, 8, false);
  bmp8[bmp8.size() - 4] = 200;  // palette of 4 entries
  EXPECT_EQ(DecodeBmp(bmp8.data(), bmp8.size(), &image), -1);
  // A PNG whose image data is damaged (the CRC no longer matches).
  Bytes png = WritePng(MakeTestPicture(16, 16, true), true);
  png[png.size() - 20] ^= 0x55;
  EXPECT_EQ(DecodeImageMemory(png.data(), png.size(), &image), -1);
  // PNG and JPEG headers claiming 65535 x 65535 pixels are refused before
  // any pixel memory is taken.
  Bytes bigPng = WritePng(MakeTestPicture(4, 4, false), false);
  for (int i = 16; i < 24; ++i) bigPng[i] = (i % 4 < 2) ? 0 : 0xFF;  // IHDR width, height
  const uLong crc = crc32(crc32(0, nullptr, 0), bigPng.data() + 12, 17);
  for (int i = 0; i < 4; ++i) bigPng[29 + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
  EXPECT_EQ(DecodeImageMemory(bigPng.data(), bigPng.size(), &image), -1);
  Bytes bigJpeg = WriteJpeg(MakeTestPicture(8, 8, false), 90);
  for (size_t i = 2; i + 8 < bigJpeg.size(); ++i)
    if (bigJpeg[i] == 0xFF && bigJpeg[i + 1] == 0xC0) {  // start of frame: height, width
      bigJpeg[i + 5] = bigJpeg[i + 6] = bigJpeg[i + 7] = bigJpeg[i + 8] = 0xFF;
      break;
    }
  EXPECT_EQ(DecodeImageMemory(bigJpeg.data(), bigJpeg.size(), &image), -1);
  // A DDS with compressed data (a four-character code) is refused.
  Bytes dds = WriteDds32(p, 16);
  dds[4 + 72 + 4] = 0x4;
  EXPECT_EQ(DecodeDds(dds.data(), dds.size(), &image), -1);
  // Nothing at all.
  EXPECT_EQ(DecodeImageMemory(nullptr, 0, &image), -1);
  EXPECT_EQ(image.pixels, nullptr);
}

namespace {

void Le16(Bytes& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
void Le32(Bytes& b, uint32_t v) {
  Le16(b, v & 0xFFFF);
  Le16(b, v >> 16);
}

// A BMP file header and information header of headerSize bytes, no pixels.
Bytes BmpHead(uint32_t headerSize, uint32_t pixelOffset, int32_t width, int32_t height,
              uint16_t bits, uint32_t compression, uint32_t paletteCount) {
  Bytes b = {'B', 'M'};
  Le32(b, 0);
  Le32(b, 0);
  Le32(b, pixelOffset);
  Le32(b, headerSize);
  Le32(b, static_cast<uint32_t>(width));
  Le32(b, static_cast<uint32_t>(height));
  Le16(b, 1);
  Le16(b, bits);
  Le32(b, compression);
  Le32(b, 0);
  Le32(b, 0);
  Le32(b, 0);
  Le32(b, paletteCount);
  Le32(b, 0);
  b.resize(14 + headerSize, 0);
  return b;
}

}  // namespace

// Headers whose fields point outside the file or overflow a size: each file is
// exactly as long as written, so a read past it shows under the sanitizer.
TEST(BadInput, HostileHeadersNeverReadPastTheFile) {
  struct Case {
    const char* what;
    Bytes file;
  };
  std::vector<Case> cases;
  cases.push_back({"BMP bit fields after a 44-byte header (no room for the masks)",
                   BmpHead(44, 58, 1, 1, 16, 3, 0)});
  cases.push_back({"BMP pixel offset past the end", BmpHead(40, 0xFFFFFFF0u, 1, 1, 24, 0, 0)});
  {
    Bytes b = BmpHead(40, 54 + 8, 2, 1, 8, 0, 0x80000000u);  // palette count 2^31
    b.resize(b.size() + 8 + 4, 0);
    cases.push_back({"BMP palette count far past the map", b});
  }
  {
    Bytes b = BmpHead(40, 54, -1, 1, 24, 0, 0);
    b.resize(b.size() + 4, 0);
    cases.push_back({"BMP negative width", b});
  }
  {
    Bytes b = BmpHead(40, 54, 1, INT32_MIN, 24, 0, 0);
    b.resize(b.size() + 4, 0);
    cases.push_back({"BMP most negative height", b});
  }
  {
    Bytes b = {'B', 'G', 'R', 'A'};
    Le32(b, 0x10000);
    Le32(b, 0x10000);  // 2^32 pixels
    b.resize(b.size() + 64, 0);
    cases.push_back({"BGRA size overflowing 32 bits", b});
  }
  {
    Bytes b = {255, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    Le16(b, 1);
    Le16(b, 1);
    b.push_back(24);
    b.push_back(0);
    cases.push_back({"TGA identification field past the end", b});
  }
  {
    Bytes b = {0, 1, 1, 0, 0, 0xFF, 0xFF, 24, 0, 0, 0, 0};
    Le16(b, 1);
    Le16(b, 1);
    b.push_back(8);
    b.push_back(0);
    b.push_back(0);
    cases.push_back({"TGA colour map of 65535 entries past the end", b});
  }
  {
    Bytes b = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    Le16(b, 4);
    Le16(b, 4);
    b.push_back(32);
    b.push_back(0x20);
    b.resize(b.size() + 4 * 4 * 4 - 1, 0x7F);  // one byte short
    cases.push_back({"TGA pixels one byte short", b});
  }
  for (uint32_t pitch : {0xFFFFFFFFu, 3u}) {
    Bytes b = {'D', 'D', 'S', ' '};
    Le32(b, 124);
    Le32(b, 0x100F);  // caps, height, width, pitch, pixel format
    Le32(b, 2);       // height
    Le32(b, 2);       // width
    Le32(b, pitch);
    b.resize(4 + 72, 0);
    Le32(b, 32);
    Le32(b, 0x41);  // RGB with alpha
    Le32(b, 0);
    Le32(b, 32);
    Le32(b, 0xFF0000);
    Le32(b, 0xFF00);
    Le32(b, 0xFF);
    Le32(b, 0xFF000000u);
    b.resize(128 + 16, 0);
    cases.push_back({"DDS with a hostile pitch", b});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Bytes exact(c.file);
    exact.shrink_to_fit();
    GraphImage image{};
    EXPECT_EQ(DecodeImageMemory(exact.data(), exact.size(), &image), -1);
    EXPECT_EQ(image.pixels, nullptr);
  }
}
