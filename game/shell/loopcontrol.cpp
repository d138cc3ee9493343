// Main-loop rules without library calls.
#include "shell/loopcontrol.h"

#include <cstring>

#include "shell/input.h"

int PlaybackUpdateCount(const Input& input, uint32_t passCounter) {
  if (input.Held(ButtonSlow)) return passCounter % 2 == 0 ? 1 : 0;
  if (input.Held(ButtonSkip)) return 4;
  if (input.Held(ButtonShot)) return 2;
  if (input.Held(ButtonBomb)) return 0;
  return 1;
}

bool PassDraws(uint32_t frameSkip, uint32_t passCounter) {
  return frameSkip == 0 || passCounter % (frameSkip + 1) == 0;
}

int FindBmpExtension(const char* name) {
  const char* found = std::strstr(name, ".bmp");
  return found ? static_cast<int>(found - name) : -1;
}

int64_t SnapshotNumberOf(const char* name) {
  if (std::strncmp(name, "vko", 3) != 0 && std::strncmp(name, "VKO", 3) != 0) return -1;
  int dot = FindBmpExtension(name);
  if (dot < 0) return -1;
  if (name[dot + 4] != 0) return -1;
  if (dot <= 3) return -1;
  int64_t value = 0;
  for (int i = 3; i < dot; ++i) {
    char c = name[i];
    if (c < '0' || c > '9') return -1;
    // Absurdly long numbers saturate; the next snapshot then reuses the top.
    if (value < 1000000000) value = value * 10 + (c - '0');
  }
  return value;
}

int64_t NextSnapshotNumber(const char (*names)[256], int count) {
  int64_t largest = 0;
  for (int i = 0; i < count; ++i) {
    int64_t n = SnapshotNumberOf(names[i]);
    if (n > largest) largest = n;
  }
  return largest + 1;
}
