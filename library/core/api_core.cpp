// The library core's public entry points: each takes the library lock, calls
// the inner operation and returns its result.
#include <cstring>
#include <ctime>

#include "core/fileio.h"
#include "core/input.h"
#include "core/library.h"
#include "core/lock.h"
#include "core/log.h"
#include "core/random.h"
#include "platform/platform.h"
#include "tesra.h"

int ApiSetLogOutput(int flag) {
  LibraryLockGuard guard;
  return SetLogOutput(flag);
}

int ApiSetWindowTitle(const char* text) {
  LibraryLockGuard guard;
  return SetWindowTitleText(text);
}

int ApiSetWindowIconResource(int resourceNumber) {
  LibraryLockGuard guard;
  g_librarySettings.iconResource = resourceNumber;
  return 0;
}

int ApiChangeWindowMode(int windowed) {
  LibraryLockGuard guard;
  return ChangeWindowMode(windowed);
}

int ApiSetScreenMode(int width, int height, int colorBits, int refreshRate) {
  LibraryLockGuard guard;
  return SetScreenMode(width, height, colorBits, refreshRate);
}

int ApiInitializeLibrary() {
  LibraryLockGuard guard;
  return InitializeLibrary();
}

int ApiEndLibrary() {
  LibraryLockGuard guard;
  return EndLibrary();
}

int ApiProcessMessage() {
  LibraryLockGuard guard;
  return ProcessMessage();
}

int ApiSetArchiveFileAccess(int flag) {
  LibraryLockGuard guard;
  UseArchiveFileAccess(flag);
  return 0;
}

int ApiSetArchiveFileExtension(const char* extension) {
  LibraryLockGuard guard;
  return SetArchiveExtension(extension);
}

int ApiSetArchiveKey(const char* key) {
  LibraryLockGuard guard;
  return SetArchiveKey(key);
}

int ApiGetMillisecondCount(int) {
  LibraryLockGuard guard;
  return static_cast<int>(PlatformMilliseconds());
}

int ApiGetLocalDateTime(int32_t* sixFields) {
  LibraryLockGuard guard;
  if (!sixFields) return -1;
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (!localtime_r(&now, &local)) return -1;
  sixFields[0] = local.tm_year + 1900;
  sixFields[1] = local.tm_mon + 1;
  sixFields[2] = local.tm_mday;
  sixFields[3] = local.tm_hour;
  sixFields[4] = local.tm_min;
  sixFields[5] = local.tm_sec;
  return 0;
}

int ApiRandomInRange(uint32_t max) {
  LibraryLockGuard guard;
  return RandomInRange(max);
}

int ApiSeedRandom(uint32_t seed) {
  LibraryLockGuard guard;
  SeedRandom(seed);
  return 0;
}

int ApiIsKeyDown(int scanCode) {
  LibraryLockGuard guard;
  return IsKeyDown(scanCode);
}

int ApiGetPadInputBits(int padNumber) {
  LibraryLockGuard guard;
  return GetPadInputBits(padNumber);
}
