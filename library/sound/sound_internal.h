// The sound system's records and inner operations: the handle table of sound
// records, memory sounds (one to ten buffers taking turns), stream sounds (a
// six-second ring refilled from up to three sources), loading, and the start
// and end of the sound system. All of it runs under the library lock.
#pragma once
#include <cstdint>

#include "core/list.h"
#include "platform/audio_device.h"
#include "sound/converter.h"
#include "sound/sound_base.h"

constexpr int kMaxSounds = 4096;
constexpr int kMaxSoundBuffers = 10;
constexpr int kMaxStreamSources = 3;
constexpr int32_t kSoundHandleKind = 0x10000000;
constexpr int32_t kNotPrimed = -800;

enum SoundKind : int32_t { kMemorySound = 0, kStreamSound = 1 };

struct SoundBuffer {
  uint32_t created;
  AudioBuffer* buffer;
};

struct StreamSource {
  int8_t repeat;  // 0..127 plays repeat + 1 times, -1 forever from the loop start
  uint32_t type;  // 0 decoded whole to a RIFF image, 2 bytes in memory, 3 the caller's stream
  uint8_t* image;
  uint32_t imageSize;
  SoundStream stream;  // memory stream over the image (types 0, 2)
  uint32_t loopStart;  // samples
  SoundConverter converter;  // converter.loopStartBytes: the loop start in bytes
};

struct SoundRecord {
  uint32_t serial;
  SoundBuffer buffers[kMaxSoundBuffers];
  SoundWaveFormat format;
  int32_t kind;
  uint32_t playType;
  uint32_t startTime;
  // Ring sharing between stream sounds.
  int32_t owner;          // handle whose ring this sound plays through, -1 its own
  int32_t sharers;        // other handles playing through this ring
  int32_t currentUser;    // handle now playing through this ring, -1 none
  int32_t deletePending;  // deleted while others still share the ring
  // Stream state.
  uint32_t ringSize;
  int32_t writePosition;
  int32_t safePosition;
  StreamSource sources[kMaxStreamSources];
  uint8_t openedHere[kMaxStreamSources];
  int32_t sourceCount;
  uint32_t currentSource;
  uint32_t repeatCount;
  int32_t bytePosition;
  uint32_t totalLength;  // samples
  uint32_t playedBytes;
  uint32_t lastCursor;
  uint8_t active, endReached, wrapPending, listFinished;
  uint32_t endPosition, cursorAtEnd, wrapPosition;
  ListNode listNode;
  // Memory sound.
  int32_t pcmSize;
  uint8_t* pcm;
  uint32_t bufferFilled[kMaxSoundBuffers];
  int32_t bufferCount;
  int32_t nextBuffer;
};

// ---- System state (sound_handles.cpp) ---------------------------------------
bool SoundSystemStarted();
extern IntrusiveList g_streamSoundList;
extern uint32_t g_soundLoadMode;
extern uint32_t g_oggSampleSize;
// The device the next start opens: the SDL output by default; tests use the
// null device, and None makes the start fail.
void SetSoundBackend(AudioBackend backend);
AudioBackend GetSoundBackend();
// One pass of the message pump while a play of type 0 waits: the library's
// ProcessMessage once the entry points are linked, else a refill pass.
extern int (*g_soundMessagePass)();
uint32_t SoundMilliseconds();
// One millisecond of waiting: a sleep, or on the null device one millisecond
// of its clock rendered now.
void SoundWaitOneMillisecond();

int InitializeSoundSystem();
int TerminateSoundSystem();
int EndCurrentMusic();
int PollMusicPlayState();
int UpdateMciMusic();

// ---- Handles and memory sounds (sound_handles.cpp) -------------------------
SoundRecord* GetSoundRecord(int handle);  // null when the handle fails the check
int SoundCount();
int AddSoundData(int handle);
int CreateSoundBuffers(const SoundWaveFormat& format, uint32_t bytes, int kind, int count,
                       int handle);
int PlaySoundHandle(int handle, int playType, int fromStart);
int StopSoundHandle(int handle);
int IsSoundPlaying(int handle);
int SetSoundVolume(int volume, int handle);
int32_t SoundVolumeToHundredths(int volume);
int GetSoundLength(int handle);
int DeleteSoundHandle(int handle, int flag);
int DeleteAllSoundHandles(int flag);

// Buffer operations that answer -1 without touching the device for a buffer
// that was never created.
int BufferPlay(SoundBuffer& b, bool looping);
int BufferStop(SoundBuffer& b);
int BufferStatus(SoundBuffer& b, uint32_t* status);
int BufferCursor(SoundBuffer& b, uint32_t* cursor);
int BufferSetPosition(SoundBuffer& b, uint32_t offset);
void BufferRelease(SoundBuffer& b);

// ---- Stream sounds (stream_sound.cpp) --------------------------------------
int AddSreamSound(const SoundStream& stream, uint8_t repeat, int handle, int type, int* copied,
                  int shareHandle);
int AddStreamSoundMem(const void* image, uint32_t size, uint8_t repeat, int handle, int type,
                      int shareHandle);
int PrimeStreamSound(int handle);
int PlayStreamSound(int handle, int playType, int fromStart);
int StopStreamSound(int handle);
int IsStreamSoundPlaying(int handle);
int RefillStreamSound(int handle);
int RefillStreamSounds();
int SetSoundLoopPointSamples(uint32_t sample, int handle);
int SetSoundLoopPointMs(int milliseconds, int handle);
int ClaimStreamBuffer(int handle, SoundRecord* record, SoundBuffer** buffer, bool takeOver);
// Closes and frees what a stream record's sources hold.
void ReleaseStreamSources(SoundRecord* record);

// ---- Loading (sound_load.cpp, sound_files.cpp) -----------------------------
int SetSoundLoadMode(int mode);
int LoadSoundFile(const char* fileName, int bufferCount, int shareHandle);
int LoadSoundFileStub(const char* fileName, int bufferCount, int shareHandle);
int CreateSoundFromMemImage(const void* image, uint32_t size, int bufferCount, int shareHandle);
int BuildRiffImage(uint8_t** image, uint32_t* imageSize, const SoundWaveFormat& format,
                   const void* data, uint32_t dataSize);
int ReadFileToMemory(const char* fileName, uint8_t** data, uint32_t* size);
int ReadStreamToMemory(const SoundStream& stream, uint8_t** data, uint32_t* size);
int AddStreamSoundFile(const char* fileName, uint8_t repeat, int handle, int type,
                       int shareHandle);
