// The audio device the sound library plays through: secondary PCM buffers in
// the manner of DirectSound (duplicates sharing sample memory, lock/unlock of a
// byte range, looping play, play cursor, volume in hundredths of a decibel),
// mixed into 44.1 kHz 16-bit stereo for an SDL device, or for a "null" device
// whose clock a test advances by hand.
#pragma once
#include <cstdint>

struct AudioFormat {
  uint16_t channels;        // 1 or 2
  uint32_t sampleRate;      // Hz
  uint16_t bitsPerSample;   // 8 (unsigned) or 16 (signed)
  uint16_t blockAlign;      // channels x bits / 8
};

enum class AudioBackend {
  None,  // no device: opening fails
  Null,  // no output; AudioNullRender mixes on the caller's thread
  Sdl,   // the SDL2 audio device; SDL's callback thread mixes
};

constexpr uint32_t kAudioMixRate = 44100;
constexpr uint32_t kAudioStatusPlaying = 1;
constexpr uint32_t kAudioStatusLooping = 4;
constexpr int32_t kAudioVolumeMin = -10000;

struct AudioBuffer;

// Device. AudioDeviceOpen fails (-1) for None, when SDL has no device, or when
// a device is already open.
int AudioDeviceOpen(AudioBackend backend);
void AudioDeviceClose();  // releases every buffer still alive
// Stops the output (SDL's mixing thread) at once, leaving every buffer alive
// and the device open for AudioDeviceClose: for a process that is ending.
void AudioDeviceHalt();
bool AudioDeviceIsOpen();
AudioBackend AudioDeviceBackend();

// Buffers. Creation fails (null) for a format other than 8/16-bit mono/stereo,
// a rate outside 100..384000, a size of 0, above 256 MiB or not a whole
// number of sample frames.
AudioBuffer* AudioCreateBuffer(const AudioFormat& format, uint32_t bytes);
AudioBuffer* AudioDuplicateBuffer(AudioBuffer* original);
void AudioReleaseBuffer(AudioBuffer* buffer);
uint32_t AudioBufferBytes(const AudioBuffer* buffer);

// Lock hands out a staging copy of bytes at offset (two parts when the span
// crosses the end of the buffer; the second starts at offset 0); Unlock copies
// the parts back. One lock at a time per buffer. 0 ok, -1 refused.
int AudioLock(AudioBuffer* buffer, uint32_t offset, uint32_t bytes, void** part1,
              uint32_t* size1, void** part2, uint32_t* size2);
int AudioUnlock(AudioBuffer* buffer, void* part1, uint32_t size1, void* part2, uint32_t size2);

int AudioPlay(AudioBuffer* buffer, bool looping);
int AudioStop(AudioBuffer* buffer);  // keeps the position
int AudioGetStatus(AudioBuffer* buffer, uint32_t* status);
int AudioGetCurrentPosition(AudioBuffer* buffer, uint32_t* playCursor);  // bytes
int AudioSetCurrentPosition(AudioBuffer* buffer, uint32_t offset);
int AudioSetVolume(AudioBuffer* buffer, int32_t hundredthsOfDecibel);  // -10000..0
int AudioGetVolume(AudioBuffer* buffer, int32_t* hundredthsOfDecibel);

// The gain of a volume in 16.16 fixed point: 10^(vol/2000); 65536 at 0, 0 at -10000.
int32_t AudioVolumeToGain(int32_t hundredthsOfDecibel);

// Mixes frames of 44.1 kHz stereo from every playing buffer into out
// (interleaved, 2 x frames values) and moves their cursors on. Used by the
// SDL callback; exposed for the null device and tests.
void AudioMixFrames(int16_t* out, uint32_t frames);

// Null device: renders frames now on the calling thread (out may be null).
// -1 when the open device is not the null device.
int AudioNullRender(int16_t* out, uint32_t frames);
