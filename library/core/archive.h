// The archive format and its reader. Little-endian; every byte of the file is
// scrambled by XOR with the key byte at its absolute position (key[pos % len];
// no key, no scramble), so any range can be read after a seek.
//   Header, 24 bytes: "TS", u16 version (0-3), u32 entry count, u32 directory
//   offset, u32 directory size, u32 CRC-32 of the (plain) directory bytes,
//   u32 data offset (where the file data starts: 24; 0 in early images, read
//   as "not given").
//   Directory: the entries (40 bytes each below version 2, 44 from version 2)
//   followed by the name table (CP932 names with "\" separators, each ended by 0).
//   Entry: u32 name offset (in the name table), u32 name length, u32 data offset
//   (absolute), u32 stored size, u32 original size, u32 method (0 stored, 1 LZ),
//   u32 CRC-32 of the original data, u32 attributes, u32 reserved x2
//   [from version 2: u32 hash of the case-folded name].
#pragma once
#include <cstddef>
#include <cstdint>

constexpr int ArchiveHeaderSize = 24;
constexpr int ArchiveEntrySizeV1 = 40;
constexpr int ArchiveEntrySizeV2 = 44;
constexpr int ArchiveMaxKey = 12;
constexpr uint32_t ArchiveMethodStored = 0;
constexpr uint32_t ArchiveMethodLz = 1;

struct ArchiveEntry {
  const char* name;      // into the archive's name table
  uint32_t dataOffset;
  uint32_t storedSize;
  uint32_t originalSize;
  uint32_t method;
  uint32_t crc;
};

struct Archive;  // an opened archive: its directory, key and host file name

// Opens an archive from a host file / from memory (the bytes are copied).
// Null (and a log line) when missing, truncated, scrambled with another key or damaged.
Archive* OpenArchiveFile(const char* hostPath, const char* key);
Archive* OpenArchiveMemory(const void* data, size_t size, const char* key);
void CloseArchive(Archive* archive);

int ArchiveEntryCount(const Archive* archive);
const ArchiveEntry* ArchiveEntryAt(const Archive* archive, int index);
// Entry by name ("\" separators, ASCII case-insensitive; "/" is taken as "\"), or null.
const ArchiveEntry* FindArchiveEntry(const Archive* archive, const char* name);
// Reads and checks one entry whole (decompressed, CRC checked) into a TALLOC
// block; 0 with *data / *size set, or -1 and a log line.
int ReadArchiveEntry(Archive* archive, const ArchiveEntry* entry, void** data, size_t* size);

// Helpers shared with the packer.
uint32_t ArchiveCrc32(const void* data, size_t size, uint32_t crc = 0);
uint32_t ArchiveNameHash(const char* name);  // over the case-folded name
void ArchiveScramble(void* data, size_t size, uint64_t position, const char* key);
// LZ: flag byte per 8 items, bit set = literal byte, clear = match of 2 bytes
// (12-bit distance - 1, 4-bit length - 3: distance 1-4096, length 3-18).
// Decoding fails (-1) unless it fills exactly outSize bytes from exactly inSize input bytes.
int LzDecode(const uint8_t* in, size_t inSize, uint8_t* out, size_t outSize);
