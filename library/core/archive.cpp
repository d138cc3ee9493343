// The archive reader.
#include "core/archive.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/log.h"
#include "core/memory.h"
#include "core/sjis.h"
#include "platform/fs.h"

namespace {

constexpr uint32_t kMaxEntries = 1u << 20;
constexpr uint64_t kMaxOriginal = 1ull << 30;  // a single entry decodes to at most 1 GiB
constexpr uint32_t kLzMaxRatio = 9;             // 8 literals or matches of 18 per 17 bytes at most

uint32_t ReadU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

struct CrcTable {
  uint32_t value[256];
  CrcTable() {
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      value[i] = c;
    }
  }
};

}  // namespace

struct Archive {
  std::string hostPath;               // empty for an archive in memory
  std::vector<uint8_t> image;         // the whole file, for an archive in memory
  std::string key;
  uint64_t fileSize = 0;
  std::vector<uint8_t> directory;     // plain directory bytes (names point into it)
  std::vector<ArchiveEntry> entries;
  std::vector<uint32_t> hashes;       // case-folded name hashes
};

uint32_t ArchiveCrc32(const void* data, size_t size, uint32_t crc) {
  static const CrcTable table;
  const auto* p = static_cast<const uint8_t*>(data);
  uint32_t c = ~crc;
  for (size_t i = 0; i < size; ++i) c = table.value[(c ^ p[i]) & 0xFF] ^ (c >> 8);
  return ~c;
}

uint32_t ArchiveNameHash(const char* name) {
  // FNV-1a over the name with ASCII letters folded and "/" taken as "\".
  uint32_t h = 2166136261u;
  for (const char* p = name; *p;) {
    const int n = SjisCharLength(p);
    for (int k = 0; k < n; ++k) {
      unsigned char c = static_cast<unsigned char>(p[k]);
      if (n == 1) {
        if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c - 'A' + 'a');
        if (c == '/') c = '\\';
      }
      h = (h ^ c) * 16777619u;
    }
    p += n;
  }
  return h;
}

void ArchiveScramble(void* data, size_t size, uint64_t position, const char* key) {
  if (!key || !*key) return;
  const size_t length = strnlen(key, ArchiveMaxKey);
  auto* p = static_cast<uint8_t*>(data);
  size_t k = static_cast<size_t>(position % length);
  for (size_t i = 0; i < size; ++i) {
    p[i] ^= static_cast<uint8_t>(key[k]);
    if (++k == length) k = 0;
  }
}

int LzDecode(const uint8_t* in, size_t inSize, uint8_t* out, size_t outSize) {
  size_t ip = 0, op = 0;
  while (op < outSize) {
    if (ip >= inSize) return -1;
    const uint8_t flags = in[ip++];
    for (int bit = 0; bit < 8 && op < outSize; ++bit) {
      if (flags & (1u << bit)) {
        if (ip >= inSize) return -1;
        out[op++] = in[ip++];
      } else {
        if (inSize - ip < 2) return -1;
        const uint32_t word = static_cast<uint32_t>(in[ip]) | (static_cast<uint32_t>(in[ip + 1]) << 8);
        ip += 2;
        const size_t distance = (word & 0x0FFF) + 1;
        const size_t length = (word >> 12) + 3;
        if (distance > op || length > outSize - op) return -1;
        for (size_t k = 0; k < length; ++k, ++op) out[op] = out[op - distance];
      }
    }
  }
  return ip == inSize ? 0 : -1;
}

