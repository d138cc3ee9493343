// The archive packer.
#include "core/archive_pack.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/archive.h"
#include "core/sjis.h"
#include "platform/fs.h"

namespace {

constexpr size_t kWindow = 4096;
constexpr size_t kMinMatch = 3;
constexpr size_t kMaxMatch = 18;
constexpr int kChainLimit = 64;
constexpr size_t kHashSize = 1 << 14;

void PutU32(std::vector<uint8_t>* out, size_t at, uint32_t v) {
  (*out)[at] = static_cast<uint8_t>(v);
  (*out)[at + 1] = static_cast<uint8_t>(v >> 8);
  (*out)[at + 2] = static_cast<uint8_t>(v >> 16);
  (*out)[at + 3] = static_cast<uint8_t>(v >> 24);
}

size_t Hash3(const uint8_t* p) {
  return ((static_cast<size_t>(p[0]) << 10) ^ (static_cast<size_t>(p[1]) << 5) ^ p[2]) & (kHashSize - 1);
}

}  // namespace

std::vector<uint8_t> LzEncode(const uint8_t* data, size_t size) {
  std::vector<uint8_t> out;
  out.reserve(size + size / 8 + 16);
  std::vector<int64_t> head(kHashSize, -1);
  std::vector<int64_t> prev(size, -1);
  size_t flagAt = 0;
  int bit = 8;
  size_t pos = 0;
  auto insert = [&](size_t at) {
    if (at + kMinMatch > size) return;
    const size_t h = Hash3(data + at);
    prev[at] = head[h];
    head[h] = static_cast<int64_t>(at);
  };
  while (pos < size) {
    if (bit == 8) {
      flagAt = out.size();
      out.push_back(0);
      bit = 0;
    }
    size_t bestLength = 0, bestDistance = 0;
    if (pos + kMinMatch <= size) {
      const size_t limit = std::min(kMaxMatch, size - pos);
      int64_t candidate = head[Hash3(data + pos)];
      for (int chain = 0; candidate >= 0 && chain < kChainLimit; ++chain) {
        const size_t c = static_cast<size_t>(candidate);
        const size_t distance = pos - c;
        if (distance > kWindow) break;
        size_t length = 0;
        while (length < limit && data[c + length] == data[pos + length]) ++length;
        if (length > bestLength) {
          bestLength = length;
          bestDistance = distance;
          if (length == limit) break;
        }
        candidate = prev[c];
      }
    }
    if (bestLength >= kMinMatch) {
      const uint32_t word = static_cast<uint32_t>(bestDistance - 1) |
                            (static_cast<uint32_t>(bestLength - kMinMatch) << 12);
      out.push_back(static_cast<uint8_t>(word));
      out.push_back(static_cast<uint8_t>(word >> 8));
      for (size_t k = 0; k < bestLength; ++k) insert(pos + k);
      pos += bestLength;
    } else {
      out[flagAt] |= static_cast<uint8_t>(1u << bit);
      out.push_back(data[pos]);
      insert(pos);
      ++pos;
    }
    ++bit;
  }
  return out;
}

std::vector<uint8_t> BuildArchive(const std::vector<PackInput>& inputs, const PackOptions& options) {
  if (options.version < 0 || options.version > 3 || options.method < -1 || options.method > 1) return {};
  const size_t entrySize = options.version < 2 ? ArchiveEntrySizeV1 : ArchiveEntrySizeV2;
  const std::string key = options.key.substr(0, ArchiveMaxKey);
  // Names must be unique without regard to case.
  for (size_t i = 0; i < inputs.size(); ++i) {
    if (inputs[i].name.empty()) return {};
    for (size_t j = 0; j < i; ++j)
      if (SjisCompareNoCase(inputs[i].name.c_str(), inputs[j].name.c_str()) == 0) return {};
  }
  std::vector<uint8_t> file(ArchiveHeaderSize, 0);
  struct Placed {
    uint32_t offset, stored, original, method, crc;
  };
  std::vector<Placed> placed;
  for (const PackInput& in : inputs) {
    Placed p{};
    p.offset = static_cast<uint32_t>(file.size());
    p.original = static_cast<uint32_t>(in.data.size());
    p.crc = ArchiveCrc32(in.data.data(), in.data.size());
    std::vector<uint8_t> packed;
    if (options.method != 0 && !in.data.empty()) packed = LzEncode(in.data.data(), in.data.size());
    const bool useLz = options.method == 1 || (options.method == -1 && !packed.empty() &&
                                                packed.size() < in.data.size());
    if (useLz) {
      p.method = ArchiveMethodLz;
      p.stored = static_cast<uint32_t>(packed.size());
      file.insert(file.end(), packed.begin(), packed.end());
    } else {
      p.method = ArchiveMethodStored;
      p.stored = p.original;
      file.insert(file.end(), in.data.begin(), in.data.end());
    }
    placed.push_back(p);
  }
  const size_t dirOffset = file.size();
  std::vector<uint8_t> dir(entrySize * inputs.size(), 0);
  std::vector<uint8_t> names;
  for (size_t i = 0; i < inputs.size(); ++i) {
    const size_t e = i * entrySize;
    PutU32(&dir, e, static_cast<uint32_t>(names.size()));
    PutU32(&dir, e + 4, static_cast<uint32_t>(inputs[i].name.size()));
    PutU32(&dir, e + 8, placed[i].offset);
    PutU32(&dir, e + 12, placed[i].stored);
    PutU32(&dir, e + 16, placed[i].original);
    PutU32(&dir, e + 20, placed[i].method);
    PutU32(&dir, e + 24, placed[i].crc);
    if (entrySize == ArchiveEntrySizeV2) PutU32(&dir, e + 40, ArchiveNameHash(inputs[i].name.c_str()));
    names.insert(names.end(), inputs[i].name.begin(), inputs[i].name.end());
    names.push_back(0);
  }
  dir.insert(dir.end(), names.begin(), names.end());
  file.insert(file.end(), dir.begin(), dir.end());
  if (file.size() > 0xFFFFFFFFu) return {};  // offsets and sizes are 32-bit
  file[0] = 'T';
  file[1] = 'S';
  file[2] = static_cast<uint8_t>(options.version);
  file[3] = 0;
  PutU32(&file, 4, static_cast<uint32_t>(inputs.size()));
  PutU32(&file, 8, static_cast<uint32_t>(dirOffset));
  PutU32(&file, 12, static_cast<uint32_t>(dir.size()));
  PutU32(&file, 16, ArchiveCrc32(dir.data(), dir.size()));
  PutU32(&file, 20, static_cast<uint32_t>(ArchiveHeaderSize));  // the data follows the header
  ArchiveScramble(file.data(), file.size(), 0, key.c_str());
  return file;
}

