// The emulated secondary buffers, their mixer, and the null and "none" devices.
// Every buffer field the mixer reads is guarded by one small mixer mutex; the
// mixer never takes any other lock.
#include "platform/audio_device.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>
#include <vector>

#include "platform/audio_sdl.h"

namespace {

struct AudioSampleMemory {
  std::vector<uint8_t> bytes;
  int references = 0;
};

}  // namespace

struct AudioBuffer {
  AudioSampleMemory* memory = nullptr;
  AudioFormat format{};
  uint32_t frames = 0;
  uint64_t position = 0;  // 32.32 fixed point, in frames
  uint64_t step = 0;      // frames advanced per output frame, 32.32
  bool playing = false;
  bool looping = false;
  int32_t volume = 0;
  int32_t gain = 65536;
  bool locked = false;
  uint32_t lockOffset = 0;
  std::vector<uint8_t> staging;
};

namespace {

std::mutex g_mixMutex;
bool g_open = false;
AudioBackend g_backend = AudioBackend::None;
std::vector<AudioBuffer*> g_buffers;

constexpr uint32_t kMaxBufferBytes = 256u << 20;

bool FormatUsable(const AudioFormat& f) {
  if (f.channels != 1 && f.channels != 2) return false;
  if (f.bitsPerSample != 8 && f.bitsPerSample != 16) return false;
  if (f.blockAlign != f.channels * f.bitsPerSample / 8) return false;
  return f.sampleRate >= 100 && f.sampleRate <= 384000;
}

bool Alive(const AudioBuffer* buffer) {
  return buffer && std::find(g_buffers.begin(), g_buffers.end(), buffer) != g_buffers.end();
}

void ReleaseLocked(AudioBuffer* buffer) {
  g_buffers.erase(std::remove(g_buffers.begin(), g_buffers.end(), buffer), g_buffers.end());
  if (--buffer->memory->references == 0) delete buffer->memory;
  delete buffer;
}

inline int32_t FetchSample(const uint8_t* data, const AudioFormat& f, uint32_t frame, int channel) {
  const int ch = f.channels == 2 ? channel : 0;
  if (f.bitsPerSample == 16) {
    const uint8_t* p = data + static_cast<size_t>(frame) * f.blockAlign + ch * 2;
    return static_cast<int16_t>(static_cast<uint16_t>(p[0] | (p[1] << 8)));
  }
  const uint8_t* p = data + static_cast<size_t>(frame) * f.blockAlign + ch;
  return (static_cast<int32_t>(p[0]) - 128) * 256;
}

// Adds one buffer's output to accum (stereo, frames long); stops a one-shot
// buffer at its end.
void MixBuffer(AudioBuffer* b, int32_t* accum, uint32_t frames) {
  const uint8_t* data = b->memory->bytes.data();
  const uint64_t end = static_cast<uint64_t>(b->frames) << 32;
  for (uint32_t k = 0; k < frames; ++k) {
    if (b->position >= end) {
      if (b->looping) {
        b->position %= end;
      } else {
        b->playing = false;
        b->position = 0;
        return;
      }
    }
    const uint32_t i = static_cast<uint32_t>(b->position >> 32);
    const int64_t frac = static_cast<int64_t>((b->position >> 16) & 0xFFFF);
    uint32_t j = i + 1;
    if (j >= b->frames) j = b->looping ? 0 : i;
    for (int c = 0; c < 2; ++c) {
      int64_t s = FetchSample(data, b->format, i, c);
      if (frac != 0) {
        const int64_t s1 = FetchSample(data, b->format, j, c);
        s += ((s1 - s) * frac) >> 16;
      }
      accum[2 * k + c] += static_cast<int32_t>((s * b->gain) >> 16);
    }
    b->position += b->step;
  }
}

}  // namespace

int32_t AudioVolumeToGain(int32_t volume) {
  if (volume <= kAudioVolumeMin) return 0;
  if (volume >= 0) return 65536;
  return static_cast<int32_t>(std::lround(65536.0 * std::pow(10.0, volume / 2000.0)));
}

