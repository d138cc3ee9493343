// The sound system's start and end, the table of sound handles, and memory
// sounds: play (rotating through the buffers so an effect overlaps itself),
// stop, playing test, volume, length and deletion.
#include <chrono>
#include <cmath>
#include <cstring>
#include <thread>

#include "core/log.h"
#include "sound/sound_internal.h"

IntrusiveList g_streamSoundList;
uint32_t g_soundLoadMode = 0;
uint32_t g_oggSampleSize = 2;
int (*g_soundMessagePass)() = nullptr;

namespace {

struct SoundTable {
  SoundRecord* slots[kMaxSounds];
  int count;
  int highestUsed;  // one above the highest live slot
  int serial;       // check value of the next new handle, 0..2047
};
SoundTable g_table;
bool g_started = false;
AudioBackend g_backend = AudioBackend::Sdl;
AudioBuffer* g_silenceBuffer = nullptr;

int MakeHandle(uint32_t serial, int slot) {
  return static_cast<int>(((serial | 0x1000u) << 16) | static_cast<uint32_t>(slot));
}

// The pass a play of type 0 runs while it waits when the entry points are
// not linked: the refill of the stream sounds.
int LocalMessagePass() {
  RefillStreamSounds();
  return 0;
}

}  // namespace

void SoundWaitOneMillisecond() {
  if (AudioDeviceBackend() == AudioBackend::Null) {
    AudioNullRender(nullptr, kAudioMixRate / 1000);
  } else {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

bool SoundSystemStarted() { return g_started; }
void SetSoundBackend(AudioBackend backend) { g_backend = backend; }
AudioBackend GetSoundBackend() { return g_backend; }

uint32_t SoundMilliseconds() {
  using namespace std::chrono;
  return static_cast<uint32_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// ---- Buffer operations ---------------------------------------------------------

int BufferPlay(SoundBuffer& b, bool looping) { return b.created ? AudioPlay(b.buffer, looping) : -1; }
int BufferStop(SoundBuffer& b) { return b.created ? AudioStop(b.buffer) : -1; }
int BufferStatus(SoundBuffer& b, uint32_t* status) {
  return b.created ? AudioGetStatus(b.buffer, status) : -1;
}
int BufferCursor(SoundBuffer& b, uint32_t* cursor) {
  return b.created ? AudioGetCurrentPosition(b.buffer, cursor) : -1;
}
int BufferSetPosition(SoundBuffer& b, uint32_t offset) {
  return b.created ? AudioSetCurrentPosition(b.buffer, offset) : -1;
}
void BufferRelease(SoundBuffer& b) {
  if (b.created) AudioReleaseBuffer(b.buffer);
  b.created = 0;
  b.buffer = nullptr;
}

// ---- Start and end ------------------------------------------------------------

int InitializeSoundSystem() {
  if (g_started) return -1;
  SoundLog("DirectSound の初期化を行います\n");
  SoundLog("DirectSound インターフェースの取得を行います....  ");
  if (AudioDeviceOpen(g_backend) != 0) {
    SoundLog("DirectSoundインターフェースの作成に失敗しました\n");
    return -1;
  }
  SoundLog("成功\n");
  g_started = true;
  IndentLog();
  SoundLog("出力デバイス:%s  %uHz 16bit ステレオ\n",
           g_backend == AudioBackend::Sdl ? "SDL" : "null", kAudioMixRate);
  UnindentLog();
  // A silent looping buffer keeps the output running from the start.
  const AudioFormat silence = {2, 44100, 16, 4};
  g_silenceBuffer = AudioCreateBuffer(silence, 400);
  if (!g_silenceBuffer) {
    SoundLog("無音バッファの作成に失敗しました");
  } else {
    AudioPlay(g_silenceBuffer, true);
  }
  g_soundLoadMode = 0;
  g_oggSampleSize = 2;
  InitList(&g_streamSoundList);
  std::memset(&g_table, 0, sizeof g_table);
  if (!g_soundMessagePass) g_soundMessagePass = LocalMessagePass;
  SoundLog("DirectSound の初期化は正常に終了しました\n");
  return 0;
}

int TerminateSoundSystem() {
  if (!g_started) return -1;
  DeleteAllSoundHandles(0);
  if (g_silenceBuffer) {
    AudioStop(g_silenceBuffer);
    AudioReleaseBuffer(g_silenceBuffer);
    g_silenceBuffer = nullptr;
  }
  AudioDeviceClose();
  g_started = false;
  SoundLog("DirectSound の終了処理は正常に終了しました\n");
  return 0;
}

int EndCurrentMusic() { return 0; }
int PollMusicPlayState() { return g_started ? 0 : -1; }
int UpdateMciMusic() { return 0; }

// ---- Handle table -----------------------------------------------------------------

SoundRecord* GetSoundRecord(int h) {
  if (!g_started || h < 0) return nullptr;
  if ((h & 0x78000000) != kSoundHandleKind) return nullptr;
  const int slot = h & 0xFFFF;
  if (slot >= kMaxSounds) return nullptr;
  SoundRecord* r = g_table.slots[slot];
  if (!r) return nullptr;
  if ((r->serial << 16) != static_cast<uint32_t>(h & 0x07FF0000)) return nullptr;
  return r;
}

int SoundCount() { return g_table.count; }

int AddSoundData(int h) {
  if (!g_started) return -1;
  int slot;
  const bool reuse = h >= 0 && (h & 0xFFFF) < kMaxSounds && !g_table.slots[h & 0xFFFF];
  if (reuse) {
    slot = h & 0xFFFF;
  } else {
    if (g_table.count >= kMaxSounds) {
      SoundLog("サウンドの数が許容量を越えました\n");
      return -1;
    }
    slot = g_table.highestUsed;
    if (slot >= kMaxSounds || g_table.slots[slot]) {
      for (slot = 0; slot < kMaxSounds && g_table.slots[slot]; ++slot) {
      }
    }
  }
  auto* r = static_cast<SoundRecord*>(SoundAlloc(sizeof(SoundRecord)));
  if (!r) {
    SoundLog("メモリ領域の確保に失敗しました in AddSoundData");
    return -1;
  }
  r->owner = -1;
  r->currentUser = -1;
  if (reuse) {
    r->serial = (static_cast<uint32_t>(h) >> 16) & 0x7FF;
  } else {
    r->serial = static_cast<uint32_t>(g_table.serial);
    g_table.serial = g_table.serial >= 2047 ? 0 : g_table.serial + 1;
  }
  g_table.slots[slot] = r;
  g_table.count += 1;
  if (slot >= g_table.highestUsed) g_table.highestUsed = slot + 1;
  if (g_table.highestUsed < g_table.count) g_table.highestUsed = g_table.count;
  return reuse ? h : MakeHandle(r->serial, slot);
}

int CreateSoundBuffers(const SoundWaveFormat& format, uint32_t bytes, int kind, int count,
                       int h) {
  SoundRecord* r = GetSoundRecord(h);
  if (!r) return -1;
  const AudioFormat f = {format.channels, format.samplesPerSec, format.bitsPerSample,
                         format.blockAlign};
  if (kind == kStreamSound) {
    AudioBuffer* b = AudioCreateBuffer(f, bytes);
    if (!b) {
      // Refusing the sound is enough; the library runs on.
      SoundLog("ストリーム風サウンドバッファの作成に失敗しました");
      return -1;
    }
    r->buffers[0] = {1, b};
    r->bufferCount = 1;
    r->bufferFilled[0] = 0;
    ListInsertTail(&g_streamSoundList, &r->listNode, h, r);
  } else {
    if (count > kMaxSoundBuffers) count = kMaxSoundBuffers;
    if (count >= 1) {
      AudioBuffer* first = AudioCreateBuffer(f, bytes);
      if (!first) {
        SoundLog("DirectSoundBuffer の作成に失敗しました");
        return -1;
      }
      r->buffers[0] = {1, first};
      r->bufferFilled[0] = 0;
      int made = 1;
      for (; made < count; ++made) {
        AudioBuffer* copy = AudioDuplicateBuffer(first);
        if (!copy) break;
        r->buffers[made] = {1, copy};
        r->bufferFilled[made] = 0;
      }
      r->bufferCount = made;
    } else {
      // No buffers: the sound exists but plays nothing.
      r->bufferCount = 0;
    }
  }
  r->kind = kind;
  return 0;
}

int PlaySoundHandle(int h, int type, int fromStart) {
  SoundRecord* r = GetSoundRecord(h);
  if (!r) return -1;
  if (r->kind == kStreamSound) return PlayStreamSound(h, type, fromStart);
  uint32_t resume = 0;
  if (r->nextBuffer >= 0 && r->nextBuffer < kMaxSoundBuffers) {
    BufferCursor(r->buffers[r->nextBuffer], &resume);
  }
  r->nextBuffer += 1;
  if (r->nextBuffer >= r->bufferCount || r->nextBuffer >= kMaxSoundBuffers) r->nextBuffer = 0;
  SoundBuffer& b = r->buffers[r->nextBuffer];
  uint32_t status = 0;
  if (BufferStatus(b, &status) != 0) return -1;
  if (status & kAudioStatusPlaying) {
    if (fromStart == 0) return 0;
    BufferStop(b);
  }
  BufferSetPosition(b, fromStart == 1 ? 0 : resume);
  if (BufferPlay(b, type == 3) != 0) return -1;
  r->startTime = SoundMilliseconds();
  if (type == 0) {
    int (*pass)() = g_soundMessagePass ? g_soundMessagePass : LocalMessagePass;
    while (pass() == 0 && IsSoundPlaying(h) == 1) SoundWaitOneMillisecond();
  }
  return 0;
}

int StopSoundHandle(int h) {
  SoundRecord* r = GetSoundRecord(h);
  if (!r) return -1;
  if (r->kind == kStreamSound) return StopStreamSound(h);
  for (int i = 0; i < r->bufferCount; ++i) {
    uint32_t status = 0;
    if (BufferStatus(r->buffers[i], &status) != 0) return -1;
    if (status & kAudioStatusPlaying) BufferStop(r->buffers[i]);
  }
  return 0;
}

int IsSoundPlaying(int h) {
  SoundRecord* r = GetSoundRecord(h);
  if (!r) return -1;
  if (r->kind == kStreamSound) return IsStreamSoundPlaying(h);
  for (int i = 0; i < r->bufferCount; ++i) {
    uint32_t status = 0;
    if (BufferStatus(r->buffers[i], &status) == 0 && (status & kAudioStatusPlaying)) return 1;
  }
  return 0;
}

int32_t SoundVolumeToHundredths(int volume) {
  if (volume > 255) volume = 255;
  if (volume < 1) return kAudioVolumeMin;
  const int32_t v = static_cast<int32_t>(std::log10(volume / 255.0) * 10.0 * 100.0);
  return v < kAudioVolumeMin ? kAudioVolumeMin : v;
}

int SetSoundVolume(int volume, int h) {
  SoundRecord* r = GetSoundRecord(h);
  if (!r) return -1;
  const int32_t hundredths = SoundVolumeToHundredths(volume);
  for (int i = 0; i < r->bufferCount && i < kMaxSoundBuffers; ++i) {
    if (r->buffers[i].created) AudioSetVolume(r->buffers[i].buffer, hundredths);
  }
  return 0;
}

int GetSoundLength(int h) {
  SoundRecord* r = GetSoundRecord(h);
  if (!r) return -1;
  if (r->kind == kMemorySound) {
    return r->format.blockAlign ? r->pcmSize / r->format.blockAlign : 0;
  }
  if (r->kind == kStreamSound) return static_cast<int>(r->totalLength);
  return 0;
}

int DeleteSoundHandle(int h, int) {
  SoundRecord* r = GetSoundRecord(h);
  if (!r) return -1;
  if (r->kind == kStreamSound) {
    StopStreamSound(h);
  } else if (r->buffers[0].created) {
    StopSoundHandle(h);
  }
  if (r->kind == kMemorySound) {
    for (SoundBuffer& b : r->buffers) BufferRelease(b);
    SoundFree(r->pcm);
    r->pcm = nullptr;
  } else {
    if (r->owner != -1) {
      const int ownerHandle = r->owner;
      SoundRecord* owner = GetSoundRecord(ownerHandle);
      r->owner = -1;
      if (owner) {
        owner->sharers -= 1;
        if (owner->currentUser == h) owner->currentUser = -1;
        if (ownerHandle != h && owner->deletePending == 1) DeleteSoundHandle(ownerHandle, 0);
      }
    }
    if (r->sharers != 0) {
      r->deletePending = 1;
      return 0;
    }
    ListUnlink(&r->listNode);
    ReleaseStreamSources(r);
    BufferRelease(r->buffers[0]);
  }
  const int slot = h & 0xFFFF;
  SoundFree(r);
  g_table.slots[slot] = nullptr;
  g_table.count -= 1;
  if (slot + 1 == g_table.highestUsed) {
    int top = slot;
    while (top > 0 && !g_table.slots[top - 1]) --top;
    g_table.highestUsed = g_table.count == 0 ? 0 : top;
  }
  return 0;
}

int DeleteAllSoundHandles(int flag) {
  for (int slot = 0; slot < kMaxSounds; ++slot) {
    SoundRecord* r = g_table.slots[slot];
    if (r) DeleteSoundHandle(MakeHandle(r->serial, slot), flag);
  }
  // Records kept for their sharers go once the sharers are gone.
  for (int slot = 0; slot < kMaxSounds; ++slot) {
    SoundRecord* r = g_table.slots[slot];
    if (r) {
      r->sharers = 0;
      DeleteSoundHandle(MakeHandle(r->serial, slot), flag);
    }
  }
  return 0;
}
