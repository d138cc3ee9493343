// PNG through libpng: a read function over the ImageStream, errors unwound
// with png_jmpbuf. Every picture becomes 32-bit blue, green, red, alpha.
#include <png.h>

#include <csetjmp>
#include <cstdlib>
#include <cstring>

#include "graphics/graph_image.h"

namespace {

void ReadFromStream(png_structp png, png_bytep buffer, png_size_t length) {
  ImageStream* stream = static_cast<ImageStream*>(png_get_io_ptr(png));
  if (stream->functions->read(buffer, 1, length, stream->handle) != length)
    png_error(png, "read past the end of the stream");
}

void QuietWarning(png_structp, png_const_charp) {}
// Unwinds to the decoder without printing; the loader writes the log line.
void QuietError(png_structp png, png_const_charp) { png_longjmp(png, 1); }

struct PngWork {
  png_structp png = nullptr;
  png_infop info = nullptr;
  uint8_t* pixels = nullptr;
  png_bytep* rows = nullptr;
};

}  // namespace

int DecodePng(ImageStream* stream, GraphImage* image) {
  uint8_t signature[8];
  if (stream->functions->read(signature, 1, 8, stream->handle) != 8) return -1;
  if (png_sig_cmp(signature, 0, 8) != 0) return -1;

  PngWork work;  // outlives the jump: only plain pointers, read back after it
  PngWork* w = &work;
  w->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, QuietError, QuietWarning);
  if (!w->png) return -1;
  w->info = png_create_info_struct(w->png);
  if (!w->info) {
    png_destroy_read_struct(&w->png, nullptr, nullptr);
    return -1;
  }
  if (setjmp(png_jmpbuf(w->png))) {
    png_destroy_read_struct(&w->png, &w->info, nullptr);
    std::free(w->rows);
    std::free(w->pixels);
    return -1;
  }
  png_set_user_limits(w->png, MaxImageSide, MaxImageSide);
  png_set_chunk_malloc_max(w->png, 64u * 1024 * 1024);
  png_set_read_fn(w->png, stream, ReadFromStream);
  png_set_sig_bytes(w->png, 8);
  png_read_info(w->png, w->info);

  const png_uint_32 width = png_get_image_width(w->png, w->info);
  const png_uint_32 height = png_get_image_height(w->png, w->info);
  const int colourType = png_get_color_type(w->png, w->info);
  const int bitDepth = png_get_bit_depth(w->png, w->info);
  if (static_cast<int64_t>(width) * height > MaxImagePixels) png_error(w->png, "too large");
  const bool hasAlpha = (colourType & PNG_COLOR_MASK_ALPHA) ||
                        png_get_valid(w->png, w->info, PNG_INFO_tRNS);
  if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(w->png);
  if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(w->png);
  if (png_get_valid(w->png, w->info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(w->png);
  if (bitDepth == 16) png_set_strip_16(w->png);
  if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA)
    png_set_gray_to_rgb(w->png);
  png_set_bgr(w->png);
  if (!hasAlpha) png_set_filler(w->png, 0, PNG_FILLER_AFTER);
  png_set_interlace_handling(w->png);
  png_read_update_info(w->png, w->info);
  if (png_get_rowbytes(w->png, w->info) != static_cast<size_t>(width) * 4)
    png_error(w->png, "unexpected row layout");

  const size_t pitch = static_cast<size_t>(width) * 4;
  w->pixels = static_cast<uint8_t*>(std::calloc(pitch * height, 1));
  w->rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * height));
  if (!w->pixels || !w->rows) png_error(w->png, "out of memory");
  for (png_uint_32 y = 0; y < height; ++y) w->rows[y] = w->pixels + pitch * y;
  png_read_image(w->png, w->rows);
  png_read_end(w->png, nullptr);
  png_destroy_read_struct(&w->png, &w->info, nullptr);
  std::free(w->rows);

  GraphImage out{};
  SetMaskFormat(&out.format, 4, 0xFF0000, 0xFF00, 0xFF, hasAlpha ? 0xFF000000 : 0);
  out.alphaFlag = hasAlpha ? 1 : 0;
  out.width = static_cast<int32_t>(width);
  out.height = static_cast<int32_t>(height);
  out.pitch = static_cast<int32_t>(pitch);
  out.pixels = w->pixels;
  *image = out;
  return 0;
}
