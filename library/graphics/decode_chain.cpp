// The decoder chain and the graphics layer's memory stream.
#include <cstdlib>
#include <cstring>

#include "graphics/graph_image.h"

namespace {

ImageMemoryReader* Reader(StreamHandle handle) { return reinterpret_cast<ImageMemoryReader*>(handle); }

int64_t MemoryTell(StreamHandle handle) { return static_cast<int64_t>(Reader(handle)->position); }
int MemorySeek(StreamHandle handle, int64_t offset, int origin) {
  ImageMemoryReader* r = Reader(handle);
  int64_t base = origin == 1 ? static_cast<int64_t>(r->position)
                             : origin == 2 ? static_cast<int64_t>(r->size) : 0;
  int64_t to = base + offset;
  if (to < 0) to = 0;
  if (to > static_cast<int64_t>(r->size)) to = static_cast<int64_t>(r->size);
  r->position = static_cast<size_t>(to);
  return 0;
}
size_t MemoryRead(void* buffer, size_t size, size_t count, StreamHandle handle) {
  ImageMemoryReader* r = Reader(handle);
  if (size == 0 || count == 0) return 0;
  const size_t items = (r->size - r->position) / size;
  if (count > items) count = items;
  std::memcpy(buffer, r->data + r->position, size * count);
  r->position += size * count;
  return count;
}
int MemoryEof(StreamHandle handle) { return Reader(handle)->position >= Reader(handle)->size; }
int MemoryIdle(StreamHandle) { return 1; }
int MemoryClose(StreamHandle) { return 0; }

const StreamFunctions kMemoryFunctions = {MemoryTell, MemorySeek, MemoryRead,
                                          MemoryEof,  MemoryIdle, MemoryClose};

// The whole stream from its start, at most the largest file a picture may be.
uint8_t* ReadWholeStream(ImageStream* stream, size_t* size) {
  const int64_t total = ImageStreamSize(stream);
  if (total <= 0 || total > (int64_t{1} << 30)) return nullptr;
  if (stream->functions->seek(stream->handle, 0, 0) != 0) return nullptr;
  uint8_t* data = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(total)));
  if (!data) return nullptr;
  *size = stream->functions->read(data, 1, static_cast<size_t>(total), stream->handle);
  return data;
}

}  // namespace

ImageStream MakeMemoryImageStream(ImageMemoryReader* reader, const void* data, size_t size) {
  reader->data = static_cast<const uint8_t*>(data);
  reader->size = data ? size : 0;
  reader->position = 0;
  return ImageStream{&kMemoryFunctions, reinterpret_cast<StreamHandle>(reader)};
}

int64_t ImageStreamSize(ImageStream* stream) {
  const int64_t here = stream->functions->tell(stream->handle);
  if (here < 0 || stream->functions->seek(stream->handle, 0, 2) != 0) return -1;
  const int64_t size = stream->functions->tell(stream->handle);
  stream->functions->seek(stream->handle, here, 0);
  return size;
}

int DecodeImageStream(ImageStream* stream, GraphImage* image) {
  if (!stream || !stream->functions || !image) return -1;
  size_t size = 0;
  uint8_t* data = ReadWholeStream(stream, &size);
  if (!data) return -1;
  int result = DecodeBmp(data, size, image);
  if (result != 0) result = DecodeBgra(data, size, image);
  if (result != 0) result = DecodeTga(data, size, image);
  if (result != 0) result = DecodeDds(data, size, image);
  std::free(data);
  if (result != 0 && stream->functions->seek(stream->handle, 0, 0) == 0)
    result = DecodePng(stream, image);
  if (result != 0 && stream->functions->seek(stream->handle, 0, 0) == 0)
    result = DecodeJpeg(stream, image);
  return result;
}

int DecodeImageMemory(const void* data, size_t size, GraphImage* image) {
  ImageMemoryReader reader;
  ImageStream stream = MakeMemoryImageStream(&reader, data, size);
  return DecodeImageStream(&stream, image);
}
