// The tracking allocator: bookkeeping, damage detection, the live-block dump.
#include <gtest/gtest.h>

#include <cstring>

#include "core/log.h"
#include "core/memory.h"
#include "core/test_files.h"

TEST(TrackedAlloc, CountsLiveBlocksAndAligns) {
  const int before = TrackedLiveBlockCount();
  const size_t bytesBefore = TrackedLiveBytes();
  void* a = TALLOC(100);
  void* b = TCALLOC(33);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(a) % 16, 0u);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(b) % 16, 0u);
  EXPECT_EQ(TrackedLiveBlockCount(), before + 2);
  EXPECT_EQ(TrackedLiveBytes(), bytesBefore + 133);
  EXPECT_EQ(TrackedBlockSize(a), 100u);
  for (int i = 0; i < 33; ++i) EXPECT_EQ(static_cast<uint8_t*>(b)[i], 0);
  std::memset(a, 0xFF, 100);  // the whole block is usable
  EXPECT_EQ(TrackedCheckBlock(a), 0);
  TrackedFree(a);
  TrackedFree(b);
  TrackedFree(nullptr);
  EXPECT_EQ(TrackedLiveBlockCount(), before);
  EXPECT_EQ(TrackedLiveBytes(), bytesBefore);
}

TEST(TrackedAlloc, RefusesZeroAndHostileSizes) {
  EXPECT_EQ(TALLOC(0), nullptr);
  EXPECT_EQ(TALLOC(static_cast<size_t>(-1)), nullptr);
  EXPECT_EQ(TALLOC(static_cast<size_t>(-1) - 64), nullptr);
}

TEST(TrackedAlloc, DetectsAnUnderrunIntoTheHeaderCopy) {
  auto* block = static_cast<uint8_t*>(TALLOC(64));
  ASSERT_NE(block, nullptr);
  const int damageBefore = TrackedDamageCount();
  const int liveBefore = TrackedLiveBlockCount();
  block[-20] ^= 0x5A;  // inside the header copy, just before the block
  EXPECT_EQ(TrackedCheckBlock(block), -1);
  TrackedFree(block);  // reported and left alone, not handed back to the heap
  EXPECT_EQ(TrackedDamageCount(), damageBefore + 1);
  EXPECT_EQ(TrackedLiveBlockCount(), liveBefore);
  block[-20] ^= 0x5A;  // repaired, it frees normally
  EXPECT_EQ(TrackedCheckBlock(block), 0);
  TrackedFree(block);
  EXPECT_EQ(TrackedLiveBlockCount(), liveBefore - 1);
}

TEST(TrackedAlloc, DetectsAnOverrunPastTheEnd) {
  auto* block = static_cast<uint8_t*>(TALLOC(10));
  ASSERT_NE(block, nullptr);
  const uint8_t saved = block[10];
  block[10] = static_cast<uint8_t>(saved ^ 1);  // the first byte past the block
  EXPECT_EQ(TrackedCheckBlock(block), -1);
  block[10] = saved;
  EXPECT_EQ(TrackedCheckBlock(block), 0);
  TrackedFree(block);
}

TEST(TrackedAlloc, DumpListsLiveBlocksWithFileAndLine) {
  TempFolder dir;
  SetLogFilePath((dir / "Log.txt").c_str());
  SetLogOutput(1);
  void* block = TrackedAlloc(77, "/src/some/where/loader.cpp", 123);
  const int dumped = DumpTrackedBlocks();
  TrackedFree(block);
  CloseLog();
  SetLogFilePath(nullptr);
  EXPECT_GE(dumped, 1);
  const std::string log = ReadText(dir / "Log.txt");
  EXPECT_NE(log.find("77 バイト, loader.cpp(123)"), std::string::npos) << log;
}
