// The library's tracking allocator: every heap block carries a header (size,
// source file, line, running number) and a copy of that header; the copy is
// compared on free to detect damage, and the live blocks can be dumped to the log.
#pragma once
#include <cstddef>
#include <cstdint>

// A block of at least size bytes (16-byte aligned), or null when size is 0,
// hostile or the heap is exhausted (a log line is written).
void* TrackedAlloc(size_t size, const char* file, int line);
// Same as TrackedAlloc, the block cleared to zero.
void* TrackedCalloc(size_t size, const char* file, int line);
// Frees a block of TrackedAlloc. Null is ignored. A block whose header no
// longer matches its copy is reported in the log and left alone (not freed).
void TrackedFree(void* block);

#define TALLOC(size) TrackedAlloc((size), __FILE__, __LINE__)
#define TCALLOC(size) TrackedCalloc((size), __FILE__, __LINE__)

// 0 when the block's header and its copy agree, -1 when damaged or null.
int TrackedCheckBlock(const void* block);
// Size requested for the block (0 for null).
size_t TrackedBlockSize(const void* block);

int TrackedLiveBlockCount();
size_t TrackedLiveBytes();
int TrackedDamageCount();            // damaged blocks found so far
// Writes one log line per live block (number, size, file, line); returns the count.
int DumpTrackedBlocks();