void AudioMixFrames(int16_t* out, uint32_t frames) {
  int32_t accum[2 * 512];
  std::lock_guard<std::mutex> guard(g_mixMutex);
  while (frames > 0) {
    const uint32_t n = std::min<uint32_t>(frames, 512);
    std::memset(accum, 0, sizeof(int32_t) * 2 * n);
    for (AudioBuffer* b : g_buffers) {
      if (b->playing) MixBuffer(b, accum, n);
    }
    if (out) {
      for (uint32_t i = 0; i < 2 * n; ++i) {
        out[i] = static_cast<int16_t>(std::clamp(accum[i], -32768, 32767));
      }
      out += 2 * n;
    }
    frames -= n;
  }
}

int AudioDeviceOpen(AudioBackend backend) {
  {
    std::lock_guard<std::mutex> guard(g_mixMutex);
    if (g_open || backend == AudioBackend::None) return -1;
  }
  if (backend == AudioBackend::Sdl && AudioSdlOpen() != 0) return -1;
  std::lock_guard<std::mutex> guard(g_mixMutex);
  g_open = true;
  g_backend = backend;
  return 0;
}

void AudioDeviceClose() {
  AudioBackend backend;
  {
    std::lock_guard<std::mutex> guard(g_mixMutex);
    if (!g_open) return;
    backend = g_backend;
  }
  // The SDL callback takes the mixer mutex: close the device without it.
  if (backend == AudioBackend::Sdl) AudioSdlClose();
  std::lock_guard<std::mutex> guard(g_mixMutex);
  while (!g_buffers.empty()) ReleaseLocked(g_buffers.back());
  g_open = false;
  g_backend = AudioBackend::None;
}

void AudioDeviceHalt() {
  bool sdl;
  {
    std::lock_guard<std::mutex> guard(g_mixMutex);
    sdl = g_open && g_backend == AudioBackend::Sdl;
  }
  if (sdl) AudioSdlClose();  // waits for a running callback; a second close does nothing
}

bool AudioDeviceIsOpen() {
  std::lock_guard<std::mutex> guard(g_mixMutex);
  return g_open;
}

AudioBackend AudioDeviceBackend() {
  std::lock_guard<std::mutex> guard(g_mixMutex);
  return g_backend;
}

AudioBuffer* AudioCreateBuffer(const AudioFormat& format, uint32_t bytes) {
  if (!FormatUsable(format) || bytes == 0 || bytes > kMaxBufferBytes ||
      bytes % format.blockAlign != 0) {
    return nullptr;
  }
  auto* memory = new AudioSampleMemory;
  memory->bytes.assign(bytes, format.bitsPerSample == 8 ? 0x80 : 0);
  memory->references = 1;
  auto* b = new AudioBuffer;
  b->memory = memory;
  b->format = format;
  b->frames = bytes / format.blockAlign;
  b->step = (static_cast<uint64_t>(format.sampleRate) << 32) / kAudioMixRate;
  std::lock_guard<std::mutex> guard(g_mixMutex);
  if (!g_open) {
    delete b;
    delete memory;
    return nullptr;
  }
  g_buffers.push_back(b);
  return b;
}

AudioBuffer* AudioDuplicateBuffer(AudioBuffer* original) {
  std::lock_guard<std::mutex> guard(g_mixMutex);
  if (!g_open || !Alive(original)) return nullptr;
  auto* b = new AudioBuffer;
  b->memory = original->memory;
  b->memory->references += 1;
  b->format = original->format;
  b->frames = original->frames;
  b->step = original->step;
  g_buffers.push_back(b);
  return b;
}

void AudioReleaseBuffer(AudioBuffer* buffer) {
  std::lock_guard<std::mutex> guard(g_mixMutex);
  if (Alive(buffer)) ReleaseLocked(buffer);
}

uint32_t AudioBufferBytes(const AudioBuffer* buffer) {
  std::lock_guard<std::mutex> guard(g_mixMutex);
  return Alive(buffer) ? static_cast<uint32_t>(buffer->memory->bytes.size()) : 0;
}

