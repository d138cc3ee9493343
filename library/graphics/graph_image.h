// GraphImage, a decoded picture (colour format, size, pitch, pixels), the
// ImageStream the decoders read, and the decoder chain.
#pragma once
#include <cstddef>
#include <cstdint>

#include "core/stream.h"
#include "graphics/memimg.h"

// What a decoder reads: a stream set of the library paired with its handle.
struct ImageStream {
  const StreamFunctions* functions;
  StreamHandle handle;
};

// A stream over a block of memory (the graphics layer's own, so the decoders
// stand without the file layer); the block must outlive the stream.
struct ImageMemoryReader {
  const uint8_t* data;
  size_t size;
  size_t position;
};
ImageStream MakeMemoryImageStream(ImageMemoryReader* reader, const void* data, size_t size);

// Bytes of the stream from its start (-1 when it can't be measured).
int64_t ImageStreamSize(ImageStream* stream);

// A decoded picture. format.bytesPerPixel is 1 (palette), 2, 3 or 4; channel
// masks describe little-endian pixel values; palette entries are bytes blue,
// green, red, alpha. alphaFlag 1 when the picture carries alpha (channel or
// palette). pitch is the decoder's own: width x bytes for TGA, a multiple of
// 4 for pictures the library lays out, the file's for DDS.
struct GraphImage {
  ColorFormat format;
  int32_t width;
  int32_t height;
  int32_t pitch;
  uint8_t* pixels;
  int32_t alphaFlag;
};

// Largest picture side and pixel count the decoders accept.
constexpr int32_t MaxImageSide = 16384;
constexpr int64_t MaxImagePixels = 64ll * 1024 * 1024;

// Allocates the pixel block (pitch x height) of image; 0 or -1.
int AllocateGraphImage(GraphImage* image, int32_t width, int32_t height, int32_t pitch);
void ReleaseGraphImage(GraphImage* image);
// Fills format as a direct-colour format of bytesPerPixel with the masks.
void SetMaskFormat(ColorFormat* format, int bytesPerPixel, uint32_t red, uint32_t green,
                   uint32_t blue, uint32_t alpha);
void SetPaletteFormat(ColorFormat* format);

// The built-in decoders over a whole file in memory; each answers 0 with
// image filled, or -1 (nothing allocated) when the bytes are not its format
// or are damaged.
int DecodeBmp(const uint8_t* data, size_t size, GraphImage* image);
int DecodeBgra(const uint8_t* data, size_t size, GraphImage* image);
int DecodeTga(const uint8_t* data, size_t size, GraphImage* image);
int DecodeDds(const uint8_t* data, size_t size, GraphImage* image);
// PNG and JPEG read straight from the stream, from its current position.
int DecodePng(ImageStream* stream, GraphImage* image);
int DecodeJpeg(ImageStream* stream, GraphImage* image);

// The chain: BMP, BGRA, TGA, DDS, PNG, JPEG, each from the stream's start.
int DecodeImageStream(ImageStream* stream, GraphImage* image);
int DecodeImageMemory(const void* data, size_t size, GraphImage* image);
