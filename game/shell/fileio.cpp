// Plain-file access of the game over the platform's file layer.
#include "shell/fileio.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "library/platform/platform.h"

bool GameReadFile(const char* path, uint8_t* buffer, uint32_t capacity, uint32_t* fileSize,
                  uint32_t* bytesRead, int* error) {
  int64_t size = 0;
  size_t got = 0;
  const int e = FsReadFile(path, buffer, capacity, &size, &got);
  *fileSize = size > 0xFFFFFFFFll ? 0xFFFFFFFFu : static_cast<uint32_t>(size);
  *bytesRead = static_cast<uint32_t>(got);
  if (error) *error = e;
  return e == 0;
}

const char* GameFileErrorText(int error) { return FsErrorText(error); }

int GameFileOpenError(const char* path) { return FsOpenError(path); }

bool GameWriteFileReplacing(const char* path, const uint8_t* data, uint32_t size) {
  const int error = FsReplaceFile(path, data, size);
  if (error != 0)
    std::fprintf(stderr, "vko01: writing %s failed (%s); the previous file is kept\n", path,
                 FsErrorText(error));
  return error == 0;
}

bool GameFileOpensForReading(const char* path) { return FsExists(path) == 1; }

bool GameOverrideOpens(const char* path) {
  const int error = FsOpenError(path);
  if (error != 0 && error != ENOENT)
    std::fprintf(stderr, "vko01: %s cannot be read (%s); it is not used\n", path, FsErrorText(error));
  return error == 0;
}

bool GameIsRegularFile(const char* path) {
  std::string host = FsHostPath(path);
  struct stat st;
  return !host.empty() && stat(host.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool GameNameIsTaken(const char* path) {
  std::string host = FsHostPath(path);
  struct stat st;
  return host.empty() || lstat(host.c_str(), &st) == 0;
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
