// MEMIMG records: the layout CreateMemImg gives each colour kind, the flags it
// forces, refusal of a live record, borrowed pixels, the release, views, and
// the standard colour formats the software routines rely on.
#include <gtest/gtest.h>

#include <cstring>

#include "core/memory.h"
#include "graphics/memimg.h"

namespace {

MEMIMG Blank() {
  MEMIMG m;
  std::memset(&m, 0, sizeof m);
  return m;
}

}  // namespace

TEST(MemImg, LayoutAndForcedFlagsOfEachKind) {
  struct Case {
    uint32_t kind, palette, alpha;
    int width, pitch;
    uint32_t wantPalette, wantAlpha;
    int wantBytes, wantPitch;
  };
  const Case cases[] = {
      {ColorKind16, 0, 0, 5, -1, 0, 0, 2, 16},    // 10 bytes rounded up to 16
      {ColorKind16, 0, 1, 5, -1, 0, 1, 4, 32},    // 16-bit with alpha: 4-byte pixels
      {ColorKind32, 0, 0, 5, -1, 0, 0, 4, 32},
      {ColorKind32, 0, 1, 4, -1, 0, 1, 4, 16},    // already a multiple of 16
      {ColorKind32, 1, 1, 5, -1, 1, 0, 1, 16},    // palette: alpha forced off
      {ColorKind8, 1, 1, 17, -1, 0, 0, 1, 32},    // kinds 2 and 3: no palette, no alpha
      {ColorKindOther, 1, 0, 8, -1, 0, 0, 2, 16},
      {ColorKind32, 0, 0, 5, 100, 0, 0, 4, 100},  // a given pitch is kept
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "kind " << c.kind << " palette " << c.palette << " alpha "
                                    << c.alpha << " width " << c.width);
    MEMIMG m = Blank();
    ASSERT_EQ(CreateMemImg(&m, c.width, 3, c.pitch, 7, c.kind, c.palette, c.alpha, 0), 0);
    EXPECT_EQ(m.aliveMark, MemImgAliveMark);
    EXPECT_EQ(m.paletteFlag, c.wantPalette);
    EXPECT_EQ(m.alphaFlag, c.wantAlpha);
    EXPECT_EQ(m.pitch, c.wantPitch);
    EXPECT_EQ(MemImgBytesPerPixel(c.kind, m.paletteFlag, m.alphaFlag), c.wantBytes);
    ASSERT_NE(m.format, nullptr);
    EXPECT_EQ(m.format->bytesPerPixel, c.wantBytes);
    EXPECT_EQ(m.transparentColor, 7u);
    EXPECT_EQ(m.palette != nullptr, c.wantPalette == 1);
    // The whole block is writable (the sanitizer checks pitch x height).
    std::memset(m.pixels, 0xAB, static_cast<size_t>(m.pitch) * 3);
    FreeMemImg(&m);
    EXPECT_EQ(m.aliveMark, 0u);
    EXPECT_EQ(m.pixels, nullptr);
  }
}

TEST(MemImg, StandardFormats) {
  const ColorFormat* f = GetStandardColorFormat(ColorKind16, 1, 0);
  EXPECT_EQ(f->bytesPerPixel, 4);
  EXPECT_EQ(f->redMask, 0xF800u);
  EXPECT_EQ(f->greenMask, 0x07E0u);
  EXPECT_EQ(f->blueMask, 0x001Fu);
  EXPECT_EQ(f->alphaMask, 0xFF0000u);
  const ColorFormat* g = GetStandardColorFormat(ColorKind32, 0, 0);
  EXPECT_EQ(g->bytesPerPixel, 4);
  EXPECT_EQ(g->redMask, 0xFF0000u);
  EXPECT_EQ(g->alphaMask, 0u);
  EXPECT_EQ(g->otherMask, 0xFF000000u);  // byte 3 lies outside the colour
  EXPECT_EQ(GetStandardColorFormat(ColorKind16, 0, 0)->bytesPerPixel, 2);
}

TEST(MemImg, LiveRecordsBorrowedPixelsAndViews) {
  const int blocks = TrackedLiveBlockCount();
  MEMIMG m = Blank();
  ASSERT_EQ(CreateMemImg(&m, 10, 4, -1, 0, ColorKind32, 0, 0, 1), 0);
  EXPECT_NE(m.alphaBuffer, nullptr);  // the make-buffers flag
  EXPECT_NE(m.extraBuffer, nullptr);
  uint8_t* const pixels = m.pixels;
  EXPECT_EQ(CreateMemImg(&m, 2, 2, -1, 0, ColorKind16, 0, 0, 0), -1);  // already alive
  EXPECT_EQ(m.pixels, pixels);
  EXPECT_EQ(m.width, 10);

  // A view shares the pixels, pitch and format and allocates nothing.
  const int withImage = TrackedLiveBlockCount();
  MEMIMG view;
  MakeMemImgView(&view, &m, 3, 2, 4, 2);
  EXPECT_EQ(TrackedLiveBlockCount(), withImage);
  EXPECT_EQ(view.pixels, m.pixels + 2 * m.pitch + 3 * 4);
  EXPECT_EQ(view.pitch, m.pitch);
  EXPECT_EQ(view.format, m.format);
  EXPECT_EQ(view.width, 4);
  EXPECT_EQ(view.height, 2);
  FreeMemImg(&view);  // frees nothing of the parent
  EXPECT_EQ(TrackedLiveBlockCount(), withImage);
  FreeMemImg(&m);
  FreeMemImg(&m);  // a record that is not alive is left alone
  EXPECT_EQ(TrackedLiveBlockCount(), blocks);

  // Pixels named before the call are used, and not freed with the record.
  uint8_t own[64] = {};
  MEMIMG b = Blank();
  b.pixels = own;
  ASSERT_EQ(CreateMemImg(&b, 4, 4, 16, 0, ColorKind32, 0, 0, 0), 0);
  EXPECT_EQ(b.pixels, own);
  FreeMemImg(&b);
  EXPECT_EQ(TrackedLiveBlockCount(), blocks);

  MEMIMG bad = Blank();
  EXPECT_EQ(CreateMemImg(&bad, -1, 4, -1, 0, ColorKind32, 0, 0, 0), -1);
  EXPECT_EQ(CreateMemImg(&bad, 4, 4, 8, 0, ColorKind32, 0, 0, 0), -1);  // pitch below a row
  EXPECT_EQ(bad.aliveMark, 0u);
}
