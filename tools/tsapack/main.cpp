// tsapack: packs a folder into an archive of the library's format, or lists
// an archive.
//   tsapack OUT.dat FOLDER [KEY] [--version=N] [--stored]
//   tsapack --list ARCHIVE [KEY]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/archive.h"
#include "core/archive_pack.h"
#include "core/log.h"
#include "core/memory.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: tsapack OUT.dat FOLDER [KEY] [--version=0..3] [--stored]\n"
               "       tsapack --list ARCHIVE [KEY]\n");
  return 2;
}

int List(const char* path, const char* key) {
  SetLogEcho(1);
  Archive* a = OpenArchiveFile(path, key);
  if (!a) {
    std::fprintf(stderr, "tsapack: cannot read %s (missing, damaged or another key)\n", path);
    return 1;
  }
  int bad = 0;
  for (int i = 0; i < ArchiveEntryCount(a); ++i) {
    const ArchiveEntry* e = ArchiveEntryAt(a, i);
    void* data = nullptr;
    size_t size = 0;
    const bool ok = ReadArchiveEntry(a, e, &data, &size) == 0;
    TrackedFree(data);
    bad += !ok;
    std::printf("%10u %10u %s %s%s\n", e->originalSize, e->storedSize,
                e->method == ArchiveMethodLz ? "lz " : "raw", e->name, ok ? "" : "  (damaged)");
  }
  CloseArchive(a);
  return bad ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  SetLogOutput(0);
  std::vector<const char*> positional;
  PackOptions options;
  bool list = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--version=", 10) == 0) {
      char* end = nullptr;
      const long v = std::strtol(argv[i] + 10, &end, 10);
      if (*end || v < 0 || v > 3) return Usage();
      options.version = static_cast<int>(v);
    } else if (std::strcmp(argv[i], "--stored") == 0) {
      options.method = 0;
    } else if (std::strcmp(argv[i], "--list") == 0 || std::strcmp(argv[i], "-l") == 0) {
      list = true;
    } else if (argv[i][0] == '-' && argv[i][1] == '-') {
      return Usage();
    } else {
      positional.push_back(argv[i]);
    }
  }
  if (list) {
    if (positional.empty() || positional.size() > 2) return Usage();
    SetLogOutput(1);  // the reader's reasons, on standard error only
    SetLogFileOutput(0);
    return List(positional[0], positional.size() > 1 ? positional[1] : nullptr);
  }
  if (positional.size() < 2 || positional.size() > 3) return Usage();
  if (positional.size() == 3) {
    options.key = positional[2];
    if (options.key.size() > static_cast<size_t>(ArchiveMaxKey)) {
      std::fprintf(stderr, "tsapack: the key is cut to its first %d bytes\n", ArchiveMaxKey);
      options.key.resize(ArchiveMaxKey);
    }
  }
  PackSummary done;
  if (PackFolder(positional[0], positional[1], options, &done) != 0) return 1;
  std::printf("tsapack: %s: %zu files, %llu bytes read, %llu bytes written\n", positional[0],
              done.files, static_cast<unsigned long long>(done.bytesRead),
              static_cast<unsigned long long>(done.bytesWritten));
  return 0;
}
