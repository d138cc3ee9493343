// The tracking allocator.
#include "core/memory.h"

#include <cstdlib>
#include <cstring>
#include <mutex>

#include "core/log.h"

namespace {

constexpr uint64_t kInfoMark = 0x54524B424C4F434BULL;  // identifies a live block header
constexpr uint64_t kTailMark = 0xA5C3E1F00F1E3C5AULL;  // written just past each block
constexpr size_t kMaxBlock = size_t(1) << 31;

struct BlockInfo {
  uint64_t size;
  const char* file;
  int32_t line;
  uint32_t serial;
  uint64_t mark;
};

// Sits in front of every block; its size is a multiple of 16 so the block stays aligned.
struct BlockPrefix {
  BlockPrefix* prev;
  BlockPrefix* next;
  BlockInfo info;
  BlockInfo copy;   // compared with info to detect damage
  uint8_t pad[16];
};
static_assert(sizeof(BlockPrefix) % 16 == 0, "block prefix keeps 16-byte alignment");

std::mutex g_memoryMutex;
BlockPrefix* g_first = nullptr;
uint32_t g_serial = 0;
int g_liveCount = 0;
size_t g_liveBytes = 0;
int g_damageCount = 0;

BlockPrefix* PrefixOf(const void* block) {
  return reinterpret_cast<BlockPrefix*>(const_cast<uint8_t*>(static_cast<const uint8_t*>(block)) -
                                        sizeof(BlockPrefix));
}

bool BlockIntact(const BlockPrefix* prefix) {
  if (prefix->info.mark != kInfoMark) return false;
  if (std::memcmp(&prefix->info, &prefix->copy, sizeof(BlockInfo)) != 0) return false;
  if (prefix->info.size > kMaxBlock) return false;
  uint64_t tail;
  std::memcpy(&tail, reinterpret_cast<const uint8_t*>(prefix + 1) + prefix->info.size, sizeof tail);
  return tail == kTailMark;
}

const char* ShortName(const char* file) {
  if (!file) return "?";
  const char* slash = std::strrchr(file, '/');
  return slash ? slash + 1 : file;
}

}  // namespace

void* TrackedAlloc(size_t size, const char* file, int line) {
  if (size == 0) return nullptr;
  if (size > kMaxBlock) {
    LogFormatLine("メモリ領域の確保に失敗しました (%zu バイト, %s:%d)", size, ShortName(file), line);
    return nullptr;
  }
  auto* prefix = static_cast<BlockPrefix*>(std::malloc(sizeof(BlockPrefix) + size + sizeof(uint64_t)));
  if (!prefix) {
    LogFormatLine("メモリ領域の確保に失敗しました (%zu バイト, %s:%d)", size, ShortName(file), line);
    return nullptr;
  }
  std::memset(prefix, 0, sizeof(BlockPrefix));
  prefix->info.size = size;
  prefix->info.file = file;
  prefix->info.line = line;
  prefix->info.mark = kInfoMark;
  std::memcpy(reinterpret_cast<uint8_t*>(prefix + 1) + size, &kTailMark, sizeof kTailMark);
  {
    std::lock_guard<std::mutex> hold(g_memoryMutex);
    prefix->info.serial = ++g_serial;
    prefix->copy = prefix->info;
    prefix->next = g_first;
    if (g_first) g_first->prev = prefix;
    g_first = prefix;
    ++g_liveCount;
    g_liveBytes += size;
  }
  return prefix + 1;
}

void* TrackedCalloc(size_t size, const char* file, int line) {
  void* block = TrackedAlloc(size, file, line);
  if (block) std::memset(block, 0, size);
  return block;
}

void TrackedFree(void* block) {
  if (!block) return;
  BlockPrefix* prefix = PrefixOf(block);
  if (!BlockIntact(prefix)) {
    {
      std::lock_guard<std::mutex> hold(g_memoryMutex);
      ++g_damageCount;
    }
    LogFormatLine("メモリブロックが壊れています (アドレス %p); 解放しません", block);
    return;
  }
  {
    std::lock_guard<std::mutex> hold(g_memoryMutex);
    if (prefix->prev) prefix->prev->next = prefix->next;
    else g_first = prefix->next;
    if (prefix->next) prefix->next->prev = prefix->prev;
    --g_liveCount;
    g_liveBytes -= prefix->info.size;
  }
  prefix->info.mark = 0;
  prefix->copy.mark = 0;
  std::free(prefix);
}

int TrackedCheckBlock(const void* block) {
  if (!block) return -1;
  return BlockIntact(PrefixOf(block)) ? 0 : -1;
}

size_t TrackedBlockSize(const void* block) {
  if (!block) return 0;
  return static_cast<size_t>(PrefixOf(block)->info.size);
}

int TrackedLiveBlockCount() {
  std::lock_guard<std::mutex> hold(g_memoryMutex);
  return g_liveCount;
}

size_t TrackedLiveBytes() {
  std::lock_guard<std::mutex> hold(g_memoryMutex);
  return g_liveBytes;
}

int TrackedDamageCount() {
  std::lock_guard<std::mutex> hold(g_memoryMutex);
  return g_damageCount;
}

int DumpTrackedBlocks() {
  std::lock_guard<std::mutex> hold(g_memoryMutex);
  int count = 0;
  for (BlockPrefix* p = g_first; p; p = p->next) {
    const bool intact = BlockIntact(p);
    LogFormatLine("確保中のメモリ: 番号 %u, %llu バイト, %s(%d)%s", p->info.serial,
                  static_cast<unsigned long long>(p->info.size), ShortName(p->info.file),
                  p->info.line, intact ? "" : " 破損");
    ++count;
  }
  return count;
}
