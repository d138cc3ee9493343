// Allocation, log, wave format and stream helpers of the sound code.
#include "sound/sound_base.h"

#include "core/log.h"
#include "core/memory.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

void* SoundAllocAt(size_t bytes, const char* file, int line) {
  return TrackedCalloc(bytes ? bytes : 1, file, line);
}

void SoundFree(void* block) { TrackedFree(block); }

void SoundLog(const char* format, ...) {
  char text[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  WriteLog(text);
}

void WaveFormatToBytes(const SoundWaveFormat& f, uint8_t out[18]) {
  WriteLe16(out + 0, f.formatTag);
  WriteLe16(out + 2, f.channels);
  WriteLe32(out + 4, f.samplesPerSec);
  WriteLe32(out + 8, f.avgBytesPerSec);
  WriteLe16(out + 12, f.blockAlign);
  WriteLe16(out + 14, f.bitsPerSample);
  WriteLe16(out + 16, f.extraSize);
}

SoundWaveFormat WaveFormatFromBytes(const uint8_t* bytes, uint32_t size) {
  uint8_t b[18] = {};
  std::memcpy(b, bytes, size < 18 ? size : 18);
  SoundWaveFormat f;
  f.formatTag = ReadLe16(b + 0);
  f.channels = ReadLe16(b + 2);
  f.samplesPerSec = ReadLe32(b + 4);
  f.avgBytesPerSec = ReadLe32(b + 8);
  f.blockAlign = ReadLe16(b + 12);
  f.bitsPerSample = ReadLe16(b + 14);
  f.extraSize = ReadLe16(b + 16);
  return f;
}

bool WaveFormatsEqual(const SoundWaveFormat& a, const SoundWaveFormat& b) {
  uint8_t x[18], y[18];
  WaveFormatToBytes(a, x);
  WaveFormatToBytes(b, y);
  return std::memcmp(x, y, 18) == 0;
}

bool WaveFormatPlayable(const SoundWaveFormat& f) {
  if (f.channels != 1 && f.channels != 2) return false;
  if (f.bitsPerSample != 8 && f.bitsPerSample != 16) return false;
  if (f.blockAlign != f.channels * f.bitsPerSample / 8) return false;
  return f.samplesPerSec >= 100 && f.samplesPerSec <= 384000;
}

size_t SoundStreamReadBytes(const SoundStream& s, void* buffer, size_t bytes) {
  if (!s.ops || bytes == 0) return 0;
  return s.ops->read(buffer, 1, bytes, s.handle);
}

int64_t SoundStreamLength(const SoundStream& s) {
  if (!s.ops) return -1;
  const int64_t here = s.ops->tell(s.handle);
  if (here < 0 || s.ops->seek(s.handle, 0, 2) != 0) return -1;
  const int64_t length = s.ops->tell(s.handle);
  s.ops->seek(s.handle, here, 0);
  return length;
}