namespace {

// Reads bytes [offset, offset + size) of the archive, unscrambled.
bool ReadRange(const Archive* archive, uint64_t offset, void* buffer, size_t size) {
  if (offset > archive->fileSize || size > archive->fileSize - offset) return false;
  if (size == 0) return true;
  if (archive->hostPath.empty()) {
    std::memcpy(buffer, archive->image.data() + offset, size);
  } else {
    std::FILE* f = FsOpenHostRead(archive->hostPath.c_str());
    if (!f) return false;
    const bool ok = fseeko(f, static_cast<off_t>(offset), SEEK_SET) == 0 &&
                    std::fread(buffer, 1, size, f) == size;
    std::fclose(f);
    if (!ok) return false;
  }
  ArchiveScramble(buffer, size, offset, archive->key.c_str());
  return true;
}

const char* ArchiveLabel(const Archive* a) { return a->hostPath.empty() ? "(memory)" : a->hostPath.c_str(); }

bool ParseDirectory(Archive* a) {
  uint8_t header[ArchiveHeaderSize];
  if (!ReadRange(a, 0, header, sizeof header)) {
    LogFormatLine("アーカイブのヘッダを読めません: %s", ArchiveLabel(a));
    return false;
  }
  if (header[0] != 'T' || header[1] != 'S') {
    LogFormatLine("アーカイブではないか、鍵が違います: %s", ArchiveLabel(a));
    return false;
  }
  const uint32_t version = static_cast<uint32_t>(header[2]) | (static_cast<uint32_t>(header[3]) << 8);
  const uint32_t count = ReadU32(header + 4);
  const uint32_t dirOffset = ReadU32(header + 8);
  const uint32_t dirSize = ReadU32(header + 12);
  const uint32_t dirCrc = ReadU32(header + 16);
  const uint32_t dataStart = ReadU32(header + 20);
  if (version >= 4) {
    LogFormatLine("対応していないアーカイブのバージョンです (%u): %s", version, ArchiveLabel(a));
    return false;
  }
  const uint32_t entrySize = version < 2 ? ArchiveEntrySizeV1 : ArchiveEntrySizeV2;
  if (count > kMaxEntries || static_cast<uint64_t>(count) * entrySize > dirSize ||
      dirOffset < ArchiveHeaderSize || static_cast<uint64_t>(dirOffset) + dirSize > a->fileSize ||
      (dataStart != 0 && (dataStart < ArchiveHeaderSize || dataStart > dirOffset))) {
    LogFormatLine("アーカイブのディレクトリが壊れています: %s", ArchiveLabel(a));
    return false;
  }
  a->directory.resize(static_cast<size_t>(dirSize) + 1);  // one zero past the name table
  if (!ReadRange(a, dirOffset, a->directory.data(), dirSize)) {
    LogFormatLine("アーカイブのディレクトリを読めません: %s", ArchiveLabel(a));
    return false;
  }
  a->directory[dirSize] = 0;
  if (ArchiveCrc32(a->directory.data(), dirSize) != dirCrc) {
    LogFormatLine("アーカイブのディレクトリが壊れているか、鍵が違います: %s", ArchiveLabel(a));
    return false;
  }
  const uint32_t namesStart = count * entrySize;
  const uint32_t namesSize = dirSize - namesStart;
  a->entries.resize(count);
  a->hashes.resize(count);
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t* e = a->directory.data() + static_cast<size_t>(i) * entrySize;
    const uint32_t nameOffset = ReadU32(e);
    const uint32_t nameLength = ReadU32(e + 4);
    ArchiveEntry& entry = a->entries[i];
    entry.dataOffset = ReadU32(e + 8);
    entry.storedSize = ReadU32(e + 12);
    entry.originalSize = ReadU32(e + 16);
    entry.method = ReadU32(e + 20);
    entry.crc = ReadU32(e + 24);
    // The name must lie inside the name table and end with its zero.
    if (nameLength == 0 || nameOffset >= namesSize || nameLength >= namesSize - nameOffset ||
        a->directory[namesStart + nameOffset + nameLength] != 0 ||
        std::memchr(a->directory.data() + namesStart + nameOffset, 0, nameLength) != nullptr) {
      LogFormatLine("アーカイブのファイル名が壊れています (%u 番目): %s", i, ArchiveLabel(a));
      return false;
    }
    entry.name = reinterpret_cast<const char*>(a->directory.data() + namesStart + nameOffset);
    if (entry.method > ArchiveMethodLz || entry.dataOffset < dataStart ||
        static_cast<uint64_t>(entry.dataOffset) + entry.storedSize > a->fileSize ||
        (entry.method == ArchiveMethodStored && entry.storedSize != entry.originalSize)) {
      LogFormatLine("アーカイブの項目が壊れています: %s", entry.name);
      return false;
    }
    a->hashes[i] = version >= 2 ? ReadU32(e + 40) : ArchiveNameHash(entry.name);
  }
  return true;
}

