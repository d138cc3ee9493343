// The byte images of the settings, score and replay files: scrambling,
// checksums, encoding from GameState and checked decoding into it. No file
// access here (see savefile_io.h).
#pragma once
#include <cstddef>
#include <cstdint>

struct GameState;

constexpr uint8_t kScrambleConstant = 0xA7;
constexpr uint32_t kConfigFileSize = 20;
constexpr uint32_t kScoreFileSize = 1537;
constexpr uint32_t kScoreImageSize = 1536;
constexpr uint8_t kFileVersion = 'i';

// Position-keyed transforms; each pair is mutually inverse.
void ScrambleConfig(uint8_t* buffer);    // bytes 8-18
void UnscrambleConfig(uint8_t* buffer);
void ScrambleSaveData(uint8_t* buffer, int32_t count);  // count bytes from byte 8
void UnscrambleSaveData(uint8_t* buffer, int32_t count);

// h = h * 137 + b over the span; the low byte is the checksum.
uint32_t SaveChecksumHash(const uint8_t* bytes, size_t count);

// Settings: fills bytes 0-19 (the image is 20 bytes).
void EncodeConfigFile(const GameState& state, uint8_t* buffer);
// Unscrambles in place; false (state untouched) on a bad magic or version.
bool DecodeConfigFile(uint8_t* buffer, GameState& state);

// Score: fills bytes 0-1536 (the trailing byte zero).
void EncodeScoreFile(const GameState& state, uint8_t* buffer);
bool DecodeScoreFile(GameState& state, uint8_t* buffer);

// Replay: fills bytes 0 to 80 + inputIndex (the trailing byte zero) and
// returns the file size, or 0 when the recording is too long for a file.
uint32_t EncodeReplayFile(const GameState& state, uint8_t* buffer);
// size is the number of file bytes in the buffer. Refuses (false, the state
// untouched) a bad magic or version, an image larger than the file buffer,
// an input count beyond the bytes present, and header fields out of range.
bool DecodeReplayFile(GameState& state, uint8_t* buffer, uint32_t size);
