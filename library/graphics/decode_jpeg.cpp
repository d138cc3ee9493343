// JPEG through libjpeg (API 62): a source manager over the ImageStream and an
// error exit that unwinds to the decoder. Pictures become 24-bit rows.
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

#include "graphics/graph_image.h"

namespace {

struct StreamSource {
  jpeg_source_mgr manager;
  ImageStream* stream;
  int truncated;
  JOCTET buffer[4096];
};

const JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};

void InitSource(j_decompress_ptr) {}

boolean FillInputBuffer(j_decompress_ptr info) {
  StreamSource* source = reinterpret_cast<StreamSource*>(info->src);
  const size_t got =
      source->stream->functions->read(source->buffer, 1, sizeof source->buffer, source->stream->handle);
  if (got == 0) {
    // A truncated file: hand over an end marker so the decoder finishes; the
    // caller turns the mark into a failure.
    source->truncated = 1;
    source->manager.next_input_byte = kEndOfImage;
    source->manager.bytes_in_buffer = 2;
    return TRUE;
  }
  source->manager.next_input_byte = source->buffer;
  source->manager.bytes_in_buffer = got;
  return TRUE;
}

void SkipInputData(j_decompress_ptr info, long count) {
  StreamSource* source = reinterpret_cast<StreamSource*>(info->src);
  if (count <= 0) return;
  while (count > static_cast<long>(source->manager.bytes_in_buffer)) {
    count -= static_cast<long>(source->manager.bytes_in_buffer);
    FillInputBuffer(info);
    if (source->truncated) return;  // only the end marker is left
  }
  source->manager.next_input_byte += count;
  source->manager.bytes_in_buffer -= static_cast<size_t>(count);
}

void TermSource(j_decompress_ptr) {}

struct ErrorManager {
  jpeg_error_mgr base;
  jmp_buf jump;
  int warnings;
};

void ErrorExit(j_common_ptr info) {
  ErrorManager* errors = reinterpret_cast<ErrorManager*>(info->err);
  longjmp(errors->jump, 1);
}
void EmitMessage(j_common_ptr info, int level) {
  if (level < 0) reinterpret_cast<ErrorManager*>(info->err)->warnings++;
}
void OutputMessage(j_common_ptr) {}

struct JpegWork {
  jpeg_decompress_struct info;
  ErrorManager errors;
  StreamSource source;
  uint8_t* pixels = nullptr;
  bool created = false;
};

}  // namespace

int DecodeJpeg(ImageStream* stream, GraphImage* image) {
  uint8_t marker[3];
  const int64_t start = stream->functions->tell(stream->handle);
  if (stream->functions->read(marker, 1, 3, stream->handle) != 3) return -1;
  if (marker[0] != 0xFF || marker[1] != 0xD8 || marker[2] != 0xFF) return -1;
  if (stream->functions->seek(stream->handle, start, 0) != 0) return -1;

  JpegWork* w = static_cast<JpegWork*>(std::calloc(1, sizeof(JpegWork)));
  if (!w) return -1;
  w->info.err = jpeg_std_error(&w->errors.base);
  w->errors.base.error_exit = ErrorExit;
  w->errors.base.emit_message = EmitMessage;
  w->errors.base.output_message = OutputMessage;
  if (setjmp(w->errors.jump)) {
    if (w->created) jpeg_destroy_decompress(&w->info);
    std::free(w->pixels);
    std::free(w);
    return -1;
  }
  jpeg_create_decompress(&w->info);
  w->created = true;
  w->source.stream = stream;
  w->source.manager.init_source = InitSource;
  w->source.manager.fill_input_buffer = FillInputBuffer;
  w->source.manager.skip_input_data = SkipInputData;
  w->source.manager.resync_to_restart = jpeg_resync_to_restart;
  w->source.manager.term_source = TermSource;
  w->source.manager.bytes_in_buffer = 0;
  w->source.manager.next_input_byte = nullptr;
  w->info.src = &w->source.manager;
  w->info.mem->max_memory_to_use = 256L * 1024 * 1024;
  jpeg_read_header(&w->info, TRUE);
  const int64_t width = w->info.image_width;
  const int64_t height = w->info.image_height;
  if (width <= 0 || height <= 0 || width > MaxImageSide || height > MaxImageSide ||
      width * height > MaxImagePixels)
    longjmp(w->errors.jump, 1);
  w->info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&w->info);
  if (w->info.output_components != 3) longjmp(w->errors.jump, 1);
  const int64_t pitch = ((width * 3) + 3) & ~int64_t{3};
  w->pixels = static_cast<uint8_t*>(std::calloc(static_cast<size_t>(pitch * height), 1));
  if (!w->pixels) longjmp(w->errors.jump, 1);
  while (w->info.output_scanline < w->info.output_height) {
    JSAMPROW row = w->pixels + pitch * w->info.output_scanline;
    jpeg_read_scanlines(&w->info, &row, 1);
  }
  jpeg_finish_decompress(&w->info);
  const bool truncated = w->source.truncated != 0;
  jpeg_destroy_decompress(&w->info);
  uint8_t* pixels = w->pixels;
  std::free(w);
  if (truncated) {
    std::free(pixels);
    return -1;
  }
  GraphImage out{};
  SetMaskFormat(&out.format, 3, 0xFF, 0xFF00, 0xFF0000, 0);  // bytes red, green, blue
  out.width = static_cast<int32_t>(width);
  out.height = static_cast<int32_t>(height);
  out.pitch = static_cast<int32_t>(pitch);
  out.pixels = pixels;
  *image = out;
  return 0;
}
