// StreamFunctions: the six operations a loader reads a source through (tell,
// seek, read, end test, idle test, close), one set for file handles of the
// FileFunctionTable and one for memory blocks. A loader pairs a set with the
// source's handle.
#pragma once
#include <cstddef>
#include <cstdint>

using StreamHandle = uintptr_t;  // a file handle, a MemoryStream handle; 0 = none

struct StreamFunctions {
  int64_t (*tell)(StreamHandle handle);                              // position, -1 bad handle
  int (*seek)(StreamHandle handle, int64_t offset, int origin);      // origin 0 start, 1 current, 2 end; 0 ok, -1
  size_t (*read)(void* buffer, size_t size, size_t count, StreamHandle handle);  // elements read
  int (*eof)(StreamHandle handle);                                   // 1 at the end, 0 not, -1 bad handle
  int (*idle)(StreamHandle handle);                                  // 1 no pending work (always here)
  int (*close)(StreamHandle handle);                                 // 0 ok, -1 bad handle
};

const StreamFunctions* GetFileStreamFunctions();
const StreamFunctions* GetMemoryStreamFunctions();

// A memory stream over the caller's block (not copied, not freed), position 0;
// 0 when it cannot be made. The seek clamps the position to 0..size.
StreamHandle CreateMemoryStream(const void* data, size_t size);
int CloseMemoryStream(StreamHandle handle);  // frees the record, not the data