Archive* Finish(Archive* a) {
  if (!ParseDirectory(a)) {
    delete a;
    return nullptr;
  }
  return a;
}

}  // namespace

Archive* OpenArchiveFile(const char* hostPath, const char* key) {
  if (!hostPath) return nullptr;
  std::FILE* f = FsOpenHostRead(hostPath);
  if (!f) {
    LogFormatLine("アーカイブファイルを開けません: %s", hostPath);
    return nullptr;
  }
  int64_t size = -1;
  if (fseeko(f, 0, SEEK_END) == 0) size = ftello(f);
  std::fclose(f);
  if (size < 0) return nullptr;
  auto* a = new Archive;
  a->hostPath = hostPath;
  a->key = key ? std::string(key, strnlen(key, ArchiveMaxKey)) : std::string();
  a->fileSize = static_cast<uint64_t>(size);
  return Finish(a);
}

Archive* OpenArchiveMemory(const void* data, size_t size, const char* key) {
  if (!data && size) return nullptr;
  auto* a = new Archive;
  a->image.assign(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size);
  a->key = key ? std::string(key, strnlen(key, ArchiveMaxKey)) : std::string();
  a->fileSize = size;
  return Finish(a);
}

void CloseArchive(Archive* archive) { delete archive; }

int ArchiveEntryCount(const Archive* archive) {
  return archive ? static_cast<int>(archive->entries.size()) : 0;
}

const ArchiveEntry* ArchiveEntryAt(const Archive* archive, int index) {
  if (!archive || index < 0 || static_cast<size_t>(index) >= archive->entries.size()) return nullptr;
  return &archive->entries[static_cast<size_t>(index)];
}

const ArchiveEntry* FindArchiveEntry(const Archive* archive, const char* name) {
  if (!archive || !name) return nullptr;
  std::string wanted(name);
  for (size_t i = 0; i < wanted.size();) {
    const int n = SjisCharLength(wanted.c_str() + i);
    if (n == 1 && wanted[i] == '/') wanted[i] = '\\';
    i += n ? static_cast<size_t>(n) : 1;
  }
  const uint32_t hash = ArchiveNameHash(wanted.c_str());
  for (size_t i = 0; i < archive->entries.size(); ++i) {
    if (archive->hashes[i] == hash && SjisCompareNoCase(archive->entries[i].name, wanted.c_str()) == 0)
      return &archive->entries[i];
  }
  return nullptr;
}

int ReadArchiveEntry(Archive* archive, const ArchiveEntry* entry, void** data, size_t* size) {
  if (!archive || !entry || !data || !size) return -1;
  *data = nullptr;
  *size = 0;
  if (entry->originalSize > kMaxOriginal ||
      (entry->method == ArchiveMethodLz &&
       static_cast<uint64_t>(entry->originalSize) > static_cast<uint64_t>(entry->storedSize) * kLzMaxRatio + 16)) {
    LogFormatLine("アーカイブの項目の大きさが不正です: %s", entry->name);
    return -1;
  }
  auto* out = static_cast<uint8_t*>(TALLOC(static_cast<size_t>(entry->originalSize) + 1));
  if (!out) return -1;
  bool ok;
  if (entry->method == ArchiveMethodStored) {
    ok = ReadRange(archive, entry->dataOffset, out, entry->storedSize);
  } else {
    auto* packed = static_cast<uint8_t*>(TALLOC(static_cast<size_t>(entry->storedSize) + 1));
    ok = packed && ReadRange(archive, entry->dataOffset, packed, entry->storedSize) &&
         LzDecode(packed, entry->storedSize, out, entry->originalSize) == 0;
    TrackedFree(packed);
  }
  if (ok && ArchiveCrc32(out, entry->originalSize) != entry->crc) ok = false;
  if (!ok) {
    LogFormatLine("アーカイブの項目が壊れています: %s", entry->name);
    TrackedFree(out);
    return -1;
  }
  out[entry->originalSize] = 0;
  *data = out;
  *size = entry->originalSize;
  return 0;
}