namespace {

constexpr int kMaxFolderDepth = 64;  // a folder linked into itself ends here

bool Gather(const std::string& hostFolder, const std::string& prefix, std::vector<PackInput>* inputs,
            int depth) {
  if (depth > kMaxFolderDepth) {
    std::fprintf(stderr, "tsapack: folders nested too deep at %s\n", hostFolder.c_str());
    return false;
  }
  DIR* dir = opendir(hostFolder.c_str());
  if (!dir) return false;
  std::vector<std::string> names;
  while (dirent* d = readdir(dir)) {
    if (std::strcmp(d->d_name, ".") == 0 || std::strcmp(d->d_name, "..") == 0) continue;
    names.push_back(d->d_name);
  }
  closedir(dir);
  std::sort(names.begin(), names.end());
  for (const std::string& name : names) {
    const std::string full = hostFolder + "/" + name;
    struct stat st;
    if (stat(full.c_str(), &st) != 0) return false;
    bool ok = true;
    const std::string archiveName = prefix + Utf8ToCp932(name.c_str(), &ok);
    if (!ok) {
      std::fprintf(stderr, "tsapack: name not representable in CP932: %s\n", full.c_str());
      return false;
    }
    if (S_ISDIR(st.st_mode)) {
      if (!Gather(full, archiveName + "\\", inputs, depth + 1)) return false;
    } else if (S_ISREG(st.st_mode)) {
      std::FILE* f = std::fopen(full.c_str(), "rb");
      if (!f) return false;
      PackInput in;
      in.name = archiveName;
      in.data.resize(static_cast<size_t>(st.st_size));
      const size_t got = in.data.empty() ? 0 : std::fread(in.data.data(), 1, in.data.size(), f);
      std::fclose(f);
      if (got != in.data.size()) return false;
      inputs->push_back(std::move(in));
    }
  }
  return true;
}

}  // namespace

int GatherFolder(const char* hostFolder, std::vector<PackInput>* inputs) {
  if (!hostFolder || !inputs) return -1;
  inputs->clear();
  if (!Gather(hostFolder, "", inputs, 0)) return -1;
  std::sort(inputs->begin(), inputs->end(),
            [](const PackInput& a, const PackInput& b) { return a.name < b.name; });
  return 0;
}

int PackFolder(const char* outPath, const char* hostFolder, const PackOptions& options,
               PackSummary* summary) {
  std::vector<PackInput> inputs;
  if (GatherFolder(hostFolder, &inputs) != 0) {
    std::fprintf(stderr, "tsapack: cannot read folder %s\n", hostFolder ? hostFolder : "(null)");
    return -1;
  }
  const std::vector<uint8_t> image = BuildArchive(inputs, options);
  if (image.empty()) {
    std::fprintf(stderr, "tsapack: cannot build the archive (duplicate names?)\n");
    return -1;
  }
  // Written as the game writes its saves: made whole in a file of its own,
  // never through a link, and given the name only when it is.
  const int error = outPath ? FsReplaceHostFile(outPath, image.data(), image.size()) : EINVAL;
  if (error != 0) {
    std::fprintf(stderr, "tsapack: cannot write %s (%s)\n", outPath ? outPath : "(null)", FsErrorText(error));
    return -1;
  }
  if (summary) {
    summary->files = inputs.size();
    summary->bytesRead = 0;
    for (const PackInput& in : inputs) summary->bytesRead += in.data.size();
    summary->bytesWritten = image.size();
  }
  return 0;
}