int AudioLock(AudioBuffer* b, uint32_t offset, uint32_t bytes, void** part1, uint32_t* size1,
              void** part2, uint32_t* size2) {
  if (!part1 || !size1) return -1;
  std::lock_guard<std::mutex> guard(g_mixMutex);
  if (!Alive(b) || b->locked) return -1;
  const uint32_t total = static_cast<uint32_t>(b->memory->bytes.size());
  if (offset >= total || bytes == 0 || bytes > total) return -1;
  const uint32_t first = std::min(bytes, total - offset);
  const uint32_t second = bytes - first;
  if (second != 0 && (!part2 || !size2)) return -1;
  // The caller writes into a staging copy, so the mixer never reads bytes
  // that are half written.
  b->staging.resize(bytes);
  std::memcpy(b->staging.data(), b->memory->bytes.data() + offset, first);
  if (second) std::memcpy(b->staging.data() + first, b->memory->bytes.data(), second);
  b->locked = true;
  b->lockOffset = offset;
  *part1 = b->staging.data();
  *size1 = first;
  if (part2) *part2 = second ? b->staging.data() + first : nullptr;
  if (size2) *size2 = second;
  return 0;
}

int AudioUnlock(AudioBuffer* b, void* part1, uint32_t size1, void* part2, uint32_t size2) {
  std::lock_guard<std::mutex> guard(g_mixMutex);
  if (!Alive(b) || !b->locked) return -1;
  uint8_t* staging = b->staging.data();
  const size_t staged = b->staging.size();
  if (part1 != staging || size1 > staged || size2 > staged - size1 ||
      (size2 != 0 && part2 != staging + size1)) {
    return -1;
  }
  uint8_t* bytes = b->memory->bytes.data();
  std::memcpy(bytes + b->lockOffset, staging, size1);
  if (size2) std::memcpy(bytes, staging + size1, size2);
  b->locked = false;
  return 0;
}

int AudioPlay(AudioBuffer* b, bool looping) {
  std::lock_guard<std::mutex> guard(g_mixMutex);
  if (!Alive(b)) return -1;
  b->playing = true;
  b->looping = looping;
  return 0;
}

int AudioStop(AudioBuffer* b) {
  std::lock_guard<std::mutex> guard(g_mixMutex);
  if (!Alive(b)) return -1;
  b->playing = false;
  return 0;
}

int AudioGetStatus(AudioBuffer* b, uint32_t* status) {
  std::lock_guard<std::mutex> guard(g_mixMutex);
  if (!Alive(b) || !status) return -1;
  *status = b->playing ? (kAudioStatusPlaying | (b->looping ? kAudioStatusLooping : 0)) : 0;
  return 0;
}

int AudioGetCurrentPosition(AudioBuffer* b, uint32_t* playCursor) {
  std::lock_guard<std::mutex> guard(g_mixMutex);
  if (!Alive(b) || !playCursor) return -1;
  uint32_t frame = static_cast<uint32_t>(b->position >> 32);
  if (frame >= b->frames) frame = 0;
  *playCursor = frame * b->format.blockAlign;
  return 0;
}

int AudioSetCurrentPosition(AudioBuffer* b, uint32_t offset) {
  std::lock_guard<std::mutex> guard(g_mixMutex);
  if (!Alive(b)) return -1;
  const uint32_t frame = offset / b->format.blockAlign;
  if (frame >= b->frames) return -1;
  b->position = static_cast<uint64_t>(frame) << 32;
  return 0;
}

int AudioSetVolume(AudioBuffer* b, int32_t volume) {
  std::lock_guard<std::mutex> guard(g_mixMutex);
  if (!Alive(b) || volume > 0 || volume < kAudioVolumeMin) return -1;
  b->volume = volume;
  b->gain = AudioVolumeToGain(volume);
  return 0;
}

int AudioGetVolume(AudioBuffer* b, int32_t* volume) {
  std::lock_guard<std::mutex> guard(g_mixMutex);
  if (!Alive(b) || !volume) return -1;
  *volume = b->volume;
  return 0;
}

int AudioNullRender(int16_t* out, uint32_t frames) {
  {
    std::lock_guard<std::mutex> guard(g_mixMutex);
    if (!g_open || g_backend != AudioBackend::Null) return -1;
  }
  AudioMixFrames(out, frames);
  return 0;
}
