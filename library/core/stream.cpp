// Stream function sets for file handles and memory blocks.
#include "core/stream.h"

#include <cstring>

#include "core/fileio.h"
#include "core/memory.h"

namespace {

constexpr uint32_t kMemoryStreamMark = 0x4D53544Du;

struct MemoryStream {
  uint32_t mark;
  const uint8_t* data;
  size_t size;
  size_t position;
};

MemoryStream* AsMemoryStream(StreamHandle handle) {
  auto* stream = reinterpret_cast<MemoryStream*>(handle);
  if (!stream || stream->mark != kMemoryStreamMark) return nullptr;
  return stream;
}

int64_t MemoryTell(StreamHandle handle) {
  MemoryStream* s = AsMemoryStream(handle);
  return s ? static_cast<int64_t>(s->position) : -1;
}

int MemorySeek(StreamHandle handle, int64_t offset, int origin) {
  MemoryStream* s = AsMemoryStream(handle);
  if (!s) return -1;
  int64_t base;
  switch (origin) {
    case 0: base = 0; break;
    case 1: base = static_cast<int64_t>(s->position); break;
    case 2: base = static_cast<int64_t>(s->size); break;
    default: return -1;
  }
  // Clamp to 0..size without overflowing.
  int64_t target;
  if (offset > 0 && base > INT64_MAX - offset) target = INT64_MAX;
  else if (offset < 0 && base < INT64_MIN - offset) target = 0;
  else target = base + offset;
  if (target < 0) target = 0;
  if (static_cast<uint64_t>(target) > s->size) target = static_cast<int64_t>(s->size);
  s->position = static_cast<size_t>(target);
  return 0;
}

size_t MemoryRead(void* buffer, size_t size, size_t count, StreamHandle handle) {
  MemoryStream* s = AsMemoryStream(handle);
  if (!s || !buffer || size == 0 || count == 0) return 0;
  const size_t left = s->size - s->position;
  size_t elements = left / size;
  if (elements > count) elements = count;
  if (elements) std::memcpy(buffer, s->data + s->position, elements * size);
  s->position += elements * size;
  return elements;
}

int MemoryEof(StreamHandle handle) {
  MemoryStream* s = AsMemoryStream(handle);
  if (!s) return -1;
  return s->position >= s->size ? 1 : 0;
}

int MemoryIdle(StreamHandle handle) { return AsMemoryStream(handle) ? 1 : -1; }

const StreamFunctions kMemoryStreamFunctions = {MemoryTell, MemorySeek, MemoryRead,
                                                MemoryEof,  MemoryIdle, CloseMemoryStream};

const StreamFunctions kFileStreamFunctions = {FileTell, FileSeek, FileRead,
                                              FileEof,  FileIdle, FileClose};

}  // namespace

const StreamFunctions* GetFileStreamFunctions() { return &kFileStreamFunctions; }
const StreamFunctions* GetMemoryStreamFunctions() { return &kMemoryStreamFunctions; }

StreamHandle CreateMemoryStream(const void* data, size_t size) {
  if (!data && size) return 0;
  auto* s = static_cast<MemoryStream*>(TALLOC(sizeof(MemoryStream)));
  if (!s) return 0;
  s->mark = kMemoryStreamMark;
  s->data = static_cast<const uint8_t*>(data);
  s->size = data ? size : 0;
  s->position = 0;
  return reinterpret_cast<StreamHandle>(s);
}

int CloseMemoryStream(StreamHandle handle) {
  MemoryStream* s = AsMemoryStream(handle);
  if (!s) return -1;
  s->mark = 0;
  TrackedFree(s);
  return 0;
}
