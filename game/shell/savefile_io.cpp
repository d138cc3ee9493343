// Save-file reading and writing.
#include "shell/savefile_io.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "shell/fileio.h"
#include "shell/gamestate.h"
#include "shell/savefile.h"

namespace {

// Reads at most capacity bytes of a file into fileBuffer over zeros. A file
// that is there but cannot be read is reported; it is never taken as missing.
SaveFileRead ReadIntoFileBuffer(GameState& state, const char* name, uint32_t capacity,
                                uint32_t* size) {
  std::memset(state.fileBuffer, 0, kFileBufferSize);
  uint32_t fileSize = 0, got = 0;
  int error = 0;
  if (!GameReadFile(name, state.fileBuffer, capacity, &fileSize, &got, &error)) {
    if (error == ENOENT) return SaveFileRead::Missing;
    std::fprintf(stderr, "vko01: %s cannot be read (%s); playing without it, and it will not be written\n",
                 name, GameFileErrorText(error));
    return SaveFileRead::Unreadable;
  }
  *size = got;
  return SaveFileRead::Accepted;
}

// A save refused because the file could not be read at start-up.
bool KeptUnwritten(const char* name) {
  std::fprintf(stderr, "vko01: %s not written: it could not be read at start-up and is kept as it is\n",
               name);
  return false;
}

}  // namespace

bool WriteSaveFile(const char* fileName, const uint8_t* buffer, uint32_t count) {
  return GameWriteFileReplacing(fileName, buffer, count + 1);
}

bool FileExists(const char* fileName) { return GameFileOpensForReading(fileName); }

int ListFiles(char (*rows)[256], int capacity, const char* pattern) {
  return GameListFiles(rows, capacity, pattern);
}

SaveFileRead ReadConfigFile(GameState& state) {
  uint32_t size = 0;
  SaveFileRead r = ReadIntoFileBuffer(state, "vko01.cfg", kConfigFileSize, &size);
  if (r == SaveFileRead::Unreadable) state.keepConfigFile = 1;
  if (r != SaveFileRead::Accepted) return r;
  if (size < kConfigFileSize) return SaveFileRead::Refused;  // cut short: damaged
  return DecodeConfigFile(state.fileBuffer, state) ? SaveFileRead::Accepted : SaveFileRead::Refused;
}

SaveFileRead ReadScoreFile(GameState& state) {
  uint32_t size = 0;
  SaveFileRead r = ReadIntoFileBuffer(state, "score.dat", kScoreFileSize, &size);
  if (r == SaveFileRead::Unreadable) state.keepScoreFile = 1;
  if (r != SaveFileRead::Accepted) return r;
  if (size < kScoreFileSize) return SaveFileRead::Refused;  // cut short: damaged
  return DecodeScoreFile(state, state.fileBuffer) ? SaveFileRead::Accepted : SaveFileRead::Refused;
}

bool SaveConfigFile(GameState& state) {
  if (state.keepConfigFile) return KeptUnwritten("vko01.cfg");
  EncodeConfigFile(state, state.fileBuffer);
  return WriteSaveFile("vko01.cfg", state.fileBuffer, kConfigFileSize - 1);
}

bool SaveScoreFile(GameState& state) {
  if (state.keepScoreFile) return KeptUnwritten("score.dat");
  EncodeScoreFile(state, state.fileBuffer);
  return WriteSaveFile("score.dat", state.fileBuffer, kScoreImageSize);
}

void ReplaySlotFileName(int slotIndex, char* out, int size) {
  std::snprintf(out, static_cast<size_t>(size), "replay\\vko01_%02d.rpy", slotIndex + 1);
}

bool LoadReplay(GameState& state, int slotIndex) {
  if (slotIndex < 0 || slotIndex >= kReplaySlotCount) return false;
  char name[64];
  ReplaySlotFileName(slotIndex, name, sizeof name);
  std::memset(state.fileBuffer, 0, kFileBufferSize);
  uint32_t fileSize = 0, got = 0;
  int error = 0;
  if (!GameReadFile(name, state.fileBuffer, kFileBufferSize, &fileSize, &got, &error)) {
    if (error != ENOENT) std::fprintf(stderr, "vko01: %s cannot be read (%s)\n", name, GameFileErrorText(error));
    return false;
  }
  if (fileSize > kFileBufferSize || got != fileSize) {
    std::fprintf(stderr, "vko01: %s is damaged or too large\n", name);
    return false;
  }
  if (!DecodeReplayFile(state, state.fileBuffer, got)) {
    std::fprintf(stderr, "vko01: %s is not a valid replay\n", name);
    return false;
  }
  return true;
}

int ScanReplaySlots(GameState& state) {
  int found = 0;
  for (int i = 0; i < kReplaySlotCount; ++i) {
    ReplaySlotInfo& slot = state.replaySlots[i];
    std::memset(&slot, 0, sizeof slot);
    char name[64];
    ReplaySlotFileName(i, name, sizeof name);
    if (!GameFileOpensForReading(name)) continue;
    ++found;
    if (!LoadReplay(state, i)) continue;
    const ReplayHeader& h = state.replayHeader;
    for (int k = 0; k < 8; ++k) slot.name[k] = state.replayName[k];
    slot.inputCount = h.inputCount;
    slot.score = h.score;
    std::memcpy(slot.reservedWords, h.reservedWords, sizeof slot.reservedWords);
    slot.difficulty = h.difficulty;
    slot.character = h.character;
    slot.practice = h.practice;
    slot.stage = h.stage;
    slot.valid = 1;
  }
  return found;
}

bool SaveReplay(GameState& state, int slotIndex) {
  if (slotIndex < 0 || slotIndex >= kReplaySlotCount) return false;
  uint32_t size = EncodeReplayFile(state, state.fileBuffer);
  if (size == 0) return false;
  if (!GameMakeDirectory("replay")) {
    std::fprintf(stderr, "vko01: cannot create the replay folder\n");
    return false;
  }
  char name[64];
  ReplaySlotFileName(slotIndex, name, sizeof name);
  // A slot file that is there but cannot be read may be a replay: keep it.
  const int error = GameFileOpenError(name);
  if (error != 0 && error != ENOENT) {
    std::fprintf(stderr, "vko01: %s not written: it is there but cannot be read (%s)\n", name,
                 GameFileErrorText(error));
    return false;
  }
  return WriteSaveFile(name, state.fileBuffer, size - 1);
}
