// Plain-file access of the game over the platform's file layer.
#include "shell/fileio.h"

#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "library/platform/platform.h"

bool GameReadFile(const char* path, uint8_t* buffer, uint32_t capacity, uint32_t* fileSize,
                  uint32_t* bytesRead) {
  *fileSize = 0;
  *bytesRead = 0;
  if (!GameIsRegularFile(path)) return false;
  std::FILE* f = FsOpenRead(path);
  if (!f) return false;
  int64_t size = FsFileSize(f);
  if (size < 0) {
    FsClose(f);
    return false;
  }
  *fileSize = size > 0xFFFFFFFFll ? 0xFFFFFFFFu : static_cast<uint32_t>(size);
  size_t got = capacity ? FsRead(f, buffer, capacity) : 0;
  bool ok = !std::ferror(f);
  FsClose(f);
  *bytesRead = static_cast<uint32_t>(got);
  return ok;
}

bool GameWriteFileReplacing(const char* path, const uint8_t* data, uint32_t size) {
  std::string temp = std::string(path) + ".tmp";
  std::FILE* f = FsCreate(temp.c_str());
  if (!f) {
    std::fprintf(stderr, "vko01: cannot create %s\n", temp.c_str());
    return false;
  }
  bool ok = FsWrite(f, data, size) == size;
  if (FsClose(f) != 0) ok = false;
  if (ok) ok = FsSizeOf(temp.c_str()) == static_cast<int64_t>(size);
  if (ok) ok = FsRename(temp.c_str(), path) == 0;
  if (!ok) {
    std::fprintf(stderr, "vko01: writing %s failed; the previous file is kept\n", path);
    FsRemove(temp.c_str());
  }
  return ok;
}

bool GameFileOpensForReading(const char* path) { return FsExists(path) == 1; }

bool GameIsRegularFile(const char* path) {
  std::string host = FsHostPath(path);
  struct stat st;
  return !host.empty() && stat(host.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool GameMakeDirectory(const char* path) { return FsMakeDirectory(path) == 0; }

int GameListFiles(char (*rows)[256], int capacity, const char* pattern) {
  return FsListFiles(pattern, rows, capacity);
}

int GameReadProfileString(const char* section, const char* key, const char* defaultValue,
                          char* out, int size, const char* path) {
  return FsGetProfileString(section, key, defaultValue, out, size, path);
}

int GameReadProfileInt(const char* section, const char* key, int defaultValue, const char* path) {
  return FsGetProfileInt(section, key, defaultValue, path);
}

bool GameAskYesNo(const char* text, const char* caption) {
  return PlatformMessageBoxYesNo(text, caption) == 1;
}
