// Small services the sound code shares: its allocation and log wrappers, the
// 18-byte PCM wave format record, and the stream a sound source is read
// through.
#pragma once
#include <cstddef>
#include <cstdint>

#include "core/stream.h"

// Tracked allocation (the library's tracking allocator) of sound records,
// images, PCM and work buffers. Blocks come back zeroed; SoundFree(nullptr)
// does nothing.
void* SoundAllocAt(size_t bytes, const char* file, int line);
void SoundFree(void* block);
#define SoundAlloc(bytes) SoundAllocAt((bytes), __FILE__, __LINE__)

// One formatted message to the library log (a newline is not added).
void SoundLog(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The WAVEFORMATEX of PCM data (tag 1) as it lies in a RIFF fmt chunk.
struct SoundWaveFormat {
  uint16_t formatTag;
  uint16_t channels;
  uint32_t samplesPerSec;
  uint32_t avgBytesPerSec;
  uint16_t blockAlign;
  uint16_t bitsPerSample;
  uint16_t extraSize;
};
constexpr uint32_t kWaveFormatBytes = 18;
void WaveFormatToBytes(const SoundWaveFormat& format, uint8_t out[18]);
SoundWaveFormat WaveFormatFromBytes(const uint8_t* bytes, uint32_t size);  // missing bytes 0
bool WaveFormatsEqual(const SoundWaveFormat& a, const SoundWaveFormat& b);  // byte for byte
// A PCM format the device can play: 8/16 bits, 1/2 channels, 100..384000 Hz,
// block align = channels x bits / 8.
bool WaveFormatPlayable(const SoundWaveFormat& format);

inline uint16_t ReadLe16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t ReadLe32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
inline void WriteLe16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
inline void WriteLe32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

// A source is read through the library's stream operations and a handle.
struct SoundStream {
  const StreamFunctions* ops;
  StreamHandle handle;
};

// Byte-level helpers over a SoundStream.
size_t SoundStreamReadBytes(const SoundStream& s, void* buffer, size_t bytes);
int64_t SoundStreamLength(const SoundStream& s);  // seeks to the end and back; -1 failure
