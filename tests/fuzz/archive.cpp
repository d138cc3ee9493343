// Fuzz target: the archive reader and the LZ decoder over arbitrary bytes.
// The first byte picks the key (none or the game's), the rest is the archive.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/archive.h"
#include "core/log.h"
#include "core/memory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool quiet = [] {
    SetLogOutput(0);
    return true;
  }();
  (void)quiet;
  if (size < 1) return 0;
  const char* key = (data[0] & 1) ? "dorvask" : nullptr;
  Archive* archive = OpenArchiveMemory(data + 1, size - 1, key);
  if (archive) {
    for (int i = 0; i < ArchiveEntryCount(archive); ++i) {
      const ArchiveEntry* entry = ArchiveEntryAt(archive, i);
      FindArchiveEntry(archive, entry->name);
      void* out = nullptr;
      size_t outSize = 0;
      if (ReadArchiveEntry(archive, entry, &out, &outSize) == 0) TrackedFree(out);
    }
    CloseArchive(archive);
  }
  // The decoder alone, with an output size taken from the input.
  if (size >= 3) {
    const size_t outSize = static_cast<size_t>(data[1]) | (static_cast<size_t>(data[2]) << 8);
    std::vector<uint8_t> out(outSize);
    LzDecode(data + 3, size - 3, out.data(), outSize);
  }
  return 0;
}
