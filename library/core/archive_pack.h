// The archive packer (not linked by the game): builds an archive image from
// named blobs or from a folder tree.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct PackInput {
  std::string name;            // CP932, "\" separators
  std::vector<uint8_t> data;
};

struct PackOptions {
  int version = 3;             // 0-3; below 2 writes 40-byte entries
  int method = -1;             // -1 LZ when smaller, 0 stored, 1 LZ
  std::string key;             // empty = no scramble; up to 12 bytes used
};

// LZ-compresses data in the format LzDecode reads.
std::vector<uint8_t> LzEncode(const uint8_t* data, size_t size);
// The archive image of the inputs (empty on a bad option or a duplicate name).
std::vector<uint8_t> BuildArchive(const std::vector<PackInput>& inputs, const PackOptions& options);
// Gathers every regular file below hostFolder, named relative to it with "\"
// separators (host UTF-8 names converted to CP932), sorted by name. -1 on failure.
int GatherFolder(const char* hostFolder, std::vector<PackInput>* inputs);
// What PackFolder did: the files packed, the bytes read from them and the
// bytes of the archive written.
struct PackSummary {
  size_t files = 0;
  uint64_t bytesRead = 0;
  uint64_t bytesWritten = 0;
};
// Packs hostFolder into the archive file outPath, written as FsReplaceFile
// writes (made whole beside it, never through a link, nothing left on a
// failure). 0 ok (summary, when given, filled in), -1 (message on stderr).
int PackFolder(const char* outPath, const char* hostFolder, const PackOptions& options,
               PackSummary* summary = nullptr);
