// Byte images of the save files.
#include "shell/savefile.h"

#include <cstring>

#include "shell/gamestate.h"

namespace {

constexpr uint8_t kKeyBase = kScrambleConstant;

uint8_t Key(uint32_t position) { return static_cast<uint8_t>(kKeyBase + position); }

void PutU32(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
  p[2] = static_cast<uint8_t>(v >> 16);
  p[3] = static_cast<uint8_t>(v >> 24);
}

uint32_t GetU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

bool IsOldOrCurrentVersion(uint8_t version) { return version >= 'd' && version <= 'i'; }

}  // namespace

void ScrambleConfig(uint8_t* buffer) {
  for (uint32_t p = 8; p <= 18; ++p)
    buffer[p] = static_cast<uint8_t>((buffer[p] ^ kScrambleConstant) + Key(p));
}

void UnscrambleConfig(uint8_t* buffer) {
  for (uint32_t p = 8; p <= 18; ++p)
    buffer[p] = static_cast<uint8_t>(static_cast<uint8_t>(buffer[p] - Key(p)) ^ kScrambleConstant);
}

void ScrambleSaveData(uint8_t* buffer, int32_t count) {
  for (int32_t i = 0; i < count; ++i) {
    uint32_t p = 8 + static_cast<uint32_t>(i);
    buffer[p] = static_cast<uint8_t>(static_cast<uint8_t>(buffer[p] + Key(p)) ^ kScrambleConstant);
  }
}

void UnscrambleSaveData(uint8_t* buffer, int32_t count) {
  for (int32_t i = 0; i < count; ++i) {
    uint32_t p = 8 + static_cast<uint32_t>(i);
    buffer[p] = static_cast<uint8_t>((buffer[p] ^ kScrambleConstant) - Key(p));
  }
}

uint32_t SaveChecksumHash(const uint8_t* bytes, size_t count) {
  uint32_t h = 0;
  for (size_t i = 0; i < count; ++i) h = h * 137u + bytes[i];
  return h;
}

// ---- Settings ----------------------------------------------------------------

void EncodeConfigFile(const GameState& state, uint8_t* buffer) {
  std::memset(buffer, 0, kConfigFileSize);
  std::memcpy(buffer, "vko01cf", 7);
  buffer[7] = kFileVersion;
  buffer[8] = static_cast<uint8_t>(((state.livesSetting & 3) << 6) | ((state.bombsSetting & 3) << 4));
  buffer[9] = static_cast<uint8_t>(state.bgmVolume);
  buffer[10] = static_cast<uint8_t>(state.seVolume);
  buffer[11] = static_cast<uint8_t>(((state.screenMode & 3) << 6) | ((state.color32 & 1) << 5) |
                                    ((state.frameSkip & 3) << 3));
  for (int k = 0; k < 4; ++k) buffer[16 + k] = static_cast<uint8_t>(state.padButton[k]);
  buffer[15] = 0;
  buffer[15] = static_cast<uint8_t>(SaveChecksumHash(buffer, 19));
  ScrambleConfig(buffer);
}

bool DecodeConfigFile(uint8_t* buffer, GameState& state) {
  UnscrambleConfig(buffer);
  buffer[15] = 0;
  if (std::memcmp(buffer, "vko01cf", 7) != 0) return false;
  uint8_t version = buffer[7];
  if (version == 10) {
    buffer[11] = 0xA0;  // ask at start, 32-bit colour, no frame skip
  } else if (!(version == 'i' || version == 20 || version == 21 || version == 22 ||
               (version >= 'd' && version <= 'h'))) {
    return false;
  }
  uint32_t lives = buffer[8] >> 6;
  state.livesSetting = lives > 2 ? 2 : lives;
  state.bombsSetting = (buffer[8] >> 4) & 3;
  state.bgmVolume = buffer[9] > 100 ? 100 : buffer[9];
  state.seVolume = buffer[10] > 100 ? 100 : buffer[10];
  state.screenMode = buffer[11] >> 6;
  state.color32 = (buffer[11] >> 5) & 1;
  uint32_t skip = (buffer[11] >> 3) & 3;
  state.frameSkip = skip > 2 ? 2 : skip;
  for (int k = 0; k < 4; ++k) {
    uint32_t b = buffer[16 + k];
    if (b > 31) b = 31;
    // 0-3 are the pad's directions, never an action button: such a byte is
    // an unassigned button and takes the default button k.
    if (b < 4) b = 4 + static_cast<uint32_t>(k);
    state.padButton[k] = b;
  }
  return true;
}

// ---- Score ---------------------------------------------------------------------

void EncodeScoreFile(const GameState& state, uint8_t* buffer) {
  std::memset(buffer, 0, kScoreFileSize);
  std::memcpy(buffer, "vko01sv", 7);
  buffer[7] = kFileVersion;
  for (int c = 0; c < 5; ++c) {
    uint8_t b = static_cast<uint8_t>(state.clearValue[c] & 7);
    for (int d = 0; d < 5; ++d)
      if (state.clearFlags[c][d]) b = static_cast<uint8_t>(b | (0x80 >> d));
    buffer[8 + c] = b;
  }
  for (int i = 0; i < 25; ++i) {
    uint8_t* r = buffer + 16 + 16 * i;
    PutU32(r, state.hiScore[i]);
    std::memcpy(r + 4, state.hiName[i], 8);
    r[12] = static_cast<uint8_t>((state.hiCharacter[i] << 4) | (state.hiYear[i] >> 7));
    r[13] = static_cast<uint8_t>(((state.hiYear[i] & 127) << 1) | (state.hiMonth[i] >> 3));
    r[14] = static_cast<uint8_t>(((state.hiMonth[i] & 7) << 5) | state.hiDay[i]);
  }
  for (int k = 0; k < 256; ++k) {
    // Counts beyond 16 bits saturate instead of wrapping to a small number.
    uint32_t a = state.spellAttempts[k] > 0xFFFF ? 0xFFFF : state.spellAttempts[k];
    uint32_t c = state.spellCaptures[k] > 0xFFFF ? 0xFFFF : state.spellCaptures[k];
    buffer[512 + 2 * k] = static_cast<uint8_t>(a);
    buffer[513 + 2 * k] = static_cast<uint8_t>(a >> 8);
    buffer[1024 + 2 * k] = static_cast<uint8_t>(c);
    buffer[1025 + 2 * k] = static_cast<uint8_t>(c >> 8);
  }
  buffer[511] = 0;
  buffer[511] = static_cast<uint8_t>(SaveChecksumHash(buffer, kScoreImageSize));
  ScrambleSaveData(buffer, kScoreImageSize - 8);
}

bool DecodeScoreFile(GameState& state, uint8_t* buffer) {
  UnscrambleSaveData(buffer, kScoreImageSize - 8);
  if (std::memcmp(buffer, "vko01sv", 7) != 0 || !IsOldOrCurrentVersion(buffer[7])) return false;
  for (int c = 0; c < 5; ++c) {
    uint8_t b = buffer[8 + c];
    for (int d = 0; d < 5; ++d)
      if (b & (0x80 >> d)) state.clearFlags[c][d] = 1;
    state.clearValue[c] = b & 7;
  }
  for (int i = 0; i < 25; ++i) {
    const uint8_t* r = buffer + 16 + 16 * i;
    state.hiScore[i] = GetU32(r);
    std::memcpy(state.hiName[i], r + 4, 8);
    state.hiCharacter[i] = r[12] >> 4;
    state.hiYear[i] = (static_cast<uint32_t>(r[12] & 15) << 7) | (r[13] >> 1);
    state.hiMonth[i] = (static_cast<uint32_t>(r[13] & 1) << 3) | (r[14] >> 5);
    state.hiDay[i] = r[14] & 31;
  }
  for (int k = 0; k < 256; ++k) {
    state.spellAttempts[k] = buffer[512 + 2 * k] | (static_cast<uint32_t>(buffer[513 + 2 * k]) << 8);
    state.spellCaptures[k] = buffer[1024 + 2 * k] | (static_cast<uint32_t>(buffer[1025 + 2 * k]) << 8);
  }
  return true;
}

// ---- Replay ----------------------------------------------------------------------

uint32_t EncodeReplayFile(const GameState& state, uint8_t* buffer) {
  uint32_t n = state.inputIndex;
  if (n > kMaxReplayFrames) return 0;
  std::memset(buffer, 0, kReplayHeaderSize + n + 1);
  std::memcpy(buffer, "vko01rp", 7);
  buffer[7] = kFileVersion;
  if (state.practice)
    buffer[8] = static_cast<uint8_t>(0x80 + ((state.stageNumber & 15) << 3) + (state.difficulty & 7));
  else
    buffer[8] = static_cast<uint8_t>(state.difficulty);
  buffer[9] = static_cast<uint8_t>((state.character << 4) + (state.livesSetting << 2) + state.bombsSetting);
  buffer[13] = static_cast<uint8_t>(state.route);
  buffer[14] = static_cast<uint8_t>(state.replayHeader.reserved14);
  buffer[15] = static_cast<uint8_t>(state.playSeed);
  PutU32(buffer + 16, n);
  PutU32(buffer + 20, state.score);
  for (int j = 0; j < 12; ++j) PutU32(buffer + 24 + 4 * j, state.replayHeader.reservedWords[j]);
  for (int k = 0; k < 8; ++k) buffer[72 + k] = static_cast<uint8_t>(state.replayName[k]);
  std::memcpy(buffer + kReplayHeaderSize, state.recordInputs, n);
  ScrambleSaveData(buffer, static_cast<int32_t>(n + 72));
  return kReplayHeaderSize + n + 1;
}

bool DecodeReplayFile(GameState& state, uint8_t* buffer, uint32_t size) {
  if (size < kReplayHeaderSize || size > kFileBufferSize) return false;
  UnscrambleSaveData(buffer, static_cast<int32_t>(size - 8));
  if (std::memcmp(buffer, "vko01rp", 7) != 0 || !IsOldOrCurrentVersion(buffer[7])) return false;

  ReplayHeader h{};
  h.practice = buffer[8] >> 7;
  h.stage = h.practice ? (buffer[8] >> 3) & 15 : 0;
  h.difficulty = buffer[8] & 7;
  h.character = buffer[9] >> 4;
  h.livesSetting = (buffer[9] >> 2) & 3;
  h.bombsSetting = buffer[9] & 3;
  h.route = buffer[13];
  h.reserved14 = buffer[14];
  h.seed = buffer[15];
  h.inputCount = GetU32(buffer + 16);
  h.score = GetU32(buffer + 20);
  for (int j = 0; j < 12; ++j) h.reservedWords[j] = GetU32(buffer + 24 + 4 * j);

  if (h.difficulty > 4 || h.character > 4 || h.route > 3 || h.stage > 11) return false;
  // Every recorded input must be present in the file.
  if (h.inputCount > size - kReplayHeaderSize || h.inputCount > kMaxReplayFrames) return false;

  state.replayHeader = h;
  for (int k = 0; k < 8; ++k) state.replayName[k] = buffer[72 + k];
  std::memcpy(state.playbackInputs, buffer + kReplayHeaderSize, h.inputCount);
  return true;
}
